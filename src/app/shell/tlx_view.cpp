#include "shell/tlx_view.h"

#include "editors/char_format_editor.h"
#include "engine/text_file.h"
#include "print/rich_text_bridge.h"
#include "richtext/format_commands.h"
#include "richtext/plain_text_codec.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/selection_formats.h"
#include "shell/find_replace.h"
#include "shell/list_markers.h"
#include "shell/paragraph_look.h"

#include <QAbstractUndoItem>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFontMetricsF>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace trellic {

namespace {

// Clipboard types under which other programs offer and take rich text.
const QString kRtfMimeTypes[] = {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                                 QStringLiteral("text/richtext")};

// Space between a list marker and the text it numbers, in pixels.
constexpr qreal kMarkerGap = 6.0;

// The blocks [first, last] a range touches, as the control counts them.
std::pair<QTextBlock, QTextBlock> BlocksOf(const QTextDocument& document, int start, int end) {
    const auto last =
        LastTouchedPosition(static_cast<std::size_t>(start), static_cast<std::size_t>(end));
    return {document.findBlock(start), document.findBlock(static_cast<int>(last))};
}

bool HoldsBlockBreak(const QTextBlock& block, int start, int end) {
    return HoldsBreak(static_cast<std::size_t>(block.position() + block.length() - 1),
                      static_cast<std::size_t>(start), static_cast<std::size_t>(end));
}

// Qt keeps the first paragraph's mark format outside its undo history; this undo item carries
// it, so that a Format command on the first paragraph undoes in one piece.
class FirstMarkUndo : public QAbstractUndoItem {
public:
    FirstMarkUndo(QTextDocument* document, QTextCharFormat before, QTextCharFormat after)
        : m_document(document), m_before(std::move(before)), m_after(std::move(after)) {}
    void undo() override { QTextCursor(m_document).setBlockCharFormat(m_before); }
    void redo() override { QTextCursor(m_document).setBlockCharFormat(m_after); }

private:
    QTextDocument* m_document;
    QTextCharFormat m_before;
    QTextCharFormat m_after;
};

// Sets the format of a paragraph's mark (the block's character format) as an undoable edit.
void SetMarkFormat(QTextDocument& document, const QTextBlock& block,
                   const QTextCharFormat& format) {
    if (block.position() != 0) {
        QTextCursor(block).setBlockCharFormat(format);
        return;
    }
    const QTextCharFormat before = block.charFormat();
    QTextCursor(block).setBlockCharFormat(format);
    if (document.isUndoRedoEnabled()) {
        document.appendUndoItem(new FirstMarkUndo(&document, before, format));
    }
}

std::string WithoutClosingBreak(std::string rtf) {
    // The writer ends every paragraph with \par; the copied text's last paragraph is
    // unfinished and must paste without a break of its own.
    const std::string closing = "\\par\r\n}";
    const size_t at = rtf.rfind(closing);
    if (at != std::string::npos) {
        rtf.erase(at, closing.size() - 1);
    }
    return rtf;
}

} // namespace

CTLXView::CTLXView(QWidget* parent)
    : QTextEdit(parent), m_find(new CFindReplace(*this)), m_defaultFormat(PlainCharFormat()) {
    setAcceptRichText(true);
    setTabChangesFocus(false);
    // Numbers of later paragraphs change with edits anywhere above them; an edit that changes
    // no marker leaves the repainting to the control, which repaints what the edit changed.
    connect(document(), &QTextDocument::contentsChange, viewport(),
            [this](int position, int, int added) {
                if (m_markers.Update(*document(), position, added)) {
                    viewport()->update();
                }
            });
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] {
        if (!m_typing) {
            m_typingFormatChosen = false;
        }
    });
    m_look = new ParagraphLook(*this);
    // An empty control: the plain paragraph, its mark in the default format.
    RichDocument empty;
    empty.paragraphs[0].format = PlainParaFormat();
    empty.paragraphs[0].markFormat = m_defaultFormat;
    InstallDocument(std::move(empty));
    document()->setModified(false);
}

