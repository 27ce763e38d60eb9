#include "core/model_codes.h"

#include <array>
#include <utility>

namespace vornscope {

int modelCodeFromString(std::string_view modelString)
{
    static constexpr std::array<std::pair<std::string_view, int>, 11> kModels {{
        {"6DKVA     ", 0},
        {"6DKVS     ", 1},
        {"PELLVORN2 ", 2},
        {"PELLVORN2R", 2},
        {"PELLVORN2X", 2},
        {"PCVORN    ", 3},
        {"6DKVB     ", 4},
        {"VELMORASTA", 4},
        {"CORDFREE  ", 5},
        {"QUARVELO  ", 6},
        {"6DKVR     ", 10},
    }};
    for (const auto& [text, code] : kModels)
        if (text == modelString)
            return code;
    return kModelUnknown;
}

int modelCodeFromStatus2(std::uint8_t status2)
{
    switch (status2) {
    case 1: return 0;
    case 2: return 10;
    case 3: return 4;
    case 4: return 3;
    case 5: return 6;
    case 6: return 4;
    default: return kModelUnknown;
    }
}

bool supportsDistortionDetection(std::uint16_t softwareRevision)
{
    const int major = softwareRevision >> 8;
    const int minor = softwareRevision & 0xFF;
    return (major == 3 && minor >= 80) || (major == 0x15 && minor > 14);
}

bool hasReadableDistortionRecord(std::uint16_t softwareRevision)
{
    return (softwareRevision >> 8) == 3 && (softwareRevision & 0xFF) > 82;
}

} // namespace vornscope
