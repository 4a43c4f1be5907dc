#pragma once

#include <string>

namespace trellic {

class CTLXDoc;
class EngineLog;
class Prompter;
struct NodeTree;

// File > Import > JSON Resume: asks for a file and builds a resume from it in the default
// template's styles. A file that cannot be imported is reported and changes nothing; a good one
// replaces the open resume, after the close question, as a new unsaved resume. True when it did.
bool RunJsonResumeImport(CTLXDoc& doc, const std::string& programFolder, Prompter& prompter,
                         EngineLog& log);

// File > Export > JSON Resume: asks for a file name and writes the tree's nodes as a JSON
// Resume. title names the open resume ("cv.tlx", "Untitled"). True when the file was written.
bool RunJsonResumeExport(const NodeTree& tree, const std::string& title, Prompter& prompter,
                         EngineLog& log);

} // namespace trellic
