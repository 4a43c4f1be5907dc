#include "editors/node_dialogs.h"

#include "editors/char_format_editor.h"
#include "editors/editor_text.h"
#include "editors/paragraph_format_dlg.h"
#include "editors/preview_layer.h"
#include "model/new_records.h"
#include "render/render_driver.h"
#include "render/rich_formats.h"
#include "spelling/spell_checking.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace trellic {

namespace {

QString AlignmentText(int16_t alignment) {
    switch (alignment) {
    case kAlignLeft:
        return QObject::tr("left aligned");
    case kAlignRight:
        return QObject::tr("right aligned");
    case kAlignCentre:
        return QObject::tr("centred");
    case kAlignJustify:
        return QObject::tr("justified");
    default:
        return QObject::tr("no alignment");
    }
}

QString ParagraphSummary(const ParaFormat& format) {
    return QObject::tr("%1, indent %2").arg(AlignmentText(format.alignment)).arg(format.indent);
}

QString StyleSummary(const TextStyle& style) {
    const CharFormat& chars = style.charFormat;
    // A template may leave an own style it never uses empty: say so rather than show ", 0 pt".
    if (chars.faceName.empty() && chars.height == 0) {
        return QObject::tr("no font set; ") + ParagraphSummary(style.paraFormat);
    }
    QStringList parts{FromEngineText(chars.faceName),
                      QObject::tr("%1 pt").arg(chars.height / 20.0)};
    if (chars.bold) {
        parts << QObject::tr("bold");
    }
    if (chars.italic) {
        parts << QObject::tr("italic");
    }
    if (chars.underline) {
        parts << QObject::tr("underlined");
    }
    if (chars.strikeout) {
        parts << QObject::tr("struck out");
    }
    return parts.join(QStringLiteral(", ")) + QStringLiteral("; ") +
           ParagraphSummary(style.paraFormat);
}

QPlainTextEdit* NewTextBox(const char* name, int lines) {
    auto* box = new QPlainTextEdit;
    box->setObjectName(QString::fromLatin1(name));
    // Tab leaves the box, as in every other field of the dialog; Enter starts a new line.
    box->setTabChangesFocus(true);
    box->setMinimumHeight(box->fontMetrics().lineSpacing() * lines + 12);
    EnableSpellChecking(box);
    return box;
}

QLineEdit* NewLineBox(const char* name) {
    auto* box = new QLineEdit;
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QFormLayout* NewPageForm(QWidget* page) {
    auto* form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return form;
}

// The dialog edits a copy; only OK puts it back, and only when the entry still names a record
// (the table cannot change under a modal dialog, but the index is checked rather than trusted).
template <typename Dialog, typename Record>
bool EditInTable(EditorContext& context, std::vector<Record>& table, std::size_t index,
                 QWidget* parent) {
    Dialog dialog(context, table[index], parent);
    dialog.AttachPreview([&dialog, index](NodeTree& copy) {
        auto& records = copy.Table<Record>();
        if (index < records.size()) {
            records[index] = dialog.PendingRecord();
        }
    });
    if (dialog.exec() != QDialog::Accepted || index >= table.size()) {
        return false;
    }
    table[index] = dialog.Record();
    return true;
}

template <typename Dialog, typename Record>
std::optional<StackEntry> CreateInTable(EditorContext& context, std::vector<Record>& table,
                                        const Record& fresh, NodeKind kind, StackId stack,
                                        QWidget* parent) {
    Dialog dialog(context, fresh, parent);
    // The new node shows where it will go: at the end of the stack.
    dialog.AttachPreview([&dialog, kind, stack](NodeTree& copy) {
        auto& records = copy.Table<Record>();
        records.push_back(dialog.PendingRecord());
        copy.Stack(stack).push_back({static_cast<int32_t>(records.size() - 1), kind});
    });
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    table.push_back(dialog.Record());
    return StackEntry{static_cast<int32_t>(table.size() - 1), kind};
}

} // namespace

CNodeSetupDlg::CNodeSetupDlg(EditorContext& context, const QString& caption, QWidget* parent)
    : CEditorDialog(context, caption, parent) {}

void CNodeSetupDlg::Build(const Parts& parts) {
    m_parts = parts;
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pages"));
    m_tabChain.push_back(m_pages->tabBar());
    m_pages->addTab(BuildNodePage(), tr("Node"));
    m_pages->addTab(BuildStylePage(), tr("Style"));
    m_pages->addTab(BuildHelpPage(), tr("Help"));
    m_pages->addTab(BuildInformationPage(), tr("Information"));
    Form()->addRow(m_pages);

    m_tabChain.push_back(OkButton());
    m_tabChain.push_back(CancelButton());
    for (std::size_t i = 1; i < m_tabChain.size(); ++i) {
        setTabOrder(m_tabChain[i - 1], m_tabChain[i]);
    }

    if (m_parts.presetCategory) {
        AddPresetMenu([this] { return CurrentPresetParts(); },
                      [this] {
                          LoadStyleControls();
                          ShowStyleState();
                      });
    }
    LoadControls();
    m_displayText->setFocus();

    // What shows in the rendering; help and component information do not.
    connect(m_displayText, &QLineEdit::textChanged, this, &CEditorDialog::PendingChanged);
    if (m_lineData) {
        connect(m_lineData, &QLineEdit::textChanged, this, &CEditorDialog::PendingChanged);
    }
    if (m_nodeText) {
        connect(m_nodeText, &QPlainTextEdit::textChanged, this, &CEditorDialog::PendingChanged);
        connect(m_spacing, &QSpinBox::valueChanged, this, &CEditorDialog::PendingChanged);
    }
    for (QCheckBox* box : {m_useFormatting, m_inheritStyle, m_underline}) {
        if (box) {
            connect(box, &QCheckBox::toggled, this, &CEditorDialog::PendingChanged);
        }
    }
    if (m_bullet) {
        connect(m_bullet, &QComboBox::currentIndexChanged, this, &CEditorDialog::PendingChanged);
    }
}

QWidget* CNodeSetupDlg::BuildNodePage() {
    auto* page = new QWidget;
    QFormLayout* form = NewPageForm(page);
    m_displayText = NewLineBox("displayText");
    EnableSpellChecking(m_displayText);
    form->addRow(m_parts.displayLabel, m_displayText);
    m_tabChain.push_back(m_displayText);
    if (m_parts.lineData) {
        m_lineData = NewLineBox("fieldData");
        EnableSpellChecking(m_lineData);
        form->addRow(tr("Field Data:"), m_lineData);
        m_tabChain.push_back(m_lineData);
    }
    if (m_parts.nodeText) {
        m_nodeText = NewTextBox("nodeText", 8);
        form->addRow(m_parts.nodeTextLabel, m_nodeText);
        m_spacing = new QSpinBox;
        m_spacing->setObjectName(QStringLiteral("spacing"));
        // The renderers write no more breaks than this, so a larger stored value loses nothing.
        m_spacing->setRange(0, kMaxLineBreaks);
        m_spacing->setMaximumWidth(fontMetrics().averageCharWidth() * 12);
        m_spacing->setToolTip(m_parts.useFormatting
                                  ? tr("Line breaks written before the output")
                                  : tr("Empty lines between the title and the text"));
        form->addRow(tr("Spacing:"), m_spacing);
        m_tabChain.push_back(m_nodeText);
        m_tabChain.push_back(m_spacing);
    }
    return page;
}

QWidget* CNodeSetupDlg::BuildStylePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    if (m_parts.useFormatting) {
        m_useFormatting = new QCheckBox(tr("Use Formatting"));
        m_useFormatting->setObjectName(QStringLiteral("useFormatting"));
        layout->addWidget(m_useFormatting);
        auto* note = new QLabel(m_parts.useFormattingNote);
        note->setWordWrap(true);
        layout->addWidget(note);
        m_tabChain.push_back(m_useFormatting);
    }
    if (m_parts.inheritStyle) {
        m_inheritStyle = new QCheckBox(tr("Inherit Style"));
        m_inheritStyle->setObjectName(QStringLiteral("inheritStyle"));
        m_inheritStyle->setToolTip(
            tr("Use the resume's %1 instead of the node's own").arg(m_parts.inheritedStyle));
        layout->addWidget(m_inheritStyle);
        m_tabChain.push_back(m_inheritStyle);
        // The own style stays editable while inheriting; the group's title says it is unused.
        connect(m_inheritStyle, &QCheckBox::toggled, this, [this] { ShowStyleState(); });
    }

