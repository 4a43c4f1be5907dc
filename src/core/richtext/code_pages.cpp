#include "richtext/code_pages.h"

#include "engine/code_page.h"

#include <iconv.h>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace trellic {

namespace {

std::string IconvName(int codePage) {
    switch (codePage) {
    case 10000:
        return "MACINTOSH";
    case 10007:
        return "MAC-CYRILLIC";
    case 20866:
        return "KOI8-R";
    case 28591:
        return "ISO-8859-1";
    case 65001:
        return "UTF-8";
    case 20936:
        return "GB2312";
    default:
        return "CP" + std::to_string(codePage);
    }
}

// Decodes one short byte sequence; nothing when iconv cannot.
bool Decode(iconv_t converter, const char* bytes, size_t length, char32_t& out) {
    char32_t result[2] = {};
    char* in = const_cast<char*>(bytes);
    size_t inLeft = length;
    char* outPtr = reinterpret_cast<char*>(result);
    size_t outLeft = sizeof(result);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
        inLeft != 0 || outLeft != sizeof(char32_t)) {
        return false;
    }
    out = result[0];
    return true;
}

// iconv_open's own answer for a conversion it cannot make.
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1); // NOLINT(performance-no-int-to-ptr)

struct Converter {
    iconv_t handle = kNoConverter;
    Converter() = default;
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() {
        if (handle != kNoConverter) {
            iconv_close(handle);
        }
    }
};

std::mutex g_mutex;

iconv_t ConverterFor(int codePage) {
    static std::map<int, Converter> converters;
    auto [it, inserted] = converters.try_emplace(codePage);
    if (inserted) {
        it->second.handle = iconv_open("UTF-32LE", IconvName(codePage).c_str());
    }
    return it->second.handle;
}

iconv_t EncoderFor(int codePage) {
    static std::map<int, Converter> converters;
    auto [it, inserted] = converters.try_emplace(codePage);
    if (inserted) {
        it->second.handle = iconv_open(IconvName(codePage).c_str(), "UTF-32LE");
    }
    return it->second.handle;
}

bool Encodes(iconv_t converter, char32_t c) {
    char* in = reinterpret_cast<char*>(&c);
    size_t inLeft = sizeof c;
    char bytes[8];
    char* out = bytes;
    size_t outLeft = sizeof bytes;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
        return false;
    }
    // Code pages that combine letters with accents hold the last letter back until flushed.
    return iconv(converter, nullptr, nullptr, &out, &outLeft) != static_cast<size_t>(-1) &&
           outLeft < sizeof bytes;
}

ByteTable Cp1252Table() {
    ByteTable table{};
    for (unsigned i = 0; i < 256; ++i) {
        table[i] = Cp1252ToUnicode(static_cast<unsigned char>(i));
    }
    return table;
}

} // namespace

int CodePageOfCharSet(int charSet, int ansiCodePage) {
    switch (charSet) {
    case 0:
    case 1:
        return ansiCodePage;
    case 2:
        return 0;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return ansiCodePage;
    }
}

const ByteTable& SingleByteTable(int codePage) {
    static const ByteTable cp1252 = Cp1252Table();
    if (codePage == 1252 || codePage <= 0 || IsDoubleByteCodePage(codePage)) {
        return cp1252;
    }
    std::lock_guard lock(g_mutex);
    static std::map<int, std::unique_ptr<ByteTable>> tables;
    auto [it, inserted] = tables.try_emplace(codePage);
    if (inserted) {
        iconv_t converter = ConverterFor(codePage);
        if (converter == kNoConverter) {
            it->second = std::make_unique<ByteTable>(cp1252);
        } else {
            auto table = std::make_unique<ByteTable>();
            for (unsigned i = 0; i < 256; ++i) {
                const char byte = static_cast<char>(i);
                char32_t c = 0;
                (*table)[i] = Decode(converter, &byte, 1, c) ? c : cp1252[i];
            }
            it->second = std::move(table);
        }
    }
    return *it->second;
}

bool CodePageHolds(int codePage, char32_t c) {
    if (c < 0x80) {
        return true;
    }
    if (codePage == 1252) {
        return UnicodeToCp1252(c).has_value();
    }
    std::lock_guard lock(g_mutex);
    // Answers are kept: a long text asks about the same few letters again and again.
    static std::map<int, std::unordered_map<char32_t, bool>> known;
    auto& answers = known[codePage];
    if (const auto it = answers.find(c); it != answers.end()) {
        return it->second;
    }
    iconv_t converter = EncoderFor(codePage);
    const bool holds = converter != kNoConverter && Encodes(converter, c);
    // A hostile text could ask about every character there is; the cache stays small.
    if (answers.size() < 65536) {
        answers.emplace(c, holds);
    }
    return holds;
}

bool IsDoubleByteCodePage(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361;
}

bool IsLeadByte(int codePage, uint8_t byte) {
    if (codePage == 932) {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }
    return IsDoubleByteCodePage(codePage) && byte >= 0x81 && byte <= 0xFE;
}

char32_t DecodeDoubleByte(int codePage, uint8_t lead, uint8_t trail) {
    std::lock_guard lock(g_mutex);
    iconv_t converter = ConverterFor(codePage);
    const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    char32_t c = 0;
    if (converter != kNoConverter && Decode(converter, bytes, 2, c)) {
        return c;
    }
    return U'\uFFFD';
}

} // namespace trellic
