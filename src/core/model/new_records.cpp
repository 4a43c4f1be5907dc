#include "model/new_records.h"

namespace trellic {

namespace {

NodeInfo NewNodeInfo() {
    NodeInfo info;
    info.version = 1.0F;
    info.renderCapabilities = kEveryRendering;
    return info;
}

// An output's own paragraph starts plainly left aligned rather than with the record's
// "no alignment".
ParaFormat LeftAligned() {
    ParaFormat format;
    format.alignment = kAlignLeft;
    return format;
}

const StyleNode& ResumeStyle(const NodeTables& tables) {
    static const StyleNode kNoStyle;
    return tables.resume ? tables.resume->style : kNoStyle;
}

} // namespace

HeaderNode NewHeaderRecord(const NodeTables& tables) {
    HeaderNode record;
    record.info = NewNodeInfo();
    record.inheritStyle = true;
    record.style = ResumeStyle(tables).headerStyle;
    record.underline = ResumeStyle(tables).headerUnderline;
    return record;
}

ResumeSectionNode NewResumeSectionRecord(const NodeTables& tables) {
    ResumeSectionNode record;
    record.info = NewNodeInfo();
    record.inheritStyle = true;
    record.style = ResumeStyle(tables).sectionStyle;
    record.bullet = ResumeStyle(tables).sectionBullet;
    return record;
}

SLFieldNode NewSLFieldRecord(const NodeTables& tables) {
    SLFieldNode record;
    record.info = NewNodeInfo();
    record.inheritStyle = true;
    record.style = ResumeStyle(tables).slFieldStyle;
    record.bullet = ResumeStyle(tables).slFieldBullet;
    return record;
}

MLFieldNode NewMLFieldRecord(const NodeTables& tables) {
    MLFieldNode record;
    record.info = NewNodeInfo();
    record.inheritStyle = true;
    record.style = ResumeStyle(tables).mlFieldStyle;
    record.bullet = ResumeStyle(tables).mlFieldBullet;
    return record;
}

RTFOutputNode NewRTFOutputRecord(const NodeTables& tables) {
    RTFOutputNode record;
    record.info = NewNodeInfo();
    record.useFormatting = true;
    if (tables.resume) {
        record.style.charFormat = tables.resume->defaultCharFormat;
    }
    record.style.paraFormat = LeftAligned();
    return record;
}

TXTOutputNode NewTXTOutputRecord(const NodeTables&) {
    TXTOutputNode record;
    record.info = NewNodeInfo();
    record.useFormatting = true;
    record.paraFormat = LeftAligned();
    return record;
}

} // namespace trellic
