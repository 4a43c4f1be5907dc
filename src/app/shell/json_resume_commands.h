#pragma once

#include "engine/prompter.h"

#include <string>

namespace trellic {

class CTLXDoc;
class EngineLog;
struct NodeTree;

// File > Import > JSON Resume: asks for a file and builds a resume from it in the default
// template's styles. A file that cannot be imported is reported and changes nothing; a good one
// replaces the open resume, after the close question, as a new unsaved resume. True when it did.
bool RunJsonResumeImport(CTLXDoc& doc, const std::string& programFolder, Prompter& prompter,
                         EngineLog& log);

// File > Export > JSON Resume: asks for a file name, starting from the suggested folder and
// name, and writes the tree's nodes as a JSON Resume. True when the file was written.
bool RunJsonResumeExport(const NodeTree& tree, CTLXDoc& doc, FileDialogOptions suggestion,
                         Prompter& prompter, EngineLog& log);

} // namespace trellic
