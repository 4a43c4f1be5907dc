#include "editors/node_dialogs.h"

namespace trellic {

// PLACEHOLDER: being written.
bool InspectNodeRecord(EditorContext&, const StackEntry&, QWidget*) { return false; }

std::optional<StackEntry> CreateNodeRecord(EditorContext&, int32_t, QWidget*) {
    return std::nullopt;
}

} // namespace trellic
