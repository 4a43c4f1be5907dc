#pragma once

#include "model/node_tree.h"
#include "presets/node_presets.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace trellic::tool {

using Json = nlohmann::ordered_json;

// JSON keys are the record field names; texts are UTF-8, as the records hold them (any character);
// floats print so that they read back to the same float32, and a non-finite float is kept as
// its bit pattern, "0x7FC00000".

// The settings one preset file carries, whatever its category.
struct PresetContent {
    PresetCategory category = PresetCategory::Resume;
    ResumeNode resume;
    StyleNode style;
    bool underline = false;
    int32_t bullet = 0;
    TextStyle textStyle;
    ParaFormat paraFormat;

    PresetParts Parts();
};

Json TreeToJson(const NodeTree& tree);
Json PresetToJson(PresetContent& preset);

// What a JSON source describes: a .tlx tree or a .nod preset.
struct JsonSource {
    bool isPreset = false;
    NodeTree tree{std::string()};
    PresetContent preset;
};

// Reads a JSON document made by TreeToJson or PresetToJson (or written by hand the same way:
// omitted fields keep a fresh record's values). On failure returns nothing and sets error to
// a message naming the offending key.
std::optional<JsonSource> SourceFromJson(const std::string& text, std::string& error);

// The bytes of the file a source describes.
std::string EncodeSource(JsonSource& source);

} // namespace trellic::tool
