#pragma once

#include "editors/editor_context.h"
#include "model/node_tree.h"

#include <optional>

class QWidget;

namespace trellic {

// Runs the dialog of the entry's kind on its record (any kind but the resume, which has the
// Resume dialog). True when the user pressed OK and the record was stored; Cancel leaves the
// record as it was. Nothing is rendered here.
bool InspectNodeRecord(EditorContext& context, const StackEntry& entry, QWidget* parent);

// Runs the dialog of a kind (not the resume) on a fresh record. On OK the record is appended to
// its kind's table and its entry (not yet in any stack) returned; on Cancel nothing is created.
std::optional<StackEntry> CreateNodeRecord(EditorContext& context, int32_t kind, QWidget* parent);

} // namespace trellic
