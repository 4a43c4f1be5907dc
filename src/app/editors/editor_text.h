#pragma once

#include <QString>
#include <string>

namespace trellic {

// Record texts are Windows-1252; the controls show Unicode. Characters the code page cannot
// hold become '?' on the way back.
QString FromEngineText(const std::string& cp1252);
std::string ToEngineText(const QString& text);

// Node texts hold CR LF between their lines, edit controls a bare line feed.
QString FromNodeText(const std::string& cp1252);
std::string ToNodeText(const QString& text);

} // namespace trellic
