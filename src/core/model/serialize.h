#pragma once

#include "model/archive.h"
#include "model/node_records.h"

#include <cstddef>

namespace trellic {

// One routine per record: it reads the record from a loading archive or writes it to a storing
// one, field by field in the file's order. A storing archive never changes the record.

void SerializeCharFormat(Archive& ar, CharFormat& format);
void SerializeParaFormat(Archive& ar, ParaFormat& format);
// A character format followed by its paragraph format, as every style is stored.
void SerializeTextStyle(Archive& ar, TextStyle& style);
void SerializeNodeInfo(Archive& ar, NodeInfo& info);
void SerializeNodeHelp(Archive& ar, NodeHelp& help);
void SerializeNodeText(Archive& ar, NodeText& text);
void SerializeFlag(Archive& ar, bool& flag);
void SerializeValue(Archive& ar, int32_t& value);
void SerializeStyle(Archive& ar, StyleNode& style);
void SerializeResume(Archive& ar, ResumeNode& resume);
void SerializeHeader(Archive& ar, HeaderNode& header);
void SerializeResumeSection(Archive& ar, ResumeSectionNode& section);
void SerializeSLField(Archive& ar, SLFieldNode& field);
void SerializeMLField(Archive& ar, MLFieldNode& field);
void SerializeRTFOutput(Archive& ar, RTFOutputNode& output);
void SerializeTXTOutput(Archive& ar, TXTOutputNode& output);

// Overloads by record type, for code that walks the tables generically.
inline void Serialize(Archive& ar, HeaderNode& r) {
    SerializeHeader(ar, r);
}
inline void Serialize(Archive& ar, ResumeSectionNode& r) {
    SerializeResumeSection(ar, r);
}
inline void Serialize(Archive& ar, SLFieldNode& r) {
    SerializeSLField(ar, r);
}
inline void Serialize(Archive& ar, MLFieldNode& r) {
    SerializeMLField(ar, r);
}
inline void Serialize(Archive& ar, RTFOutputNode& r) {
    SerializeRTFOutput(ar, r);
}
inline void Serialize(Archive& ar, TXTOutputNode& r) {
    SerializeTXTOutput(ar, r);
}

// The fewest bytes a record of the type can take (every text empty): what a loading archive
// demands per record before it trusts a count.
template <typename Record> std::size_t MinEncodedSize() {
    static const std::size_t size = [] {
        Record fresh{};
        Archive ar = Archive::ForStoring();
        Serialize(ar, fresh);
        return ar.Stored().size();
    }();
    return size;
}

} // namespace trellic
