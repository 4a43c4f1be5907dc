#include "model/node_content.h"

#include <type_traits>

namespace trellic {

namespace {

std::string ContentText(const ResumeNode&) {
    return {};
}
std::string ContentText(const HeaderNode& node) {
    return node.header;
}
std::string ContentText(const ResumeSectionNode& node) {
    return node.data.text;
}
std::string ContentText(const SLFieldNode& node) {
    return node.fieldData;
}
std::string ContentText(const MLFieldNode& node) {
    return node.fieldData.text;
}
std::string ContentText(const RTFOutputNode& node) {
    return node.output.text;
}
std::string ContentText(const TXTOutputNode& node) {
    return node.output.text;
}

bool StoreContentText(ResumeNode&, const TypedContent&) {
    return false;
}
bool StoreContentText(HeaderNode& node, const TypedContent& typed) {
    if (typed.firstLine.empty()) {
        return false;
    }
    node.header = typed.firstLine;
    return true;
}
bool StoreContentText(SLFieldNode& node, const TypedContent& typed) {
    if (typed.firstLine.empty()) {
        return false;
    }
    node.fieldData = typed.firstLine;
    return true;
}
bool StoreContentText(ResumeSectionNode& node, const TypedContent& typed) {
    if (typed.firstLine.empty()) {
        return false;
    }
    node.data.text = typed.text;
    return true;
}
bool StoreContentText(MLFieldNode& node, const TypedContent& typed) {
    node.fieldData.text = typed.text;
    return true;
}
bool StoreContentText(RTFOutputNode& node, const TypedContent& typed) {
    node.output.text = typed.text;
    return true;
}
bool StoreContentText(TXTOutputNode& node, const TypedContent& typed) {
    node.output.text = typed.text;
    return true;
}

} // namespace

const NodeHelp* NodeHelpOf(const NodeTables& tables, const StackEntry& entry) {
    return VisitRecord(tables, entry, [](const auto& node) -> const NodeHelp* {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(node)>, ResumeNode>) {
            return nullptr;
        } else {
            return &node.help;
        }
    });
}

std::string NodeContent(const NodeTables& tables, const StackEntry& entry) {
    return VisitRecord(tables, entry, [](const auto& node) { return ContentText(node); });
}

bool StoreNodeContent(NodeTables& tables, const StackEntry& entry, const TypedContent& typed) {
    return VisitRecord(tables, entry, [&](auto& node) { return StoreContentText(node, typed); });
}

} // namespace trellic
