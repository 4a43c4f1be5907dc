#pragma once

#include "engine/prompter.h"
#include "model/node_tree.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trellic {

class ResumeView;

// What a file of a format holds, and so what the program reads it into or writes it from.
enum class FormatHolds {
    NodeTree,  // the resume's nodes
    RichText,  // the view's text with its formats
    PlainText, // the view's text alone
};

// How the program uses a format.
enum class FormatRole {
    // The resume itself: File > Open, Save and Save As. What the file holds decides the data
    // source the resume is in.
    Resume,
    // Another program's file: File > Import and File > Export, and tlxtool's convert. The
    // resume stays what it is.
    Exchange,
};

// The data source a resume opens in from a file holding this, and what a resume file of a data
// source holds (any code but the nodes and rich text is plain text).
DataSource DataSourceFor(FormatHolds holds);
FormatHolds HoldsFor(DataSource dataSource);

// A format as the program presents it.
struct FormatInfo {
    std::string id;                      // names it to the program: "Tlx", "Pdf", "PdfA"
    std::string name;                    // how the engine log names its files: "TLX", "PDF"
    std::string title;                   // how menus name it: "PDF/A-1b (archival)"
    std::string filterName;              // how file dialogs name its files: "Trellic Files"
    std::vector<std::string> extensions; // lower case, without the dot; the first is written
    FormatHolds holds = FormatHolds::PlainText;
    FormatRole role = FormatRole::Resume;
    bool reads = false;
    bool writes = false;
    // Where the title alone does not say it well: File > Import's and Export's item for it
    // ("Word Document (.docx)"), the status bar's text for its Export item, and how messages
    // name one of its files ("Word document"). Empty: made from the title or the name.
    std::string menuTitle{};
    std::string exportTip{};
    std::string fileKind{};

    std::string MenuTitle() const { return menuTitle.empty() ? title : menuTitle; }
    // "PDF file" unless the format says otherwise.
    std::string FileKind() const { return fileKind.empty() ? name + " file" : fileKind; }
};

// How reading or writing a file went; a failure carries what the user is told, and how.
struct [[nodiscard]] FormatResult {
    bool ok = true;
    std::string message;
    MessageIcon icon = MessageIcon::Exclamation;

    static FormatResult Success() { return {}; }
    static FormatResult Failure(std::string message, MessageIcon icon = MessageIcon::Exclamation) {
        return {false, std::move(message), icon};
    }
};

// What a file is read into. Nothing of the open resume is touched, so a file that fails leaves
// it as it was.
struct FormatReading {
    std::string path; // the file, for messages
    // Formats that hold nodes fill this tree, which ResetNodeTree has just emptied.
    NodeTree* tree = nullptr;
    // Formats that hold the view's text leave it here as the view takes it in: RTF for
    // ResumeView::ImportRtf, UTF-8 for ImportText. The view decides which character
    // format plain text comes in with.
    std::string viewText;
    // What the format has to tell the engine log about the file once it is adopted; empty for
    // nothing.
    std::string logEntry;
};

// What a format writes: the open resume.
struct FormatSource {
    const NodeTree& tree;   // its nodes and settings; exports take their title and author here
    const ResumeView& view; // the text the view shows
};

// One file format: what its files hold, how they are named, how they are read and written.
// Each format is one class in a file of its own; the programs list the formats they offer in a
// FormatRegistry.
class FileFormat {
public:
    explicit FileFormat(FormatInfo info) : m_info(std::move(info)) {}
    virtual ~FileFormat() = default;
    FileFormat(const FileFormat&) = delete;
    FileFormat& operator=(const FileFormat&) = delete;

    const FormatInfo& Info() const { return m_info; }
    // The file dialogs' entry for it: "Trellic Files (*.tlx)|*.tlx".
    std::string DialogFilterEntry() const;

    // Reads a file's bytes into `into`. A format that does not read says so.
    virtual FormatResult Read(std::string_view bytes, FormatReading& into) const;
    // Writes the resume as a file's bytes. A format that does not write says so.
    virtual FormatResult Write(const FormatSource& from, std::string& bytes) const;

private:
    FormatInfo m_info;
};

} // namespace trellic
