#include "presets/node_description.h"

namespace trellic {

namespace {

std::string YesNo(bool value) {
    return value ? "Yes\r\n" : "No\r\n";
}

std::string Describe(const ResumeNode& r) {
    return "Name: " + r.name + "\r\nRenderer: " +
           (r.renderer == kRendererRtf ? "Rich Text File (RTF)\r\n" : "Text File (TXT)\r\n");
}
std::string Describe(const HeaderNode& h) {
    return "Header: " + h.header + "\r\nInherit Style: " + YesNo(h.inheritStyle);
}
std::string Describe(const ResumeSectionNode& s) {
    return "Resume Section: " + s.title + "\r\nInherit Style: " + YesNo(s.inheritStyle);
}
std::string Describe(const SLFieldNode& f) {
    return "Field Name: " + f.fieldName + "\r\nField Data: " + f.fieldData +
           "\r\nInherit Style: " + YesNo(f.inheritStyle);
}
std::string Describe(const MLFieldNode& f) {
    return "Field Name: " + f.fieldName + "\r\nField Data:\r\n" + f.fieldData.text +
           "\r\nInherit Style: " + YesNo(f.inheritStyle);
}
std::string Describe(const RTFOutputNode& o) {
    return "Name: " + o.name + "\r\nUse Formatting: " + YesNo(o.useFormatting);
}
std::string Describe(const TXTOutputNode& o) {
    return "Name: " + o.name + "\r\nUse Formatting: " + YesNo(o.useFormatting);
}

} // namespace

std::string DescribeNode(const StackEntry& entry, const NodeTree& tree) {
    return VisitRecord(tree, entry, [](const auto& node) { return Describe(node); });
}

} // namespace trellic

namespace trellic {

std::string GenericNodeAdvice(int32_t kind) {
    switch (kind) {
    case kKindHeader:
        return "A heading of the resume. Type it as it should stand on the page.";
    case kKindResumeSection:
        return "A part of the resume under its title: type what it says, one line per point.";
    case kKindSLField:
        return "A field of one line: type its value. The field's name stands before it.";
    case kKindMLField:
        return "A field of several lines: type one line per item. The field's name stands "
               "before them.";
    case kKindRTFOutput:
        return "Text added to the resume as it stands, by the Rich Text File (RTF) renderer.";
    case kKindTXTOutput:
        return "Text added to the resume as it stands, by the Text File (TXT) renderer.";
    default:
        return {};
    }
}

} // namespace trellic
