// Writing the Sensor Options pages back to the units, step by step in the
// order the units expect, and which page goes to which unit.
#pragma once

#include "core/messages.h"
#include "core/sensor_options.h"
#include "core/vorn_group.h"

#include <vector>

namespace vornscope {

struct PageAssignment {
    int unit;
    std::size_t page;  // index into the pages of the present units
};

// Pages belong to the present units in order; a page with "Configure all
// after this the same" also goes to every later unit up to deviceCount,
// present or not, and the pages after it are ignored.
std::vector<PageAssignment> planSensorPages(const std::vector<int>& presentUnits,
                                            const std::vector<SensorPageValues>& pages, int deviceCount);

// Applies one page to one unit (its record in the group is updated).
void applySensorPage(VornLibrary& library, CVornGroup& group, int unit, const SensorPageValues& page,
                     bool animating, MessageSink& messages);

} // namespace vornscope
