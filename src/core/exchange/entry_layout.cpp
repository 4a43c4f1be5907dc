#include "exchange/entry_layout.h"

#include "exchange/resume_dates.h"

#include <algorithm>
#include <cctype>

namespace trellic {

namespace {

constexpr std::string_view kBullet = "\u2022 ";
constexpr std::string_view kListSeparator = ", ";
// Labels people give a web address, whatever the section calls it.
constexpr std::string_view kAddressLabels[] = {"website", "link", "url", "web", "homepage"};

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string Joined(const std::vector<std::string>& items, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        out += items[i];
    }
    return out;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> items;
    if (text.empty()) {
        return items;
    }
    std::size_t from = 0;
    for (;;) {
        const auto at = text.find(separator, from);
        if (at == std::string_view::npos) {
            items.emplace_back(text.substr(from));
            return items;
        }
        items.emplace_back(text.substr(from, at - from));
        from = at + separator.size();
    }
}

std::string Shown(const EntryValue& value) {
    return value.isList ? Joined(value.items, kListSeparator) : value.text;
}

EntryValue Read(const KeyLayout& key, std::string_view text) {
    if (key.isList) {
        return EntryValue::List(Split(text, kListSeparator));
    }
    return EntryValue::Text(std::string(text));
}

std::vector<const KeyLayout*> KeysIn(const SectionLayout& layout, Slot slot) {
    std::vector<const KeyLayout*> keys;
    for (const KeyLayout& key : layout.keys) {
        if (key.slot == slot) {
            keys.push_back(&key);
        }
    }
    return keys;
}

const EntryValue* ValueOf(const EntryValues& values, const char* key) {
    const auto it = values.find(key);
    return it == values.end() ? nullptr : &it->second;
}

// The entry's dates: a start and an end, or the one date of a single-date section.
struct Dates {
    std::vector<const KeyLayout*> keys; // none, one, or start and end
    DateRange range;

    bool Any() const { return range.start || range.end; }
    bool Single() const { return keys.size() == 1; }
    std::string Shown() const {
        return Single() ? (range.start ? FormatResumeDate(*range.start) : std::string())
                        : FormatDateRange(range);
    }
};

Dates DatesOf(const SectionLayout& layout, const EntryValues& values) {
    Dates dates;
    dates.keys = KeysIn(layout, Slot::Date);
    if (!dates.keys.empty()) {
        if (const EntryValue* v = ValueOf(values, dates.keys[0]->key)) {
            dates.range.start = v->text;
        }
    }
    if (dates.keys.size() > 1) {
        if (const EntryValue* v = ValueOf(values, dates.keys[1]->key)) {
            dates.range.end = v->text;
        }
    }
    return dates;
}

// "startDate 2013-12-01, endDate 2014-12-01" for the dates that the shown text rounds.
std::string ExactDates(const Dates& dates) {
    if (!dates.Any()) {
        return {};
    }
    DateRange read;
    if (dates.Single()) {
        read.start = ReadResumeDate(dates.Shown());
    } else if (auto range = ReadDateRange(dates.Shown(), false)) {
        read = *range;
    }
    std::string exact;
    auto note = [&](const KeyLayout* key, const std::optional<std::string>& given,
                    const std::optional<std::string>& back) {
        if (given && given != back) {
            exact += (exact.empty() ? "" : ", ") + std::string(key->key) + " " + *given;
        }
    };
    note(dates.keys[0], dates.range.start, read.start);
    if (!dates.Single()) {
        note(dates.keys[1], dates.range.end, read.end);
    }
    return exact;
}

void AppendBody(const SectionLayout& layout, const EntryValues& values, EntryText& text) {
    for (const KeyLayout& key : layout.keys) {
        const EntryValue* value = ValueOf(values, key.key);
        if (value == nullptr) {
            continue;
        }
        switch (key.slot) {
        case Slot::Labelled:
            text.lines.push_back(std::string(key.label) + ": " + Shown(*value));
            break;
        case Slot::Text:
            for (std::string& line : Split(value->text, "\n")) {
                text.lines.push_back(std::move(line));
            }
            if (value->text.empty()) {
                text.lines.emplace_back();
            }
            break;
        case Slot::Bullets:
            if (value->items.empty()) {
                text.lines.push_back(std::string(key.label) + ": ");
            }
            for (const std::string& item : value->items) {
                text.lines.push_back(std::string(kBullet) + item);
            }
            break;
        case Slot::Title:
        case Slot::Date:
            break;
        }
    }
}

std::string WithDates(std::string title, const Dates& dates) {
    if (!dates.Any()) {
        return title;
    }
    return (title.empty() ? "(" : title + " (") + dates.Shown() + ")";
}

std::optional<EntryText> Compact(const SectionLayout& layout, const EntryValues& values) {
    if (layout.compactName == nullptr) {
        return std::nullopt;
    }
    const EntryValue* name = ValueOf(values, layout.compactName);
    const EntryValue* data = ValueOf(values, layout.compactData);
    const EntryValue* bracket =
        layout.compactBracket ? ValueOf(values, layout.compactBracket) : nullptr;
    if (name == nullptr || data == nullptr ||
        values.size() != 2 + static_cast<std::size_t>(bracket != nullptr)) {
        return std::nullopt;
    }
    EntryText text;
    text.singleLine = true;
    text.title = Shown(*name);
    text.lines.push_back(Shown(*data) + (bracket ? " (" + Shown(*bracket) + ")" : ""));
    return text;
}

} // namespace

