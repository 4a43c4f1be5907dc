#include "print/paper_size.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace trellic {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "en_US.UTF-8@euro" -> "US"; empty when the locale names no territory.
std::string Territory(const std::string& locale) {
    const auto underscore = locale.find('_');
    if (underscore == std::string::npos) {
        return {};
    }
    const auto end = locale.find_first_of(".@", underscore);
    return locale.substr(underscore + 1,
                         end == std::string::npos ? std::string::npos : end - underscore - 1);
}

bool LetterTerritory(const std::string& territory) {
    static const char* const kLetter[] = {"US", "CA", "MX", "PH", "PR", "CL", "CO",
                                          "CR", "GT", "NI", "PA", "SV", "VE", "DO"};
    return std::find_if(std::begin(kLetter), std::end(kLetter),
                        [&](const char* code) { return territory == code; }) != std::end(kLetter);
}

const char* Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

} // namespace

bool PaperFromName(const std::string& name, QPageSize::PageSizeId& paper) {
    const std::string lower = Lower(name);
    if (lower == "a4") {
        paper = QPageSize::A4;
        return true;
    }
    if (lower == "letter") {
        paper = QPageSize::Letter;
        return true;
    }
    return false;
}

QPageSize::PageSizeId PaperForLocale(const std::string& paperLocale, const std::string& papersize) {
    const std::string territory = Territory(paperLocale);
    if (!territory.empty()) {
        return LetterTerritory(territory) ? QPageSize::Letter : QPageSize::A4;
    }
    // /etc/papersize holds one paper name, possibly after comment lines.
    std::string line;
    for (std::size_t at = 0; at < papersize.size();) {
        const auto end = papersize.find('\n', at);
        line = papersize.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? papersize.size() : end + 1;
        line.erase(0, line.find_first_not_of(" \t\r"));
        line.erase(line.find_last_not_of(" \t\r") + 1);
        if (!line.empty() && line[0] != '#') {
            break;
        }
        line.clear();
    }
    QPageSize::PageSizeId paper = QPageSize::A4;
    if (PaperFromName(line, paper)) {
        return paper;
    }
    return QPageSize::A4;
}

QPageSize::PageSizeId DefaultPaper() {
    const char* locale = Env("LC_ALL");
    if (locale == nullptr) {
        locale = Env("LC_PAPER");
    }
    std::string papersize;
    if (locale == nullptr || Territory(locale).empty()) {
        std::ifstream file("/etc/papersize");
        papersize.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (papersize.empty() && locale == nullptr) {
            locale = Env("LANG");
        }
    }
    return PaperForLocale(locale != nullptr ? locale : "", papersize);
}

} // namespace trellic
