#pragma once

#include "model/node_tree.h"

namespace trellic {

// The record a new node starts from, as the node dialogs offer it: version 1.00 for every
// rendering; a header, section or field inherits the resume's style, and its own style starts
// as a copy of that style, so that turning Inherit Style off changes nothing until the user
// changes the style; an output uses formatting and is left aligned, a rich text output in the
// resume's default character format.
HeaderNode NewHeaderRecord(const NodeTables& tables);
ResumeSectionNode NewResumeSectionRecord(const NodeTables& tables);
SLFieldNode NewSLFieldRecord(const NodeTables& tables);
MLFieldNode NewMLFieldRecord(const NodeTables& tables);
RTFOutputNode NewRTFOutputRecord(const NodeTables& tables);
TXTOutputNode NewTXTOutputRecord(const NodeTables& tables);

// The same, chosen by record type.
template <typename Record> Record NewRecord(const NodeTables& tables);
template <> inline HeaderNode NewRecord<HeaderNode>(const NodeTables& tables) {
    return NewHeaderRecord(tables);
}
template <> inline ResumeSectionNode NewRecord<ResumeSectionNode>(const NodeTables& tables) {
    return NewResumeSectionRecord(tables);
}
template <> inline SLFieldNode NewRecord<SLFieldNode>(const NodeTables& tables) {
    return NewSLFieldRecord(tables);
}
template <> inline MLFieldNode NewRecord<MLFieldNode>(const NodeTables& tables) {
    return NewMLFieldRecord(tables);
}
template <> inline RTFOutputNode NewRecord<RTFOutputNode>(const NodeTables& tables) {
    return NewRTFOutputRecord(tables);
}
template <> inline TXTOutputNode NewRecord<TXTOutputNode>(const NodeTables& tables) {
    return NewTXTOutputRecord(tables);
}

} // namespace trellic
