#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trellic {

// A value of a JSON Resume entry as a node shows it: a text, or a list of texts.
struct EntryValue {
    bool isList = false;
    std::string text;
    std::vector<std::string> items;

    static EntryValue Text(std::string text) { return {false, std::move(text), {}}; }
    static EntryValue List(std::vector<std::string> items) { return {true, {}, std::move(items)}; }
    bool operator==(const EntryValue&) const = default;
};

// The values of one entry by their schema key; a key that is not there has no value.
using EntryValues = std::map<std::string, EntryValue>;

// Where a key's value stands in the node that shows its entry.
enum class Slot {
    Title,    // on the title line, joined to the title keys before it
    Date,     // in brackets after the title; one date key, or a start and an end
    Labelled, // a line of its own, "Label: value" (a list joined by ", ")
    Text,     // lines without a label
    Bullets,  // a list, one "• item" line each
};

struct KeyLayout {
    const char* key;
    Slot slot;
    const char* label;          // on a line of its own; every key has one but a Text key
    const char* separator = ""; // a title key: what stands before it on the title line
    bool isList = false;
};

// How the entries of one schema section are shown, and read back.
struct SectionLayout {
    const char* key;     // the section's key in the schema, "work"
    const char* heading; // the header the import writes above its entries
    // Headers that name the section when a resume is exported (lower case).
    std::vector<std::string_view> headings;
    std::vector<KeyLayout> keys;
    // A single line field holds an entry of three keys at most: "name: data (bracket)". Null
    // when the section's entries never fit on one line.
    const char* compactName = nullptr;
    const char* compactData = nullptr;
    const char* compactBracket = nullptr;

    const KeyLayout* Find(std::string_view key) const;
};

// The visible text of the node that shows an entry.
struct EntryText {
    bool singleLine = false; // a single line field: title is its name, lines its one data line
    std::string title;
    std::vector<std::string> lines;
    // The dates exactly as the schema gave them, when the title shows them rounded to the
    // month: "startDate 2013-12-01, endDate 2014-12-01". Kept in the node's help text.
    std::string exactDates;

    bool operator==(const EntryText&) const = default;
};

// The ways an entry can be shown, from the most compact to the one that always reads back.
enum class EntryForm {
    Compact,      // a single line field
    Natural,      // the title keys and the dates on the title line, the rest below
    FirstInTitle, // the first title key and the dates on the title line, the rest labelled
    AllLabelled,  // every key on a labelled line; the title stays empty
};

// The entry as a node in the given form; nothing when the form cannot show it.
std::optional<EntryText> ComposeEntry(const SectionLayout& layout, const EntryValues& values,
                                      EntryForm form);

struct ParsedEntry {
    EntryValues values;
    // Lines that fit no key of the section (a section without a text key).
    std::vector<std::string> leftovers;
};

// Reads an entry back from what a node shows, whatever form wrote it or however a person typed
// it: labels are recognised at the start of a line, dates in the title's last bracket.
ParsedEntry ParseEntry(const SectionLayout& layout, const EntryText& text);

// The layouts of every section of the schema that holds a list of entries, in the schema's
// order, and the layout of a profile of basics.
const std::vector<SectionLayout>& SectionLayouts();
const SectionLayout* SectionLayoutOf(std::string_view key);
const SectionLayout& ProfileLayout();

// The lines of a node's text (CR LF or LF breaks), and back with CR LF.
std::vector<std::string> SplitLines(std::string_view text);
std::string JoinLines(const std::vector<std::string>& lines);

// The exact dates a help text keeps, "startDate 2013-12-01, endDate 2014-12-01", and the line
// that keeps them.
inline constexpr std::string_view kExactDatesLabel = "Exact dates: ";

} // namespace trellic
