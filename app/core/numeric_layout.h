// The numeric display's text lines for one data point: a block per present
// sensor ("      Sensor %d" and one line per content), four blocks per row.
#pragma once

#include "core/sample_frame.h"
#include "core/text_items.h"

#include <vector>

namespace vornscope {

constexpr std::uint32_t kHeaderColour = 0x000000;
constexpr std::uint32_t kDataColour = 0x000AC8;

// Appends to `items` (cleared first) the lines of `frame` for `units` in order.
void layoutNumericDisplay(const SampleFrame& frame, const std::vector<int>& units, bool showTimes,
                          std::vector<CTextItem>& items);

} // namespace vornscope
