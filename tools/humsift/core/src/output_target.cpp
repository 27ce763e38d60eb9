#include "vorn/humsift/output_target.h"

#include <filesystem>
#include <fstream>

#include "vorn/console/leading_number.h"
#include "vorn/console/print_zone.h"

namespace vorn::humsift {

namespace {

constexpr std::size_t kLookedAtBytes = 4096;

std::string headOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string head(kLookedAtBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return head;
}

bool isRateFile(const std::string& head)
{
    return head.starts_with("'") &&
           head.find("\r\n'Average amplitude data around target Measurement rate\r\n") != std::string::npos;
}

// A frequency filling the first print zone, then an amplitude and a blank: no noise file line is
// that long.
bool isSpectrumFile(const std::string& head)
{
    const std::size_t end = head.find("\r\n");
    if (end == std::string::npos || end <= console::kPrintZoneWidth || head[end - 1] != ' ')
        return false;
    const std::string_view line(head.data(), end);
    return console::parseWholeNumber(line.substr(0, console::kPrintZoneWidth)) &&
           console::parseWholeNumber(line.substr(console::kPrintZoneWidth));
}

bool isBitmap(const std::string& head)
{
    return head.starts_with("BM");
}

bool isAnalysed(const std::filesystem::path& path, const std::vector<std::string>& analysedFiles)
{
    for (const std::string& analysed : analysedFiles) {
        std::error_code error;
        if (std::filesystem::equivalent(path, analysed, error))
            return true;
    }
    return false;
}

} // namespace

OutputTarget classifyOutputTarget(const std::string& path, const std::vector<std::string>& analysedFiles)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return OutputTarget::NewFile;
    if (isAnalysed(path, analysedFiles))
        return OutputTarget::AnalysedFile;
    const std::string head = headOf(path);
    if (isRateFile(head) || isSpectrumFile(head) || isBitmap(head))
        return OutputTarget::OwnOutput;
    return OutputTarget::OtherFile;
}

} // namespace vorn::humsift
