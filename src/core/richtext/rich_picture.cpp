#include "richtext/rich_picture.h"

#include <algorithm>
#include <string_view>

namespace trellic {

namespace {

uint32_t BigEndian(std::string_view data, size_t at, size_t bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < bytes; ++i) {
        value = (value << 8) | static_cast<unsigned char>(data[at + i]);
    }
    return value;
}

bool PngSize(std::string_view data, int32_t& width, int32_t& height) {
    static constexpr std::string_view kSignature("\x89PNG\r\n\x1A\n", 8);
    if (data.size() < 24 || data.substr(0, 8) != kSignature || data.substr(12, 4) != "IHDR") {
        return false;
    }
    const uint32_t w = BigEndian(data, 16, 4);
    const uint32_t h = BigEndian(data, 20, 4);
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF) {
        return false;
    }
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
}

bool IsStartOfFrame(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the JPEG's segments up to its frame header, which holds the size.
bool JpegSize(std::string_view data, int32_t& width, int32_t& height) {
    if (data.size() < 4 || static_cast<unsigned char>(data[0]) != 0xFF ||
        static_cast<unsigned char>(data[1]) != 0xD8) {
        return false;
    }
    size_t at = 2;
    while (at + 1 < data.size()) {
        if (static_cast<unsigned char>(data[at]) != 0xFF) {
            return false;
        }
        while (at < data.size() && static_cast<unsigned char>(data[at]) == 0xFF) {
            ++at; // fill bytes
        }
        if (at >= data.size()) {
            return false;
        }
        const auto marker = static_cast<unsigned char>(data[at++]);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            continue; // markers without a segment
        }
        if (marker == 0xD9 || marker == 0xDA || at + 2 > data.size()) {
            return false; // the image data starts before any frame header
        }
        const uint32_t length = BigEndian(data, at, 2);
        if (length < 2 || at + length > data.size()) {
            return false;
        }
        if (IsStartOfFrame(marker)) {
            if (length < 7) {
                return false;
            }
            height = static_cast<int32_t>(BigEndian(data, at + 3, 2));
            width = static_cast<int32_t>(BigEndian(data, at + 5, 2));
            return width > 0 && height > 0;
        }
        at += length;
    }
    return false;
}

// Metafiles give \picw and \pich in hundredths of a millimetre, bitmaps in pixels.
bool IsMetafile(const std::string& typeWord) {
    return typeWord.rfind("wmetafile", 0) == 0 || typeWord.rfind("pmmetafile", 0) == 0 ||
           typeWord == "emfblip";
}

int32_t Scaled(int64_t twips, int32_t percent) {
    if (percent > 0) {
        twips = twips * percent / 100;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(twips, 1, kMaxPictureTwips));
}

} // namespace

PictureFormat FormatOf(const RichPicture& picture) {
    if (picture.typeWord == "pngblip") {
        return PictureFormat::Png;
    }
    if (picture.typeWord == "jpegblip") {
        return PictureFormat::Jpeg;
    }
    return PictureFormat::Other;
}

bool PicturePixelSize(const RichPicture& picture, int32_t& width, int32_t& height) {
    switch (FormatOf(picture)) {
    case PictureFormat::Png:
        return PngSize(picture.data, width, height);
    case PictureFormat::Jpeg:
        return JpegSize(picture.data, width, height);
    default:
        return false;
    }
}

bool IsShowablePicture(const RichPicture& picture) {
    int32_t width = 0;
    int32_t height = 0;
    return PicturePixelSize(picture, width, height) && width <= kMaxShownPictureSide &&
           height <= kMaxShownPictureSide && int64_t{width} * height <= kMaxShownPicturePixels;
}

PictureSize ShownPictureSize(const RichPicture& picture) {
    constexpr int64_t kTwipsPerPixel = 15; // at 96 pixels per inch
    int64_t width = 1440;
    int64_t height = 1440;
    int32_t pixelWidth = 0;
    int32_t pixelHeight = 0;
    if (picture.goalWidth > 0 && picture.goalHeight > 0) {
        width = picture.goalWidth;
        height = picture.goalHeight;
    } else if (PicturePixelSize(picture, pixelWidth, pixelHeight)) {
        width = pixelWidth * kTwipsPerPixel;
        height = pixelHeight * kTwipsPerPixel;
    } else if (picture.width > 0 && picture.height > 0) {
        if (IsMetafile(picture.typeWord)) {
            width = int64_t{picture.width} * 1440 / 2540;
            height = int64_t{picture.height} * 1440 / 2540;
        } else {
            width = picture.width * kTwipsPerPixel;
            height = picture.height * kTwipsPerPixel;
        }
    }
    return {Scaled(width, picture.scaleX), Scaled(height, picture.scaleY)};
}

} // namespace trellic
