#include "engine/prompter.h"

#include <cstdio>

namespace trellic {

void StderrPrompter::ShowMessage(const std::string& text, MessageIcon icon) {
    const char* kind = icon == MessageIcon::Information ? "note" : "warning";
    std::fprintf(stderr, "%s: %s\n", kind, text.c_str());
}

} // namespace trellic
