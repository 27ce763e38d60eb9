// The configuration file: one option per line as "name = value" or "name",
// with the names of the command-line options without their dashes; '#'
// starts a comment. The lines become command-line arguments, so the file and
// the command line accept exactly the same options.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vornigtl {

struct ConfigArguments {
    std::optional<std::vector<std::string>> arguments;
    std::string error; // "file:line: what", set when arguments is empty
};

ConfigArguments argumentsOfConfigText(const std::string& text, const std::string& fileName);
ConfigArguments readConfigFile(const std::string& path);

} // namespace vornigtl
