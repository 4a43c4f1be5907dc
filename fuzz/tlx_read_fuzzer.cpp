// Feeds arbitrary bytes to the .tlx reader, and writes back whatever it read, which must then
// read again to the same bytes.

#include "engine/prompter.h"
#include "model/tlx_file.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trellic;
    SilentPrompter prompter;
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    Archive ar = Archive::ForLoading(std::string_view(reinterpret_cast<const char*>(data), size));
    if (ReadTLX(ar, tree, prompter) != TlxReadStatus::Loaded) {
        return 0;
    }
    const std::string written = WriteTLX(tree);
    NodeTree again{std::string()};
    ResetNodeTree(again, {});
    Archive reread = Archive::ForLoading(written);
    if (ReadTLX(reread, again, prompter) != TlxReadStatus::Loaded || WriteTLX(again) != written) {
        std::abort();
    }
    return 0;
}
