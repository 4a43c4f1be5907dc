#pragma once

#include "richtext/rtf_writer.h"

#include <string>

namespace trellic {

// The two papers a resume is laid out on.
enum class Paper { A4, Letter };

// The paper a resume is laid out on when the user has chosen none: the locale's. Letter
// where it is the norm (the Americas that use it and the Philippines), A4 everywhere else.
// `paperLocale` is the effective LC_PAPER (LC_ALL before LC_PAPER before LANG), `papersize`
// the content of /etc/papersize; each may be empty. A locale that names no territory (C,
// POSIX) leaves the choice to /etc/papersize.
Paper LocalePaper(const std::string& paperLocale, const std::string& papersize);

// The same for this process: its environment and the system's /etc/papersize.
Paper SystemPaper();

// "a4" and "letter" (any case) as a paper; false for anything else.
bool PaperNamed(const std::string& name, Paper& paper);

// The page RTF, DOCX and ODT files carry for a paper, with the printed page's margins: an inch
// and a half at the sides, three quarters of an inch above and below.
RtfPage PageOnPaper(Paper paper);

} // namespace trellic
