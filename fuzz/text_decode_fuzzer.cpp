// Feeds arbitrary bytes to the plain-text decoder: what it reads must be valid UTF-8, and what
// the encoder writes of it must read back to the same text.

#include "engine/code_page.h"
#include "engine/text_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trellic;
    const std::string text =
        DecodeTextFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (EncodeUtf8(DecodeUtf8(text)) != text) {
        std::abort(); // not valid UTF-8
    }
    if (DecodeTextFile(EncodeTextFile(text)) != text) {
        std::abort();
    }
    return 0;
}
