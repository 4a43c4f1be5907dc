#pragma once

#include <string>

namespace trellic::tool {

// `tlxtool check --spelling FILE [--lang LANGUAGE]`: prints each misspelt word of a resume with
// where it stands (the node and which of its texts for a .tlx file, the paragraph for rich or
// plain text) and returns the exit status: 0 when there is none, 1 when there are some or the
// file or the dictionary cannot be read. An empty language picks the locale's.
int CheckSpelling(const std::string& path, const std::string& language);

} // namespace trellic::tool
