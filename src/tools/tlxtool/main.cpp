// tlxtool: the command-line face of the Trellic core.

#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "engine/prompter.h"
#include "engine/version.h"
#include "exchange/json_resume.h"
#include "formats/format_registry.h"
#include "model/tlx_file.h"
#include "pdf_output.h"
#include "render/resume_view.h"
#include "tlx_check.h"
#include "tlx_json.h"

#if TLXTOOL_FULL
#include "ats_check.h"
#include "spelling_check.h"
#else
#include <cerrno>
#include <climits>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <string>
#include <vector>

using namespace trellic;
using namespace trellic::tool;

namespace {

constexpr const char* kUsage =
    "Usage: tlxtool COMMAND ...\n"
    "\n"
    "Commands:\n"
    "  dump FILE [--category NAME]  print a .tlx file, or a .nod preset of the named category,\n"
    "                               as JSON on standard output\n"
    "  build FILE.json OUT          write the .tlx or .nod file that a JSON document describes\n"
    "  check FILE.tlx               list what the format does not check; exits 2 when the\n"
    "                               file would misbehave\n"
    "  check --ats FILE.pdf         read a PDF back as an applicant-tracking system does and\n"
    "                               report what it finds; exits 1 when something blocks it\n"
    "  check --spelling FILE        list the misspelt words of a .tlx, .rtf or .txt resume\n"
    "                               with the node or paragraph that holds each; exits 1 when\n"
    "                               it finds any\n"
    "  convert INPUT OUTPUT         open a .tlx, .rtf or .txt resume (or import a JSON\n"
    "                               Resume .json) and save it as OUTPUT, as File > Open then\n"
    "                               File > Save As would; the output's extension picks its\n"
    "                               format (.rtf, .txt, .tlx, .pdf for the pages Print would\n"
    "                               print, .docx and .odt for word processors, or .json for\n"
    "                               a JSON Resume of the nodes)\n"
    "  import FILE.json OUT.tlx     build a resume from a JSON Resume in a shipped template's\n"
    "                               styles; what the resume cannot show is kept in inactive\n"
    "                               nodes\n"
    "  export FILE.tlx OUT.json     write a resume's nodes as a JSON Resume; what has no place\n"
    "                               in its schema goes into \"meta\"\n"
    "\n"
    "Options:\n"
    "  --renderer rtf|txt   convert: switch the renderer before saving\n"
    "  --log                convert, import, export: print the engine log to standard\n"
    "                       error afterwards\n"
    "  --template NAME      import: the template whose styles the resume takes (default:\n"
    "                       chronological; the names are those in templates/)\n"
    "  --paper a4|letter    convert to PDF, RTF, DOCX or ODT: the paper (default: the\n"
    "                       locale's)\n"
    "  --pdfa               convert to PDF: write PDF/A-1b\n"
    "  --lang LANGUAGE      check --spelling: the dictionary (en_US, en_GB, ...; default:\n"
    "                       the locale's)\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "\n"
    "Categories: resume, style, header_styles, resume_section_styles, sl_field_styles,\n"
    "            ml_field_styles, paragraph_format. Without --category, a .nod file in a\n"
    "            folder of that name is read as that category.\n";

#if !TLXTOOL_FULL
// PDF (Qt), the ATS check (poppler), spelling (nuspell and ICU) and the word processors' files
// (libzip) need libraries that take longer to load than the other commands take to run. Those
// commands are run by tlxtool-full, the whole tool, installed beside this one; it takes the
// same arguments and answers with the same messages and exit status.
int RunFullTool(char** argv) {
    std::string self(PATH_MAX, '\0');
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size());
    self.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    const auto slash = self.find_last_of('/');
    const std::string full =
        (slash == std::string::npos ? std::string(".") : self.substr(0, slash)) + "/tlxtool-full";
    std::fflush(nullptr);
    execv(full.c_str(), argv);
    std::fprintf(stderr, "tlxtool: cannot start %s: %s\n", full.c_str(), std::strerror(errno));
    return 1;
}
#endif

int Fail(const std::string& file, const std::string& problem) {
    std::fprintf(stderr, "tlxtool: %s: %s\n", file.c_str(), problem.c_str());
    return 1;
}

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "tlxtool: %s\n\n%s", problem.c_str(), kUsage);
    return 1;
}

