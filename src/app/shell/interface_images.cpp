#include "shell/interface_images.h"

#include "engine/engine_log.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QWidget>

namespace trellic {

namespace {

const char* const kUserInterfaceError =
    "**USER INTERFACE ERROR**\r\n"
    "ERROR: Trellic was unable to render GUI images.\r\n"
    "CAUSE: This problem usually occurs when the GUI images have been deleted or become "
    "corrupt.\r\n"
    "SOLUTION: Use Trellic's 'Automatic Software Repair' feature. You can find information on how "
    "to do this in the Trellic Documentation under 'Troubleshooting'.\r\n"
    "IMPACT: GUI images are not displayed. All other program operations remain unaffected.\r\n"
    "\r\n";

} // namespace

std::string InterfaceImagePath(const std::string& programFolder, const std::string& fileName) {
    return programFolder + "/media/" + fileName;
}

QImage LoadInterfaceImage(const std::string& programFolder, const std::string& fileName,
                          EngineLog& log, Prompter& prompter) {
    const std::string path = InterfaceImagePath(programFolder, fileName);
    QImageReader reader(QFile::decodeName(path.c_str()));
    QImage image = reader.read();
    if (image.isNull()) {
        ReportEngineError(log, prompter, kUserInterfaceError);
        return {};
    }
    log.AppendLog("MEM: Loaded image: " + path + "\r\n\r\n");
    return image;
}

QBrush BackgroundBrush(const QImage& image) {
    if (image.isNull()) {
        return QBrush(Qt::NoBrush);
    }
    return QBrush(image);
}

void PaintBackground(QWidget& widget, const QBrush& brush) {
    if (brush.style() == Qt::NoBrush) {
        return;
    }
    QPainter painter(&widget);
    painter.fillRect(widget.rect(), brush);
}

// The dialog font's average character is 6 by 13 pixels; one dialog unit is a quarter of its
// width and an eighth of its height.
int DialogUnitsX(int units) {
    return units * 6 / 4;
}

int DialogUnitsY(int units) {
    return units * 13 / 8;
}

} // namespace trellic
