#include "model/tlx_file.h"

#include "engine/prompter.h"
#include "model/serialize.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace trellic {

namespace {

constexpr std::size_t kEntryBytes = 8;

void IoEntry(Archive& ar, StackEntry& entry) {
    ar.Io(entry.index);
    ar.Io(entry.kind);
}

// Asks the processor to fetch a text that lies outside its record. In a large tree the texts
// lie scattered over the heap, and a writer that fetches those of the record a few places ahead
// finds them in the cache instead of waiting for memory at each one. The first lines are
// enough: the processor follows a sequential read by itself. These helpers are inlined by
// force: out of line, the compiler takes a function that only prefetches for one without
// effects and drops the calls.
[[gnu::always_inline]] inline void Prefetch(const std::string& text) {
    constexpr std::size_t kInPlace = 15; // what a string holds without the heap
    constexpr std::size_t kLine = 64;
    if (text.size() > kInPlace) {
        for (std::size_t i = 0; i < std::min<std::size_t>(text.size(), 4 * kLine); i += kLine) {
            __builtin_prefetch(text.data() + i);
        }
    }
}

[[gnu::always_inline]] inline void PrefetchTexts(const TextStyle& style) {
    Prefetch(style.charFormat.faceName);
}

[[gnu::always_inline]] inline void PrefetchTexts(const NodeInfo& info) {
    Prefetch(info.description);
    Prefetch(info.author);
    Prefetch(info.releaseDate);
}

[[gnu::always_inline]] inline void PrefetchTexts(const NodeHelp& help) {
    Prefetch(help.helpText);
    Prefetch(help.helpURL);
}

template <typename Record> [[gnu::always_inline]] inline void PrefetchTexts(const Record& record) {
    PrefetchTexts(record.info);
    PrefetchTexts(record.help);
    if constexpr (std::is_same_v<Record, HeaderNode>) {
        PrefetchTexts(record.style);
        Prefetch(record.header);
    } else if constexpr (std::is_same_v<Record, ResumeSectionNode>) {
        PrefetchTexts(record.style);
        Prefetch(record.title);
        Prefetch(record.data.text);
    } else if constexpr (std::is_same_v<Record, SLFieldNode>) {
        PrefetchTexts(record.style);
        Prefetch(record.fieldName);
        Prefetch(record.fieldData);
    } else if constexpr (std::is_same_v<Record, MLFieldNode>) {
        PrefetchTexts(record.style);
        Prefetch(record.fieldName);
        Prefetch(record.fieldData.text);
    } else if constexpr (std::is_same_v<Record, RTFOutputNode>) {
        PrefetchTexts(record.style);
        Prefetch(record.name);
        Prefetch(record.output.text);
    } else {
        Prefetch(record.name);
        Prefetch(record.output.text);
    }
}

template <typename Record> void StoreTable(Archive& ar, std::vector<Record>& table) {
    auto count = static_cast<int32_t>(table.size());
    ar.IoCount(count, 0);
    constexpr std::size_t kAhead = 8;
    const bool prefetch = !ar.IsMeasuring(); // counting reads no texts
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (prefetch && i + kAhead < table.size()) {
            PrefetchTexts(table[i + kAhead]);
        }
        Serialize(ar, table[i]);
    }
}

// False when the table claims more records than any resume has.
template <typename Record> bool LoadTable(Archive& ar, std::vector<Record>& table) {
    int32_t count = 0;
    ar.IoCount(count, MinEncodedSize<Record>());
    if (count > kMaxTlxEntries) {
        return false;
    }
    if (ar.Failed() || count <= 0) {
        return true;
    }
    // The count has been checked against the bytes that remain, so reserving is bounded.
    table.reserve(table.size() + static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        Serialize(ar, table.emplace_back());
        if (ar.Failed()) {
            table.pop_back(); // only whole records join the table
            return true;
        }
    }
    return true;
}

// The tables in the order the file holds them, which is not the tree's.
template <typename Fn> void ForEachTableInFileOrder(NodeTree& tree, Fn&& fn) {
    fn(tree.resumeSections);
    fn(tree.headers);
    fn(tree.mlFields);
    fn(tree.slFields);
    fn(tree.txtOutputs);
    fn(tree.rtfOutputs);
}

} // namespace

