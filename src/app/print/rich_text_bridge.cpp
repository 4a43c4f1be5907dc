#include "print/rich_text_bridge.h"

#include "richtext/list_labels.h"

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QPainter>
#include <QRawFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTextOption>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Pictures travel through Qt's formats as the engine's shared picture, so that a picture comes
// back from the view as the very bytes it went in with.
Q_DECLARE_METATYPE(std::shared_ptr<const trellic::RichPicture>)

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
    kBackColorProperty, // -1 for none
    kRaiseProperty,     // twips, of raised or lowered text
    kPictureProperty,

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
    kBulletSymbolProperty,
    kBulletFaceProperty,
    kBulletCharSetProperty,
};

// The effects Qt shows itself; any other bit travels in kOtherEffectsProperty. Capitals show
// (as the font's capitalization) but travel there too: Qt shows one of the two kinds at a time.
constexpr uint32_t kShownEffects = kCfeBold | kCfeItalic | kCfeUnderline | kCfeStrikeout |
                                   kCfeSubscript | kCfeSuperscript | kCfeAutoColor;

// Hidden text stays in the text, where the engine counts it, but takes no room and no ink:
// Qt has no hidden characters.
constexpr qreal kHiddenPointSize = 0.1;

QFont::Capitalization CapitalizationOf(uint32_t effects) {
    if (effects & kCfeAllCaps) {
        return QFont::AllUppercase;
    }
    return effects & kCfeSmallCaps ? QFont::SmallCaps : QFont::MixedCase;
}

QColor QtColor(uint32_t color) {
    return {int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)};
}

uint32_t EngineColor(const QColor& c) {
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

// The document resource a picture's image is kept under. The format holding the picture keeps
// it alive as long as the document can show it, so its address names it uniquely.
QString PictureName(const RichPicture& picture) {
    return QStringLiteral("trellic-picture:%1").arg(reinterpret_cast<quintptr>(&picture), 0, 16);
}

QString PictureKindLabel(const RichPicture& picture) {
    static const std::pair<const char*, const char*> kLabels[] = {
        {"pngblip", "PNG"},    {"jpegblip", "JPEG"},      {"emfblip", "EMF"},
        {"wmetafile", "WMF"},  {"macpict", "PICT"},       {"dibitmap", "Bitmap"},
        {"wbitmap", "Bitmap"}, {"pmmetafile", "Metafile"}};
    for (const auto& [word, label] : kLabels) {
        if (picture.typeWord.rfind(word, 0) == 0) {
            return QString::fromLatin1(label);
        }
    }
    return QStringLiteral("Picture");
}

// What stands for a picture the view cannot show: a framed box of the picture's size that
// names its kind, so that the reader knows something is there and what.
QImage PlaceholderImage(const RichPicture& picture) {
    const PictureSize size = ShownPictureSize(picture);
    // Drawn at no more than screen size; the format scales it to the picture's size.
    const qreal scale =
        std::min(1.0, 480.0 / std::max(TwipsToPixels(std::max(size.width, size.height)), 1.0));
    const int width = std::max(8, int(std::lround(TwipsToPixels(size.width) * scale)));
    const int height = std::max(8, int(std::lround(TwipsToPixels(size.height) * scale)));
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0xF2, 0xF2, 0xF2));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(0x99, 0x99, 0x99), 1));
    painter.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));
    painter.setPen(QPen(QColor(0xD0, 0xD0, 0xD0), 1));
    painter.drawLine(QPointF(1, 1), QPointF(width - 1, height - 1));
    painter.drawLine(QPointF(1, height - 1), QPointF(width - 1, 1));
    QFont font;
    font.setPixelSize(std::clamp(height / 6, 6, 14));
    painter.setFont(font);
    painter.setPen(QColor(0x55, 0x55, 0x55));
    painter.drawText(QRectF(0, 0, width, height), Qt::AlignCenter | Qt::TextWordWrap,
                     PictureKindLabel(picture));
    return image;
}

// The resolution pictures are kept at: what print needs at their shown size, or less.
constexpr int64_t kPictureDotsPerInch = 300;
constexpr char kDecodedPixelsProperty[] = "trellicDecodedPicturePixels";
// Each picture's image carries how it shows the picture, for ShownPictureOf.
const QString kShownKey = QStringLiteral("trellic-shown");

