#include "editors/styles_setup_dlg.h"

#include "document/undo_history.h"
#include "editors/char_format_editor.h"
#include "editors/editor_text.h"
#include "editors/paragraph_format_dlg.h"
#include "editors/preview_layer.h"
#include "render/rich_formats.h"
#include "spelling/spell_checking.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace trellic {

namespace {

// Confirming the Style dialog declares the style fit for both renderers, whatever it said.

struct BulletKindSetup {
    const char* caption;
    const char* objectName;
    PresetCategory category;
    int32_t StyleNode::*bullet;
    TextStyle StyleNode::*textStyle;
};

constexpr BulletKindSetup kBulletKinds[] = {
    {QT_TRANSLATE_NOOP("CBulletStylesSetupDlg", "Resume Section Styles"),
     "resumeSectionStylesDialog", PresetCategory::ResumeSectionStyles, &StyleNode::sectionBullet,
     &StyleNode::sectionStyle},
    {QT_TRANSLATE_NOOP("CBulletStylesSetupDlg", "Single Line Field Styles"), "slFieldStylesDialog",
     PresetCategory::SLFieldStyles, &StyleNode::slFieldBullet, &StyleNode::slFieldStyle},
    {QT_TRANSLATE_NOOP("CBulletStylesSetupDlg", "Multiple Line Field Styles"),
     "mlFieldStylesDialog", PresetCategory::MLFieldStyles, &StyleNode::mlFieldBullet,
     &StyleNode::mlFieldStyle},
};

const BulletKindSetup& SetupOf(BulletStyleKind kind) {
    return kBulletKinds[static_cast<int>(kind)];
}

// Two buttons at the ends of a row, as the classic layout puts them under the field column.
QHBoxLayout* ButtonPair(QPushButton* left, QPushButton* right) {
    auto* row = new QHBoxLayout;
    row->addWidget(left);
    row->addStretch(1);
    row->addWidget(right);
    return row;
}

} // namespace

QPushButton* NewCommandButton(const QString& text, const char* objectName) {
    auto* button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    // 100 dialog units: four of them to the average character.
    button->setMinimumWidth(button->fontMetrics().averageCharWidth() * 25);
    return button;
}

QPlainTextEdit* NewDescriptionEdit() {
    auto* edit = new QPlainTextEdit;
    edit->setObjectName(QStringLiteral("description"));
    edit->setTabChangesFocus(true);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Five lines, as the classic box of 40 dialog units shows.
    const int frame =
        2 * edit->frameWidth() + static_cast<int>(2 * edit->document()->documentMargin());
    edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 5 + frame);
    EnableSpellChecking(edit);
    return edit;
}

// ---------------------------------------------------------------------------------------------
// Style

CStylesSetupDlg::CStylesSetupDlg(EditorContext& context, StyleNode& style, QWidget* parent)
    : CEditorDialog(context, tr("Style"), parent), m_style(style) {
    setObjectName(QStringLiteral("styleDialog"));
    m_author = new QLineEdit;
    m_author->setObjectName(QStringLiteral("author"));
    m_version = new QLineEdit;
    m_version->setObjectName(QStringLiteral("version"));
    m_releaseDate = new QLineEdit;
    m_releaseDate->setObjectName(QStringLiteral("releaseDate"));
    m_capabilities = new QLineEdit;
    m_capabilities->setObjectName(QStringLiteral("renderCapabilities"));
    m_capabilities->setReadOnly(true);
    m_description = NewDescriptionEdit();

    QPushButton* header = NewCommandButton(tr("Header Styles..."), "headerStyles");
    QPushButton* section = NewCommandButton(tr("Resume Section Styles..."), "sectionStyles");
    QPushButton* slField = NewCommandButton(tr("Single Line Field Styles..."), "slFieldStyles");
    QPushButton* mlField = NewCommandButton(tr("Multiple Line Field Styles..."), "mlFieldStyles");
    auto* inputs = new QGridLayout;
    inputs->addWidget(header, 0, 0);
    inputs->addWidget(section, 0, 2);
    inputs->addWidget(slField, 1, 0);
    inputs->addWidget(mlField, 1, 2);
    inputs->setColumnStretch(1, 1);

    Form()->addRow(tr("&Author:"), m_author);
    Form()->addRow(tr("&Version:"), m_version);
    Form()->addRow(tr("Release &Date:"), m_releaseDate);
    Form()->addRow(tr("Render &Capabilities:"), m_capabilities);
    Form()->addRow(tr("Descri&ption:"), m_description);
    Form()->addRow(tr("Input Nodes:"), inputs);

    // The sub-dialogs write the style themselves; what they return does not matter here.
    connect(header, &QPushButton::clicked, this, [this] {
        CHeaderStylesSetupDlg dialog(m_context, m_style, this);
        dialog.exec();
    });
    const auto runBulletDialog = [this](BulletStyleKind kind) {
        CBulletStylesSetupDlg dialog(m_context, m_style, kind, this);
        dialog.exec();
    };
    connect(section, &QPushButton::clicked, this,
            [runBulletDialog] { runBulletDialog(BulletStyleKind::ResumeSection); });
    connect(slField, &QPushButton::clicked, this,
            [runBulletDialog] { runBulletDialog(BulletStyleKind::SLField); });
    connect(mlField, &QPushButton::clicked, this,
            [runBulletDialog] { runBulletDialog(BulletStyleKind::MLField); });

    AddPresetMenu([this] { return PresetParts::ForStyle(m_style); }, [this] { LoadControls(); });
    LoadControls();

    // Nothing typed here shows in the resume, but a preset loaded here does, and the
    // sub-dialogs' previews stand on this one.
    auto* preview = new CPreviewLayer(m_context, this, [](NodeTree&) {});
    connect(this, &CEditorDialog::PendingChanged, preview, &CPreviewLayer::Changed);
}

