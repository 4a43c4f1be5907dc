#include "print/rich_text_bridge.h"

#include "richtext/list_labels.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace trellic {

namespace {

// Custom properties. Qt shows what it can of a format; these keep the rest, and the exact
// values behind what it shows, so that nothing is rounded away on the trip back.
enum Property : int {
    kCharSetProperty = QTextFormat::UserProperty + 1,
    kPitchAndFamilyProperty,
    kFaceNameProperty,
    kHeightProperty,
    kColorProperty,
    kAutoColorProperty,
    kUnderlineTypeProperty,
    kOtherEffectsProperty,
    kSansSignsProperty, // Symbol-font text whose signs are the sans-serif ones

    kNumberingProperty = QTextFormat::UserProperty + 32,
    kNumberingStartProperty,
    kNumberingStyleProperty,
    kAlignmentProperty,
    kLineSpacingRuleProperty,
    kLineSpacingProperty,
    kStartIndentProperty,
    kRightIndentProperty,
    kOffsetProperty,
    kSpaceBeforeProperty,
    kSpaceAfterProperty,
    kTabsProperty,
};

// The effects Qt shows itself; any other bit travels in kOtherEffectsProperty.
constexpr uint32_t kShownEffects = kCfeBold | kCfeItalic | kCfeUnderline | kCfeStrikeout |
                                   kCfeSubscript | kCfeSuperscript | kCfeAutoColor;

Qt::Alignment AlignmentToQt(uint16_t alignment) {
    switch (alignment) {
    case kPfaRight:
        return Qt::AlignRight;
    case kPfaCenter:
        return Qt::AlignHCenter;
    case kPfaJustify:
        return Qt::AlignJustify;
    default:
        return Qt::AlignLeft;
    }
}

uint16_t AlignmentFromQt(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight) {
        return kPfaRight;
    }
    if (alignment & Qt::AlignHCenter) {
        return kPfaCenter;
    }
    if (alignment & Qt::AlignJustify) {
        return kPfaJustify;
    }
    return kPfaLeft;
}

QTextCharFormat::UnderlineStyle UnderlineStyleOf(uint8_t type) {
    return type == kCfuDotted ? QTextCharFormat::DotLine : QTextCharFormat::SingleUnderline;
}

int IntProperty(const QTextFormat& format, int property, int fallback) {
    return format.hasProperty(property) ? format.intProperty(property) : fallback;
}

QString FaceOf(const QTextCharFormat& format) {
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.front();
}

// What decides which list a block belongs to, as the engine's format holds it.
RichParaFormat ListOf(const QTextBlockFormat& format) {
    RichParaFormat list;
    list.numbering = static_cast<uint16_t>(format.intProperty(kNumberingProperty));
    list.numberingStyle = static_cast<uint16_t>(format.intProperty(kNumberingStyleProperty));
    list.numberingStart = static_cast<uint16_t>(format.intProperty(kNumberingStartProperty));
    return list;
}

void AppendRun(RichParagraph& paragraph, const QString& text, const QTextCharFormat& qtFormat) {
    RichRun run;
    run.format = FromQtCharFormat(qtFormat);
    run.text = FromQtText(text, run.format, qtFormat.boolProperty(kSansSignsProperty));
    paragraph.runs.push_back(std::move(run));
}

// The part [from, to) of a block's text, in its formats.
void AppendRuns(RichParagraph& paragraph, const QTextBlock& block, int from, int to) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int start = std::max(from, fragment.position());
        const int end = std::min(to, fragment.position() + fragment.length());
        if (start < end) {
            AppendRun(paragraph, fragment.text().mid(start - fragment.position(), end - start),
                      fragment.charFormat());
        }
    }
}

RichParagraph ParagraphOf(const QTextBlock& block) {
    RichParagraph paragraph;
    paragraph.format = FromQtBlockFormat(block.blockFormat());
    paragraph.markFormat = FromQtCharFormat(block.charFormat());
    return paragraph;
}

} // namespace

qreal TwipsToPixels(int twips) {
    return twips / 15.0;
}

int PixelsToTwips(qreal pixels) {
    return static_cast<int>(std::lround(pixels * 15.0));
}