CTLXView::~CTLXView() = default;

void CTLXView::SetPaperWidth(int twips) {
    m_paperWidth = twips;
    setLineWrapColumnOrWidth(static_cast<int>(std::lround(TwipsToPixels(m_paperWidth))));
    // Another paper is no edit of the text, though the stops shown move with its width.
    const bool modified = document()->isModified();
    FitTabStops(*document(), LineWidth());
    document()->setModified(modified);
    viewport()->update();
}

qreal CTLXView::LineWidth() const {
    return TwipsToPixels(m_paperWidth - kLeftMarginTwips - kRightMarginTwips);
}

QTextBlockFormat CTLXView::ShownBlockFormat(const RichParaFormat& format) const {
    return FittedTabs(ToQtBlockFormat(format), LineWidth());
}

void CTLXView::ApplyPageLayout() {
    QTextDocument* doc = document();
    doc->setDocumentMargin(0);
    QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    frame.setLeftMargin(TwipsToPixels(kLeftMarginTwips));
    frame.setRightMargin(TwipsToPixels(kRightMarginTwips));
    frame.setTopMargin(TwipsToPixels(kTopMarginTwips));
    frame.setBottomMargin(TwipsToPixels(kBottomMarginTwips));
    // Setting even the same margins lays the whole text out again.
    if (frame != doc->rootFrame()->frameFormat()) {
        doc->rootFrame()->setFrameFormat(frame);
    }
    // Lines break where the printed page breaks them, whatever the window's width.
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(static_cast<int>(std::lround(TwipsToPixels(m_paperWidth))));
}

void CTLXView::InstallDocument(RichDocument content) {
    content.Normalize();
    QTextDocument* doc = document();
    // Switching the undo history off forgets it, and keeps the installation out of it.
    doc->setUndoRedoEnabled(false);
    {
        // One edit from an emptied document to the whole new text: Qt then lays a long text
        // out bit by bit while the window goes on working, rather than all at once.
        QTextCursor whole(doc);
        whole.beginEditBlock();
        m_look->ForgetRules();
        DocumentToQt(content, *doc);
        // The old caret was carried along to the end of the new text, selecting all of it.
        // Moved, and the rules marked, before the layout hears of the text: showing that
        // selection or a rule at the end would have it all laid out at once. The stops are
        // fitted first: where the text after a paragraph's leading tab starts decides where
        // its lines hang.
        setTextCursor(QTextCursor(doc));
        FitTabStops(*doc, LineWidth());
        m_look->RestyleAll();
        ApplyPageLayout();
        doc->setDefaultFont(ToQtCharFormat(m_defaultFormat).font());
        whole.endEditBlock();
    }
    doc->setUndoRedoEnabled(true);
}

// ---- ResumeView --------------------------------------------------------------------------

TextRange CTLXView::Selection() const {
    const QTextCursor c = textCursor();
    return {static_cast<size_t>(c.selectionStart()), static_cast<size_t>(c.selectionEnd())};
}

