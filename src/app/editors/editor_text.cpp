#include "editors/editor_text.h"

#include "editors/editor_context.h"
#include "render/render_driver.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace trellic {

void RenderNow(EditorContext& context) {
    RenderResume(context.tree, context.view);
}

QString FromEngineText(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

std::string ToEngineText(const QString& text) {
    return text.toStdString();
}

QString FromNodeText(const std::string& utf8) {
    QString text = FromEngineText(utf8);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

std::string ToNodeText(const QString& text) {
    QString lines = text;
    // A pasted text may bring its own CR LF pairs; they must not double their carriage returns.
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return ToEngineText(lines);
}

QString VersionText(float version) {
    // QString::number always writes a point, never the user's decimal comma.
    return QString::number(static_cast<double>(version), 'f', 2);
}

float ReadVersion(const QString& text) {
    // The C library's reader is not used because it follows the user's locale.
    const std::string bytes = text.toStdString();
    const char* first = bytes.data();
    const char* last = first + bytes.size();
    while (first != last && (*first == ' ' || (*first >= '\t' && *first <= '\r'))) {
        ++first;
    }
    if (first != last && *first == '+' && first + 1 != last && first[1] != '-') {
        ++first;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || !std::isfinite(value)) {
        return 0.0F;
    }
    const double rounded = QString::number(value, 'f', 2).toDouble();
    if (std::fabs(rounded) > std::numeric_limits<float>::max()) {
        return 0.0F;
    }
    return static_cast<float>(rounded);
}

const char* RenderCapabilitiesText(int32_t capabilities) {
    static constexpr const char* kTexts[] = {
        "No Rendering",
        "Rich Text File (RTF) Rendering",
        "Text File (TXT) Rendering",
        "Rich Text File (RTF) and Text File (TXT) Rendering",
    };
    return capabilities >= 0 && capabilities <= kEveryRendering ? kTexts[capabilities] : nullptr;
}

} // namespace trellic
