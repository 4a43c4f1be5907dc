#pragma once

#include "model/node_records.h"

#include <QString>
#include <cstdint>
#include <string>

namespace trellic {

// Engine texts (records, the log, messages, dialog filters) are UTF-8, as the controls' strings
// are on the way in and out. Every window of the program converts through these.
QString FromEngineText(const std::string& utf8);
std::string ToEngineText(const QString& text);

// Node texts hold CR LF between their lines, edit controls a bare line feed.
QString FromNodeText(const std::string& utf8);
std::string ToNodeText(const QString& text);

// Component information: the version as shown ("%.2f", whatever the locale), and a typed
// version read as a number from its start (leading blanks and a plus sign skipped; text that is
// no number, or a number the record cannot hold, reads as 0), rounded to the two decimals it is
// shown with.
QString VersionText(float version);
float ReadVersion(const QString& text);

// The text of a render capabilities value (0 to kEveryRendering); null for any other value.
const char* RenderCapabilitiesText(int32_t capabilities);

} // namespace trellic
