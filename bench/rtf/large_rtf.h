#pragma once

#include <cstddef>
#include <string>

namespace trellic::bench {

// An RTF text of at least `minimumBytes` that uses every construct the reader handles: the
// writer's own output (fonts, colours, every character and paragraph attribute, both list
// styles, symbol fonts, \uN) mixed with what other writers produce (tables, nested tables,
// pictures in hex and \bin, fields, objects, unknown destinations, \ucN, other code pages).
std::string MakeLargeRtf(size_t minimumBytes);

} // namespace trellic::bench
