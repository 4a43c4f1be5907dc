#pragma once

#include "model/archive.h"
#include "model/node_tree.h"

#include <string>

namespace trellic {

class Prompter;

inline constexpr const char* kTlxMagic = "TLX4QV";
inline constexpr const char* kInvalidTlxMessage =
    "The TLX file is invalid and consequently cannot be loaded.";

enum class TlxReadStatus {
    Loaded,
    // The magic did not match; the user was warned and nothing further was read.
    InvalidMagic,
    // The bytes ended inside a field, a count or length claimed more than the file holds, a
    // stack or table held more than kMaxTlxEntries, or memory ran out while reading.
    UnexpectedEnd,
};

// The most entries a stack, and the most records a table, may hold in a file that is read. A
// resume has tens of nodes; a file claiming hundreds of thousands is damaged or hostile, and
// rendering it would take minutes and gigabytes.
inline constexpr int32_t kMaxTlxEntries = 10000;

// Writes the whole tree in the .tlx layout to a storing archive.
void WriteTLX(const NodeTree& tree, Archive& ar);
std::string WriteTLX(const NodeTree& tree);

// Reads a .tlx file into a tree that ResetNodeTree has just emptied, appending to its stacks
// and tables. The reader checks nothing but the magic. On UnexpectedEnd what was read before
// the end stays in the tree; callers that must not show a half-read resume read into a spare
// tree. Callers that show the resume activate its stored renderer and render once it is Loaded.
TlxReadStatus ReadTLX(Archive& ar, NodeTree& tree, Prompter& prompter);

} // namespace trellic