const KeyLayout* SectionLayout::Find(std::string_view key) const {
    for (const KeyLayout& k : keys) {
        if (key == k.key) {
            return &k;
        }
    }
    return nullptr;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    if (text.empty()) {
        return lines;
    }
    std::size_t from = 0;
    for (;;) {
        const auto at = text.find('\n', from);
        std::string_view line =
            text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        if (at == std::string_view::npos) {
            return lines;
        }
        from = at + 1;
    }
}

std::string JoinLines(const std::vector<std::string>& lines) {
    return Joined(lines, "\r\n");
}

std::optional<EntryText> ComposeEntry(const SectionLayout& layout, const EntryValues& values,
                                      EntryForm form) {
    if (form == EntryForm::Compact) {
        return Compact(layout, values);
    }
    const std::vector<const KeyLayout*> titleKeys = KeysIn(layout, Slot::Title);
    const Dates dates = DatesOf(layout, values);
    EntryText text;
    text.exactDates = ExactDates(dates);
    switch (form) {
    case EntryForm::Natural: {
        bool first = true;
        for (const KeyLayout* key : titleKeys) {
            if (const EntryValue* value = ValueOf(values, key->key)) {
                text.title += (first ? "" : key->separator) + Shown(*value);
                first = false;
            }
        }
        text.title = WithDates(std::move(text.title), dates);
        break;
    }
    case EntryForm::FirstInTitle: {
        const EntryValue* first =
            titleKeys.size() < 2 ? nullptr : ValueOf(values, titleKeys[0]->key);
        if (first == nullptr) {
            return std::nullopt;
        }
        text.title = WithDates(Shown(*first), dates);
        for (std::size_t i = 1; i < titleKeys.size(); ++i) {
            if (const EntryValue* value = ValueOf(values, titleKeys[i]->key)) {
                text.lines.push_back(std::string(titleKeys[i]->label) + ": " + Shown(*value));
            }
        }
        break;
    }
    default:
        for (const KeyLayout* key : titleKeys) {
            if (const EntryValue* value = ValueOf(values, key->key)) {
                text.lines.push_back(std::string(key->label) + ": " + Shown(*value));
            }
        }
        if (dates.Any()) {
            text.lines.push_back(std::string(dates.keys[0]->label) + ": " + dates.Shown());
        }
        break;
    }
    AppendBody(layout, values, text);
    return text;
}