QImage DecodedImage(const RichPicture& picture, const QSize& natural) {
    QByteArray bytes =
        QByteArray::fromRawData(picture.data.data(), static_cast<qsizetype>(picture.data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, FormatOf(picture) == PictureFormat::Png ? "PNG" : "JPEG");
    const PictureSize shown = ShownPictureSize(picture);
    const QSize needed(
        int(std::max<int64_t>(1, int64_t{shown.width} * kPictureDotsPerInch / 1440)),
        int(std::max<int64_t>(1, int64_t{shown.height} * kPictureDotsPerInch / 1440)));
    if (natural.width() > needed.width() || natural.height() > needed.height()) {
        reader.setScaledSize(natural.boundedTo(needed));
    }
    return reader.read();
}

// Gives the document the image of a picture, once: its own where it decodes within the
// document's budget, else a placeholder.
void AddPictureResource(QTextDocument& document, const RichPicture& picture) {
    const QUrl name(PictureName(picture));
    if (document.resource(QTextDocument::ImageResource, name).isValid()) {
        return;
    }
    PictureShown shown = PictureShown::OtherKind;
    QImage image;
    int32_t width = 0;
    int32_t height = 0;
    if (IsShowablePicture(picture) && PicturePixelSize(picture, width, height)) {
        // Counted as the header declares them, before decoding: decoding costs that much.
        const qint64 spent = document.property(kDecodedPixelsProperty).toLongLong();
        const qint64 pixels = qint64{width} * height;
        if (spent + pixels > kMaxShownPicturePixelsPerText) {
            shown = PictureShown::OverBudget;
        } else {
            document.setProperty(kDecodedPixelsProperty, spent + pixels);
            image = DecodedImage(picture, QSize(width, height));
            shown = image.isNull() ? PictureShown::Undecodable : PictureShown::Image;
        }
    }
    if (image.isNull()) {
        image = PlaceholderImage(picture);
    }
    image.setText(kShownKey, QString::number(int(shown)));
    document.addResource(QTextDocument::ImageResource, name, image);
}

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

QTextOption::Tab QtTab(int32_t tab, qreal position) {
    switch (TabAlignment(tab)) {
    case kTabCenter:
        return {position, QTextOption::CenterTab};
    case kTabRight:
        return {position, QTextOption::RightTab};
    case kTabDecimal:
        return {position, QTextOption::DelimiterTab, QLatin1Char('.')};
    default:
        return {position, QTextOption::LeftTab};
    }
}

uint8_t TabAlignmentOf(QTextOption::TabType type) {
    switch (type) {
    case QTextOption::CenterTab:
        return kTabCenter;
    case QTextOption::RightTab:
        return kTabRight;
    case QTextOption::DelimiterTab:
        return kTabDecimal;
    default:
        return kTabLeft;
    }
}

// The stored stops of a block in the order of its shown ones.
std::vector<int32_t> StoredTabs(const QTextBlockFormat& format) {
    std::vector<int32_t> tabs;
    for (const QVariant& tab : format.property(kTabsProperty).toList()) {
        tabs.push_back(tab.toInt());
    }
    return tabs;
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
    if (!qtFormat.isImageFormat()) {
        paragraph.runs.push_back(std::move(run));
        return;
    }
    // Only the object characters of an image are the picture. An image that came from
    // elsewhere (pasted HTML) has no picture the engine could keep, and is left out.
    RichCharFormat textFormat = run.format;
    textFormat.picture = {};
    RichRun current;
    bool currentIsPicture = false;
    for (const char32_t c : run.text) {
        const bool picture = c == kObjectCharacter;
        if (picture && !run.format.picture) {
            continue;
        }
        if (!current.text.empty() && picture != currentIsPicture) {
            paragraph.runs.push_back(std::move(current));
            current = {};
        }
        if (current.text.empty()) {
            current.format = picture ? run.format : textFormat;
            currentIsPicture = picture;
        }
        current.text.push_back(c);
    }
    if (!current.text.empty()) {
        paragraph.runs.push_back(std::move(current));
    }
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

namespace {

// A run whose format is already in Qt's terms (no picture).
void InsertTextRun(QTextCursor& cursor, const RichRun& run, const QTextCharFormat& format) {
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

// Each format of a text in Qt's terms, converted once. A long text holds few distinct formats,
// each met over and over, and converting one builds a map of a few dozen properties; Qt also
// hashes a format only once while the same one comes back.
template <typename Rich, typename Qt, Qt (*kConvert)(const Rich&)> class ConvertedFormats {
public:
    ConvertedFormats() { m_formats.reserve(kMostFormats); }

    // The format stays where it is until kMostFormats others have come after it.
    const Qt& operator()(const Rich& format) {
        if (m_last < m_formats.size() && m_formats[m_last].first == format) {
            return m_formats[m_last].second;
        }
        for (size_t i = 0; i < m_formats.size(); ++i) {
            if (m_formats[i].first == format) {
                m_last = i;
                return m_formats[i].second;
            }
        }
        if (m_formats.size() < kMostFormats) {
            m_last = m_formats.size();
            m_formats.emplace_back(format, kConvert(format));
        } else {
            m_last = m_next;
            m_next = (m_next + 1) % kMostFormats;
            m_formats[m_last] = {format, kConvert(format)};
        }
        return m_formats[m_last].second;
    }

private:
    // Beyond a few dozen, a text of ever new formats would spend more on the search than it
    // saves; the oldest goes.
    static constexpr size_t kMostFormats = 32;
    std::vector<std::pair<Rich, Qt>> m_formats;
    size_t m_last = 0;
    size_t m_next = 0;
};

} // namespace

void InsertRunText(QTextCursor& cursor, const RichRun& run) {
    if (run.text.empty()) {
        return;
    }
    if (run.format.picture && cursor.document() != nullptr) {
        AddPictureResource(*cursor.document(), *run.format.picture);
        const QTextCharFormat image = ToQtCharFormat(run.format);
        RichCharFormat textFormat = run.format;
        textFormat.picture = {};
        const QTextCharFormat text = ToQtCharFormat(textFormat);
        for (const char32_t c : run.text) {
            if (c == kObjectCharacter) {
                cursor.insertText(QString(QChar::ObjectReplacementCharacter), image);
            } else {
                cursor.insertText(ToQtText(std::u32string(1, c), textFormat), text);
            }
        }
        return;
    }
    InsertTextRun(cursor, run, ToQtCharFormat(run.format));
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
        qt.setForeground(QtColor(format.color));
    }
    if (format.effects & (kCfeAllCaps | kCfeSmallCaps)) {
        qt.setFontCapitalization(CapitalizationOf(format.effects));
    }
    if (format.backColor) {
        qt.setBackground(QtColor(*format.backColor));
    }
    if (format.Has(kCfeHidden)) {
        qt.setFontPointSize(kHiddenPointSize);
        qt.setForeground(QColor(Qt::transparent));
        qt.clearBackground();
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
    qt.setProperty(kBackColorProperty, format.backColor ? int(*format.backColor) : -1);
    if (format.offset != 0) {
        qt.setProperty(kRaiseProperty, int(format.offset));
    }
    if (format.picture) {
        // Qt draws the object character of an image format as the image the document holds
        // under the format's name (InsertRunText puts it there), at the format's size.
        QTextImageFormat image;
        image.merge(qt);
        image.setName(PictureName(*format.picture));
        // A hidden picture, like hidden text, keeps its place but takes no room.
        const PictureSize size =
            format.Has(kCfeHidden) ? PictureSize{} : ShownPictureSize(*format.picture);
        image.setWidth(TwipsToPixels(size.width));
        image.setHeight(TwipsToPixels(size.height));
        image.setProperty(kPictureProperty, QVariant::fromValue(format.picture.Shared()));
        return image;
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
    // Capitals as Qt shows them, unless the stored pair shows just so.
    if (CapitalizationOf(format.effects) != qt.fontCapitalization()) {
        format.effects &= ~(kCfeAllCaps | kCfeSmallCaps);
        if (qt.fontCapitalization() == QFont::AllUppercase) {
            format.effects |= kCfeAllCaps;
        } else if (qt.fontCapitalization() == QFont::SmallCaps) {
            format.effects |= kCfeSmallCaps;
        }
    }
    // Hidden text shows at no size and in no colour: what it has is stored.
    const bool hidden = format.Has(kCfeHidden);
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
        (hidden || shownHeight == storedHeight || (shownHeight == 0 && storedHeight == 0))) {
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
    if (hidden && qt.hasProperty(kColorProperty)) {
        format.color = qt.property(kColorProperty).toUInt();
        format.Set(kCfeAutoColor, qt.boolProperty(kAutoColorProperty));
    } else if (shownColor) {
        format.color = EngineColor(brush.color());
    } else {
        format.effects |= kCfeAutoColor;
        format.color = qt.hasProperty(kColorProperty) ? qt.property(kColorProperty).toUInt() : 0;
    }

    const QBrush background = qt.background();
    if (hidden && qt.hasProperty(kBackColorProperty)) {
        const int stored = qt.intProperty(kBackColorProperty);
        if (stored >= 0) {
            format.backColor = uint32_t(stored);
        }
    } else if (qt.hasProperty(QTextFormat::BackgroundBrush) && background.style() != Qt::NoBrush &&
               background.color().alpha() > 0) {
        format.backColor = EngineColor(background.color());
    }

    // A raise counts while the script it came with shows.
    const int raise = IntProperty(qt, kRaiseProperty, 0);
    if ((raise > 0 && format.Has(kCfeSuperscript)) || (raise < 0 && format.Has(kCfeSubscript))) {
        format.offset = raise;
    }

    if (qt.isImageFormat() && qt.hasProperty(kPictureProperty)) {
        format.picture =
            PictureRef(qt.property(kPictureProperty).value<std::shared_ptr<const RichPicture>>());
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
        tabs.append(QtTab(format.tabs[i], TwipsToPixels(TabPosition(format.tabs[i]))));
        tabTwips.append(format.tabs[i]);
    }
    qt.setTabPositions(tabs);
    if (format.bulletSymbol != 0) {
        qt.setProperty(kBulletSymbolProperty, uint(format.bulletSymbol));
        qt.setProperty(kBulletFaceProperty, QString::fromStdString(format.bulletFace));
        qt.setProperty(kBulletCharSetProperty, int(format.bulletCharSet));
    }

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
            tabs.push_back(MakeTab(PixelsToTwips(tab.position), TabAlignmentOf(tab.type)));
        }
    }
    format.tabCount = uint8_t(std::min(tabs.size(), kMaxTabStops));
    if (format.tabCount > 0) {
        std::copy_n(tabs.begin(), format.tabCount, format.tabs.begin());
    }

    if (format.numbering != kPfnNone && qt.hasProperty(kBulletSymbolProperty)) {
        format.bulletSymbol = char32_t(qt.property(kBulletSymbolProperty).toUInt());
        format.bulletFace = qt.stringProperty(kBulletFaceProperty).toStdString();
        format.bulletCharSet = uint8_t(qt.intProperty(kBulletCharSetProperty));
    }
    return format;
}

namespace {

QTextBlockFormat ToQtRuleFormat(const RichParaFormat& format) {
    QTextBlockFormat rule = ToQtBlockFormat(format);
    // The rule is sized for the widest paper; on a narrower page its last few macrons would wrap
    // onto a line of their own, so it runs into the margin instead.
    rule.setNonBreakableLines(true);
    return rule;
}

} // namespace

void DocumentToQt(const RichDocument& document, QTextDocument& target) {
    // The page's margins stay: set before the text comes in, they spare a long text a second
    // layout.
    const QTextFrameFormat page = target.rootFrame()->frameFormat();
    target.clear(); // and its pictures' images with it
    target.rootFrame()->setFrameFormat(page);
    target.setProperty(kDecodedPixelsProperty, QVariant());
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    ConvertedFormats<RichCharFormat, QTextCharFormat, ToQtCharFormat> charFormats;
    ConvertedFormats<RichParaFormat, QTextBlockFormat, ToQtBlockFormat> blockFormats;
    ConvertedFormats<RichParaFormat, QTextBlockFormat, ToQtRuleFormat> ruleFormats;
    bool first = true;
    for (const RichParagraph& paragraph : document.paragraphs) {
        const QTextBlockFormat& blockFormat = IsRuleParagraph(paragraph)
                                                  ? ruleFormats(paragraph.format)
                                                  : blockFormats(paragraph.format);
        const QTextCharFormat& markFormat = charFormats(paragraph.markFormat);
        if (first) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(markFormat);
            first = false;
        } else {
            cursor.insertBlock(blockFormat, markFormat);
        }
        for (const RichRun& run : paragraph.runs) {
            if (run.format.picture || run.text.empty()) {
                InsertRunText(cursor, run);
            } else {
                InsertTextRun(cursor, run, charFormats(run.format));
            }
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

namespace {

// Whether a font of this name is installed and draws this character itself.
bool FontDraws(const QString& family, char32_t c) {
    static QHash<QString, bool> known;
    const QString key = family + QLatin1Char('/') + QString::number(uint(c), 16);
    auto found = known.constFind(key);
    if (found != known.constEnd()) {
        return *found;
    }
    const QFont font(family);
    const bool draws = QFontInfo(font).family().compare(family, Qt::CaseInsensitive) == 0 &&
                       QRawFont::fromFont(font).supportsCharacter(uint(c));
    known.insert(key, draws);
    return draws;
}

bool IsPrivateUse(char32_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

struct BulletShape {
    QString text;
    QString family; // empty: the paragraph's own font
};

// A word processor's bullet as its font shows it, where the font is here to show it; else a
// character that looks like it; else the standard bullet.
BulletShape BulletOf(const QTextBlockFormat& format) {
    const char32_t symbol = char32_t(format.property(kBulletSymbolProperty).toUInt());
    BulletShape standard{QStringLiteral("\u2022"), {}};
    if (symbol == 0) {
        return standard;
    }
    const QString face = format.stringProperty(kBulletFaceProperty);
    auto text = [](char32_t c) { return QString::fromUcs4(&c, 1); };
    char32_t own = symbol;
    if (format.intProperty(kBulletCharSetProperty) == kSymbolCharSet && symbol < 0x100) {
        const auto byte = static_cast<unsigned char>(symbol);
        const char32_t lookAlike = IsSymbolEncodedFace(face.toStdString())
                                       ? SymbolFontCharacter(byte)
                                       : SymbolLookAlike(byte);
        if (!IsPrivateUse(lookAlike)) {
            return {text(lookAlike), {}};
        }
        own = kSymbolPrivateBase + byte; // where the platform maps a symbol font's bytes
    }
    if (!face.isEmpty() && FontDraws(face, own)) {
        return {text(own), face};
    }
    return IsPrivateUse(own) ? standard : BulletShape{text(own), {}};
}

} // namespace

QString NumberingMarkerFamily(const QTextBlockFormat& format) {
    if (format.intProperty(kNumberingProperty) != kPfnBullet) {
        return {};
    }
    return BulletOf(format).family;
}

ListMarker NextListMarker(const QTextBlockFormat& previous, int previousValue,
                          const QTextBlockFormat& format) {
    const int numbering = format.intProperty(kNumberingProperty);
    if (numbering == kPfnNone) {
        return {previousValue, QString()};
    }
    const bool continues = previous.intProperty(kNumberingProperty) != kPfnNone &&
                           SameList(ListOf(previous), ListOf(format));
    const int value = continues ? previousValue + 1 : format.intProperty(kNumberingStartProperty);
    return {value,
            numbering == kPfnBullet
                ? BulletOf(format).text
                : NumberingMarker(numbering, value, format.intProperty(kNumberingStyleProperty))};
}

QStringList NumberingMarkers(const QTextDocument& document) {
    QStringList markers;
    markers.reserve(document.blockCount());
    QTextBlockFormat previous;
    int value = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        ListMarker marker = NextListMarker(previous, value, format);
        value = marker.value;
        markers.append(std::move(marker.text));
        previous = format;
    }
    return markers;
}

} // namespace trellic

namespace trellic {

QTextBlockFormat FittedTabs(const QTextBlockFormat& format, qreal lineWidth) {
    QTextBlockFormat fitted = format;
    // A pixel short of the end: text right-aligned at the very end can measure a rounding
    // error wider than the line, and its last word then wraps.
    const qreal limit = std::max<qreal>(0, lineWidth - format.rightMargin() - 1);
    const std::vector<int32_t> stored = StoredTabs(format);
    QList<QTextOption::Tab> tabs;
    if (!stored.empty()) {
        for (int32_t tab : stored) {
            tabs.append(QtTab(tab, std::min(TwipsToPixels(TabPosition(tab)), limit)));
        }
    } else {
        tabs = format.tabPositions();
        for (QTextOption::Tab& tab : tabs) {
            tab.position = std::min(tab.position, limit);
        }
    }
    fitted.setTabPositions(tabs);
    return fitted;
}

void FitTabStops(QTextDocument& document, qreal lineWidth) {
    // The blocks change in one edit: after each edit of its own Qt would lay out again as far
    // as the edit, and a long text with such stops took time growing with the square of its
    // length (a 250 KB resume printed in 8 s).
    QTextCursor batch(&document);
    bool changing = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        if (format.tabPositions().isEmpty()) {
            continue;
        }
        const QTextBlockFormat fitted = FittedTabs(format, lineWidth);
        if (fitted.tabPositions() != format.tabPositions()) {
            if (!std::exchange(changing, true)) {
                batch.beginEditBlock();
            }
            QTextCursor(block).setBlockFormat(fitted);
        }
    }
    if (changing) {
        batch.endEditBlock();
    }
}

void DrawTabLeaders(QPainter& painter, const QTextBlock& block, const QTextLine& line,
                    const QPointF& origin, const QColor& automatic) {
    const QTextBlockFormat format = block.blockFormat();
    const std::vector<int32_t> stored = StoredTabs(format);
    if (std::none_of(stored.begin(), stored.end(), [](int32_t tab) { return TabLeader(tab); })) {
        return;
    }
    const QList<QTextOption::Tab> shown = format.tabPositions();
    const QString text = block.text();
    const int end = std::min<int>(line.textStart() + line.textLength(), int(text.size()));
    for (int i = line.textStart(); i < end; ++i) {
        if (text[i] != QLatin1Char('\t')) {
            continue;
        }
        const qreal from = line.cursorToX(i);
        const qreal to = line.cursorToX(i + 1);
        // The stop a tab reaches is the first beyond where it starts, as Qt lays it out.
        qsizetype stop = 0;
        while (stop < shown.size() && shown[stop].position <= from + 0.5) {
            ++stop;
        }
        if (stop >= shown.size() || size_t(stop) >= stored.size() || to - from < 4) {
            continue;
        }
        QColor color = automatic;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.contains(block.position() + i)) {
                const QTextCharFormat charFormat = fragment.charFormat();
                if (charFormat.hasProperty(QTextFormat::ForegroundBrush) &&
                    charFormat.foreground().style() != Qt::NoBrush) {
                    color = charFormat.foreground().color();
                }
                break;
            }
        }
        const qreal baseline = origin.y() + line.y() + line.ascent();
        const qreal unit = std::max<qreal>(line.ascent() / 12.0, 0.5);
        const qreal left = origin.x() + from + 2 * unit;
        const qreal right = origin.x() + to - 2 * unit;
        if (right - left < 2 * unit) {
            continue;
        }
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        switch (TabLeader(stored[size_t(stop)])) {
        case kLeaderDots:
            // From the right, so that the dots of stacked lines stand under each other.
            painter.setPen(Qt::NoPen);
            painter.setBrush(color);
            for (int k = 0; k <= int((right - left - unit) / (4 * unit)); ++k) {
                const qreal x = right - unit - k * 4 * unit;
                painter.drawEllipse(QPointF(x, baseline - unit), 0.8 * unit, 0.8 * unit);
            }
            break;
        case kLeaderHyphens:
            painter.setPen(QPen(color, unit));
            for (int k = 0; k <= int((right - left - 3 * unit) / (5 * unit)); ++k) {
                const qreal x = right - k * 5 * unit;
                painter.drawLine(QPointF(x - 3 * unit, baseline - 4 * unit),
                                 QPointF(x, baseline - 4 * unit));
            }
            break;
        case kLeaderUnderline:
            painter.fillRect(QRectF(left, baseline + unit, right - left, unit), color);
            break;
        case kLeaderThick:
            painter.fillRect(QRectF(left, baseline + unit, right - left, 2.5 * unit), color);
            break;
        case kLeaderEquals:
            painter.fillRect(QRectF(left, baseline - 5.5 * unit, right - left, unit), color);
            painter.fillRect(QRectF(left, baseline - 3 * unit, right - left, unit), color);
            break;
        default:
            break;
        }
        painter.restore();
    }
}

PictureShown ShownPictureOf(const QTextDocument& document, const RichPicture& picture) {
    const auto image =
        document.resource(QTextDocument::ImageResource, QUrl(PictureName(picture))).value<QImage>();
    bool ok = false;
    const int shown = image.text(kShownKey).toInt(&ok);
    return ok ? static_cast<PictureShown>(shown) : PictureShown::OtherKind;
}

} // namespace trellic
