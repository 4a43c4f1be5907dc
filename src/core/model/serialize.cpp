#include "model/serialize.h"

namespace trellic {

void SerializeCharFormat(Archive& ar, CharFormat& f) {
    ar.Io(f.bold);
    ar.Io(f.italic);
    ar.Io(f.strikeout);
    ar.Io(f.charSet);
    ar.Io(f.pitchAndFamily);
    ar.Io(f.underline);
    ar.Io(f.color);
    ar.Io(f.height);
    ar.IoText(f.faceName);
}

void SerializeParaFormat(Archive& ar, ParaFormat& f) {
    ar.Io(f.lineSpacing);
    ar.Io(f.indent);
    ar.Io(f.alignment);
    ar.Io(f.numbering);
}

void SerializeTextStyle(Archive& ar, TextStyle& style) {
    SerializeCharFormat(ar, style.charFormat);
    SerializeParaFormat(ar, style.paraFormat);
}

void SerializeNodeInfo(Archive& ar, NodeInfo& info) {
    ar.Io(info.version);
    ar.Io(info.renderCapabilities);
    ar.IoText(info.author);
    ar.IoText(info.description);
    ar.IoText(info.releaseDate);
}

void SerializeNodeHelp(Archive& ar, NodeHelp& help) {
    ar.IoText(help.helpText);
    ar.IoText(help.helpURL);
}

void SerializeNodeText(Archive& ar, NodeText& text) {
    ar.Io(text.spacing);
    ar.IoText(text.text);
}

void SerializeFlag(Archive& ar, bool& flag) {
    ar.Io(flag);
}

void SerializeValue(Archive& ar, int32_t& value) {
    ar.Io(value);
}

void SerializeStyle(Archive& ar, StyleNode& s) {
    // The styles are stored in an order of their own, not the record's.
    SerializeNodeInfo(ar, s.info);
    SerializeTextStyle(ar, s.headerStyle);
    SerializeTextStyle(ar, s.mlFieldStyle);
    ar.Io(s.mlFieldBullet);
    SerializeTextStyle(ar, s.sectionStyle);
    SerializeTextStyle(ar, s.slFieldStyle);
    ar.Io(s.slFieldBullet);
    ar.Io(s.headerUnderline);
    ar.Io(s.sectionBullet);
}

void SerializeResume(Archive& ar, ResumeNode& r) {
    SerializeCharFormat(ar, r.defaultCharFormat);
    ar.Io(r.renderer);
    SerializeStyle(ar, r.style);
    ar.IoText(r.description);
    ar.IoText(r.name);
}

void SerializeHeader(Archive& ar, HeaderNode& h) {
    ar.Io(h.inheritStyle);
    SerializeNodeInfo(ar, h.info);
    SerializeTextStyle(ar, h.style);
    SerializeNodeHelp(ar, h.help);
    ar.Io(h.underline);
    ar.IoText(h.header);
}

void SerializeResumeSection(Archive& ar, ResumeSectionNode& s) {
    ar.Io(s.inheritStyle);
    SerializeNodeInfo(ar, s.info);
    SerializeTextStyle(ar, s.style);
    SerializeNodeHelp(ar, s.help);
    SerializeNodeText(ar, s.data);
    ar.Io(s.bullet);
    ar.IoText(s.title);
}

void SerializeSLField(Archive& ar, SLFieldNode& f) {
    ar.Io(f.inheritStyle);
    SerializeNodeInfo(ar, f.info);
    SerializeTextStyle(ar, f.style);
    SerializeNodeHelp(ar, f.help);
    ar.Io(f.bullet);
    ar.IoText(f.fieldData);
    ar.IoText(f.fieldName);
}

void SerializeMLField(Archive& ar, MLFieldNode& f) {
    ar.Io(f.inheritStyle);
    SerializeNodeInfo(ar, f.info);
    SerializeNodeText(ar, f.fieldData);
    SerializeTextStyle(ar, f.style);
    SerializeNodeHelp(ar, f.help);
    ar.Io(f.bullet);
    ar.IoText(f.fieldName);
}

void SerializeRTFOutput(Archive& ar, RTFOutputNode& o) {
    ar.Io(o.useFormatting);
    SerializeNodeInfo(ar, o.info);
    SerializeTextStyle(ar, o.style);
    SerializeNodeHelp(ar, o.help);
    SerializeNodeText(ar, o.output);
    ar.IoText(o.name);
}

void SerializeTXTOutput(Archive& ar, TXTOutputNode& o) {
    ar.Io(o.useFormatting);
    SerializeNodeInfo(ar, o.info);
    SerializeNodeHelp(ar, o.help);
    SerializeNodeText(ar, o.output);
    SerializeParaFormat(ar, o.paraFormat);
    ar.IoText(o.name);
}

} // namespace trellic
