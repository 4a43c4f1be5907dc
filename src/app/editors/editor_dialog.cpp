#include "editors/editor_dialog.h"

#include "document/undo_history.h"
#include "engine/engine_log.h"
#include "engine/prompter.h"
#include "model/node_tree.h"
#include "presets/user_folders.h"

#include <QAction>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace trellic {

namespace {

constexpr const char* kPresetFilter = "Node Presets (*.nod)|*.nod||";

} // namespace

CEditorDialog::CEditorDialog(EditorContext& context, const QString& caption, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    m_form = new QFormLayout;
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addLayout(m_form);
    layout->addStretch(1);

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    auto* buttons = new QHBoxLayout;
    m_ok = new QPushButton(tr("OK"));
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(tr("Cancel"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    for (QPushButton* button : {m_ok, m_cancel}) {
        button->setMinimumWidth(fontMetrics().averageCharWidth() * 25);
    }
    buttons->addWidget(m_ok);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The dialogs were laid out on a page of 333 by 246 dialog units; keep that as the
    // starting size so long texts have room, and let the layout take over when resized.
    const QFontMetrics metrics = fontMetrics();
    resize(333 * metrics.averageCharWidth() / 4, 246 * metrics.height() / 8);
}

void CEditorDialog::OnOK() {
    accept();
}

void CEditorDialog::showEvent(QShowEvent* event) {
    if (!m_tabOrderSettled) {
        m_tabOrderSettled = true;
        // The buttons were made before any control of the form, so the focus chain starts with
        // them; the form comes first, OK and Cancel last, and the first control has the focus.
        QWidget* first = nullptr;
        QWidget* last = nullptr;
        for (QWidget* widget = nextInFocusChain(); widget != this;
             widget = widget->nextInFocusChain()) {
            if (widget == m_ok || widget == m_cancel || !isAncestorOf(widget) ||
                !(widget->focusPolicy() & Qt::TabFocus)) {
                continue;
            }
            first = first ? first : widget;
            last = widget;
        }
        if (last) {
            setTabOrder(last, m_ok);
            setTabOrder(m_ok, m_cancel);
        }
        QWidget* focused = focusWidget();
        if (first && (!focused || focused == m_ok || focused == m_cancel)) {
            first->setFocus();
        }
    }
    QDialog::showEvent(event);
}

void CEditorDialog::RefuseMissing(const char* what) {
    m_context.prompter.ShowMessage(
        std::string("The node is missing a required parameter:\n\nPlease enter ") + what + ".",
        MessageIcon::Exclamation);
}

void CEditorDialog::AddPresetMenu(std::function<PresetParts()> parts,
                                  std::function<void()> refresh) {
    m_menuBar = new QMenuBar(this);
    layout()->setMenuBar(m_menuBar);
    QMenu* edit = m_menuBar->addMenu(tr("&Edit"));

    QAction* reset = edit->addAction(tr("&Reset Settings"));
    reset->setObjectName(QStringLiteral("presetReset"));
    // A dialog over the tree's own record changes the resume here; one over a working copy
    // changes nothing yet, and its step stays empty.
    connect(reset, &QAction::triggered, this, [this, parts, refresh] {
        UndoScope step(m_context.history, "Reset Settings");
        if (LoadDefaultPreset(m_context.tree.programFolder, parts(), m_context.log,
                              m_context.prompter)) {
            refresh();
            emit PendingChanged();
        }
    });

    QAction* load = edit->addAction(tr("&Load Preset..."));
    load->setObjectName(QStringLiteral("presetLoad"));
    connect(load, &QAction::triggered, this, [this, parts, refresh] {
        const PresetParts target = parts();
        UndoScope step(m_context.history, "Load Preset");
        const std::optional<std::string> path = m_context.prompter.ChooseOpenFile(
            LoadPresetOptions(m_context.tree.programFolder, target.category));
        if (path && ReadPreset(target, *path, m_context.prompter) == PresetReadResult::Read) {
            refresh();
            emit PendingChanged();
        }
    });

    QAction* save = edit->addAction(tr("&Save Preset As..."));
    save->setObjectName(QStringLiteral("presetSave"));
    // The preset holds the record as it stands, not what the controls show.
    connect(save, &QAction::triggered, this, [this, parts] {
        const PresetParts target = parts();
        SavePresetAs(target, m_context.prompter,
                     PresetSaveFolder(m_context.tree.programFolder, target.category));
    });
}

FileDialogOptions LoadPresetOptions(const std::string& programFolder, PresetCategory category) {
    FileDialogOptions options;
    options.defaultExtension = "nod";
    options.filter = kPresetFilter;
    options.initialFolder = PresetLoadFolder(programFolder, category);
    options.places = PresetPlaces(programFolder, category);
    options.hideReadOnly = true;
    options.pathMustExist = true;
    options.fileMustExist = true;
    return options;
}

} // namespace trellic
