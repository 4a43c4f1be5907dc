#include "exchange/xml_writer.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

constexpr const char* kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

TEST(XmlWriter, EscapesMarkupInTextAndAttributes) {
    XmlWriter xml;
    xml.Start("a").Attr("title", "Tom & \"Jerry\" <3\n").Text(U"x < y && y > z").End();
    EXPECT_EQ(xml.Take(), std::string(kDeclaration) +
                              "<a title=\"Tom &amp; &quot;Jerry&quot; &lt;3&#10;\">"
                              "x &lt; y &amp;&amp; y &gt; z</a>");
}

TEST(XmlWriter, LeavesOutWhatXmlCannotHoldAndKeepsTheRest) {
    XmlWriter xml;
    const std::u32string text = {U'a',   0x01,   0x0B, 0x1F,    U'b',   0xD800, 0xDFFF,
                                 0xFFFE, 0xFFFF, U'c', 0x1F600, 0xE000, 0xFFFD, 0x110000};
    xml.Start("t").Text(text).End();
    EXPECT_EQ(xml.Take(),
              std::string(kDeclaration) + "<t>abc\xF0\x9F\x98\x80\xEE\x80\x80\xEF\xBF\xBD</t>");
    // Malformed UTF-8 in an attribute becomes the replacement character, never a broken byte.
    XmlWriter attr;
    attr.Start("f").Attr("name", "Caf\xC3").End();
    EXPECT_EQ(attr.Take(), std::string(kDeclaration) + "<f name=\"Caf\xEF\xBF\xBD\"/>");
}

TEST(XmlWriter, EmptyElementsCloseThemselvesAndTakeEndsWhatIsOpen) {
    XmlWriter xml;
    xml.Start("a").Start("b").End().Start("c").Attr("n", 7);
    EXPECT_EQ(xml.Take(), std::string(kDeclaration) + "<a><b/><c n=\"7\"/></a>");
}

} // namespace
} // namespace trellic
