#include "editors/paragraph_format_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>

namespace trellic {

namespace {

// The list shows the alignments in reading order; the records number them differently.
constexpr int16_t kAlignmentCodes[] = {kAlignLeft, kAlignCentre, kAlignRight, kAlignJustify};

void SelectPosition(QComboBox* box, int position) {
    // A value outside the list leaves the selection as it is.
    if (position >= 0 && position < box->count()) {
        box->setCurrentIndex(position);
    }
}

} // namespace

int CParagraphFormatSetupDlg::AlignmentPosition(int16_t alignment) {
    for (int i = 0; i < 4; ++i) {
        if (kAlignmentCodes[i] == alignment) {
            return i;
        }
    }
    return -1;
}

int16_t CParagraphFormatSetupDlg::AlignmentCode(int position) {
    return position >= 0 && position < 4 ? kAlignmentCodes[position] : 1;
}

CParagraphFormatSetupDlg::CParagraphFormatSetupDlg(EditorContext& context, ParaFormat& format,
                                                   QWidget* parent)
    : CEditorDialog(context, tr("Paragraph Format"), parent), m_format(format) {
    setObjectName(QStringLiteral("paragraphFormatDialog"));
    m_alignment = new QComboBox;
    m_alignment->setObjectName(QStringLiteral("alignment"));
    m_alignment->addItems({tr("Left"), tr("Centred"), tr("Right"), tr("Justified")});
    m_bullet = new QComboBox;
    m_bullet->setObjectName(QStringLiteral("bulletStyle"));
    m_bullet->addItems({tr("None"), tr("Bullet"), tr("Arabic Numbers"), tr("Lowercase Letters"),
                        tr("Uppercase Letters"), tr("Lowercase Roman Numerals"),
                        tr("Uppercase Roman Numerals")});
    m_lineSpacing = new QComboBox;
    m_lineSpacing->setObjectName(QStringLiteral("lineSpacing"));
    m_lineSpacing->addItems({tr("Single"), tr("1.5 Lines"), tr("Double")});
    for (QComboBox* box : {m_alignment, m_bullet, m_lineSpacing}) {
        box->setCurrentIndex(-1);
    }

    m_indent = new QLineEdit;
    m_indent->setObjectName(QStringLiteral("indentation"));
    // Digits only, as the classic number edit: no sign, so a negative value can only come from
    // the record.
    m_indent->setValidator(new QIntValidator(0, 999999999, m_indent));
    m_indent->setMaximumWidth(fontMetrics().averageCharWidth() * 16);
    m_slider = new QSlider(Qt::Horizontal);
    m_slider->setObjectName(QStringLiteral("indentSlider"));
    m_slider->setRange(0, 5);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(1);
    m_slider->setTickPosition(QSlider::NoTicks);
    auto* indentRow = new QHBoxLayout;
    indentRow->addWidget(m_indent);
    indentRow->addWidget(m_slider, 1);

    Form()->addRow(tr("&Alignment:"), m_alignment);
    Form()->addRow(tr("&Bullet Style:"), m_bullet);
    Form()->addRow(tr("&Line Spacing:"), m_lineSpacing);
    // A row of two controls gets no buddy of its own; the mnemonic goes to the number.
    auto* indentLabel = new QLabel(tr("&Indentation:"));
    indentLabel->setBuddy(m_indent);
    Form()->addRow(indentLabel, indentRow);

    // The slider follows every change of the text; the text follows only the user's moves of
    // the slider, which then sets the slider to the same place again.
    connect(m_indent, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_slider->setValue(text.toInt()); });
    connect(m_slider, &QSlider::actionTriggered, this,
            [this](int) { m_indent->setText(QString::number(m_slider->sliderPosition())); });
    connect(m_slider, &QSlider::sliderMoved, this,
            [this](int position) { m_indent->setText(QString::number(position)); });

    AddPresetMenu([this] { return PresetParts::ForParagraphFormat(m_format); },
                  [this] { LoadControls(); });
    LoadControls();

    // The slider only ever moves the text, which is enough to hear about.
    for (QComboBox* box : {m_alignment, m_bullet, m_lineSpacing}) {
        connect(box, &QComboBox::currentIndexChanged, this, &CEditorDialog::PendingChanged);
    }
    connect(m_indent, &QLineEdit::textChanged, this, &CEditorDialog::PendingChanged);
}

void CParagraphFormatSetupDlg::ApplyPending(ParaFormat& target) const {
    // As OK reads them: a list without a selection counts as its first item, a negative
    // indentation as none.
    const auto position = [](const QComboBox* box) { return std::max(box->currentIndex(), 0); };
    target.lineSpacing = static_cast<uint8_t>(position(m_lineSpacing));
    target.indent = std::max(m_indent->text().toInt(), 0);
    target.alignment = AlignmentCode(position(m_alignment));
    target.numbering = static_cast<int16_t>(position(m_bullet));
}

void CParagraphFormatSetupDlg::LoadControls() {
    SelectPosition(m_lineSpacing, m_format.lineSpacing);
    m_indent->setText(QString::number(m_format.indent));
    SelectPosition(m_alignment, AlignmentPosition(m_format.alignment));
    SelectPosition(m_bullet, m_format.numbering);
}

void CParagraphFormatSetupDlg::OnOK() {
    for (QComboBox* box : {m_alignment, m_bullet, m_lineSpacing}) {
        if (box->currentIndex() < 0) {
            box->setCurrentIndex(0);
        }
    }
    if (m_indent->text().toInt() < 0) {
        m_indent->setText(QStringLiteral("0"));
    }
    m_format.lineSpacing = static_cast<uint8_t>(m_lineSpacing->currentIndex());
    // The number typed, not the slider's place: 12 stays 12 though the slider stops at 5.
    m_format.indent = m_indent->text().toInt();
    m_format.alignment = AlignmentCode(m_alignment->currentIndex());
    m_format.numbering = static_cast<int16_t>(m_bullet->currentIndex());
    accept();
}

} // namespace trellic
