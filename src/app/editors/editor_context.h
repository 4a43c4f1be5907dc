#pragma once

namespace trellic {

class CTLXDoc;
class EngineLog;
class Prompter;
class ResumeView;
struct NodeTree;

// What every node editor works on: the open resume's tree and document, the view it renders
// into, the engine log and the user. The editors own none of it.
struct EditorContext {
    NodeTree& tree;
    CTLXDoc& doc;
    ResumeView& view;
    EngineLog& log;
    Prompter& prompter;
};

// Renders the resume into the view, as every editor command that changed it does.
void RenderNow(EditorContext& context);

} // namespace trellic
