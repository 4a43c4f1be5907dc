#pragma once

#include <QBrush>
#include <QImage>
#include <string>

class QWidget;

namespace trellic {

class EngineLog;
class Prompter;

// Reads a picture from the media folder beside the program and records the load in the log. A
// picture that cannot be read is reported as a user-interface error and comes back null; the
// window that asked for it carries on with its plain background.
QImage LoadInterfaceImage(const std::string& programFolder, const std::string& fileName,
                          EngineLog& log, Prompter& prompter);

// The full path of a media file: programFolder/media/fileName.
std::string InterfaceImagePath(const std::string& programFolder, const std::string& fileName);

// The background brush made from a picture: the picture tiled from the window's corner, or no
// brush at all for a null picture.
QBrush BackgroundBrush(const QImage& image);

// Fills the widget with its background brush; with no brush the style's own background stays.
void PaintBackground(QWidget& widget, const QBrush& brush);

// Dialog units of the windows' 8-point dialog font, in pixels at the usual 96 dots per inch.
int DialogUnitsX(int units);
int DialogUnitsY(int units);

} // namespace trellic
