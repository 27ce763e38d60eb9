#include "transports/unit_link.h"

#include "group/error_reporter.h"
#include "group/group.h"
#include "group/units.h"
#include "platform/thread_context.h"

#include <algorithm>

namespace vorn {

namespace {
// Largest group frame on any link.
constexpr std::size_t kLargestFrame = 4096;
} // namespace

bool UnitLink::dropRestOfFrame(VornGroup& group, std::size_t taken)
{
    uint8_t rest[kLargestFrame];
    const auto remaining = static_cast<std::size_t>(
        std::clamp(group.expectedFrameLength - static_cast<int>(taken), 0, static_cast<int>(kLargestFrame)));
    return getResponse(group, masterUnit(group), std::span(rest, remaining)) || notEnoughBytes();
}

bool UnitLink::notEnoughBytes()
{
    if (!platform::ThreadContext::current()->quitPending())
        reportError("Unable to get enough bytes from master vorn to resynchronize data stream.");
    return false;
}

UnitLink* unitLinkOf(VornGroup& group)
{
    return dynamic_cast<UnitLink*>(group.transport.get());
}

} // namespace vorn
