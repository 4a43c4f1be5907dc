#pragma once

#include "exchange/office_document.h"
#include "model/node_tree.h"
#include "richtext/rich_document.h"

namespace trellic {

// The properties of a resume: its title is the resume's name, else its first header's text;
// its author the person's name, which is the first header where the resume starts with one;
// its subject says what the document is. A Resume View resume (or none at all) has no nodes:
// the first line of its text is the title. Texts go without the blanks around them.
DocumentProperties ResumeProperties(const NodeTree* tree, const RichDocument& document);
// The resume's properties for a file written now, which records when it was made.
DocumentProperties ExportedProperties(const NodeTree& tree, const RichDocument& document);

} // namespace trellic
