#include "editors/editor_text.h"

#include "editors/editor_context.h"
#include "engine/code_page.h"
#include "render/render_driver.h"

namespace trellic {

void RenderNow(EditorContext& context) {
    RenderResume(context.tree, context.view);
}

QString FromEngineText(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

std::string ToEngineText(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

QString FromNodeText(const std::string& cp1252) {
    QString text = FromEngineText(cp1252);
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

} // namespace trellic
