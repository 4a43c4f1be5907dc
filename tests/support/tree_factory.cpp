#include "tree_factory.h"

#include "engine/code_page.h"

namespace trellic::testing {

int32_t TreeFactory::Int() {
    return static_cast<int32_t>(m_random());
}

bool TreeFactory::Bool() {
    return (m_random() & 1) != 0;
}

std::string TreeFactory::Text(std::size_t maxLength) {
    // Half the texts stay within Windows-1252 (every byte of it, CR LF and 0x81 included), so
    // files keep their narrow form; the others mix in the scripts of the world and characters
    // beyond the basic plane, which take the wide form.
    static constexpr char32_t kOthers[] = {0x0141, 0x011F, 0x0131, 0x1EC5, 0x03A9, 0x0418,
                                           0x4E2D, 0x0645, 0x05D0, 0xFFFD, 0x1F600};
    const std::size_t length = m_random() % (maxLength + 1);
    const bool wide = Bool();
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        if (wide && m_random() % 3 == 0) {
            AppendUtf8(text, kOthers[m_random() % std::size(kOthers)]);
        } else {
            AppendUtf8(text, Cp1252ToUnicode(static_cast<unsigned char>(m_random() & 0xFF)));
        }
    }
    return text;
}

CharFormat TreeFactory::RandomCharFormat() {
    CharFormat f;
    f.faceName = Text(40);
    f.charSet = static_cast<uint8_t>(m_random());
    f.pitchAndFamily = static_cast<uint8_t>(m_random());
    f.height = Int();
    f.color = Int();
    f.bold = Bool();
    f.italic = Bool();
    f.underline = Bool();
    f.strikeout = Bool();
    return f;
}

ParaFormat TreeFactory::RandomParaFormat() {
    ParaFormat f;
    f.numbering = static_cast<int16_t>(m_random());
    f.alignment = static_cast<int16_t>(m_random());
    f.lineSpacing = static_cast<uint8_t>(m_random());
    f.indent = Int();
    return f;
}

TextStyle TreeFactory::RandomTextStyle() {
    return {RandomCharFormat(), RandomParaFormat()};
}

NodeInfo TreeFactory::RandomInfo() {
    NodeInfo info;
    info.description = Text();
    info.author = Text();
    info.releaseDate = Text();
    info.version = static_cast<float>(m_random() % 100000) / 100.0F;
    info.renderCapabilities = Int();
    return info;
}

NodeHelp TreeFactory::RandomHelp() {
    return {Text(300), Text()};
}

NodeText TreeFactory::RandomNodeText() {
    return {Int(), Text(300)};
}

StyleNode TreeFactory::RandomStyle() {
    StyleNode s;
    s.info = RandomInfo();
    s.headerStyle = RandomTextStyle();
    s.headerUnderline = Bool();
    s.sectionStyle = RandomTextStyle();
    s.sectionBullet = Int();
    s.slFieldStyle = RandomTextStyle();
    s.mlFieldStyle = RandomTextStyle();
    s.slFieldBullet = Int();
    s.mlFieldBullet = Int();
    return s;
}

ResumeNode TreeFactory::RandomResume() {
    ResumeNode r;
    r.style = RandomStyle();
    r.name = Text();
    r.description = Text();
    r.defaultCharFormat = RandomCharFormat();
    r.renderer = Renderer{Int()};
    return r;
}

NodeTree TreeFactory::RandomTree(std::size_t recordsPerKind) {
    NodeTree tree("/nowhere");
    tree.renderer = Bool() ? kRendererTxt : kRendererRtf;
    tree.resume = std::make_unique<ResumeNode>(RandomResume());
    for (std::size_t i = 0; i < recordsPerKind; ++i) {
        tree.headers.push_back(
            {RandomInfo(), Text(), Bool(), RandomTextStyle(), Bool(), RandomHelp()});
        tree.resumeSections.push_back({RandomInfo(), Text(), Bool(), RandomNodeText(),
                                       RandomTextStyle(), Int(), RandomHelp()});
        tree.slFields.push_back(
            {RandomInfo(), Text(), Text(), Bool(), RandomTextStyle(), Int(), RandomHelp()});
        tree.mlFields.push_back({RandomInfo(), Text(), Bool(), RandomNodeText(), RandomTextStyle(),
                                 Int(), RandomHelp()});
        tree.rtfOutputs.push_back(
            {RandomInfo(), Bool(), RandomTextStyle(), Text(), RandomNodeText(), RandomHelp()});
        tree.txtOutputs.push_back(
            {RandomInfo(), Bool(), RandomParaFormat(), Text(), RandomNodeText(), RandomHelp()});
    }
    const NodeKind kinds[] = {kKindHeader,    kKindMLField, kKindResumeSection,
                              kKindRTFOutput, kKindSLField, kKindTXTOutput};
    tree.activeStack.assign(1, kResumeEntry);
    if (recordsPerKind > 0) {
        for (std::size_t i = 0; i < 2 * recordsPerKind; ++i) {
            const StackEntry entry{static_cast<int32_t>(m_random() % recordsPerKind),
                                   kinds[m_random() % 6]};
            (Bool() ? tree.activeStack : tree.inactiveStack).push_back(entry);
        }
    }
    return tree;
}

} // namespace trellic::testing
