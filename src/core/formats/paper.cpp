#include "formats/paper.h"

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

bool PaperNamed(const std::string& name, Paper& paper) {
    const std::string lower = Lower(name);
    if (lower == "a4") {
        paper = Paper::A4;
        return true;
    }
    if (lower == "letter") {
        paper = Paper::Letter;
        return true;
    }
    return false;
}

Paper LocalePaper(const std::string& paperLocale, const std::string& papersize) {
    const std::string territory = Territory(paperLocale);
    if (!territory.empty()) {
        return LetterTerritory(territory) ? Paper::Letter : Paper::A4;
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
    Paper paper = Paper::A4;
    if (PaperNamed(line, paper)) {
        return paper;
    }
    return Paper::A4;
}

Paper SystemPaper() {
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
    return LocalePaper(locale != nullptr ? locale : "", papersize);
}

RtfPage PageOnPaper(Paper paper) {
    // In twips: A4 is 210 by 297 millimetres, rounded to the nearest twip; Letter is 8.5 by 11
    // inches.
    RtfPage page;
    page.width = paper == Paper::A4 ? 11906 : 12240;
    page.height = paper == Paper::A4 ? 16838 : 15840;
    page.left = 2160;
    page.right = 2160;
    page.top = 1080;
    page.bottom = 1080;
    return page;
}

} // namespace trellic
