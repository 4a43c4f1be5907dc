#pragma once

#include "print/resume_printer.h"
#include "richtext/rich_document.h"

namespace trellic {

class EngineLog;
class Prompter;

// File > Check for ATS: makes the PDF that Export as PDF would write, reads it back as an
// applicant-tracking system does and shows what it found. Returns true when nothing blocks an
// ATS.
bool RunAtsCheck(const RichDocument& document, const PageSetup& setup,
                 const PdfProperties& properties, Prompter& prompter, EngineLog& log);

} // namespace trellic
