#pragma once

#include "model/node_tree.h"

#include <cstddef>
#include <string>
#include <vector>

namespace trellic::tool {

// Something the .tlx format itself does not check.
struct Finding {
    bool misbehaves = false; // the program would render or list this wrongly
    std::string message;
};

// Looks at a tree read from a file. storedActiveCount is the active count the file holds (the
// reader quietly repairs one below 1); trailingBytes are bytes after the last record.
std::vector<Finding> CheckTree(const NodeTree& tree, int32_t storedActiveCount,
                               std::size_t trailingBytes);

} // namespace trellic::tool