    m_ownStyle = new QGroupBox;
    m_ownStyle->setObjectName(QStringLiteral("ownStyle"));
    QFormLayout* form = NewPageForm(m_ownStyle);
    if (m_parts.underline) {
        m_underline = new QCheckBox(tr("Underline"));
        m_underline->setObjectName(QStringLiteral("underline"));
        form->addRow(QString(), m_underline);
        m_tabChain.push_back(m_underline);
    }
    if (m_parts.bullet) {
        m_bullet = new QComboBox;
        m_bullet->setObjectName(QStringLiteral("bulletStyle"));
        for (int32_t bullet = 0; bullet < kBulletCount; ++bullet) {
            m_bullet->addItem(QString::fromLatin1(BulletName(bullet)));
        }
        form->addRow(tr("Bullet Style:"), m_bullet);
        m_tabChain.push_back(m_bullet);
    }
    auto* buttons = new QHBoxLayout;
    if (m_parts.style) {
        auto* character = new QPushButton(tr("Character Format..."));
        character->setObjectName(QStringLiteral("characterFormat"));
        connect(character, &QPushButton::clicked, this, [this] { EditCharacterFormat(); });
        buttons->addWidget(character);
        m_tabChain.push_back(character);
    }
    auto* paragraph = new QPushButton(tr("Paragraph Format..."));
    paragraph->setObjectName(QStringLiteral("paragraphFormat"));
    connect(paragraph, &QPushButton::clicked, this, [this] { EditParagraphFormat(); });
    buttons->addWidget(paragraph);
    buttons->addStretch(1);
    m_tabChain.push_back(paragraph);
    form->addRow(tr("Format:"), buttons);
    m_styleSummary = new QLabel;
    m_styleSummary->setObjectName(QStringLiteral("styleSummary"));
    m_styleSummary->setWordWrap(true);
    form->addRow(QString(), m_styleSummary);
    layout->addWidget(m_ownStyle);
    layout->addStretch(1);
    return page;
}

