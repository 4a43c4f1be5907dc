#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace trellic {

// A picture as an RTF \pict group holds it. PNG and JPEG pictures are shown; every other kind
// (metafiles, device-independent bitmaps, Macintosh pictures) is kept as it came and written
// back unchanged.
struct RichPicture {
    std::string typeWord;   // the control word that names the kind: "pngblip", "wmetafile8"...
    std::string otherWords; // the group's other control words as they came ("\picbmp\picbpp4")
    std::string data;       // the picture's own bytes
    int32_t width = 0;      // \picw: pixels, or hundredths of a millimetre for metafiles
    int32_t height = 0;     // \pich
    int32_t goalWidth = 0;  // \picwgoal, twips; 0 when the group gives none
    int32_t goalHeight = 0; // \pichgoal
    int32_t scaleX = 100;   // \picscalex, percent
    int32_t scaleY = 100;   // \picscaley

    bool operator==(const RichPicture&) const = default;
};

// What a reader keeps of one picture and of all pictures of one text. Beyond these the reader
// leaves pictures out (and says so): a resume's photo is a few hundred kilobytes.
inline constexpr size_t kMaxPictureBytes = size_t{16} << 20;
inline constexpr size_t kMaxPictureBytesPerText = size_t{64} << 20;
// Pictures with more pixels than this are kept but not shown: decoding one would take more
// memory than the whole resume is worth.
inline constexpr int32_t kMaxShownPictureSide = 16384;
inline constexpr int64_t kMaxShownPicturePixels = 25'000'000;
// The pixels that the pictures of one text may show in all: a few photos' worth. A small file
// of highly compressed pictures would otherwise take the memory and time of thousands.
inline constexpr int64_t kMaxShownPicturePixelsPerText = 4 * kMaxShownPicturePixels;
// Shown sizes are kept within a sheet of paper, whatever a file claims.
inline constexpr int32_t kMaxPictureTwips = 22 * 1440;

enum class PictureFormat : uint8_t { Png, Jpeg, Other };

PictureFormat FormatOf(const RichPicture& picture);

// The pixel size the PNG or JPEG data itself declares; false when the data is no PNG or JPEG
// whose header can be read.
bool PicturePixelSize(const RichPicture& picture, int32_t& width, int32_t& height);

// True for a PNG or JPEG picture whose header reads and whose size is within the limits above:
// one the view decodes and shows. Any other picture shows as a placeholder.
bool IsShowablePicture(const RichPicture& picture);

// The size the picture takes in the text, in twips: the goal size, else the natural size, each
// scaled; never less than one twip nor more than kMaxPictureTwips.
struct PictureSize {
    int32_t width = 0;
    int32_t height = 0;
};
PictureSize ShownPictureSize(const RichPicture& picture);

// A shared, immutable picture that compares by content, so that documents read twice from the
// same file compare equal. Copies are cheap: formats carry it from run to run.
class PictureRef {
public:
    PictureRef() = default;
    explicit PictureRef(std::shared_ptr<const RichPicture> picture)
        : m_picture(std::move(picture)) {}

    const RichPicture* get() const { return m_picture.get(); }
    const RichPicture& operator*() const { return *m_picture; }
    const RichPicture* operator->() const { return m_picture.get(); }
    explicit operator bool() const { return m_picture != nullptr; }
    const std::shared_ptr<const RichPicture>& Shared() const { return m_picture; }

    bool operator==(const PictureRef& other) const {
        return m_picture == other.m_picture ||
               (m_picture && other.m_picture && *m_picture == *other.m_picture);
    }

private:
    std::shared_ptr<const RichPicture> m_picture;
};

// The character that stands for a picture in the text, as in the control and in Qt.
inline constexpr char32_t kObjectCharacter = U'\uFFFC';

} // namespace trellic