QString ToQtText(const std::u32string& text, const RichCharFormat& format) {
    const bool symbolFont = format.charSet == kSymbolCharSet;
    const bool symbolEncoded = symbolFont && IsSymbolEncodedFace(format.faceName);
    std::u32string shown = text;
    for (char32_t& c : shown) {
        if (symbolFont && c < 0x100) {
            const auto byte = static_cast<unsigned char>(c);
            c = symbolEncoded ? SymbolFontCharacter(byte) : SymbolLookAlike(byte);
        } else if (c == U'\r' || c == U'\n' || c == U'\u2029') {
            // A break inside a run would split the block and shift every position after it.
            c = U'\u2028';
        }
    }
    return QString::fromUcs4(shown.data(), static_cast<qsizetype>(shown.size()));
}

std::u32string FromQtText(const QString& text, const RichCharFormat& format, bool sansSigns) {
    std::u32string result = text.toStdU32String();
    if (format.charSet != kSymbolCharSet) {
        return result;
    }
    const bool symbolEncoded = IsSymbolEncodedFace(format.faceName);
    for (char32_t& c : result) {
        c = symbolEncoded ? SymbolFontByteOf(c, sansSigns) : SymbolByteOf(c);
    }
    return result;
}

void InsertRunText(QTextCursor& cursor, const RichRun& run) {
    if (run.text.empty()) {
        return;
    }
    const QTextCharFormat format = ToQtCharFormat(run.format);
    const bool symbolEncoded =
        run.format.charSet == kSymbolCharSet && IsSymbolEncodedFace(run.format.faceName);
    if (!symbolEncoded) {
        cursor.insertText(ToQtText(run.text, run.format), format);
        return;
    }
    // The sans-serif signs look like the serif ones: they go in fragments of their own that
    // remember which they are.
    QTextCharFormat sans = format;
    sans.setProperty(kSansSignsProperty, true);
    size_t from = 0;
    while (from < run.text.size()) {
        const bool isSans = IsSymbolSansSign(run.text[from]);
        size_t to = from;
        while (to < run.text.size() && IsSymbolSansSign(run.text[to]) == isSans) {
            ++to;
        }
        cursor.insertText(ToQtText(run.text.substr(from, to - from), run.format),
                          isSans ? sans : format);
        from = to;
    }
}

void KeepSymbolVariant(const QTextCharFormat& from, QTextCharFormat& to) {
    if (from.boolProperty(kSansSignsProperty)) {
        to.setProperty(kSansSignsProperty, true);
    }
}

void InstallFaceSubstitutes() {
    // Resumes name the faces of the systems they were written on. Where such a face is not
    // installed, fontconfig picks by the desktop's own taste (Noto on one machine, DejaVu on
    // another), so a template that fits one page here runs onto two there. These fonts come
    // with the program's own dependencies and keep the page the same on every Linux machine;
    // the Liberation ones have the metrics of the faces they stand for.
    static const std::pair<const char*, QStringList> kSubstitutes[] = {
        {"Arial", {"Liberation Sans", "DejaVu Sans"}},
        {"Helvetica", {"Liberation Sans", "DejaVu Sans"}},
        {"Times New Roman", {"Liberation Serif", "DejaVu Serif"}},
        {"Times", {"Liberation Serif", "DejaVu Serif"}},
        {"Courier New", {"Liberation Mono", "DejaVu Sans Mono"}},
        {"Courier", {"Liberation Mono", "DejaVu Sans Mono"}},
        {"Calibri", {"Carlito", "Liberation Sans"}},
        {"Cambria", {"Caladea", "Liberation Serif"}},
        {"Georgia", {"DejaVu Serif"}},
        {"Verdana", {"DejaVu Sans"}},
        {"Tahoma", {"DejaVu Sans"}},
    };
    for (const auto& [face, substitutes] : kSubstitutes) {
        if (QFont::substitutes(QString::fromLatin1(face)).isEmpty()) {
            QFont::insertSubstitutions(QString::fromLatin1(face), substitutes);
        }
    }
}