void WriteTLX(const NodeTree& constTree, Archive& ar) {
    // The serialisers share one routine for both directions; a storing archive only reads.
    auto& tree = const_cast<NodeTree&>(constTree);
    std::string magic = kTlxMagic;
    ar.IoText(magic);
    ar.Io(tree.renderer);

    // The resume's own entry is implied as the first; the count still includes it.
    auto activeCount = static_cast<int32_t>(tree.activeStack.empty() ? 1 : tree.activeStack.size());
    ar.Io(activeCount);
    for (std::size_t i = 1; i < tree.activeStack.size(); ++i) {
        IoEntry(ar, tree.activeStack[i]);
    }
    auto inactiveCount = static_cast<int32_t>(tree.inactiveStack.size());
    ar.Io(inactiveCount);
    for (auto& entry : tree.inactiveStack) {
        IoEntry(ar, entry);
    }

    ResumeNode emptyResume;
    SerializeResume(ar, tree.resume ? *tree.resume : emptyResume);
    ForEachTableInFileOrder(tree, [&](auto& table) { StoreTable(ar, table); });
}

std::string WriteTLX(const NodeTree& tree) {
    // Measuring first costs one walk of the tree and saves copying a growing buffer.
    Archive measure = Archive::ForMeasuring();
    WriteTLX(tree, measure);
    Archive ar = Archive::ForStoring();
    ar.Reserve(measure.StoredSize());
    WriteTLX(tree, ar);
    return ar.TakeStored();
}

namespace {

TlxReadStatus ReadTLXRecords(Archive& ar, NodeTree& tree, Prompter& prompter) {
    std::string magic;
    ar.IoText(magic);
    if (ar.Failed()) {
        return TlxReadStatus::UnexpectedEnd;
    }
    if (magic != kTlxMagic) {
        prompter.ShowMessage(kInvalidTlxMessage, MessageIcon::Warning);
        return TlxReadStatus::InvalidMagic;
    }

    ar.Io(tree.renderer);

    int32_t activeCount = 0;
    ar.Io(activeCount);
    // The count includes the resume entry, which is not stored.
    const int32_t storedActive = activeCount > 1 ? activeCount - 1 : 0;
    if (storedActive >= kMaxTlxEntries) {
        return TlxReadStatus::UnexpectedEnd;
    }
    ar.RequireRoom(storedActive, kEntryBytes);
    if (!ar.Failed()) {
        tree.activeStack.reserve(tree.activeStack.size() + static_cast<std::size_t>(storedActive));
    }
    for (int32_t i = 0; i < storedActive && !ar.Failed(); ++i) {
        StackEntry entry;
        IoEntry(ar, entry);
        if (!ar.Failed()) {
            tree.activeStack.push_back(entry);
        }
    }

    int32_t inactiveCount = 0;
    ar.IoCount(inactiveCount, kEntryBytes);
    if (inactiveCount > kMaxTlxEntries) {
        return TlxReadStatus::UnexpectedEnd;
    }
    for (int32_t i = 0; i < inactiveCount && !ar.Failed(); ++i) {
        StackEntry entry;
        IoEntry(ar, entry);
        if (!ar.Failed()) {
            tree.inactiveStack.push_back(entry);
        }
    }

    if (!tree.resume) {
        tree.resume = std::make_unique<ResumeNode>();
    }
    SerializeResume(ar, *tree.resume);
    bool withinLimits = true;
    ForEachTableInFileOrder(
        tree, [&](auto& table) { withinLimits = withinLimits && LoadTable(ar, table); });

    if (!withinLimits || ar.Failed()) {
        return TlxReadStatus::UnexpectedEnd;
    }
    return TlxReadStatus::Loaded;
}

} // namespace

TlxReadStatus ReadTLX(Archive& ar, NodeTree& tree, Prompter& prompter) {
    try {
        return ReadTLXRecords(ar, tree, prompter);
    } catch (const std::bad_alloc&) {
        // Every count and length was checked against the file, so only a file near the size
        // of memory gets here; it is refused like any other that cannot be read whole.
        return TlxReadStatus::UnexpectedEnd;
    } catch (const std::length_error&) {
        return TlxReadStatus::UnexpectedEnd;
    }
}

} // namespace trellic