bool Load(const std::string& path, std::string& bytes, int& status) {
    const auto result = ReadWholeFile(path, bytes);
    if (!result.ok) {
        status = Fail(path, result.reason);
    }
    return result.ok;
}

bool Readable(const std::string& path, int& status) {
    std::string bytes;
    return Load(path, bytes, status);
}

// Notes the invalid-file warning instead of showing it, so the tool can word its own error.
class RecordingPrompter : public SilentPrompter {
public:
    void ShowMessage(const std::string& text, MessageIcon) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

struct LoadedTree {
    NodeTree tree{std::string()};
    int32_t storedActiveCount = 0;
    std::size_t trailingBytes = 0;
};

bool ReadTree(const std::string& path, LoadedTree& loaded, int& status) {
    std::string bytes;
    if (!Load(path, bytes, status)) {
        return false;
    }
    ResetNodeTree(loaded.tree, {});
    RecordingPrompter prompter;
    Archive ar = Archive::ForLoading(bytes);
    switch (ReadTLX(ar, loaded.tree, prompter)) {
    case TlxReadStatus::InvalidMagic:
        status = Fail(path, "not a TLX file (it does not begin with \"TLX4QV\")");
        return false;
    case TlxReadStatus::UnexpectedEnd:
        status = Fail(path, "unexpected file format: the file ends inside a record, a count or "
                            "length claims more than the file holds, or a stack or table holds "
                            "more than " +
                                std::to_string(kMaxTlxEntries) + " entries");
        return false;
    case TlxReadStatus::Loaded:
        break;
    }
    loaded.trailingBytes = ar.Remaining();
    // The active count follows the magic and the renderer.
    std::memcpy(&loaded.storedActiveCount, bytes.data() + 11, sizeof(int32_t));
    return true;
}

std::string ParentFolderName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos || slash == 0) {
        return {};
    }
    const auto before = path.find_last_of('/', slash - 1);
    return path.substr(before == std::string::npos ? 0 : before + 1,
                       slash - (before == std::string::npos ? 0 : before + 1));
}

int Dump(const std::string& path, const std::string& categoryName) {
    int status = 0;
    std::string name = categoryName;
    const bool isPreset =
        !name.empty() || (path.size() > 4 && path.substr(path.size() - 4) == ".nod");
    if (isPreset && name.empty()) {
        name = ParentFolderName(path);
    }
    if (!isPreset) {
        LoadedTree loaded;
        if (!ReadTree(path, loaded, status)) {
            return status;
        }
        if (loaded.trailingBytes > 0) {
            std::fprintf(stderr, "tlxtool: %s: %zu bytes after the last record are ignored\n",
                         path.c_str(), loaded.trailingBytes);
        }
        std::cout << TreeToJson(loaded.tree).dump(2) << '\n';
        return 0;
    }

    PresetContent preset;
    if (!PresetCategoryFromName(name, preset.category)) {
        return Fail(path, name.empty() ? "a preset needs --category NAME"
                                       : "\"" + name + "\" is not a preset category");
    }
    std::string bytes;
    if (!Load(path, bytes, status)) {
        return status;
    }
    Archive ar = Archive::ForLoading(bytes);
    SerializePreset(ar, preset.Parts());
    if (ar.Failed()) {
        return Fail(path, std::string("shorter than a \"") + PresetFolderName(preset.category) +
                              "\" preset");
    }
    if (ar.Remaining() > 0) {
        std::fprintf(stderr, "tlxtool: %s: %zu bytes after the last record are ignored\n",
                     path.c_str(), ar.Remaining());
    }
    std::cout << PresetToJson(preset).dump(2) << '\n';
    return 0;
}

int Build(const std::string& input, const std::string& output) {
    int status = 0;
    std::string text;
    if (!Load(input, text, status)) {
        return status;
    }
    std::string error;
    auto source = SourceFromJson(text, error);
    if (!source) {
        return Fail(input, error);
    }
    const auto written = WriteFileAtomically(output, EncodeSource(*source));
    if (!written.ok) {
        return Fail(output, "cannot write: " + written.reason);
    }
    return 0;
}