QTextCharFormat ToQtCharFormat(const RichCharFormat& format) {
    static const bool substituted = (InstallFaceSubstitutes(), true);
    (void)substituted;
    QTextCharFormat qt;
    const QString face = QString::fromStdString(format.faceName);
    if (!face.isEmpty()) {
        qt.setFontFamilies(QStringList{face});
    }
    if (format.height > 0) {
        qt.setFontPointSize(format.height / 20.0);
    }
    qt.setFontWeight(format.Has(kCfeBold) ? QFont::Bold : QFont::Normal);
    qt.setFontItalic(format.Has(kCfeItalic));
    qt.setFontStrikeOut(format.Has(kCfeStrikeout));
    qt.setUnderlineStyle(format.Has(kCfeUnderline) ? UnderlineStyleOf(format.underlineType)
                                                   : QTextCharFormat::NoUnderline);
    if (format.Has(kCfeSubscript)) {
        qt.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    } else if (format.Has(kCfeSuperscript)) {
        qt.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else {
        qt.setVerticalAlignment(QTextCharFormat::AlignNormal);
    }
    if (format.Has(kCfeAutoColor)) {
        qt.clearForeground();
    } else {
        const uint32_t c = format.color;
        qt.setForeground(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
    }

    qt.setProperty(kCharSetProperty, int(format.charSet));
    qt.setProperty(kPitchAndFamilyProperty, int(format.pitchAndFamily));
    qt.setProperty(kFaceNameProperty, face);
    qt.setProperty(kHeightProperty, int(format.height));
    qt.setProperty(kColorProperty, uint(format.color));
    qt.setProperty(kAutoColorProperty, format.Has(kCfeAutoColor));
    qt.setProperty(kUnderlineTypeProperty, int(format.underlineType));
    if ((format.effects & ~kShownEffects) != 0) {
        qt.setProperty(kOtherEffectsProperty, uint(format.effects & ~kShownEffects));
    }
    return qt;
}

RichCharFormat FromQtCharFormat(const QTextCharFormat& qt) {
    const RichCharFormat plain = PlainCharFormat();
    RichCharFormat format;
    format.mask = kCfmAll;
    format.effects = qt.hasProperty(kOtherEffectsProperty)
                         ? qt.property(kOtherEffectsProperty).toUInt() & ~kShownEffects
                         : 0;
    format.Set(kCfeBold, qt.fontWeight() >= QFont::DemiBold);
    format.Set(kCfeItalic, qt.fontItalic());
    format.Set(kCfeStrikeout, qt.fontStrikeOut());
    format.Set(kCfeSubscript, qt.verticalAlignment() == QTextCharFormat::AlignSubScript);
    format.Set(kCfeSuperscript, qt.verticalAlignment() == QTextCharFormat::AlignSuperScript);

    // Each stored value counts only while what Qt shows still agrees with it: a format that
    // came from elsewhere (pasted HTML) or was changed by Qt alone is taken as Qt shows it.
    const QTextCharFormat::UnderlineStyle style = qt.underlineStyle();
    const bool underline = style != QTextCharFormat::NoUnderline;
    format.Set(kCfeUnderline, underline);
    const int storedType = IntProperty(qt, kUnderlineTypeProperty, -1);
    if (!underline) {
        format.underlineType = storedType >= 0 ? uint8_t(storedType) : kCfuNone;
    } else if (storedType > kCfuNone && UnderlineStyleOf(uint8_t(storedType)) == style) {
        format.underlineType = uint8_t(storedType);
    } else {
        format.underlineType = style == QTextCharFormat::DotLine ? kCfuDotted : kCfuSolid;
    }

    const int storedHeight = IntProperty(qt, kHeightProperty, -1);
    const int shownHeight = static_cast<int>(std::lround(qt.fontPointSize() * 20.0));
    if (storedHeight >= 0 &&
        (shownHeight == storedHeight || (shownHeight == 0 && storedHeight == 0))) {
        format.height = storedHeight;
    } else {
        format.height = shownHeight > 0 ? shownHeight : plain.height;
    }

    const QString face = FaceOf(qt);
    const bool storedFace =
        qt.hasProperty(kFaceNameProperty) && qt.stringProperty(kFaceNameProperty) == face;
    if (storedFace) {
        format.faceName = face.toStdString();
        format.pitchAndFamily = uint8_t(IntProperty(qt, kPitchAndFamilyProperty, 0));
    } else {
        format.faceName = face.isEmpty() ? plain.faceName : TruncateFaceName(face.toStdString());
        format.pitchAndFamily = face.isEmpty() ? plain.pitchAndFamily : 0;
    }
    format.charSet = uint8_t(IntProperty(qt, kCharSetProperty, plain.charSet));

    const QBrush brush = qt.foreground();
    const bool shownColor =
        qt.hasProperty(QTextFormat::ForegroundBrush) && brush.style() != Qt::NoBrush;
    if (shownColor) {
        const QColor c = brush.color();
        format.color = uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
    } else {
        format.effects |= kCfeAutoColor;
        format.color = qt.hasProperty(kColorProperty) ? qt.property(kColorProperty).toUInt() : 0;
    }
    return format;
}

QTextBlockFormat ToQtBlockFormat(const RichParaFormat& format) {
    QTextBlockFormat qt;
    qt.setAlignment(AlignmentToQt(format.alignment));
    switch (format.lineSpacingRule) {
    case kLineSpacingOneAndHalf:
        qt.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
        break;
    case kLineSpacingDouble:
        qt.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
        break;
    case kLineSpacingAtLeast:
        qt.setLineHeight(TwipsToPixels(format.lineSpacing), QTextBlockFormat::MinimumHeight);
        break;
    case kLineSpacingExactly:
        qt.setLineHeight(TwipsToPixels(format.lineSpacing), QTextBlockFormat::FixedHeight);
        break;
    case kLineSpacingMultiple:
        qt.setLineHeight(format.lineSpacing * 5.0, QTextBlockFormat::ProportionalHeight);
        break;
    default:
        qt.setLineHeight(0, QTextBlockFormat::SingleHeight);
        break;
    }
    // The marker of a numbered paragraph is drawn in room of its own before the first line.
    const int markerRoom = format.numbering != kPfnNone ? kMarkerRoomTwips : 0;
    qt.setLeftMargin(TwipsToPixels(format.startIndent + format.offset + markerRoom));
    qt.setTextIndent(TwipsToPixels(-format.offset));
    qt.setRightMargin(TwipsToPixels(format.rightIndent));
    qt.setTopMargin(TwipsToPixels(format.spaceBefore));
    qt.setBottomMargin(TwipsToPixels(format.spaceAfter));
    QList<QTextOption::Tab> tabs;
    QVariantList tabTwips;
    for (size_t i = 0; i < format.tabCount && i < kMaxTabStops; ++i) {
        tabs.append(QTextOption::Tab(TwipsToPixels(format.tabs[i]), QTextOption::LeftTab));
        tabTwips.append(format.tabs[i]);
    }
    qt.setTabPositions(tabs);

    qt.setProperty(kNumberingProperty, int(format.numbering));
    qt.setProperty(kNumberingStartProperty, int(format.numberingStart));
    qt.setProperty(kNumberingStyleProperty, int(format.numberingStyle));
    qt.setProperty(kAlignmentProperty, int(format.alignment));
    qt.setProperty(kLineSpacingRuleProperty, int(format.lineSpacingRule));
    qt.setProperty(kLineSpacingProperty, int(format.lineSpacing));
    qt.setProperty(kStartIndentProperty, int(format.startIndent));
    qt.setProperty(kRightIndentProperty, int(format.rightIndent));
    qt.setProperty(kOffsetProperty, int(format.offset));
    qt.setProperty(kSpaceBeforeProperty, int(format.spaceBefore));
    qt.setProperty(kSpaceAfterProperty, int(format.spaceAfter));
    qt.setProperty(kTabsProperty, tabTwips);
    return qt;
}

RichParaFormat FromQtBlockFormat(const QTextBlockFormat& qt) {
    RichParaFormat format;
    format.mask = kPfmAll;
    format.numbering = uint16_t(IntProperty(qt, kNumberingProperty, kPfnNone));
    format.numberingStart = uint16_t(IntProperty(qt, kNumberingStartProperty, 0));
    format.numberingStyle = uint16_t(IntProperty(qt, kNumberingStyleProperty, 0));

    const uint16_t shownAlignment = AlignmentFromQt(qt.alignment());
    const int storedAlignment = IntProperty(qt, kAlignmentProperty, -1);
    format.alignment = storedAlignment >= 0 && AlignmentToQt(uint16_t(storedAlignment)) ==
                                                   AlignmentToQt(shownAlignment)
                           ? uint16_t(storedAlignment)
                           : shownAlignment;

    if (qt.hasProperty(kLineSpacingRuleProperty)) {
        format.lineSpacingRule = uint8_t(qt.intProperty(kLineSpacingRuleProperty));
        format.lineSpacing = qt.intProperty(kLineSpacingProperty);
    } else {
        const qreal height = qt.lineHeight();
        switch (qt.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            if (std::lround(height) == 150) {
                format.lineSpacingRule = kLineSpacingOneAndHalf;
            } else if (std::lround(height) == 200) {
                format.lineSpacingRule = kLineSpacingDouble;
            } else if (std::lround(height) != 100) {
                format.lineSpacingRule = kLineSpacingMultiple;
                format.lineSpacing = static_cast<int>(std::lround(height / 5.0));
            }
            break;
        case QTextBlockFormat::MinimumHeight:
            format.lineSpacingRule = kLineSpacingAtLeast;
            format.lineSpacing = PixelsToTwips(height);
            break;
        case QTextBlockFormat::FixedHeight:
            format.lineSpacingRule = kLineSpacingExactly;
            format.lineSpacing = PixelsToTwips(height);
            break;
        default:
            break;
        }
    }

    if (qt.hasProperty(kStartIndentProperty)) {
        format.startIndent = qt.intProperty(kStartIndentProperty);
        format.offset = qt.intProperty(kOffsetProperty);
        format.rightIndent = qt.intProperty(kRightIndentProperty);
        format.spaceBefore = qt.intProperty(kSpaceBeforeProperty);
        format.spaceAfter = qt.intProperty(kSpaceAfterProperty);
    } else {
        format.offset = -PixelsToTwips(qt.textIndent());
        format.startIndent = PixelsToTwips(qt.leftMargin()) - format.offset;
        format.rightIndent = PixelsToTwips(qt.rightMargin());
        format.spaceBefore = PixelsToTwips(qt.topMargin());
        format.spaceAfter = PixelsToTwips(qt.bottomMargin());
    }

    std::vector<int32_t> tabs;
    if (qt.hasProperty(kTabsProperty)) {
        for (const QVariant& tab : qt.property(kTabsProperty).toList()) {
            tabs.push_back(tab.toInt());
        }
    } else {
        for (const QTextOption::Tab& tab : qt.tabPositions()) {
            tabs.push_back(PixelsToTwips(tab.position));
        }
    }
    format.tabCount = uint8_t(std::min(tabs.size(), kMaxTabStops));
    std::copy_n(tabs.begin(), format.tabCount, format.tabs.begin());
    return format;
}

void DocumentToQt(const RichDocument& document, QTextDocument& target) {
    target.clear();
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    bool first = true;
    for (const RichParagraph& paragraph : document.paragraphs) {
        QTextBlockFormat blockFormat = ToQtBlockFormat(paragraph.format);
        if (IsRuleParagraph(paragraph)) {
            // The rule is sized for the widest paper; on a narrower page its last few macrons
            // would wrap onto a line of their own, so it runs into the margin instead.
            blockFormat.setNonBreakableLines(true);
        }
        const QTextCharFormat markFormat = ToQtCharFormat(paragraph.markFormat);
        if (first) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(markFormat);
            first = false;
        } else {
            cursor.insertBlock(blockFormat, markFormat);
        }
        for (const RichRun& run : paragraph.runs) {
            InsertRunText(cursor, run);
        }
    }
    cursor.endEditBlock();
}

RichDocument DocumentFromQt(const QTextDocument& document) {
    RichDocument result;
    result.paragraphs.clear();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        RichParagraph paragraph = ParagraphOf(block);
        AppendRuns(paragraph, block, block.position(), block.position() + block.length());
        result.paragraphs.push_back(std::move(paragraph));
    }
    if (result.paragraphs.empty()) {
        result.paragraphs.emplace_back();
    }
    result.Normalize();
    return result;
}