ParsedEntry ParseEntry(const SectionLayout& layout, const EntryText& text) {
    ParsedEntry parsed;
    EntryValues& values = parsed.values;
    if (text.singleLine && layout.compactName != nullptr) {
        std::string_view data = text.lines.empty() ? std::string_view() : text.lines[0];
        values[layout.compactName] = Read(*layout.Find(layout.compactName), text.title);
        if (layout.compactBracket != nullptr && !data.empty() && data.back() == ')') {
            const auto open = data.rfind(" (");
            if (open != std::string_view::npos) {
                values[layout.compactBracket] = Read(*layout.Find(layout.compactBracket),
                                                     data.substr(open + 2, data.size() - open - 3));
                data = data.substr(0, open);
            }
        }
        values[layout.compactData] = Read(*layout.Find(layout.compactData), data);
        return parsed;
    }

    const std::vector<const KeyLayout*> dateKeys = KeysIn(layout, Slot::Date);
    const std::vector<const KeyLayout*> textKeys = KeysIn(layout, Slot::Text);
    const std::vector<const KeyLayout*> bulletKeys = KeysIn(layout, Slot::Bullets);
    std::vector<std::string> textLines;
    std::optional<DateRange> dates;
    auto labelled = [&](std::string_view label) -> const KeyLayout* {
        const std::string lower = Lower(Trimmed(label));
        for (const KeyLayout& key : layout.keys) {
            if (key.label != nullptr && lower == Lower(key.label)) {
                return &key;
            }
        }
        for (const std::string_view address : kAddressLabels) {
            if (lower == address) {
                return layout.Find("url");
            }
        }
        return nullptr;
    };

    for (const std::string& line : text.lines) {
        const std::string_view view = line;
        if (!bulletKeys.empty() && view.substr(0, 3) == kBullet.substr(0, 3)) {
            EntryValue& list = values[bulletKeys[0]->key];
            list.isList = true;
            list.items.emplace_back(view.substr(view.size() > 3 && view[3] == ' ' ? 4 : 3));
            continue;
        }
        const auto colon = view.find(':');
        const KeyLayout* key =
            colon == std::string_view::npos ? nullptr : labelled(view.substr(0, colon));
        if (key != nullptr && key->slot == Slot::Date && !dates) {
            std::string_view rest = view.substr(colon + 1);
            dates = ReadDateRange(rest, false);
            if (dates) {
                continue;
            }
        } else if (key != nullptr && key->slot != Slot::Date && !values.count(key->key)) {
            std::string_view rest = view.substr(colon + 1);
            if (!rest.empty() && rest.front() == ' ') {
                rest.remove_prefix(1);
            }
            values[key->key] = Read(*key, rest);
            continue;
        }
        textLines.push_back(line);
    }

    if (!textKeys.empty()) {
        if (!textLines.empty()) {
            values[textKeys[0]->key] = EntryValue::Text(Joined(textLines, "\n"));
        }
    } else {
        for (std::string& line : textLines) {
            if (!Trimmed(line).empty()) {
                parsed.leftovers.push_back(std::move(line));
            }
        }
    }

    std::string_view title = text.title;
    if (!dateKeys.empty() && !dates && !title.empty() && title.back() == ')') {
        const auto open = title.rfind('(');
        if (open != std::string_view::npos) {
            const std::string_view inside = title.substr(open + 1, title.size() - open - 2);
            dates = ReadDateRange(inside, true);
            if (dates && dateKeys.size() == 1 && dates->start != dates->end) {
                dates.reset(); // a span where one date belongs
            }
            if (dates) {
                title = title.substr(0, open);
                if (!title.empty() && title.back() == ' ') {
                    title.remove_suffix(1);
                }
            }
        }
    }
    std::vector<const KeyLayout*> open;
    for (const KeyLayout* key : KeysIn(layout, Slot::Title)) {
        if (!values.count(key->key)) {
            open.push_back(key);
        }
    }
    if (!title.empty() && open.empty()) {
        parsed.leftovers.emplace_back(title);
    }
    // Each title key runs to the separator of the next one found; a key whose separator is
    // missing is skipped, so "Degree, School" still finds the school.
    for (std::size_t i = 0; i < open.size() && !title.empty();) {
        std::size_t next = open.size();
        std::size_t at = std::string_view::npos;
        for (std::size_t j = i + 1; j < open.size() && next == open.size(); ++j) {
            at = title.find(open[j]->separator);
            if (*open[j]->separator != '\0' && at != std::string_view::npos) {
                next = j;
            }
        }
        if (next == open.size()) {
            values[open[i]->key] = Read(*open[i], title);
            break;
        }
        values[open[i]->key] = Read(*open[i], title.substr(0, at));
        title.remove_prefix(at + std::string_view(open[next]->separator).size());
        i = next;
        if (title.empty()) {
            values[open[i]->key] = Read(*open[i], title);
        }
    }

    if (dates) {
        if (dateKeys.size() == 1) {
            if (dates->start) {
                values[dateKeys[0]->key] = EntryValue::Text(*dates->start);
            }
        } else {
            if (dates->start) {
                values[dateKeys[0]->key] = EntryValue::Text(*dates->start);
            }
            if (dates->end) {
                values[dateKeys[1]->key] = EntryValue::Text(*dates->end);
            }
        }
    }
    // The help text's exact dates stand for the shown ones as long as they agree to the month.
    for (const std::string& item : Split(text.exactDates, ", ")) {
        const auto space = item.find(' ');
        if (space == std::string::npos) {
            continue;
        }
        const std::string key = item.substr(0, space);
        const std::string exact = item.substr(space + 1);
        const auto shown = values.find(key);
        if (shown == values.end() || layout.Find(key) == nullptr ||
            layout.Find(key)->slot != Slot::Date) {
            continue;
        }
        const std::string& rounded = shown->second.text;
        if (exact == rounded ||
            (exact.size() > rounded.size() && exact.compare(0, rounded.size(), rounded) == 0 &&
             exact[rounded.size()] == '-')) {
            shown->second.text = exact;
        }
    }
    return parsed;
}

