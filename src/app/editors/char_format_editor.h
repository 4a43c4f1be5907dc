#pragma once

#include "model/node_records.h"
#include "richtext/rich_format.h"

#include <QDialog>

class QComboBox;
class QFontDialog;
class QLabel;

namespace trellic {

// The character format editor: the font dialog and a colour choice in one window, so that every
// attribute of a CharFormat can be chosen (face, size, weight, italic, underline, strikeout,
// colour).
class CCharFormatDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCharFormatDlg(const CharFormat& initial, QWidget* parent = nullptr);

    QFontDialog* FontChooser() const { return m_font; }
    // The 16 classic colours, then "Custom..." which asks for any other.
    QComboBox* ColorBox() const { return m_colors; }

    // The choice in the view's terms: face, size (twips), colour, character set, pitch and
    // family, all marked valid. What the user left as the window showed it keeps the opening
    // format's value, even where the window could not show that value (a face that is not
    // installed, a weight its substitute lacks).
    RichCharFormat ChosenFormat() const;
    // Stores the choice into format: bold exactly when a chosen weight is 700, the character
    // set 2 for a symbol font; untouched attributes keep their stored values exactly.
    void ApplyTo(CharFormat& format) const;
    // The attributes the user changed from what the window first showed (kCfm* bits), so that
    // a selection of mixed formats keeps the attributes left alone.
    uint32_t ChangedMask() const;
    // The note under the font lists naming a stored face that is not installed; null otherwise.
    QLabel* SubstituteNote() const { return m_substituteNote; }

    // Selects a colour (0x00BBGGRR), adding it as a custom entry when it is none of the list's.
    void SelectColor(int32_t colorRef);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ChooseCustomColor();

    bool FaceChanged(const QFont& font) const { return font.family() != m_shownFont.family(); }

    CharFormat m_initial;
    // The font as the window first showed it: an attribute still showing that was not touched.
    QFont m_shownFont;
    QLabel* m_substituteNote = nullptr;
    QFontDialog* m_font = nullptr;
    QComboBox* m_colors = nullptr;
    int m_lastColorIndex = 0;
    int m_shownColorIndex = 0;
};

// Runs the editor on format. True when the user pressed OK: format then holds the choice and
// chosen, when given, the same choice as the view takes it. Cancel changes nothing.
bool EditCharFormat(QWidget* parent, CharFormat& format, RichCharFormat* chosen = nullptr);

// Whether a face is a symbol font, whose text is stored as the font's own bytes.
bool IsSymbolFace(const QString& face);

} // namespace trellic
