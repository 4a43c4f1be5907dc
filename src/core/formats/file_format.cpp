#include "formats/file_format.h"

namespace trellic {

DataSource DataSourceFor(FormatHolds holds) {
    switch (holds) {
    case FormatHolds::NodeTree:
        return kDataSourceNodes;
    case FormatHolds::RichText:
        return kDataSourceViewRtf;
    case FormatHolds::PlainText:
        break;
    }
    return kDataSourceViewTxt;
}

FormatHolds HoldsFor(DataSource dataSource) {
    if (dataSource == kDataSourceNodes) {
        return FormatHolds::NodeTree;
    }
    return dataSource == kDataSourceViewRtf ? FormatHolds::RichText : FormatHolds::PlainText;
}

std::string FileFormat::DialogFilterEntry() const {
    std::string patterns;
    for (const std::string& extension : m_info.extensions) {
        patterns += (patterns.empty() ? "*." : ";*.") + extension;
    }
    return m_info.filterName + " (" + patterns + ")|" + patterns;
}

FormatResult FileFormat::Read(std::string_view, FormatReading&) const {
    return FormatResult::Failure(m_info.name + " files cannot be read.");
}

FormatResult FileFormat::Write(const FormatSource&, std::string&) const {
    return FormatResult::Failure(m_info.name + " files cannot be written.");
}

} // namespace trellic