void CTLXView::SetSelection(TextRange range) {
    QTextCursor c = textCursor();
    const auto end = static_cast<size_t>(document()->characterCount() - 1);
    c.setPosition(static_cast<int>(std::min(range.min, end)));
    c.setPosition(static_cast<int>(std::min(range.max, end)), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

RichCharFormat CTLXView::DefaultCharFormat() const {
    return m_defaultFormat;
}

void CTLXView::SetDefaultCharFormat(const RichCharFormat& change) {
    ApplyCharFormat(m_defaultFormat, change);
    const QTextCharFormat format = ToQtCharFormat(m_defaultFormat);
    document()->setDefaultFont(format.font());
    if (document()->characterCount() <= 1) {
        // An empty view shows and types in the default format at once; that is no edit.
        const bool modified = document()->isModified();
        QTextCursor(document()).setBlockCharFormat(format);
        setCurrentCharFormat(format);
        document()->setModified(modified);
    }
}

void CTLXView::SetParaFormatOn(QTextCursor& edit, const RichParaFormat& change) {
    const auto [first, last] = BlocksOf(*document(), edit.selectionStart(), edit.selectionEnd());
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        RichParaFormat format = FromQtBlockFormat(block.blockFormat());
        ApplyParaFormat(format, change);
        QTextCursor(block).setBlockFormat(ShownBlockFormat(format));
        if (block == last) {
            break;
        }
    }
}

void CTLXView::SetSelectionParaFormat(const RichParaFormat& change) {
    QTextCursor edit = textCursor();
    edit.beginEditBlock();
    SetParaFormatOn(edit, change);
    edit.endEditBlock();
}

RichParaFormat CTLXView::EndParagraphFormat() const {
    RichParaFormat format = FromQtBlockFormat(document()->lastBlock().blockFormat());
    format.mask = kPfmAll;
    return format;
}

RichDocument CTLXView::Document() const {
    return DocumentFromQt(*document());
}

std::string CTLXView::ExportRtf() const {
    return WriteRtf(Document());
}

std::string CTLXView::ExportText() const {
    return WritePlainText(Document());
}

std::vector<std::string> CTLXView::ImportRtf(std::string_view rtf) {
    RtfReadResult result = ReadRtf(rtf);
    if (!result.isRtf) {
        ImportText(DecodeTextFile(rtf)); // a file's bytes, not yet text
        return {};
    }
    InstallDocument(std::move(result.document));
    std::vector<std::string> warnings = std::move(result.warnings);
    for (std::string& warning : UnshownPictures()) {
        warnings.push_back(std::move(warning));
    }
    document()->setModified(true);
    return warnings;
}

std::vector<std::string> CTLXView::UnshownPictures() const {
    // The reader knows a picture's kind and size; whether its data decodes, and whether the
    // document may decode it, shows only here.
    std::vector<std::string> warnings;
    std::unordered_set<const RichPicture*> seen;
    constexpr size_t kMaxWarnings = 20;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) {
                continue;
            }
            const PictureRef picture = FromQtCharFormat(format).picture;
            if (!picture || !seen.insert(picture.get()).second) {
                continue;
            }
            const PictureShown shown = ShownPictureOf(*document(), *picture);
            if (shown != PictureShown::Undecodable && shown != PictureShown::OverBudget) {
                continue;
            }
            if (warnings.size() == kMaxWarnings) {
                warnings.emplace_back("More pictures cannot be shown.");
                return warnings;
            }
            const std::string kind = FormatOf(*picture) == PictureFormat::Png ? "A PNG" : "A JPEG";
            warnings.push_back(
                kind +
                (shown == PictureShown::Undecodable
                     ? " picture cannot be decoded"
                     : " picture is not shown: the pictures of one text may show " +
                           std::to_string(kMaxShownPicturePixelsPerText / 1'000'000) +
                           " million pixels in all") +
                "; it is kept as it came and shows as a placeholder.");
        }
    }
    return warnings;
}

void CTLXView::ImportText(std::string_view utf8) {
    // Plain text carries no paragraph formats: every paragraph comes in plain, not in the
    // format of whatever paragraph the old content began with.
    InstallDocument(ReadPlainText(utf8, m_defaultFormat, PlainParaFormat()));
    document()->setModified(true);
}

void CTLXView::ReplaceContent(RichDocument content, TextRange selection) {
    // One repaint for the whole rendering rather than one per paragraph.
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    InstallDocument(content);
    SetSelection(selection);
    document()->setModified(false);
    setUpdatesEnabled(updates);
}

void CTLXView::EmptyUndo() {
    document()->clearUndoRedoStacks();
}

bool CTLXView::IsModified() const {
    return document()->isModified();
}

void CTLXView::SetModified(bool modified) {
    document()->setModified(modified);
}

