#include "displays/numeric_display.h"

#include "document/vornscope_doc.h"

#include <cstdio>

namespace vornscope {

void NumericDisplay::show(CVornscopeDoc& document, const SampleFrame& frame, const std::vector<int>& units,
                          bool showTimes, int width)
{
    const int blocksPerRow = numericBlocksPerRow(width);
    if (blocksPerRow != blocksPerRow_)
        document.clearTextItems();
    blocksPerRow_ = blocksPerRow;
    layoutNumericDisplay(frame, units, showTimes, items_, blocksPerRow);
    for (const CTextItem& item : items_)
        document.addTextItem(item);
}

void NumericDisplay::showDistortionNumber(CVornscopeDoc& document, int value, int clientWidth, int clientHeight)
{
    // Padded with blanks so a shorter number covers a longer one.
    char text[16];
    std::snprintf(text, sizeof text, "%-4d", value);
    document.addTextItem(CTextItem {text, clientWidth - 40, clientHeight - 18, 0x000000, 0xFFFFFF, true});
}

} // namespace vornscope