// Plays the user of File > Open and File > Save As: picks the given files, answers Yes, and
// keeps the messages so the tool can tell what went wrong.
class ConvertPrompter : public SilentPrompter {
public:
    ConvertPrompter(std::string input, std::string output)
        : m_input(std::move(input)), m_output(std::move(output)) {}

    void ShowMessage(const std::string& text, MessageIcon icon) override {
        if (icon != MessageIcon::Information || text == kUnsupportedConversion) {
            problems.push_back(text);
        }
    }
    bool AskYesNo(const std::string&) override { return true; }
    std::optional<std::string> ChooseOpenFile(const FileDialogOptions&) override { return m_input; }
    std::optional<std::string> ChooseSaveFile(const FileDialogOptions&) override {
        return m_output;
    }

    std::vector<std::string> problems;

private:
    std::string m_input;
    std::string m_output;
};

// The first line of the engine log's last error block that says what failed.
std::string LastLoggedError(const EngineLog& log) {
    const std::string& text = log.Text();
    const auto error = text.rfind("\r\nERROR: ");
    if (error == std::string::npos) {
        return {};
    }
    const auto end = text.find("\r\n", error + 2);
    return text.substr(error + 9, end - error - 9);
}

int Convert(const std::string& input, const std::string& output, const std::string& renderer,
            bool printLog, const PdfOptions& pdf, [[maybe_unused]] char** argv) {
    if (!pdf.paper.empty() && !PaperNameKnown(pdf.paper)) {
        return UsageError("--paper takes a4 or letter");
    }
    if (!renderer.empty() && renderer != "rtf" && renderer != "txt") {
        return UsageError("--renderer takes rtf or txt");
    }
    FormatRegistry formats = CoreFormats();
#if TLXTOOL_FULL
    AddPdfFormat(formats, pdf);
    AddOfficeFormats(formats);
#endif
    AddJsonResumeFormat(formats);
    // Save As writes any other name as plain text, which under a name like .docx only makes a
    // file no program reads.
    const std::string extension = FileExtension(output);
    const FileFormat* writer = formats.WriterFor(extension);
    if (writer == nullptr) {
#if !TLXTOOL_FULL
        return RunFullTool(argv);
#endif
        return Fail(
            output,
            (extension.empty() ? std::string("no extension") : "a ." + extension + " file") +
                " cannot be written: the output must end in " + formats.WritableExtensions());
    }
    // Only whether the input can be read: the document reads it again, and a large input
    // must not be held twice.
    if (int status = 0; !Readable(input, status)) {
        return status;
    }
    NodeTree tree; // the node library beside the tool gives the reset defaults
    HeadlessResumeView view;
    EngineLog log;
    ConvertPrompter prompter(input, output);
    CTLXDoc doc(tree, view, log, prompter, formats);
    doc.OnNewDocument();
    auto finish = [&](int code) {
        if (printLog) {
            std::fputs(log.Text().c_str(), stderr);
        }
        return code;
    };
    // Another program's file is imported; a resume file is opened as File > Open opens it.
    const FileFormat* importer = formats.ForExtension(FileExtension(input), FormatRole::Exchange);
    const bool opened = importer != nullptr && importer->Info().reads
                            ? doc.ImportResumeFile(*importer, input)
                            : doc.OpenResume();
    if (!opened) {
        std::string problem = prompter.problems.empty() ? "cannot be opened" : prompter.problems[0];
        if (problem.rfind("An error occurred.", 0) == 0 && !LastLoggedError(log).empty()) {
            problem = LastLoggedError(log);
        }
        return finish(Fail(input, problem));
    }
    prompter.problems.clear();
    if (!renderer.empty()) {
        doc.SetRenderer(renderer == "rtf" ? kRendererRtf : kRendererTxt, true);
    }
    // RTF, DOCX and ODT files carry the paper a PDF would have.
    UsePaperForRtf(pdf);
    if (writer->Info().role == FormatRole::Exchange) {
        const FormatResult exported = doc.ExportResume(*writer, output);
        return finish(exported.ok ? 0 : Fail(output, exported.message));
    }
    if (!doc.SaveResume(true)) {
        std::string problem =
            prompter.problems.empty() ? "cannot be written" : prompter.problems.back();
        if (problem.rfind("An error occurred.", 0) == 0 && !LastLoggedError(log).empty()) {
            problem = LastLoggedError(log);
        }
        return finish(Fail(output, problem));
    }
    return finish(0);
}

