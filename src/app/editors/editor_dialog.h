#pragma once

#include "editors/editor_context.h"
#include "engine/prompter.h"
#include "presets/node_presets.h"

#include <QDialog>
#include <functional>

class QFormLayout;
class QMenuBar;
class QPushButton;

namespace trellic {

// The frame every record and style dialog shares: a form of labelled controls, an etched line,
// OK (the default button) on the left and Cancel on the right, and optionally the preset Edit
// menu. Subclasses fill the form and decide what OK stores.
class CEditorDialog : public QDialog {
    Q_OBJECT

public:
    CEditorDialog(EditorContext& context, const QString& caption, QWidget* parent = nullptr);

    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    // Null until AddPresetMenu has made it.
    QMenuBar* MenuBar() const { return m_menuBar; }

signals:
    // A value that shows in the rendering may have changed: in the controls, not yet stored, or
    // in what the dialog works on (a loaded preset, a chosen font).
    void PendingChanged();

protected:
    // Labels on the left, controls on the right, in tab order.
    QFormLayout* Form() const { return m_form; }
    // The Edit menu of Reset Settings, Load Preset... and Save Preset As... over the record
    // parts that parts() names. refresh() runs after a load that changed them; the actions are
    // named "presetReset", "presetLoad" and "presetSave".
    void AddPresetMenu(std::function<PresetParts()> parts, std::function<void()> refresh);
    // What the OK button does; closes with OK unless a subclass refuses.
    virtual void OnOK();
    void showEvent(QShowEvent* event) override;
    // The refusal of OK when a required text is missing: "Please enter <what>.", what being
    // "a resume name", say.
    void RefuseMissing(const char* what);

    EditorContext& m_context;

private:
    QFormLayout* m_form = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_tabOrderSettled = false;
};

// Options of the Load Preset... chooser: node presets only, starting in the category's folder
// (the user's own once it holds presets), with both folders at hand.
FileDialogOptions LoadPresetOptions(const std::string& programFolder, PresetCategory category);

} // namespace trellic