QWidget* CNodeSetupDlg::BuildHelpPage() {
    auto* page = new QWidget;
    QFormLayout* form = NewPageForm(page);
    m_helpText = NewTextBox("helpText", 6);
    m_helpAddress = NewLineBox("helpAddress");
    form->addRow(tr("Help Text:"), m_helpText);
    form->addRow(tr("Help Address:"), m_helpAddress);
    m_tabChain.push_back(m_helpText);
    m_tabChain.push_back(m_helpAddress);
    return page;
}

QWidget* CNodeSetupDlg::BuildInformationPage() {
    auto* page = new QWidget;
    QFormLayout* form = NewPageForm(page);
    m_author = NewLineBox("author");
    m_version = NewLineBox("version");
    m_releaseDate = NewLineBox("releaseDate");
    m_renderCapabilities = NewLineBox("renderCapabilities");
    m_renderCapabilities->setReadOnly(true);
    m_infoDescription = NewTextBox("infoDescription", 4);
    form->addRow(tr("Author:"), m_author);
    form->addRow(tr("Version:"), m_version);
    form->addRow(tr("Release Date:"), m_releaseDate);
    form->addRow(tr("Render Capabilities:"), m_renderCapabilities);
    form->addRow(tr("Description:"), m_infoDescription);
    for (QWidget* box : std::initializer_list<QWidget*>{m_author, m_version, m_releaseDate,
                                                        m_renderCapabilities, m_infoDescription}) {
        m_tabChain.push_back(box);
    }
    return page;
}

void CNodeSetupDlg::LoadControls() {
    m_displayText->setText(FromEngineText(*m_parts.displayText));
    if (m_lineData) {
        m_lineData->setText(FromEngineText(*m_parts.lineData));
    }
    if (m_nodeText) {
        m_nodeText->setPlainText(FromNodeText(m_parts.nodeText->text));
        m_spacing->setValue(m_parts.nodeText->spacing);
    }
    if (m_useFormatting) {
        m_useFormatting->setChecked(*m_parts.useFormatting);
    }
    if (m_inheritStyle) {
        m_inheritStyle->setChecked(*m_parts.inheritStyle);
    }
    LoadStyleControls();
    ShowStyleState();

    m_helpText->setPlainText(FromNodeText(m_parts.help->helpText));
    m_helpAddress->setText(FromEngineText(m_parts.help->helpURL));
    const NodeInfo& info = *m_parts.info;
    m_author->setText(FromEngineText(info.author));
    m_version->setText(VersionText(info.version));
    m_releaseDate->setText(FromEngineText(info.releaseDate));
    if (const char* capabilities = RenderCapabilitiesText(info.renderCapabilities)) {
        m_renderCapabilities->setText(tr(capabilities));
    }
    m_infoDescription->setPlainText(FromNodeText(info.description));
}