// The notes an import or export leaves in the engine log, told on standard error as well.
void TellWhatWentAside(const std::string& path, const std::vector<std::string>& items,
                       const char* where) {
    if (items.empty()) {
        return;
    }
    std::string list;
    for (const std::string& item : items) {
        list += (list.empty() ? "" : ", ") + item;
    }
    std::fprintf(stderr, "tlxtool: %s: %s: %s\n", path.c_str(), where, list.c_str());
}

int Import(const std::string& input, const std::string& output, const std::string& templateName,
           bool printLog) {
    if (FileExtension(output) != "tlx") {
        return Fail(output, "an import writes a .tlx resume; convert it afterwards for other "
                            "formats");
    }
    std::string text;
    const auto read = ReadWholeFile(input, text, kMaxJsonResumeBytes);
    if (!read.ok) {
        return Fail(input, read.reason);
    }
    NodeTree tree; // the node library and the templates beside the tool
    const TemplateLoad load = LoadResumeTemplate(
        tree.programFolder, templateName.empty() ? kDefaultImportTemplate : templateName);
    if (!load.ok) {
        return UsageError("--template: " + load.error);
    }
    const JsonResumeImport imported = ImportJsonResume(text, load.resumeTemplate);
    if (!imported.ok) {
        return Fail(input, imported.error);
    }
    // Saved as File > Save As saves a resume, so a read-only or protected file is refused the
    // same way.
    HeadlessResumeView view;
    EngineLog log;
    ConvertPrompter prompter(input, output);
    CTLXDoc doc(tree, view, log, prompter);
    doc.OnNewDocument();
    auto finish = [&](int code) {
        if (printLog) {
            std::fputs(log.Text().c_str(), stderr);
        }
        return code;
    };
    if (!doc.AdoptImportedResume(imported.tables, imported.renderer)) {
        return finish(Fail(input, "the imported resume could not be opened"));
    }
    log.AppendLog(ImportLogEntry(imported, input));
    TellWhatWentAside(input, imported.unplaced,
                      "kept in inactive nodes, having no place in the resume");
    if (!doc.SaveResume(true)) {
        std::string problem =
            prompter.problems.empty() ? "cannot be written" : prompter.problems.back();
        if (problem.rfind("An error occurred.", 0) == 0 && !LastLoggedError(log).empty()) {
            problem = LastLoggedError(log);
        }
        return finish(Fail(output, problem));
    }
    return finish(0);
}

int Export(const std::string& input, const std::string& output, bool printLog) {
    if (FileExtension(output) != "json") {
        return Fail(output, "an export writes a JSON Resume, which ends in .json");
    }
    if (FileExtension(input) != "tlx") {
        return Fail(input, "only a .tlx resume has the nodes a JSON Resume is made from");
    }
    int status = 0;
    LoadedTree loaded;
    if (!ReadTree(input, loaded, status)) {
        return status;
    }
    EngineLog log;
    const JsonResumeExport exported = ExportJsonResume(loaded.tree);
    int code = 0;
    if (!exported.ok) {
        code = Fail(output, exported.error);
    } else if (const auto written = WriteFileAtomically(output, exported.json); !written.ok) {
        code = Fail(output, "cannot write: " + written.reason);
    } else {
        log.AppendLog(ExportLogEntry(exported, output));
        TellWhatWentAside(output, exported.unmapped,
                          "kept in meta, having no place in JSON Resume");
    }
    if (printLog) {
        std::fputs(log.Text().c_str(), stderr);
    }
    return code;
}

int Check(const std::string& path) {
    int status = 0;
    LoadedTree loaded;
    if (!ReadTree(path, loaded, status)) {
        return status;
    }
    const auto findings = CheckTree(loaded.tree, loaded.storedActiveCount, loaded.trailingBytes);
    bool misbehaves = false;
    for (const auto& finding : findings) {
        std::printf("%s: %s: %s\n", path.c_str(), finding.misbehaves ? "problem" : "note",
                    finding.message.c_str());
        misbehaves = misbehaves || finding.misbehaves;
    }
    if (findings.empty()) {
        std::printf("%s: no problems found (%zu active and %zu inactive entries)\n", path.c_str(),
                    loaded.tree.activeStack.size(), loaded.tree.inactiveStack.size());
    }
    return misbehaves ? 2 : 0;
}

} // namespace

