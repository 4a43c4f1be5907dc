#pragma once

#include "richtext/rich_document.h"
#include "richtext/symbol_fonts.h"

#include <QColor>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <cstdint>

namespace trellic {

// Converts between the engine's rich-text document and QTextDocument without loss: what Qt
// has no attribute for (character set, pitch and family, exact twips, the automatic colour,
// underline types, numbering and its start, line-spacing rules, tab leaders, bullet symbols,
// raised text's distance, hidden text) travels as custom format properties beside the Qt
// attributes that show it. Hidden text stays in the text at no size and in no colour, so that
// positions count as the engine counts them. A picture is an image format on its object
// character, with its image (or, for kinds Qt cannot draw, a placeholder) among the document's
// resources.
//
// Paragraph i's mark format is Qt block i's block character format. Symbol-font runs show a
// Unicode character for each byte (the Symbol font's own, a look-alike for Wingdings and the
// like) and turn back into the byte on the way out.

// Replaces the whole content of `target`; its undo history records the change unless the caller
// switched it off.
void DocumentToQt(const RichDocument& document, QTextDocument& target);
// Every format of the result has every attribute valid; the result is normalised.
RichDocument DocumentFromQt(const QTextDocument& document);
// The document between two Qt positions (the control's counting). The last paragraph is
// unfinished unless the range ends behind a paragraph break, so the result can be inserted with
// the engine's fragment semantics.
RichDocument FragmentFromQt(const QTextDocument& document, int from, int to);

// Makes the common faces of other systems that are missing here draw in the same installed
// fonts on every machine. Converting a format does it on first use.
void InstallFaceSubstitutes();
QTextCharFormat ToQtCharFormat(const RichCharFormat& format);
// Attributes a foreign format (pasted HTML, say) leaves unset take the plain format's values.
RichCharFormat FromQtCharFormat(const QTextCharFormat& format);
QTextBlockFormat ToQtBlockFormat(const RichParaFormat& format);
RichParaFormat FromQtBlockFormat(const QTextBlockFormat& format);

// Engine run text in `format` as the view shows it, and back. `sansSigns`: the text came from
// a fragment InsertRunText marked as holding the Symbol font's sans-serif signs.
QString ToQtText(const std::u32string& text, const RichCharFormat& format);
std::u32string FromQtText(const QString& text, const RichCharFormat& format,
                          bool sansSigns = false);
// Inserts a run's text in its format at the cursor.
void InsertRunText(QTextCursor& cursor, const RichRun& run);
// A format rebuilt from a fragment's (by a Format command) keeps what ToQtCharFormat cannot
// know about the fragment's text.
void KeepSymbolVariant(const QTextCharFormat& from, QTextCharFormat& to);

// Twips to the document's logical pixels (96 per inch) and back.
qreal TwipsToPixels(int twips);
int PixelsToTwips(qreal pixels);
// Room on the left of a numbered paragraph in which the view draws its marker, in twips.
inline constexpr int kMarkerRoomTwips = 360;

// The marker of list item `value`: bullet (1) "•", arabic (2) "1.", letters (3, 4) "a." "A.",
// roman numerals (5, 6) "i." "I."; the numbering style gives the punctuation (kPfns*).
// Empty for numbering 0 and unknown values.
QString NumberingMarker(int numbering, int value, int numberingStyle = kPfnsPeriod);
// One marker per block of the document, empty where a block is not numbered. Neighbouring
// paragraphs with the same numbering, style and start form one list counted from the start.
// A word processor's bullet shows its own symbol where a font here draws it, a look-alike
// where one is known, else the standard bullet.
QStringList NumberingMarkers(const QTextDocument& document);
// One step of NumberingMarkers: a block's number in its list and its marker, from the block
// before it (whose format and number are given; a default format before the first block).
struct ListMarker {
    int value = 0;
    QString text;
    bool operator==(const ListMarker&) const = default;
};
ListMarker NextListMarker(const QTextBlockFormat& previous, int previousValue,
                          const QTextBlockFormat& format);
// The font a block's marker is drawn in when it is not the paragraph's: that of a bullet
// symbol only its own font draws. Empty otherwise.
QString NumberingMarkerFamily(const QTextBlockFormat& format);

// Tab stops beyond the line stand at its end instead: a date on a right tab from a wider page
// stays on its line. The stored stops are untouched. FitTabStops sets the fitted stops on
// every block (one undoable edit where undo is on).
QTextBlockFormat FittedTabs(const QTextBlockFormat& format, qreal lineWidth);
void FitTabStops(QTextDocument& document, qreal lineWidth);

// Draws the leaders (dots, hyphens, lines) of the tabs of one laid-out line, which Qt does not
// draw; `origin` is where the painter has the block's layout, `automatic` the colour of text
// in the automatic colour.
void DrawTabLeaders(QPainter& painter, const QTextBlock& block, const QTextLine& line,
                    const QPointF& origin, const QColor& automatic);

// How a document shows a picture that DocumentToQt or InsertRunText put into it. Pictures are
// decoded at no more than print needs at their shown size, and a document decodes pictures of
// a few photos' worth of pixels in all: the rest show as placeholders.
enum class PictureShown : uint8_t {
    Image,       // its own image
    OtherKind,   // a placeholder: a kind Qt does not draw, or a PNG or JPEG too large to show
    Undecodable, // a placeholder: PNG or JPEG data that does not decode
    OverBudget,  // a placeholder: the document's earlier pictures took all it may decode
};
PictureShown ShownPictureOf(const QTextDocument& document, const RichPicture& picture);

} // namespace trellic
