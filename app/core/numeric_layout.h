// The numeric display's text lines for one data point: a block per present
// sensor ("      Sensor %d" and one line per content), as many blocks per row
// as the view's width holds (four in 805 pixels), rows going down as far as
// the sensors need: the view scrolls them.
#pragma once

#include "core/sample_frame.h"
#include "core/text_items.h"

#include <vector>

namespace vornscope {

constexpr std::uint32_t kHeaderColour = 0x000000;
constexpr std::uint32_t kDataColour = 0x000AC8;

// Blocks that fit side by side in `width` pixels; at least one.
int numericBlocksPerRow(int width);

// Appends to `items` (cleared first) the lines of `frame` for `units` in order.
void layoutNumericDisplay(const SampleFrame& frame, const std::vector<int>& units, bool showTimes,
                          std::vector<CTextItem>& items, int blocksPerRow = 4);

} // namespace vornscope
