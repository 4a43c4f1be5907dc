#pragma once

#include "run_command.h"

#include <nlohmann/json.hpp>
#include <string>

namespace trellic::testing {

// Reads a .docx or .odt file back with independent readers (python-docx and odfpy, through
// read_office.py): the properties, and per paragraph its text, list and bottom border. An empty
// object when the readers could not read it; `output` then holds what they said.
inline nlohmann::json ReadOfficeBack(const std::string& path, std::string* output = nullptr) {
    int status = 0;
    const std::string out = RunCommand(std::string(TRELLIC_OFFICE_PYTHON) + " '" +
                                           TRELLIC_READ_OFFICE + "' '" + path + "' 2>&1",
                                       &status);
    if (output != nullptr) {
        *output = out;
    }
    if (status != 0) {
        return nlohmann::json::object();
    }
    return nlohmann::json::parse(out, nullptr, false);
}

} // namespace trellic::testing