// A damaged or hostile file must end in a message and a status, never in an abort.
int main(int argc, char** argv) try {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string category;
    std::string renderer;
    bool printLog = false;
    bool ats = false;
    bool spelling = false;
    std::string language;
    std::string templateName;
    PdfOptions pdf;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::puts("tlxtool (Trellic) " TRELLIC_VERSION);
            return 0;
        }
        if (arg == "--category") {
            if (i + 1 >= args.size()) {
                return UsageError("--category needs a NAME");
            }
            category = args[++i];
        } else if (arg.rfind("--category=", 0) == 0) {
            category = arg.substr(11);
        } else if (arg == "--renderer") {
            if (i + 1 >= args.size()) {
                return UsageError("--renderer needs rtf or txt");
            }
            renderer = args[++i];
        } else if (arg.rfind("--renderer=", 0) == 0) {
            renderer = arg.substr(11);
        } else if (arg == "--log") {
            printLog = true;
        } else if (arg == "--ats") {
            ats = true;
        } else if (arg == "--spelling") {
            spelling = true;
        } else if (arg == "--lang" || arg.rfind("--lang=", 0) == 0) {
            if (arg == "--lang" && i + 1 >= args.size()) {
                return UsageError("--lang needs a LANGUAGE such as en_US");
            }
            language = arg == "--lang" ? args[++i] : arg.substr(7);
        } else if (arg == "--template" || arg.rfind("--template=", 0) == 0) {
            if (arg == "--template" && i + 1 >= args.size()) {
                return UsageError("--template needs a NAME");
            }
            templateName = arg == "--template" ? args[++i] : arg.substr(11);
        } else if (arg == "--pdfa") {
            pdf.archival = true;
        } else if (arg == "--paper" || arg.rfind("--paper=", 0) == 0) {
            if (arg == "--paper" && i + 1 >= args.size()) {
                return UsageError("--paper needs a4 or letter");
            }
            pdf.paper = arg == "--paper" ? args[++i] : arg.substr(8);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty()) {
        return UsageError("no command given");
    }
    const std::string& command = positional[0];
    if (command == "dump" && positional.size() == 2) {
        return Dump(positional[1], category);
    }
    if (command == "build" && positional.size() == 3) {
        return Build(positional[1], positional[2]);
    }
#if TLXTOOL_FULL
    if (command == "check" && positional.size() == 2 && spelling) {
        return CheckSpelling(positional[1], language);
    }
    if (command == "check" && positional.size() == 2 && ats) {
        std::string bytes;
        int status = 0;
        if (!Load(positional[1], bytes, status)) {
            return status;
        }
        const AtsReport report = CheckPdfForAts(bytes);
        std::fputs(FormatAtsReport(report).c_str(), stdout);
        return report.Passed() ? 0 : 1;
    }
#else
    if (command == "check" && positional.size() == 2 && (spelling || ats)) {
        return RunFullTool(argv);
    }
#endif
    if (command == "check" && positional.size() == 2) {
        return Check(positional[1]);
    }
    if (command == "convert" && positional.size() == 3) {
        return Convert(positional[1], positional[2], renderer, printLog, pdf, argv);
    }
    if (command == "import" && positional.size() == 3) {
        return Import(positional[1], positional[2], templateName, printLog);
    }
    if (command == "export" && positional.size() == 3) {
        return Export(positional[1], positional[2], printLog);
    }
    const bool known = command == "dump" || command == "build" || command == "check" ||
                       command == "convert" || command == "import" || command == "export";
    return UsageError(known ? "wrong arguments for " + command : "unknown command " + command);
} catch (const std::bad_alloc&) {
    std::fputs("tlxtool: not enough memory to finish\n", stderr);
    return 1;
} catch (const std::exception& error) {
    std::fprintf(stderr, "tlxtool: %s\n", error.what());
    return 1;
}