void CStylesSetupDlg::LoadControls() {
    NodeInfo& info = m_style.info;
    m_author->setText(FromEngineText(info.author));
    m_version->setText(VersionText(info.version));
    m_releaseDate->setText(FromEngineText(info.releaseDate));
    // A value without a text leaves the field as it was.
    if (const char* capabilities = RenderCapabilitiesText(info.renderCapabilities)) {
        m_capabilities->setText(tr(capabilities));
    }
    m_description->setPlainText(FromNodeText(info.description));
}

void CStylesSetupDlg::OnOK() {
    const float version = ReadVersion(m_version->text());
    m_version->setText(VersionText(version));
    UndoScope step(m_context.history, "Edit Style");

    NodeInfo& info = m_style.info;
    info.author = ToEngineText(m_author->text().trimmed());
    info.version = version;
    info.releaseDate = ToEngineText(m_releaseDate->text().trimmed());
    info.renderCapabilities = kEveryRendering;
    info.description = ToNodeText(m_description->toPlainText().trimmed());
    accept();
}

// ---------------------------------------------------------------------------------------------
// The sub-dialogs' common part

CStyleKindSetupDlg::CStyleKindSetupDlg(EditorContext& context, const QString& caption,
                                       StyleNode& style, TextStyle StyleNode::*textStyle,
                                       QWidget* parent)
    : CEditorDialog(context, caption, parent), m_style(style), m_textStyle(style.*textStyle),
      m_textStyleMember(textStyle) {
    m_preview = new CPreviewLayer(m_context, this, [this](NodeTree& copy) { PreviewInto(copy); });
    connect(this, &CEditorDialog::PendingChanged, m_preview, &CPreviewLayer::Changed);
}

void CStyleKindSetupDlg::PreviewInto(NodeTree& copy) const {
    // The dialog edits the resume's own style; any other has no place in the rendering.
    if (!copy.resume || !m_context.tree.resume || &m_context.tree.resume->style != &m_style) {
        return;
    }
    StyleNode& style = copy.resume->style;
    PreviewOption(style);
    if (m_paragraphDialog != nullptr) {
        m_paragraphDialog->ApplyPending((style.*m_textStyleMember).paraFormat);
    }
}

void CStyleKindSetupDlg::AddStyleRows() {
    QPushButton* character = NewCommandButton(tr("Character Format..."), "characterFormat");
    QPushButton* paragraph = NewCommandButton(tr("Paragraph Format..."), "paragraphFormat");
    QPushButton* refresh = NewCommandButton(tr("Refresh Render"), "refreshRender");
    auto* commands = new QHBoxLayout;
    commands->addStretch(1);
    commands->addWidget(refresh);
    commands->addStretch(1);
    Form()->addRow(tr("Input Nodes:"), ButtonPair(character, paragraph));
    Form()->addRow(tr("Commands:"), commands);

    // Both formats change the style at once and leave rendering to Refresh Render.
    connect(character, &QPushButton::clicked, this, [this] {
        UndoScope step(m_context.history, "Character Format");
        if (EditCharFormat(this, m_textStyle.charFormat)) {
            m_preview->ShowNow();
        }
    });
    connect(paragraph, &QPushButton::clicked, this, [this] {
        // The dialog's OK and its presets write the style: one step for the whole visit.
        UndoScope step(m_context.history, "Paragraph Format");
        CParagraphFormatSetupDlg dialog(m_context, m_textStyle.paraFormat, this);
        connect(&dialog, &CEditorDialog::PendingChanged, m_preview, &CPreviewLayer::Changed);
        m_paragraphDialog = &dialog;
        dialog.exec();
        m_paragraphDialog = nullptr;
        // What it showed is stored now, or was cancelled and must leave the view.
        m_preview->Refresh();
    });
    connect(refresh, &QPushButton::clicked, this, [this] { RefreshRender(); });
}

