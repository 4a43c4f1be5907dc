#pragma once

#include "run_command.h"

#include <filesystem>
#include <string>
#include <vector>

namespace trellic::testing {

// The sample resumes of the JSON Resume schema's package, as paths below its folder.
inline const std::vector<std::string>& JsonResumeSamples() {
    static const std::vector<std::string> kSamples = {
        "sample.resume.json", "examples/career-changer.resume.json",
        "examples/new-grad.resume.json", "examples/senior-engineer.resume.json"};
    return kSamples;
}

inline std::string JsonResumeFile(const std::string& name) {
    return std::string(TRELLIC_JSONRESUME_DIR) + "/" + name;
}

// Empty when the package is there; otherwise what to do about it.
inline std::string JsonResumePackageMissing() {
    if (std::filesystem::exists(JsonResumeFile("schema.json"))) {
        return {};
    }
    return "the JSON Resume schema and samples are missing from " +
           std::string(TRELLIC_JSONRESUME_DIR) +
           ": scripts/fetch-jsonresume-schema.sh could not fetch them with npm";
}

// Validates files against the official schema.json with python3-jsonschema, forms included.
// True when every file is valid; output receives what the validator said.
inline bool ValidateJsonResumes(const std::vector<std::string>& paths, std::string& output) {
    std::string command = std::string(TRELLIC_JSON_PYTHON) + " '" + TRELLIC_VALIDATE_JSON_RESUME +
                          "' '" + JsonResumeFile("schema.json") + "'";
    for (const std::string& path : paths) {
        command += " '" + path + "'";
    }
    int status = 0;
    output = RunCommand(command + " 2>&1", &status);
    return status == 0;
}

} // namespace trellic::testing
