// The numeric display: a data point's text lines into the document, and the
// distortion number in the view's bottom-right corner.
#pragma once

#include "core/numeric_layout.h"

#include <vector>

namespace vornscope {

class CVornscopeDoc;

class NumericDisplay {
public:
    // Lays the blocks out for `width` pixels; when that changes how many
    // fit in a row, the old lines go first.
    void show(CVornscopeDoc& document, const SampleFrame& frame, const std::vector<int>& units, bool showTimes,
              int width);
    // "%d" 40 pixels left of and 18 above the client area's bottom-right corner.
    void showDistortionNumber(CVornscopeDoc& document, int value, int clientWidth, int clientHeight);

private:
    std::vector<CTextItem> items_;
    int blocksPerRow_ = 0;
};

} // namespace vornscope
