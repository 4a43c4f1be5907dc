#pragma once

#include "render/render_driver.h"

#include <cstdint>

namespace trellic {

// One renderer per node kind. Each writes its node at the end of the target, after the line
// breaks that separate it from the previous kind; listNumber is the count of numbered nodes
// so far, this one included.
void RenderHeader(RenderTarget& target, const HeaderNode& node, NodeKind previousKind,
                  uint16_t listNumber);
void RenderResumeSection(RenderTarget& target, const ResumeSectionNode& node, NodeKind previousKind,
                         uint16_t listNumber);
void RenderSLField(RenderTarget& target, const SLFieldNode& node, NodeKind previousKind,
                   uint16_t listNumber);
void RenderMLField(RenderTarget& target, const MLFieldNode& node, NodeKind previousKind,
                   uint16_t listNumber);
void RenderRTFOutput(RenderTarget& target, const RTFOutputNode& node, NodeKind previousKind,
                     uint16_t listNumber);
void RenderTXTOutput(RenderTarget& target, const TXTOutputNode& node, NodeKind previousKind,
                     uint16_t listNumber);

// The numbering a node's effective paragraph format asks for; 0 when it does not count.
int32_t EffectiveNumbering(const NodeTree& tree, const StackEntry& entry);

} // namespace trellic
