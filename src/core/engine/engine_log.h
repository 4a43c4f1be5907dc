#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace trellic {

class Prompter;

// The engine's running record of what it does: commands, loads, saves and errors. The text is
// UTF-8 with CR LF line ends, exactly as it is shown; paths in it are the file system's bytes.
class EngineLog {
public:
    // Once the log holds more lines than this, the next append starts it afresh.
    static constexpr int kMaxLines = 100;

    // A new log holds the banner.
    EngineLog();

    // Appends an entry as it stands; entries bring their own trailing "\r\n\r\n".
    void AppendLog(std::string entry);
    void Clear();
    const std::string& Text() const { return m_text; }
    // Lines as a multi-line edit box counts them: CR LF breaks plus one; an empty log is 1.
    int LineCount() const;

    // Called after every change of the text, so a window showing it can refresh.
    void SetChangedHandler(std::function<void()> handler) { m_changed = std::move(handler); }

    // The program's name and version, the notice and the build's date and time, as the log starts.
    static std::string Banner();

private:
    void Changed() const;

    std::string m_text;
    std::function<void()> m_changed;
};

// Reports an error that has an error block: appends the block, shows the exclamation box
// pointing at the engine window, then asks for the engine window to be shown.
void ReportEngineError(EngineLog& log, Prompter& prompter, std::string_view errorBlock);

// Asks for a file and writes the log to it as a plain-text file (Windows-1252 when every
// character fits, otherwise UTF-8 behind a byte order mark). Returns false when the user cancels or
// the file cannot be written; neither is reported, and the log is unchanged either way.
bool SaveEngineLog(const EngineLog& log, Prompter& prompter);

// Builds an error block: the area header, the four labelled lines and the closing blank line.
std::string ErrorBlock(std::string_view area, std::string_view error, std::string_view cause,
                       std::string_view solution, std::string_view impact);

} // namespace trellic
