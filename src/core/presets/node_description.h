#pragma once

#include "model/node_tree.h"

#include <string>

namespace trellic {

// The short label-and-value summary of a node shown in the designer, one CR LF ended line per
// item. Empty for an entry that refers to no record.
std::string DescribeNode(const StackEntry& entry, const NodeTree& tree);

} // namespace trellic