void CNodeSetupDlg::LoadStyleControls() {
    if (m_underline) {
        m_underline->setChecked(*m_parts.underline);
    }
    if (m_bullet) {
        // A bullet outside the list (from a damaged file) shows no selection until chosen.
        const int32_t bullet = *m_parts.bullet;
        m_bullet->setCurrentIndex(bullet >= 0 && bullet < kBulletCount ? bullet : -1);
    }
}

void CNodeSetupDlg::StoreStyleControls() {
    if (m_underline) {
        *m_parts.underline = m_underline->isChecked();
    }
    if (m_bullet) {
        if (m_bullet->currentIndex() < 0) {
            m_bullet->setCurrentIndex(0);
        }
        *m_parts.bullet = m_bullet->currentIndex();
    }
}

void CNodeSetupDlg::ShowStyleState() {
    if (!m_parts.inheritStyle) {
        m_ownStyle->setTitle(m_parts.style ? tr("Output Style") : tr("Output Paragraph"));
    } else if (m_inheritStyle->isChecked()) {
        m_ownStyle->setTitle(
            tr("Own Style (not used: the resume's %1 apply)").arg(m_parts.inheritedStyle));
    } else {
        m_ownStyle->setTitle(tr("Own Style"));
    }
    m_styleSummary->setText(m_parts.style ? StyleSummary(*m_parts.style)
                                          : ParagraphSummary(*m_parts.paraFormat));
}

void CNodeSetupDlg::EditCharacterFormat() {
    if (EditCharFormat(this, m_parts.style->charFormat)) {
        ShowStyleState();
        emit PendingChanged();
    }
}

void CNodeSetupDlg::EditParagraphFormat() {
    CParagraphFormatSetupDlg dialog(m_context, *m_parts.paraFormat, this);
    connect(&dialog, &CEditorDialog::PendingChanged, this, &CEditorDialog::PendingChanged);
    m_paragraphDialog = &dialog;
    dialog.exec();
    m_paragraphDialog = nullptr;
    // Its presets write the format even when the dialog is then cancelled.
    ShowStyleState();
    if (m_preview != nullptr) {
        m_preview->Refresh();
    }
}

void CNodeSetupDlg::AttachPreview(LivePreview::Layer layer) {
    m_preview = new CPreviewLayer(m_context, this, std::move(layer));
    connect(this, &CEditorDialog::PendingChanged, m_preview, &CPreviewLayer::Changed);
}

PresetParts CNodeSetupDlg::CurrentPresetParts() {
    // The copy is what a preset saves, and it must hold the underline or bullet shown.
    StoreStyleControls();
    switch (*m_parts.presetCategory) {
    case PresetCategory::HeaderStyles:
        return PresetParts::ForHeaderStyles(*m_parts.underline, *m_parts.style);
    case PresetCategory::ResumeSectionStyles:
    case PresetCategory::SLFieldStyles:
    case PresetCategory::MLFieldStyles:
        return PresetParts::ForBulletStyles(*m_parts.presetCategory, *m_parts.bullet,
                                            *m_parts.style);
    default:
        return PresetParts::ForParagraphFormat(*m_parts.paraFormat);
    }
}

void CNodeSetupDlg::OnOK() {
    const QString display = m_displayText->text().trimmed();
    if (display.isEmpty()) {
        RefuseMissing(m_parts.missingWhat);
        m_pages->setCurrentIndex(0);
        m_displayText->setFocus();
        return;
    }
    StoreStyleControls(); // a bullet without a selection shows the first item from now on
    WriteControls();
    m_displayText->setText(display);
    m_version->setText(VersionText(m_parts.info->version));
    accept();
}

