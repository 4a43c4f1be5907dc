#include "presets/node_description.h"

namespace trellic {

namespace {

std::string YesNo(bool value) {
    return value ? "Yes\r\n" : "No\r\n";
}

} // namespace

std::string DescribeNode(const StackEntry& entry, const NodeTree& tree) {
    if (!tree.RefersToRecord(entry)) {
        return {};
    }
    const auto i = static_cast<std::size_t>(entry.index);
    switch (entry.kind) {
    case kKindResume: {
        const auto& r = *tree.resume;
        return "Name: " + r.name + "\r\nRenderer: " +
               (r.renderer == 0 ? "Rich Text File (RTF)\r\n" : "Text File (TXT)\r\n");
    }
    case kKindHeader: {
        const auto& h = tree.headers[i];
        return "Header: " + h.header + "\r\nInherit Style: " + YesNo(h.inheritStyle);
    }
    case kKindResumeSection: {
        const auto& s = tree.resumeSections[i];
        return "Resume Section: " + s.title + "\r\nInherit Style: " + YesNo(s.inheritStyle);
    }
    case kKindSLField: {
        const auto& f = tree.slFields[i];
        return "Field Name: " + f.fieldName + "\r\nField Data: " + f.fieldData +
               "\r\nInherit Style: " + YesNo(f.inheritStyle);
    }
    case kKindMLField: {
        const auto& f = tree.mlFields[i];
        return "Field Name: " + f.fieldName + "\r\nField Data:\r\n" + f.fieldData.text +
               "\r\nInherit Style: " + YesNo(f.inheritStyle);
    }
    case kKindRTFOutput: {
        const auto& o = tree.rtfOutputs[i];
        return "Name: " + o.name + "\r\nUse Formatting: " + YesNo(o.useFormatting);
    }
    case kKindTXTOutput: {
        const auto& o = tree.txtOutputs[i];
        return "Name: " + o.name + "\r\nUse Formatting: " + YesNo(o.useFormatting);
    }
    default:
        return {};
    }
}

} // namespace trellic
