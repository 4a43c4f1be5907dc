#include "scoped_environment.h"
#include "spelling/dictionaries.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::ScopedEnvironment;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(LocaleLanguage, TakesTheLanguageAndCountryOfALocaleName) {
    const std::pair<const char*, const char*> rows[] = {
        {"en_GB.UTF-8", "en_GB"},
        {"de_AT.utf8@euro", "de_AT"},
        {"fr", "fr"},
        {"sr_RS@latin", "sr_RS"},
        {"C", ""},
        {"C.UTF-8", ""},
        {"POSIX", ""},
        {"", ""},
    };
    for (const auto& [locale, language] : rows) {
        EXPECT_EQ(LocaleLanguage(locale), language) << locale;
    }
}

TEST(EnvironmentLanguage, FollowsTheLocaleVariablesInTheirOrder) {
    ScopedEnvironment environment;
    environment.Set("LC_ALL", "");
    environment.Set("LC_MESSAGES", "en_GB.UTF-8");
    environment.Set("LANG", "de_DE.UTF-8");
    EXPECT_EQ(EnvironmentLanguage(), "en_GB"); // an empty LC_ALL counts as unset
    environment.Set("LC_ALL", "fr_CA.UTF-8");
    EXPECT_EQ(EnvironmentLanguage(), "fr_CA");
    environment.Set("LC_ALL", nullptr);
    environment.Set("LC_MESSAGES", nullptr);
    EXPECT_EQ(EnvironmentLanguage(), "de_DE");
    environment.Set("LANG", nullptr);
    EXPECT_EQ(EnvironmentLanguage(), "");
}

TEST(ChooseDictionary, PrefersTheLanguageThenItsCountryThenAmericanEnglish) {
    const std::vector<InstalledDictionary> installed = {{"de_CH", "/d/de_CH.aff"},
                                                        {"de_DE", "/d/de_DE.aff"},
                                                        {"en_GB", "/d/en_GB.aff"},
                                                        {"en_US", "/d/en_US.aff"},
                                                        {"fr_CA", "/d/fr_CA.aff"}};
    const std::pair<const char*, const char*> rows[] = {
        {"en_GB", "en_GB"}, // exactly
        {"de_AT", "de_DE"}, // the language's own country before another
        {"fr_FR", "fr_CA"}, // another country of the language
        {"en_AU", "en_GB"}, // en_EN does not exist: the first English one
        {"pt_BR", "en_US"}, // no dictionary of the language
        {"", "en_US"},      // no locale
    };
    for (const auto& [wanted, chosen] : rows) {
        const InstalledDictionary* dictionary = ChooseDictionary(installed, wanted);
        ASSERT_NE(dictionary, nullptr) << wanted;
        EXPECT_EQ(dictionary->language, chosen) << wanted;
    }
    const std::vector<InstalledDictionary> onlyFrench = {{"fr_CA", "/d/fr_CA.aff"}};
    EXPECT_EQ(ChooseDictionary(onlyFrench, "pt_BR")->language, "fr_CA");
    EXPECT_EQ(ChooseDictionary({}, "en_US"), nullptr);
}

TEST(FindDictionaries, ListsEachLanguageOnceFromTheFirstFolderThatHasIt) {
    TempDir dir;
    std::filesystem::create_directories(dir.File("user"));
    std::filesystem::create_directories(dir.File("system"));
    for (const char* file : {"user/en_US.aff", "user/en_US.dic", "user/hyph_en_US.aff",
                             "user/hyph_en_US.dic", "user/xx_XX.aff", "system/en_US.aff",
                             "system/en_US.dic", "system/de_DE.aff", "system/de_DE.dic"}) {
        WriteFileBytes(dir.File(file), "SET UTF-8\n");
    }
    const std::vector<InstalledDictionary> found =
        FindDictionaries({dir.File("missing"), dir.File("user"), dir.File("system")});
    EXPECT_EQ(found, (std::vector<InstalledDictionary>{{"de_DE", dir.File("system/de_DE.aff")},
                                                       {"en_US", dir.File("user/en_US.aff")}}));
}

} // namespace
} // namespace trellic
