#include "editors/resume_setup_dlg.h"

#include "document/undo_history.h"
#include "editors/char_format_editor.h"
#include "editors/editor_text.h"
#include "editors/preview_layer.h"
#include "editors/styles_setup_dlg.h"
#include "model/node_tree.h"
#include "render/resume_view.h"
#include "spelling/spell_checking.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace trellic {

CResumeSetupDlg::CResumeSetupDlg(EditorContext& context, QWidget* parent)
    : CEditorDialog(context, tr("Resume"), parent) {
    setObjectName(QStringLiteral("resumeDialog"));
    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("name"));
    EnableSpellChecking(m_name);
    m_description = NewDescriptionEdit();

    // The two buttons are the dialog's only radio buttons, so they exclude each other.
    m_rtf = new QRadioButton(tr("Rich Text File (RTF)"));
    m_rtf->setObjectName(QStringLiteral("rendererRtf"));
    m_txt = new QRadioButton(tr("Text File (TXT)"));
    m_txt->setObjectName(QStringLiteral("rendererTxt"));
    auto* renderers = new QVBoxLayout;
    renderers->addWidget(m_rtf);
    renderers->addWidget(m_txt);

    m_defaultCharFormat = NewCommandButton(tr("Default Character Format..."), "defaultCharFormat");
    m_style = NewCommandButton(tr("Resume Style..."), "resumeStyle");
    auto* inputs = new QHBoxLayout;
    inputs->addWidget(m_defaultCharFormat);
    inputs->addStretch(1);
    inputs->addWidget(m_style);

    Form()->addRow(tr("&Name:"), m_name);
    Form()->addRow(tr("&Description:"), m_description);
    Form()->addRow(tr("Renderer:"), renderers);
    Form()->addRow(tr("Input Nodes:"), inputs);

    connect(m_defaultCharFormat, &QPushButton::clicked, this, [this] { EditDefaultCharFormat(); });
    connect(m_style, &QPushButton::clicked, this, [this] { EditStyle(); });

    AddPresetMenu([this] { return PresetParts::ForResume(Resume()); }, [this] { LoadControls(); });
    LoadControls();

    // Of what is typed here only the renderer shows in the resume: the name and the description
    // are the resume's own.
    m_preview = new CPreviewLayer(m_context, this, [this](NodeTree& copy) {
        const Renderer renderer = m_rtf->isChecked() ? kRendererRtf : kRendererTxt;
        copy.renderer = renderer;
        if (copy.resume) {
            copy.resume->renderer = renderer;
        }
    });
    connect(this, &CEditorDialog::PendingChanged, m_preview, &CPreviewLayer::Changed);
    connect(m_rtf, &QRadioButton::toggled, this, &CEditorDialog::PendingChanged);
}

ResumeNode& CResumeSetupDlg::Resume() const {
    return *m_context.tree.resume;
}

void CResumeSetupDlg::LoadControls() {
    const ResumeNode& resume = Resume();
    // Checking one radio button unchecks the other.
    (resume.renderer == kRendererRtf ? m_rtf : m_txt)->setChecked(true);
    m_description->setPlainText(FromNodeText(resume.description));
    m_name->setText(FromEngineText(resume.name));
}

void CResumeSetupDlg::EditDefaultCharFormat() {
    UndoScope step(m_context.history, "Default Character Format");
    RichCharFormat chosen;
    // The record changes at once; the view takes the same format so that text typed into an
    // empty view matches what the renderer writes.
    if (EditCharFormat(this, Resume().defaultCharFormat, &chosen)) {
        m_context.view.SetDefaultCharFormat(chosen);
        m_preview->ShowNow();
    }
}

void CResumeSetupDlg::EditStyle() {
    // The Style dialog writes the style itself; whether it was confirmed does not matter here.
    CStylesSetupDlg dialog(m_context, Resume().style, this);
    dialog.exec();
}

void CResumeSetupDlg::OnOK() {
    const QString name = m_name->text().trimmed();
    const QString description = m_description->toPlainText().trimmed();
    if (name.isEmpty()) {
        RefuseMissing("a resume name");
        return;
    }
    UndoScope step(m_context.history, "Edit Resume");
    ResumeNode& resume = Resume();
    resume.renderer = m_rtf->isChecked() ? kRendererRtf : kRendererTxt;
    resume.description = ToNodeText(description);
    resume.name = ToEngineText(name);
    accept();
}

} // namespace trellic
