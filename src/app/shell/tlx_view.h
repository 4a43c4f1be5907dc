#pragma once

#include "render/resume_view.h"
#include "shell/list_markers.h"

#include <QRectF>
#include <QString>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextDocument>
#include <QTextEdit>
#include <optional>
#include <string>
#include <vector>

namespace trellic {

class CFindReplace;
class ParagraphLook;
class Prompter;

// The resume view: the rich text the user reads and edits, on a QTextEdit, with the page layout
// of the printed resume and the Format commands. It is the engine's ResumeView: renders and
// files reach the text through the rich-text bridge.
class CTLXView : public QTextEdit, public ResumeView {
    Q_OBJECT

public:
    explicit CTLXView(QWidget* parent = nullptr);
    ~CTLXView() override;

    // ResumeView
    TextRange Selection() const override;
    void SetSelection(TextRange range) override;
    RichCharFormat DefaultCharFormat() const override;
    void SetDefaultCharFormat(const RichCharFormat& change) override;
    void SetSelectionParaFormat(const RichParaFormat& change) override;
    RichParaFormat EndParagraphFormat() const override;
    RichDocument Document() const override;
    std::string ExportRtf() const override;
    std::string ExportText() const override;
    std::vector<std::string> ImportRtf(std::string_view rtf) override;
    void ImportText(std::string_view utf8) override;
    std::vector<std::string> UnshownPictures() const override;
    void ReplaceContent(RichDocument document, TextRange selection) override;
    void EmptyUndo() override;
    bool IsModified() const override;
    void SetModified(bool modified) override;

    // The selection's format as the control reports it: the first character's (or the typing
    // format at an insertion point), with mask bits for the attributes uniform over the
    // selection.
    RichCharFormat SelectionCharFormat() const;
    // The first selected paragraph's format, with mask bits for the uniform attributes.
    RichParaFormat SelectionParaFormat() const;
    // Sets the attributes the change's mask names on the selection, or on the typing format
    // (and an empty paragraph's mark) at an insertion point; one undo step.
    void SetSelectionCharFormat(const RichCharFormat& change);
    // Replaces the selection by a fragment whose last paragraph is an unfinished tail that joins
    // the text behind the selection; one undo step.
    void InsertFragment(const RichDocument& fragment);

    // Format menu: character commands, each one undo step.
    void Bold();
    void Italic();
    void UnderlineNone();
    void UnderlineSolid();
    void UnderlineDotted();
    void Strikeout();
    void Subscript();
    void Superscript();
    // Format menu: paragraph commands, each one undo step.
    void BulletNone();
    void Bullet();
    void Numbering(int style);  // 2 arabic to 6 upper-case roman
    void Align(int alignment);  // 1 left, 2 right, 3 centred, 4 justified
    void LineSpacing(int rule); // 0 single, 1 one and a half, 2 double
    // Format > Font...: the character format window (font, effects and colour) on the
    // selection.
    void ChooseFont();

    // Edit menu commands beyond QTextEdit's own; the search is the view's CFindReplace.
    void PasteSpecial();
    void Find();
    void FindNext();
    void Replace();

    // What Paste Special and the find and replace dialogs do, without the dialogs.
    void PasteAs(bool richText);
    bool FindText(const QString& what, QTextDocument::FindFlags flags);
    bool ReplaceText(const QString& what, const QString& with, QTextDocument::FindFlags flags);
    int ReplaceAllText(const QString& what, const QString& with, QTextDocument::FindFlags flags);

    // The printed page the text wraps like: Letter until printing chooses another paper.
    void SetPaperWidth(int twips);
    int PaperWidth() const { return m_paperWidth; }
    // The margins of the printed text (twips).
    static constexpr int kLeftMarginTwips = 2160;
    static constexpr int kTopMarginTwips = 1440;
    static constexpr int kRightMarginTwips = 2160;
    static constexpr int kBottomMarginTwips = 1440;

    // Header rules drawn as lines and hanging indents, as the view shows them.
    const ParagraphLook& Look() const { return *m_look; }

    // Message boxes of the view's commands go through the prompter.
    void SetPrompter(Prompter* prompter);

    // A rendering of nodes can be selected, copied, searched and printed, but not changed:
    // the next render would throw away whatever was typed into it.
    void SetReadOnlyRendering(bool readOnly);

signals:
    // A key or command tried to change a read-only rendering.
    void EditRefused();

protected:
    void paintEvent(QPaintEvent* event) override;
    // The paragraph and script keys the Format menu shows but does not bind.
    void keyPressEvent(QKeyEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Installs a whole document without an undo record; the selection goes to the start.
    void InstallDocument(RichDocument document);
    void ApplyPageLayout();
    void EditAtParagraphStart(QKeyEvent* event);
    void SetParaFormatOn(QTextCursor& edit, const RichParaFormat& change);
    void PaintPage(QPainter& painter, const QRect& area);
    void PaintMarkers(QPainter& painter, const QRect& area);
    void PaintLeaders(QPainter& painter, const QRect& area);
    // The first block a repaint of the viewport's `area` may reach; the blocks below follow.
    QTextBlock FirstBlockIn(const QRect& area) const;
    // Where a block's layout shows in the viewport; none while Qt has not laid it out.
    std::optional<QRectF> ShownBounds(const QTextBlock& block) const;
    // The viewport's offset from the document's origin.
    QPointF ScrollOffset() const;
    // The width of the printed line, in the view's pixels.
    qreal LineWidth() const;
    // A paragraph format as the view shows it: its tab stops fitted to the line.
    QTextBlockFormat ShownBlockFormat(const RichParaFormat& format) const;

    CFindReplace* m_find = nullptr;
    ParagraphLook* m_look = nullptr;
    ListMarkers m_markers;
    RichCharFormat m_defaultFormat;
    // The typing format was set by a Format command at this insertion point, so it holds even
    // in a symbol font; moving the insertion point other than by typing forgets that.
    bool m_typingFormatChosen = false;
    bool m_typing = false;
    int m_paperWidth = 12240; // twips, 8.5 inches
};

} // namespace trellic
