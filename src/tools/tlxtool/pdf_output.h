#pragma once

#include "richtext/rich_document.h"

#include <string>

namespace trellic::tool {

// Writes the document as the desktop application prints it. Builds without Qt cannot lay out
// pages and say so in `error`.
bool WritePdf(const RichDocument& document, const std::string& path, std::string& error);

} // namespace trellic::tool
