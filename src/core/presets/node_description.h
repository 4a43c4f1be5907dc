#pragma once

#include "model/node_tree.h"

#include <string>

namespace trellic {

// The short label-and-value summary of a node shown in the designer, one CR LF ended line per
// item. Empty for an entry that refers to no record.
std::string DescribeNode(const StackEntry& entry, const NodeTree& tree);

// A short advice for a node that carries no help text of its own, by its kind: what its text is
// for. Empty for the resume and unknown kinds.
std::string GenericNodeAdvice(int32_t kind);

} // namespace trellic