void CNodeSetupDlg::WriteControls() {
    // An emptied name is refused at OK; until then the node keeps the one it had.
    if (const QString display = m_displayText->text().trimmed(); !display.isEmpty()) {
        *m_parts.displayText = ToEngineText(display);
    }
    // Node texts are data: kept exactly as typed, spaces and empty lines included.
    if (m_lineData) {
        *m_parts.lineData = ToEngineText(m_lineData->text());
    }
    if (m_nodeText) {
        m_parts.nodeText->text = ToNodeText(m_nodeText->toPlainText());
        m_parts.nodeText->spacing = m_spacing->value();
    }
    if (m_useFormatting) {
        *m_parts.useFormatting = m_useFormatting->isChecked();
    }
    if (m_inheritStyle) {
        *m_parts.inheritStyle = m_inheritStyle->isChecked();
    }
    if (m_underline) {
        *m_parts.underline = m_underline->isChecked();
    }
    if (m_bullet) {
        *m_parts.bullet = std::max(m_bullet->currentIndex(), 0);
    }
    if (m_paragraphDialog != nullptr) {
        m_paragraphDialog->ApplyPending(*m_parts.paraFormat);
    }

    m_parts.help->helpText = ToNodeText(m_helpText->toPlainText().trimmed());
    m_parts.help->helpURL = ToEngineText(m_helpAddress->text().trimmed());
    NodeInfo& info = *m_parts.info;
    info.author = ToEngineText(m_author->text().trimmed());
    info.version = ReadVersion(m_version->text());
    info.releaseDate = ToEngineText(m_releaseDate->text().trimmed());
    info.description = ToNodeText(m_infoDescription->toPlainText().trimmed());
}

CHeaderSetupDlg::CHeaderSetupDlg(EditorContext& context, const HeaderNode& record, QWidget* parent)
    : CNodeSetupDlg(context, tr("Header"), parent), m_record(record) {
    setObjectName(QStringLiteral("headerDialog"));
    Parts parts;
    parts.displayText = &m_record.header;
    parts.displayLabel = tr("Header:");
    parts.missingWhat = "a header";
    parts.inheritStyle = &m_record.inheritStyle;
    parts.inheritedStyle = tr("header style and underline");
    parts.style = &m_record.style;
    parts.paraFormat = &m_record.style.paraFormat;
    parts.underline = &m_record.underline;
    parts.presetCategory = PresetCategory::HeaderStyles;
    parts.help = &m_record.help;
    parts.info = &m_record.info;
    Build(parts);
}

CResumeSectionSetupDlg::CResumeSectionSetupDlg(EditorContext& context,
                                               const ResumeSectionNode& record, QWidget* parent)
    : CNodeSetupDlg(context, tr("Resume Section"), parent), m_record(record) {
    setObjectName(QStringLiteral("resumeSectionDialog"));
    Parts parts;
    parts.displayText = &m_record.title;
    parts.displayLabel = tr("Resume Section:");
    parts.missingWhat = "a section title";
    parts.nodeText = &m_record.data;
    parts.nodeTextLabel = tr("Section Data:");
    parts.inheritStyle = &m_record.inheritStyle;
    parts.inheritedStyle = tr("section style and bullet");
    parts.style = &m_record.style;
    parts.paraFormat = &m_record.style.paraFormat;
    parts.bullet = &m_record.bullet;
    parts.presetCategory = PresetCategory::ResumeSectionStyles;
    parts.help = &m_record.help;
    parts.info = &m_record.info;
    Build(parts);
}

CSLFieldSetupDlg::CSLFieldSetupDlg(EditorContext& context, const SLFieldNode& record,
                                   QWidget* parent)
    : CNodeSetupDlg(context, tr("Single Line Field"), parent), m_record(record) {
    setObjectName(QStringLiteral("slFieldDialog"));
    Parts parts;
    parts.displayText = &m_record.fieldName;
    parts.displayLabel = tr("Field Name:");
    parts.missingWhat = "a field name";
    parts.lineData = &m_record.fieldData;
    parts.inheritStyle = &m_record.inheritStyle;
    parts.inheritedStyle = tr("single line field style and bullet");
    parts.style = &m_record.style;
    parts.paraFormat = &m_record.style.paraFormat;
    parts.bullet = &m_record.bullet;
    parts.presetCategory = PresetCategory::SLFieldStyles;
    parts.help = &m_record.help;
    parts.info = &m_record.info;
    Build(parts);
}

CMLFieldSetupDlg::CMLFieldSetupDlg(EditorContext& context, const MLFieldNode& record,
                                   QWidget* parent)
    : CNodeSetupDlg(context, tr("Multiple Line Field"), parent), m_record(record) {
    setObjectName(QStringLiteral("mlFieldDialog"));
    Parts parts;
    parts.displayText = &m_record.fieldName;
    parts.displayLabel = tr("Field Name:");
    parts.missingWhat = "a field name";
    parts.nodeText = &m_record.fieldData;
    parts.nodeTextLabel = tr("Field Data:");
    parts.inheritStyle = &m_record.inheritStyle;
    parts.inheritedStyle = tr("multiple line field style and bullet");
    parts.style = &m_record.style;
    parts.paraFormat = &m_record.style.paraFormat;
    parts.bullet = &m_record.bullet;
    parts.presetCategory = PresetCategory::MLFieldStyles;
    parts.help = &m_record.help;
    parts.info = &m_record.info;
    Build(parts);
}