const std::vector<SectionLayout>& SectionLayouts() {
    static const std::vector<SectionLayout> kLayouts = {
        {"work",
         "Work Experience",
         {"work experience", "experience", "work", "employment", "employment history",
          "work history", "professional experience", "career", "career history", "jobs"},
         {{"position", Slot::Title, "Position"},
          {"name", Slot::Title, "Employer", ", "},
          {"startDate", Slot::Date, "Dates"},
          {"endDate", Slot::Date, "Dates"},
          {"location", Slot::Labelled, "Location"},
          {"description", Slot::Labelled, "Description"},
          {"url", Slot::Labelled, "Website"},
          {"summary", Slot::Text, nullptr},
          {"highlights", Slot::Bullets, "Highlights", "", true}}},
        {"volunteer",
         "Volunteering",
         {"volunteering", "volunteer", "volunteer work", "volunteer experience", "voluntary work"},
         {{"position", Slot::Title, "Position"},
          {"organization", Slot::Title, "Organisation", ", "},
          {"startDate", Slot::Date, "Dates"},
          {"endDate", Slot::Date, "Dates"},
          {"url", Slot::Labelled, "Website"},
          {"summary", Slot::Text, nullptr},
          {"highlights", Slot::Bullets, "Highlights", "", true}}},
        {"education",
         "Education",
         {"education", "studies", "academic background", "qualifications"},
         {{"studyType", Slot::Title, "Degree"},
          {"area", Slot::Title, "Field", " in "},
          {"institution", Slot::Title, "Institution", ", "},
          {"startDate", Slot::Date, "Dates"},
          {"endDate", Slot::Date, "Dates"},
          {"url", Slot::Labelled, "Website"},
          {"score", Slot::Labelled, "Score"},
          {"courses", Slot::Labelled, "Courses", "", true}}},
        {"awards",
         "Awards",
         {"awards", "honours", "honors", "awards and honours", "awards and honors", "prizes"},
         {{"title", Slot::Title, "Award"},
          {"awarder", Slot::Title, "Awarded by", ", "},
          {"date", Slot::Date, "Date"},
          {"summary", Slot::Text, nullptr}}},
        {"certificates",
         "Certificates",
         {"certificates", "certifications", "certification", "licences", "licenses",
          "licences and certifications", "licenses and certifications"},
         {{"name", Slot::Title, "Certificate"},
          {"issuer", Slot::Title, "Issuer", ", "},
          {"date", Slot::Date, "Date"},
          {"url", Slot::Labelled, "Link"}}},
        {"publications",
         "Publications",
         {"publications", "papers", "articles"},
         {{"name", Slot::Title, "Title"},
          {"publisher", Slot::Title, "Publisher", ", "},
          {"releaseDate", Slot::Date, "Date"},
          {"url", Slot::Labelled, "Link"},
          {"summary", Slot::Text, nullptr}}},
        {"skills",
         "Skills",
         {"skills", "technical skills", "key skills", "core skills", "competencies", "expertise"},
         {{"name", Slot::Title, "Skill"},
          {"level", Slot::Labelled, "Level"},
          {"keywords", Slot::Labelled, "Keywords", "", true}},
         "name",
         "keywords",
         "level"},
        {"languages",
         "Languages",
         {"languages", "language skills"},
         {{"language", Slot::Title, "Language"}, {"fluency", Slot::Labelled, "Fluency"}},
         "language",
         "fluency"},
        {"interests",
         "Interests",
         {"interests", "hobbies", "hobbies and interests"},
         {{"name", Slot::Title, "Interest"}, {"keywords", Slot::Labelled, "Keywords", "", true}},
         "name",
         "keywords"},
        {"references",
         "References",
         {"references", "referees", "recommendations"},
         {{"name", Slot::Title, "Name"}, {"reference", Slot::Text, nullptr}}},
        {"projects",
         "Projects",
         {"projects", "side projects", "personal projects", "selected projects"},
         {{"name", Slot::Title, "Project"},
          {"entity", Slot::Title, "Organisation", ", "},
          {"startDate", Slot::Date, "Dates"},
          {"endDate", Slot::Date, "Dates"},
          {"description", Slot::Text, nullptr},
          {"highlights", Slot::Bullets, "Highlights", "", true},
          {"keywords", Slot::Labelled, "Keywords", "", true},
          {"roles", Slot::Labelled, "Roles", "", true},
          {"type", Slot::Labelled, "Type"},
          {"url", Slot::Labelled, "Link"}}},
    };
    return kLayouts;
}

const SectionLayout* SectionLayoutOf(std::string_view key) {
    for (const SectionLayout& layout : SectionLayouts()) {
        if (key == layout.key) {
            return &layout;
        }
    }
    return nullptr;
}

const SectionLayout& ProfileLayout() {
    static const SectionLayout kProfile = {"profiles",
                                           "Profiles",
                                           {},
                                           {{"network", Slot::Title, "Network"},
                                            {"username", Slot::Labelled, "Username"},
                                            {"url", Slot::Labelled, "Link"}},
                                           "network",
                                           "username",
                                           "url"};
    return kProfile;
}

} // namespace trellic
