#pragma once

#include "model/node_tree.h"

#include <string>

namespace trellic {

// The help a node carries; null for the resume and for an entry that refers to no record.
const NodeHelp* NodeHelpOf(const NodeTables& tables, const StackEntry& entry);

// The text of a node that a plain text box edits: a header's text, a single line field's data,
// or the lines of the other kinds (CR LF between them). Empty for the resume and for an entry
// that refers to no record.
std::string NodeContent(const NodeTables& tables, const StackEntry& entry);

// Text typed for a node: all of it, CR LF between its lines, and its first line without the
// blanks around it, as the editor it was typed in counts blanks.
struct TypedContent {
    std::string text;
    std::string firstLine;
};

// Writes typed text back into a node by the rules of its kind. A header or a single line field
// takes the first line; the other kinds take the text as it stands. An emptied header, single
// line field or section keeps its text, as a resume cannot do without them, while a multiple
// line field or an output may be left empty. True when something was written.
bool StoreNodeContent(NodeTables& tables, const StackEntry& entry, const TypedContent& typed);

} // namespace trellic
