#pragma once

namespace trellic {

class CTLXDoc;
class EngineLog;
class LivePreview;
class Prompter;
class ResumeView;
class UndoHistory;
struct NodeTree;

// What every node editor works on: the open resume's tree and document, the view it renders
// into, the engine log and the user. The editors own none of it.
struct EditorContext {
    NodeTree& tree;
    CTLXDoc& doc;
    ResumeView& view;
    EngineLog& log;
    Prompter& prompter;
    // Where each command records its step for Edit > Undo; none in a context without one.
    UndoHistory* history = nullptr;
    // Shows the open dialogs' pending values in the view; none: nothing is shown before it is
    // stored.
    LivePreview* preview = nullptr;
};

// Renders the resume into the view, as every editor command that changed it does.
void RenderNow(EditorContext& context);

} // namespace trellic
