#include "config_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vornigtl {

namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace

ConfigArguments argumentsOfConfigText(const std::string& text, const std::string& fileName)
{
    std::vector<std::string> arguments;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const auto equals = line.find('=');
        const std::string name = trimmed(line.substr(0, equals));
        if (name.empty() || name[0] == '-' || name.find_first_of(" \t") != std::string::npos)
            return {std::nullopt, fileName + ":" + std::to_string(number) + ": expected 'name = value' or 'name'"};
        if (name == "config")
            return {std::nullopt,
                    fileName + ":" + std::to_string(number) + ": a configuration file cannot name another"};
        arguments.push_back("--" + name);
        if (equals != std::string::npos)
            arguments.push_back(trimmed(line.substr(equals + 1)));
    }
    return {arguments, {}};
}

ConfigArguments readConfigFile(const std::string& path)
{
    // A folder opens like a file but reads as nothing: it would pass for an empty configuration.
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return {std::nullopt, "cannot read " + path + ": it is a directory, not a configuration file"};
    std::ifstream file(path);
    if (!file)
        return {std::nullopt, "cannot read " + path + ": " + std::strerror(errno)};
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad())
        return {std::nullopt, "cannot read " + path + ": " + std::strerror(errno)};
    return argumentsOfConfigText(text.str(), path);
}

} // namespace vornigtl