// ---- Formats of the selection -------------------------------------------------------------

RichCharFormat CTLXView::SelectionCharFormat() const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        RichCharFormat format = FromQtCharFormat(cursor.charFormat());
        format.mask = kCfmAll;
        return format;
    }
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    CharFormatOfSelection selected;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() > start && fragment.position() < end) {
                selected.Add(FromQtCharFormat(fragment.charFormat()));
            }
        }
    }
    return selected.Reported(FromQtCharFormat(document()->findBlock(start).charFormat()));
}

RichParaFormat CTLXView::SelectionParaFormat() const {
    const QTextCursor cursor = textCursor();
    const auto [first, last] =
        BlocksOf(*document(), cursor.selectionStart(), cursor.selectionEnd());
    ParaFormatOfSelection selected;
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        selected.Add(FromQtBlockFormat(block.blockFormat()));
        if (block == last) {
            break;
        }
    }
    return selected.Reported();
}

void CTLXView::SetSelectionCharFormat(const RichCharFormat& change) {
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        RichCharFormat typing = FromQtCharFormat(cursor.charFormat());
        typing.picture = {}; // beside a picture, the format of what is typed next
        ApplyCharFormat(typing, change);
        const QTextCharFormat format = ToQtCharFormat(typing);
        // An empty paragraph shows the format of its mark, so the mark follows the typing
        // format. The mark goes first: editing the block resets the cursor's typing format.
        if (cursor.block().length() == 1) {
            SetMarkFormat(*document(), cursor.block(), format);
        }
        setCurrentCharFormat(format);
        m_typingFormatChosen = true;
        return;
    }
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        // Fragments are collected first: formatting one merges or splits its neighbours.
        struct Piece {
            int from;
            int to;
            QTextCharFormat format;
        };
        std::vector<Piece> pieces;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(start, fragment.position());
            const int to = std::min(end, fragment.position() + fragment.length());
            if (from < to) {
                RichCharFormat format = FromQtCharFormat(fragment.charFormat());
                ApplyCharFormat(format, change);
                QTextCharFormat shown = ToQtCharFormat(format);
                KeepSymbolVariant(fragment.charFormat(), shown);
                pieces.push_back({from, to, shown});
            }
        }
        for (const Piece& piece : pieces) {
            edit.setPosition(piece.from);
            edit.setPosition(piece.to, QTextCursor::KeepAnchor);
            edit.setCharFormat(piece.format);
        }
        if (HoldsBlockBreak(block, start, end)) {
            RichCharFormat mark = FromQtCharFormat(block.charFormat());
            ApplyCharFormat(mark, change);
            SetMarkFormat(*document(), block, ToQtCharFormat(mark));
        }
    }
    edit.endEditBlock();
}

