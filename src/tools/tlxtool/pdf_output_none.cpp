#include "pdf_output.h"

namespace trellic::tool {

bool WritePdf(const RichDocument&, const std::string&, std::string& error) {
    error = "this tlxtool was built without Qt, which PDF output needs";
    return false;
}

} // namespace trellic::tool
