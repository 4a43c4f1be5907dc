#pragma once

#include <array>
#include <string>

namespace trellic::testing {

// A person's name and a sentence in each script a resume is commonly written in, as UTF-8.
// Every one holds characters Windows-1252 cannot, so each takes the paths built for them.
struct WorldText {
    const char* language;
    std::string name;
    std::string sentence;
};

inline const std::array<WorldText, 8>& WorldTexts() {
    static const std::array<WorldText, 8> kTexts = {{
        {"Polish", "Zo\u00EB \u0141ukasiewicz-\u00D6mer",
         "Kierowa\u0142am zespo\u0142em o\u015Bmiu in\u017Cynier\u00F3w w \u0141odzi."},
        {"Czech", "Ji\u0159\u00ED Dvo\u0159\u00E1k",
         "\u0158\u00EDdil jsem v\u00FDvoj \u010Desk\u00E9ho \u00FA\u010Detn\u00EDho syst\u00E9mu."},
        {"Turkish", "Ay\u015Fe Y\u0131lmaz",
         "\u0130stanbul'da ya\u015F\u0131yorum; a\u011F projeleri y\u00F6nettim."},
        {"Vietnamese", "Nguy\u1EC5n V\u0103n Th\u1EAFng",
         "T\u00F4i \u0111\u00E3 qu\u1EA3n l\u00FD d\u1EF1 \u00E1n ph\u1EA7n m\u1EC1m."},
        {"Greek",
         "\u0395\u03BB\u03AD\u03BD\u03B7 \u03A0\u03B1\u03C0\u03B1\u03B4\u03BF\u03C0"
         "\u03BF\u03CD\u03BB\u03BF\u03C5",
         "\u0394\u03B9\u03B5\u03CD\u03B8\u03C5\u03BD\u03B1 \u03C4\u03BF \u03C4\u03BC\u03AE\u03BC"
         "\u03B1 \u03BB\u03BF\u03B3\u03B9\u03C3\u03BC\u03B9\u03BA\u03BF\u03CD."},
        {"Russian", "\u0418\u0432\u0430\u043D \u041F\u0435\u0442\u0440\u043E\u0432",
         "\u0420\u0443\u043A\u043E\u0432\u043E\u0434\u0438\u043B \u043A\u043E\u043C\u0430\u043D"
         "\u0434\u043E\u0439 \u0438\u0437 \u0432\u043E\u0441\u044C\u043C\u0438 \u0447\u0435"
         "\u043B\u043E\u0432\u0435\u043A."},
        {"Chinese", "\u738B\u82B3", "\u6211\u8D1F\u8D23\u8F6F\u4EF6\u5F00\u53D1\u5DE5\u4F5C\u3002"},
        {"Arabic", "\u0645\u0631\u062D\u0628\u0627 \u0644\u064A\u0644\u0649",
         "\u0623\u062F\u0631\u062A \u0641\u0631\u064A\u0642 \u0627\u0644\u062A\u0637\u0648\u064A"
         "\u0631."},
    }};
    return kTexts;
}

} // namespace trellic::testing