void CTLXView::InsertFragment(const RichDocument& fragment) {
    if (fragment.paragraphs.empty()) {
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    // The first piece ends the paragraph that held the insertion point and so brings its own
    // formats; the unfinished last piece joins the text behind and keeps the old paragraph's.
    const QTextBlockFormat oldFormat = cursor.blockFormat();
    const QTextCharFormat oldMark = cursor.block().charFormat();
    const size_t count = fragment.paragraphs.size();
    for (size_t i = 0; i < count; ++i) {
        const RichParagraph& paragraph = fragment.paragraphs[i];
        if (i > 0) {
            const bool last = i + 1 == count;
            cursor.insertBlock(last ? oldFormat : ShownBlockFormat(paragraph.format),
                               last ? oldMark : ToQtCharFormat(paragraph.markFormat));
        }
        for (const RichRun& run : paragraph.runs) {
            InsertRunText(cursor, run);
        }
        if (i == 0 && count > 1) {
            cursor.setBlockFormat(ShownBlockFormat(paragraph.format));
            SetMarkFormat(*document(), cursor.block(), ToQtCharFormat(paragraph.markFormat));
        }
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
}

// ---- Format commands ------------------------------------------------------------------------

void CTLXView::Bold() {
    SetSelectionCharFormat(FlipCharEffect(SelectionCharFormat(), kCfeBold));
}

void CTLXView::Italic() {
    SetSelectionCharFormat(FlipCharEffect(SelectionCharFormat(), kCfeItalic));
}

void CTLXView::UnderlineNone() {
    SetSelectionCharFormat(UnderlineOff(SelectionCharFormat()));
}

void CTLXView::UnderlineSolid() {
    SetSelectionCharFormat(ToggleUnderline(SelectionCharFormat(), kCfuSolid));
}

void CTLXView::UnderlineDotted() {
    SetSelectionCharFormat(ToggleUnderline(SelectionCharFormat(), kCfuDotted));
}

void CTLXView::Strikeout() {
    SetSelectionCharFormat(FlipCharEffect(SelectionCharFormat(), kCfeStrikeout));
}

void CTLXView::Subscript() {
    SetSelectionCharFormat(FlipCharEffect(SelectionCharFormat(), kCfeSubscript));
}

void CTLXView::Superscript() {
    SetSelectionCharFormat(FlipCharEffect(SelectionCharFormat(), kCfeSuperscript));
}

void CTLXView::BulletNone() {
    SetSelectionParaFormat(NumberingOff(SelectionParaFormat()));
}

void CTLXView::Bullet() {
    SetSelectionParaFormat(ToggleBullet(SelectionParaFormat()));
}

void CTLXView::Numbering(int style) {
    SetSelectionParaFormat(ToggleNumbering(SelectionParaFormat(), static_cast<uint16_t>(style)));
}

void CTLXView::Align(int alignment) {
    SetSelectionParaFormat(SetAlignment(SelectionParaFormat(), static_cast<uint16_t>(alignment)));
}

void CTLXView::LineSpacing(int rule) {
    SetSelectionParaFormat(SetLineSpacing(SelectionParaFormat(), static_cast<uint8_t>(rule)));
}

void CTLXView::ChooseFont() {
    const RichCharFormat current = SelectionCharFormat();
    CharFormat initial;
    initial.faceName = current.faceName;
    initial.charSet = current.charSet;
    initial.pitchAndFamily = current.pitchAndFamily;
    initial.height = current.height;
    initial.color = (current.effects & kCfeAutoColor) ? 0 : static_cast<int32_t>(current.color);
    initial.bold = current.effects & kCfeBold;
    initial.italic = current.effects & kCfeItalic;
    initial.underline = current.effects & kCfeUnderline;
    initial.strikeout = current.effects & kCfeStrikeout;
    CCharFormatDlg dialog(initial, this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    RichCharFormat change = dialog.ChosenFormat();
    // What the user left as shown stays as it was, character by character: a mixed selection
    // keeps its faces, sizes and colours, an automatic colour stays automatic.
    change.mask &= dialog.ChangedMask();
    if (change.mask != 0) {
        SetSelectionCharFormat(change);
    }
}

// ---- Clipboard ---------------------------------------------------------------------------

QMimeData* CTLXView::createMimeDataFromSelection() const {
    // Qt's own selection data lists its fixed formats only, so the data is made here.
    auto* data = new QMimeData;
    const QTextCursor cursor = textCursor();
    const QTextDocumentFragment selection = cursor.selection();
    data->setText(selection.toPlainText());
    data->setHtml(selection.toHtml());
    const RichDocument fragment =
        FragmentFromQt(*document(), cursor.selectionStart(), cursor.selectionEnd());
    data->setData(kRtfMimeTypes[0],
                  QByteArray::fromStdString(WithoutClosingBreak(WriteRtf(fragment))));
    return data;
}

bool CTLXView::canInsertFromMimeData(const QMimeData* source) const {
    for (const QString& type : kRtfMimeTypes) {
        if (source->hasFormat(type)) {
            return true;
        }
    }
    return QTextEdit::canInsertFromMimeData(source);
}

void CTLXView::insertFromMimeData(const QMimeData* source) {
    for (const QString& type : kRtfMimeTypes) {
        if (source->hasFormat(type)) {
            const QByteArray bytes = source->data(type);
            RtfReadResult result = ReadRtfFragment(std::string_view(bytes.data(), bytes.size()));
            if (result.isRtf) {
                InsertFragment(result.document);
                return;
            }
        }
    }
    if (source->hasHtml()) {
        // Foreign rich text passes through the engine's model, so that what lands in the view
        // is only what the engine can save.
        QTextDocument foreign;
        foreign.setHtml(source->html());
        InsertFragment(DocumentFromQt(foreign));
        return;
    }
    if (source->hasText()) {
        textCursor().insertText(source->text());
    }
}

void CTLXView::PasteAs(bool richText) {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr) {
        return;
    }
    if (richText) {
        insertFromMimeData(data);
    } else if (data->hasText()) {
        QTextCursor cursor = textCursor();
        cursor.insertText(data->text());
        setTextCursor(cursor);
    }
}

void CTLXView::PasteSpecial() {
    const QStringList choices{QStringLiteral("Rich Text (RTF)"),
                              QStringLiteral("Unformatted Text")};
    bool ok = false;
    const QString choice = QInputDialog::getItem(this, QStringLiteral("Paste Special"),
                                                 QStringLiteral("As:"), choices, 0, false, &ok);
    if (ok) {
        PasteAs(choice == choices[0]);
    }
}

// ---- Find and replace ------------------------------------------------------------------

void CTLXView::SetPrompter(Prompter* prompter) {
    m_find->SetPrompter(prompter);
}

void CTLXView::Find() {
    m_find->Find();
}

void CTLXView::FindNext() {
    m_find->FindNext();
}

void CTLXView::Replace() {
    m_find->Replace();
}

bool CTLXView::FindText(const QString& what, QTextDocument::FindFlags flags) {
    return m_find->FindText(what, flags);
}

bool CTLXView::ReplaceText(const QString& what, const QString& with,
                           QTextDocument::FindFlags flags) {
    return m_find->ReplaceText(what, with, flags);
}

int CTLXView::ReplaceAllText(const QString& what, const QString& with,
                             QTextDocument::FindFlags flags) {
    return m_find->ReplaceAllText(what, with, flags);
}

// ---- Keys ------------------------------------------------------------------------------

void CTLXView::SetReadOnlyRendering(bool readOnly) {
    if (isReadOnly() == readOnly) {
        return;
    }
    setReadOnly(readOnly);
    if (readOnly) {
        // The keyboard still moves and selects, so a selection can be copied without a mouse.
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        // Replacing writes through the cursor, which a read-only view does not stop.
        m_find->HideReplace();
    }
}

namespace {

// Keys that would change the text: typing, deleting, and the editing and format shortcuts.
bool WouldEdit(const QKeyEvent& event) {
    const int key = event.key();
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Return ||
        key == Qt::Key_Enter || key == Qt::Key_Tab) {
        return true;
    }
    if (event.matches(QKeySequence::Paste) || event.matches(QKeySequence::Cut) ||
        event.matches(QKeySequence::Undo) || event.matches(QKeySequence::Redo)) {
        return true;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        const int formatKeys[] = {Qt::Key_L, Qt::Key_E, Qt::Key_R,     Qt::Key_J,
                                  Qt::Key_1, Qt::Key_5, Qt::Key_2,     Qt::Key_B,
                                  Qt::Key_I, Qt::Key_U, Qt::Key_Equal, Qt::Key_Plus};
        return (event.modifiers() & Qt::ControlModifier) &&
               std::find(std::begin(formatKeys), std::end(formatKeys), key) != std::end(formatKeys);
    }
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

// Keys that move the caret (and with Shift extend the selection) without changing the text.
bool IsCaretMove(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

void CTLXView::keyPressEvent(QKeyEvent* event) {
    const int before = textCursor().position();
    // A rule is one thing to the caret: passed in one step, deleted whole.
    const auto passRules = [this, event, before] {
        if (IsCaretMove(*event)) {
            const int after = textCursor().position();
            m_look->KeepCursorOutOfRules(after > before ? 1 : after < before ? -1 : 0);
        }
    };
    if (isReadOnly()) {
        if (WouldEdit(*event)) {
            event->accept();
            emit EditRefused();
            return;
        }
        QTextEdit::keyPressEvent(event);
        passRules();
        return;
    }
    if ((event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) &&
        event->modifiers() == Qt::NoModifier &&
        m_look->DeleteRule(event->key() == Qt::Key_Backspace)) {
        event->accept();
        return;
    }
    if (event->modifiers() & Qt::ControlModifier) {
        switch (event->key()) {
        case Qt::Key_L:
            Align(kPfaLeft);
            return;
        case Qt::Key_E:
            Align(kPfaCenter);
            return;
        case Qt::Key_R:
            Align(kPfaRight);
            return;
        case Qt::Key_J:
            Align(kPfaJustify);
            return;
        case Qt::Key_1:
            LineSpacing(kLineSpacingSingle);
            return;
        case Qt::Key_5:
            LineSpacing(kLineSpacingOneAndHalf);
            return;
        case Qt::Key_2:
            LineSpacing(kLineSpacingDouble);
            return;
        case Qt::Key_Equal:
            Subscript();
            return;
        case Qt::Key_Plus:
            Superscript();
            return;
        default:
            break;
        }
    }
    const QString text = event->text();
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        EditAtParagraphStart(event);
        return;
    }
    if (text.isEmpty() || !text.front().isPrint()) {
        QTextEdit::keyPressEvent(event);
        passRules();
        return;
    }
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() && !m_typingFormatChosen &&
        FromQtCharFormat(cursor.charFormat()).charSet == kSymbolCharSet) {
        // Words typed beside a bullet symbol would be stored in the symbol font and come back
        // as symbols: they take the paragraph's text font.
        const QTextBlock block = cursor.block();
        const RichDocument paragraph =
            FragmentFromQt(*document(), block.position(), block.position() + block.length() - 1);
        setCurrentCharFormat(ToQtCharFormat(
            ParagraphTextFormat(paragraph.paragraphs.front(),
                                static_cast<size_t>(cursor.positionInBlock()), m_defaultFormat)));
    } else if (!cursor.hasSelection() && !m_typingFormatChosen &&
               FromQtCharFormat(cursor.charFormat()).Has(kCfeHidden)) {
        // What is typed is meant to be read: beside hidden text it is shown.
        RichCharFormat shown = FromQtCharFormat(cursor.charFormat());
        shown.Set(kCfeHidden, false);
        shown.picture = {};
        setCurrentCharFormat(ToQtCharFormat(shown));
    }
    m_typing = true;
    EditAtParagraphStart(event);
    m_typing = false;
}

void CTLXView::EditAtParagraphStart(QKeyEvent* event) {
    // Qt undoes a lone typed or deleted character as a step that nothing can join; among a
    // paragraph's leading tabs and bullet the margin that the edit calls for must.
    const bool ownStep = m_look->CaretInParagraphStart();
    QTextCursor step(document());
    if (ownStep) {
        step.beginEditBlock();
    }
    QTextEdit::keyPressEvent(event);
    if (ownStep) {
        step.endEditBlock();
    }
}

// ---- Painting ----------------------------------------------------------------------------

void CTLXView::paintEvent(QPaintEvent* event) {
    QTextEdit::paintEvent(event);
    QPainter painter(viewport());
    PaintMarkers(painter, event->rect());
    PaintLeaders(painter, event->rect());
    m_look->PaintRules(painter, event->rect(), TwipsToPixels(m_paperWidth - kRightMarginTwips));
    PaintPage(painter, event->rect());
}

QTextBlock CTLXView::FirstBlockIn(const QRect& area) const {
    // The block at the area's top edge, or the one before it where that edge falls in the
    // space between the two.
    const QTextBlock block = cursorForPosition(QPoint(0, area.top())).block();
    return block.previous().isValid() ? block.previous() : block;
}

std::optional<QRectF> CTLXView::ShownBounds(const QTextBlock& block) const {
    const QTextLayout* layout = block.layout();
    if (layout == nullptr || layout->lineCount() == 0) {
        return std::nullopt;
    }
    return layout->boundingRect().translated(layout->position() + ScrollOffset());
}

QPointF CTLXView::ScrollOffset() const {
    return {static_cast<qreal>(-horizontalScrollBar()->value()),
            static_cast<qreal>(-verticalScrollBar()->value())};
}

void CTLXView::PaintLeaders(QPainter& painter, const QRect& area) {
    for (QTextBlock block = FirstBlockIn(area); block.isValid(); block = block.next()) {
        if (!block.isVisible()) {
            continue;
        }
        const std::optional<QRectF> bounds = ShownBounds(block);
        // Qt lays a long text out from the top: a block without lines, and every block below
        // it, is not shown yet.
        if (!bounds || bounds->top() > area.bottom()) {
            break;
        }
        if (bounds->bottom() < area.top() || !block.text().contains(u'\t')) {
            continue;
        }
        const QTextLayout* layout = block.layout();
        const QPointF origin = layout->position() + ScrollOffset();
        for (int i = 0; i < layout->lineCount(); ++i) {
            DrawTabLeaders(painter, block, layout->lineAt(i), origin,
                           palette().color(QPalette::Text));
        }
    }
}

void CTLXView::PaintPage(QPainter& painter, const QRect& area) {
    // Beyond the page's right edge lies the desk, not paper.
    const int edge =
        static_cast<int>(std::lround(TwipsToPixels(m_paperWidth))) - horizontalScrollBar()->value();
    if (edge < area.right()) {
        const QRect desk(edge, area.top(), area.right() - edge + 1, area.height());
        painter.fillRect(desk, palette().color(QPalette::Mid));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(edge, area.top(), edge, area.bottom());
    }
}

void CTLXView::PaintMarkers(QPainter& painter, const QRect& area) {
    const QTextBlock first = FirstBlockIn(area);
    int number = first.blockNumber();
    for (QTextBlock block = first; block.isValid(); block = block.next(), ++number) {
        if (!block.isVisible()) {
            continue;
        }
        const std::optional<QRectF> bounds = ShownBounds(block);
        if (!bounds || bounds->top() > area.bottom()) {
            break;
        }
        const QString& marker = m_markers.Marker(*document(), number);
        if (marker.isEmpty() || bounds->bottom() < area.top()) {
            continue;
        }
        const QTextLayout* layout = block.layout();
        const QPointF origin = layout->position() + ScrollOffset();
        // The marker takes the look of the paragraph's first character, as the control draws
        // it, but is never underlined or struck out.
        const QTextCharFormat format =
            block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
        QFont font = format.font().resolve(document()->defaultFont());
        font.setUnderline(false);
        font.setStrikeOut(false);
        const QString family = NumberingMarkerFamily(block.blockFormat());
        if (!family.isEmpty()) {
            font.setFamilies({family});
        }
        painter.setFont(font);
        const bool colored = format.hasProperty(QTextFormat::ForegroundBrush) &&
                             format.foreground().style() != Qt::NoBrush;
        painter.setPen(colored ? format.foreground().color() : palette().color(QPalette::Text));

        const QTextLine line = layout->lineAt(0);
        const qreal textX = origin.x() + line.cursorToX(0);
        const qreal baseline = origin.y() + line.y() + line.ascent();
        const qreal width = QFontMetricsF(font, viewport()).horizontalAdvance(marker);
        painter.drawText(QPointF(textX - kMarkerGap - width, baseline), marker);
    }
}

} // namespace trellic
