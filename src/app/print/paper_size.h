#pragma once

#include <QPageSize>
#include <string>

namespace trellic {

// The paper a resume is laid out on when the user has chosen none: the locale's. Letter
// where it is the norm (the Americas that use it and the Philippines), A4 everywhere else.
// `paperLocale` is the effective LC_PAPER (LC_ALL before LC_PAPER before LANG), `papersize`
// the content of /etc/papersize; each may be empty. A locale that names no territory (C,
// POSIX) leaves the choice to /etc/papersize.
QPageSize::PageSizeId PaperForLocale(const std::string& paperLocale, const std::string& papersize);

// The same for this process: its environment and the system's /etc/papersize.
QPageSize::PageSizeId DefaultPaper();

// "a4" and "letter" (any case) as a paper; false for anything else.
bool PaperFromName(const std::string& name, QPageSize::PageSizeId& paper);

} // namespace trellic
