#include "vorn/humgather/maker_notices.h"

#include <cstdlib>
#include <fstream>

namespace vorn::humgather {

const char* const kDefaultNotice = "  HUMGATHER   Vorn noise and diagnostics   (c) Korvalt Inc.";
const char* const kDefaultPromText = "Copyright (c) Korvalt Inc.  All rights reserved";

namespace {

std::string fromFile(const std::filesystem::path& file, const std::string& key)
{
    std::ifstream in(file);
    std::string line;
    const std::string prefix = key + "=";
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.starts_with(prefix))
            return line.substr(prefix.size());
    }
    return {};
}

std::string setting(const char* variable, const std::filesystem::path& file, const std::string& key,
                    const char* fallback)
{
    if (const char* value = std::getenv(variable); value && *value)
        return value;
    if (std::string value = fromFile(file, key); !value.empty())
        return value;
    return fallback;
}

} // namespace

MakerNotices loadMakerNotices(const std::filesystem::path& programDirectory)
{
    const auto file = programDirectory / "humgather.conf";
    return {setting("HUMGATHER_NOTICE", file, "notice", kDefaultNotice),
            setting("HUMGATHER_PROM_TEXT", file, "prom_text", kDefaultPromText)};
}

std::string promTextPart(const std::string& promCharacters)
{
    if (promCharacters.size() <= kPromTextOffset)
        return {};
    return promCharacters.substr(kPromTextOffset, kPromTextLength);
}

} // namespace vorn::humgather
