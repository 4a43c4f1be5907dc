// Feeds arbitrary bytes to the RTF reader, as a file's bytes and as a node's UTF-8 text.
// Whatever it reads must write out and read back as the same document, its pictures must stay
// within their limits, and inserting it into text must leave a consistent buffer.

#include "richtext/rich_text_buffer.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "rtf_round_trip.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace trellic;

void CheckRoundTrip(const RtfReadResult& read, size_t inputSize) {
    const RtfReadResult again = ReadRtf(WriteRtf(read.document));
    if (!again.complete ||
        !(testing::AsReadersSeeIt(again.document) == testing::AsReadersSeeIt(read.document))) {
        std::abort();
    }
    // Picture headers are read from the file's own bytes; sizes must stay within the page.
    for (const RichParagraph& paragraph : read.document.paragraphs) {
        for (const RichRun& run : paragraph.runs) {
            if (const RichPicture* picture = run.format.picture.get()) {
                const PictureSize size = ShownPictureSize(*picture);
                if (size.width < 1 || size.height < 1 || size.width > kMaxPictureTwips ||
                    size.height > kMaxPictureTwips || picture->data.size() > kMaxPictureBytes ||
                    picture->data.size() > inputSize) {
                    std::abort();
                }
                (void)IsShowablePicture(*picture);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const RtfReadResult read = ReadRtf(input);
    if (!read.isRtf) {
        return 0;
    }
    CheckRoundTrip(read, input.size());
    CheckRoundTrip(ReadRtf(input, RtfSource::Utf8), input.size());
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
