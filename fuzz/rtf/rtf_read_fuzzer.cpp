// Feeds arbitrary bytes to the RTF reader. Whatever it reads must write out and read back as the
// same document, and inserting it into text must leave a consistent buffer.

#include "richtext/rich_text_buffer.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "rtf_round_trip.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trellic;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const RtfReadResult read = ReadRtf(input);
    if (!read.isRtf) {
        return 0;
    }
    const RtfReadResult again = ReadRtf(WriteRtf(read.document));
    if (!again.complete ||
        !(testing::AsReadersSeeIt(again.document) == testing::AsReadersSeeIt(read.document))) {
        std::abort();
    }
    RichTextBuffer buffer;
    buffer.InsertText("ab");
    buffer.SetSelection(1, 1);
    buffer.InsertRtf(input);
    if (buffer.TextLength() != buffer.Document().Length() ||
        buffer.GetSelection().max > buffer.TextLength()) {
        std::abort();
    }
    return 0;
}
