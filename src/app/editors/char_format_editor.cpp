#include "editors/char_format_editor.h"

#include "editors/editor_text.h"
#include "render/rich_formats.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace trellic {

namespace {

struct NamedColor {
    const char* name;
    int32_t colorRef; // 0x00BBGGRR
};

// The colours the classic font dialog offers, in its order.
constexpr NamedColor kClassicColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

QColor ToQColor(int32_t colorRef) {
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

int32_t ToColorRef(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QIcon Swatch(const QColor& color) {
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, 15, 15);
    return QIcon(pixmap);
}

constexpr int kColorRole = Qt::UserRole;
constexpr int kCustomRole = Qt::UserRole + 1;

} // namespace

bool IsSymbolFace(const QString& face) {
    return face.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0 ||
           face.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive) ||
           face.compare(QLatin1String("Webdings"), Qt::CaseInsensitive) == 0;
}

CCharFormatDlg::CCharFormatDlg(const CharFormat& initial, QWidget* parent)
    : QDialog(parent), m_initial(initial) {
    setWindowTitle(tr("Character Format"));
    auto* layout = new QVBoxLayout(this);

    // The font dialog is embedded as a page of this window; its own buttons give way to ours.
    m_font = new QFontDialog(this);
    m_font->setObjectName(QStringLiteral("fontChooser"));
    m_font->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_font->setWindowFlags(Qt::Widget);
    QFont font(FromEngineText(initial.faceName));
    if (initial.height > 0) {
        font.setPointSizeF(initial.height / 20.0);
    }
    font.setWeight(initial.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(initial.italic);
    font.setUnderline(initial.underline);
    font.setStrikeOut(initial.strikeout);
    m_font->setCurrentFont(font);
    m_shownFont = m_font->currentFont();
    layout->addWidget(m_font, 1);
    const QString face = FromEngineText(initial.faceName);
    if (!face.isEmpty() && !QFontDatabase::hasFamily(face)) {
        // The lists can only offer installed faces; the stored one is named all the same, with
        // the face it is drawn in here, and stays unless another is chosen.
        for (auto* edit : m_font->findChildren<QLineEdit*>()) {
            if (edit->isReadOnly() && edit->text() == m_shownFont.family()) {
                edit->setText(face);
                break;
            }
        }
        m_substituteNote = new QLabel(
            tr("%1 is not installed here: it is drawn in %2.").arg(face, QFontInfo(font).family()));
        m_substituteNote->setObjectName(QStringLiteral("substituteNote"));
        m_substituteNote->setWordWrap(true);
        layout->addWidget(m_substituteNote);
    }
    // Enter and Escape reach the embedded dialog first, which would close only itself (or,
    // having no buttons of its own, swallow Enter) and leave an empty window: they answer for
    // the whole window instead.
    connect(m_font, &QDialog::accepted, this, &QDialog::accept);
    connect(m_font, &QDialog::rejected, this, &QDialog::reject);
    m_font->installEventFilter(this);

    auto* colorRow = new QFormLayout;
    m_colors = new QComboBox;
    m_colors->setObjectName(QStringLiteral("colorBox"));
    for (const NamedColor& color : kClassicColors) {
        m_colors->addItem(Swatch(ToQColor(color.colorRef)), tr(color.name), color.colorRef);
    }
    m_colors->addItem(tr("Custom..."));
    m_colors->setItemData(m_colors->count() - 1, true, kCustomRole);
    colorRow->addRow(tr("&Color:"), m_colors);
    layout->addLayout(colorRow);
    SelectColor(initial.color);
    m_shownColorIndex = m_colors->currentIndex();
    connect(m_colors, &QComboBox::activated, this, [this](int index) {
        if (m_colors->itemData(index, kCustomRole).toBool()) {
            ChooseCustomColor();
        } else {
            m_lastColorIndex = index;
        }
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool CCharFormatDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_font && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CCharFormatDlg::SelectColor(int32_t colorRef) {
    colorRef &= 0xFFFFFF;
    for (int i = 0; i < m_colors->count(); ++i) {
        const QVariant value = m_colors->itemData(i, kColorRole);
        if (value.isValid() && value.toInt() == colorRef) {
            m_colors->setCurrentIndex(i);
            m_lastColorIndex = i;
            return;
        }
    }
    // Any other colour stands as a custom entry just before "Custom...".
    const int at = m_colors->count() - 1;
    m_colors->insertItem(at, Swatch(ToQColor(colorRef)),
                         ToQColor(colorRef).name(QColor::HexRgb).toUpper(), colorRef);
    m_colors->setCurrentIndex(at);
    m_lastColorIndex = at;
}

void CCharFormatDlg::ChooseCustomColor() {
    const QVariant current = m_colors->itemData(m_lastColorIndex, kColorRole);
    const QColor chosen = QColorDialog::getColor(ToQColor(current.toInt()), this, tr("Color"));
    if (!chosen.isValid()) {
        m_colors->setCurrentIndex(m_lastColorIndex);
        return;
    }
    SelectColor(ToColorRef(chosen));
}

RichCharFormat CCharFormatDlg::ChosenFormat() const {
    const QFont font = m_font->currentFont();
    RichCharFormat format;
    format.mask = kFullCharMask;
    const int colorIndex = m_colors->currentIndex();
    format.color = colorIndex == m_shownColorIndex
                       ? static_cast<uint32_t>(m_initial.color)
                       : static_cast<uint32_t>(m_colors->itemData(colorIndex, kColorRole).toInt());
    if (font.pointSizeF() != m_shownFont.pointSizeF()) {
        format.height = static_cast<int32_t>(std::lround(font.pointSizeF() * 20.0));
    } else {
        format.height = m_initial.height;
    }
    const bool bold =
        font.weight() != m_shownFont.weight() ? font.weight() == QFont::Bold : m_initial.bold;
    format.Set(kCfeBold, bold);
    format.Set(kCfeItalic,
               font.italic() != m_shownFont.italic() ? font.italic() : m_initial.italic);
    format.Set(kCfeUnderline, font.underline() != m_shownFont.underline() ? font.underline()
                                                                          : m_initial.underline);
    format.Set(kCfeStrikeout, font.strikeOut() != m_shownFont.strikeOut() ? font.strikeOut()
                                                                          : m_initial.strikeout);
    if (!FaceChanged(font)) {
        format.faceName = TruncateFaceName(FromEngineText(m_initial.faceName).toStdString());
        format.charSet = m_initial.charSet;
        format.pitchAndFamily = m_initial.pitchAndFamily;
    } else {
        format.faceName = TruncateFaceName(font.family().toStdString());
        format.charSet = IsSymbolFace(font.family()) ? kSymbolCharSet : kAnsiCharSet;
        // Fixed pitch in the modern family, otherwise let the face speak for itself.
        format.pitchAndFamily = font.fixedPitch() ? 0x31 : 0;
    }
    return format;
}

uint32_t CCharFormatDlg::ChangedMask() const {
    const QFont font = m_font->currentFont();
    uint32_t mask = 0;
    auto changed = [&mask](bool differs, uint32_t bits) {
        if (differs) {
            mask |= bits;
        }
    };
    changed(FaceChanged(font), kCfmFace | kCfmCharSet);
    changed(font.pointSizeF() != m_shownFont.pointSizeF(), kCfmSize);
    changed(font.weight() != m_shownFont.weight(), kCfmBold);
    changed(font.italic() != m_shownFont.italic(), kCfmItalic);
    changed(font.underline() != m_shownFont.underline(), kCfmUnderline);
    changed(font.strikeOut() != m_shownFont.strikeOut(), kCfmStrikeout);
    changed(m_colors->currentIndex() != m_shownColorIndex, kCfmColor);
    return mask;
}

void CCharFormatDlg::ApplyTo(CharFormat& format) const {
    const RichCharFormat chosen = ChosenFormat();
    FontChoice choice;
    choice.weight = chosen.Has(kCfeBold) ? 700 : 400;
    choice.italic = chosen.Has(kCfeItalic);
    choice.underline = chosen.Has(kCfeUnderline);
    choice.strikeout = chosen.Has(kCfeStrikeout);
    FromFontDialog(choice, chosen, format);
    if (!FaceChanged(m_font->currentFont())) {
        format.faceName = m_initial.faceName; // not even cut to the view's 31 characters
    }
}

bool EditCharFormat(QWidget* parent, CharFormat& format, RichCharFormat* chosen) {
    CCharFormatDlg dialog(format, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    dialog.ApplyTo(format);
    if (chosen) {
        *chosen = dialog.ChosenFormat();
    }
    return true;
}

} // namespace trellic
