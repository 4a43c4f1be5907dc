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