CRTFOutputSetupDlg::CRTFOutputSetupDlg(EditorContext& context, const RTFOutputNode& record,
                                       QWidget* parent)
    : CNodeSetupDlg(context, tr("Rich Text File Output"), parent), m_record(record) {
    setObjectName(QStringLiteral("rtfOutputDialog"));
    Parts parts;
    parts.displayText = &m_record.name;
    parts.displayLabel = tr("Name:");
    parts.missingWhat = "an output name";
    parts.nodeText = &m_record.output;
    parts.nodeTextLabel = tr("Output:");
    parts.useFormatting = &m_record.useFormatting;
    parts.useFormattingNote =
        tr("Written by the Rich Text File (RTF) renderer only. With Use Formatting the output "
           "shows as typed, in the style below; without it the output is read as an RTF "
           "document that keeps its own formatting.");
    parts.style = &m_record.style;
    parts.paraFormat = &m_record.style.paraFormat;
    parts.presetCategory = PresetCategory::ParagraphFormat;
    parts.help = &m_record.help;
    parts.info = &m_record.info;
    Build(parts);
}

CTXTOutputSetupDlg::CTXTOutputSetupDlg(EditorContext& context, const TXTOutputNode& record,
                                       QWidget* parent)
    : CNodeSetupDlg(context, tr("Text File Output"), parent), m_record(record) {
    setObjectName(QStringLiteral("txtOutputDialog"));
    Parts parts;
    parts.displayText = &m_record.name;
    parts.displayLabel = tr("Name:");
    parts.missingWhat = "an output name";
    parts.nodeText = &m_record.output;
    parts.nodeTextLabel = tr("Output:");
    parts.useFormatting = &m_record.useFormatting;
    parts.useFormattingNote =
        tr("Written by the Text File (TXT) renderer only, which sets no fonts. With Use "
           "Formatting the output is indented as the paragraph format below says; without it "
           "the output is written as typed.");
    parts.paraFormat = &m_record.paraFormat;
    parts.presetCategory = PresetCategory::ParagraphFormat;
    parts.help = &m_record.help;
    parts.info = &m_record.info;
    Build(parts);
}

namespace {

// The dialog that edits each kind of record.
template <typename Record> struct KindEditor;
template <> struct KindEditor<HeaderNode> { using Dialog = CHeaderSetupDlg; };
template <> struct KindEditor<ResumeSectionNode> { using Dialog = CResumeSectionSetupDlg; };
template <> struct KindEditor<SLFieldNode> { using Dialog = CSLFieldSetupDlg; };
template <> struct KindEditor<MLFieldNode> { using Dialog = CMLFieldSetupDlg; };
template <> struct KindEditor<RTFOutputNode> { using Dialog = CRTFOutputSetupDlg; };
template <> struct KindEditor<TXTOutputNode> { using Dialog = CTXTOutputSetupDlg; };

} // namespace

bool InspectNodeRecord(EditorContext& context, const StackEntry& entry, QWidget* parent) {
    NodeTree& tree = context.tree;
    return VisitRecord(tree, entry, [&](auto& node) {
        using Record = std::remove_cvref_t<decltype(node)>;
        if constexpr (std::is_same_v<Record, ResumeNode>) {
            return false; // the resume has its own window
        } else {
            return EditInTable<typename KindEditor<Record>::Dialog>(
                context, tree.Table<Record>(), static_cast<std::size_t>(entry.index), parent);
        }
    });
}

std::optional<StackEntry> CreateNodeRecord(EditorContext& context, NodeKind kind, QWidget* parent,
                                           StackId stack) {
    NodeTree& tree = context.tree;
    return VisitKind(kind, [&](auto tag) -> std::optional<StackEntry> {
        using Record = typename decltype(tag)::type;
        if constexpr (std::is_same_v<Record, ResumeNode>) {
            return std::nullopt; // there is only one resume
        } else {
            return CreateInTable<typename KindEditor<Record>::Dialog>(
                context, tree.Table<Record>(), NewRecord<Record>(tree), kind, stack, parent);
        }
    });
}

} // namespace trellic