RichDocument FragmentFromQt(const QTextDocument& document, int from, int to) {
    RichDocument result;
    result.paragraphs.clear();
    if (from > to) {
        std::swap(from, to);
    }
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        if (block.position() > to) {
            break;
        }
        RichParagraph paragraph = ParagraphOf(block);
        AppendRuns(paragraph, block, from, to);
        result.paragraphs.push_back(std::move(paragraph));
    }
    if (result.paragraphs.empty()) {
        result.paragraphs.emplace_back();
    }
    result.Normalize();
    return result;
}

QString NumberingMarker(int numbering, int value, int numberingStyle) {
    if (numbering == kPfnBullet) {
        return QStringLiteral("\u2022");
    }
    if (!IsListNumbering(static_cast<uint16_t>(numbering))) {
        return {};
    }
    return QString::fromStdString(ListItemLabel(static_cast<uint16_t>(numbering),
                                                static_cast<uint16_t>(numberingStyle), value));
}

QStringList NumberingMarkers(const QTextDocument& document) {
    QStringList markers;
    markers.reserve(document.blockCount());
    QTextBlockFormat previous;
    int value = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        const int numbering = format.intProperty(kNumberingProperty);
        if (numbering == kPfnNone) {
            markers.append(QString());
            previous = format;
            continue;
        }
        const bool continues = previous.intProperty(kNumberingProperty) != kPfnNone &&
                               SameList(ListOf(previous), ListOf(format));
        value = continues ? value + 1 : format.intProperty(kNumberingStartProperty);
        markers.append(
            NumberingMarker(numbering, value, format.intProperty(kNumberingStyleProperty)));
        previous = format;
    }
    return markers;
}

} // namespace trellic