void CStyleKindSetupDlg::OnOK() {
    UndoScope step(m_context.history, "Edit " + windowTitle().toStdString());
    StoreOption();
    accept();
}

void CStyleKindSetupDlg::RefreshRender() {
    UndoScope step(m_context.history, "Edit " + windowTitle().toStdString());
    StoreOption();
    RenderNow(m_context);
}

// ---------------------------------------------------------------------------------------------
// Header Styles

CHeaderStylesSetupDlg::CHeaderStylesSetupDlg(EditorContext& context, StyleNode& style,
                                             QWidget* parent)
    : CStyleKindSetupDlg(context, tr("Header Styles"), style, &StyleNode::headerStyle, parent),
      m_headerUnderline(style.headerUnderline) {
    setObjectName(QStringLiteral("headerStylesDialog"));
    m_underline = new QCheckBox(tr("&Underline"));
    m_underline->setObjectName(QStringLiteral("underline"));
    Form()->addRow(QString(), m_underline);
    AddStyleRows();

    AddPresetMenu([this] { return PresetParts::ForHeaderStyles(m_headerUnderline, m_textStyle); },
                  [this] { LoadControls(); });
    LoadControls();
    connect(m_underline, &QCheckBox::toggled, this, &CEditorDialog::PendingChanged);
}

void CHeaderStylesSetupDlg::LoadControls() {
    m_underline->setChecked(m_headerUnderline);
}

void CHeaderStylesSetupDlg::StoreOption() {
    m_headerUnderline = m_underline->isChecked();
}

void CHeaderStylesSetupDlg::PreviewOption(StyleNode& copy) const {
    copy.headerUnderline = m_underline->isChecked();
}

// ---------------------------------------------------------------------------------------------
// Resume Section, Single Line Field and Multiple Line Field Styles

CBulletStylesSetupDlg::CBulletStylesSetupDlg(EditorContext& context, StyleNode& style,
                                             BulletStyleKind kind, QWidget* parent)
    : CStyleKindSetupDlg(context, tr(SetupOf(kind).caption), style, SetupOf(kind).textStyle,
                         parent),
      m_kind(kind), m_category(SetupOf(kind).category), m_bullet(style.*SetupOf(kind).bullet) {
    setObjectName(QString::fromLatin1(SetupOf(kind).objectName));
    m_bulletBox = new QComboBox;
    m_bulletBox->setObjectName(QStringLiteral("bulletStyle"));
    // The list's positions are the stored bullet values.
    for (int32_t bullet = 0; bullet < kBulletCount; ++bullet) {
        m_bulletBox->addItem(tr(BulletName(bullet)));
    }
    Form()->addRow(tr("&Bullet Style:"), m_bulletBox);
    AddStyleRows();

    AddPresetMenu(
        [this] { return PresetParts::ForBulletStyles(m_category, m_bullet, m_textStyle); },
        [this] { LoadControls(); });
    LoadControls();
    connect(m_bulletBox, &QComboBox::currentIndexChanged, this, &CEditorDialog::PendingChanged);
}

void CBulletStylesSetupDlg::LoadControls() {
    // A value outside the list clears the selection, so a damaged bullet is not shown as some
    // other one.
    m_bulletBox->setCurrentIndex(m_bullet >= 0 && m_bullet < kBulletCount ? m_bullet : -1);
}

void CBulletStylesSetupDlg::StoreOption() {
    if (m_bulletBox->currentIndex() < 0) {
        m_bulletBox->setCurrentIndex(0);
    }
    m_bullet = m_bulletBox->currentIndex();
}

void CBulletStylesSetupDlg::PreviewOption(StyleNode& copy) const {
    // As OK reads it: no selection stores the first item.
    copy.*SetupOf(m_kind).bullet = std::max(m_bulletBox->currentIndex(), 0);
}

} // namespace trellic
