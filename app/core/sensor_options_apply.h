// Writing the Sensor Options pages back to the units, step by step in the
// order the units expect, and which page goes to which unit.
#pragma once

#include "core/messages.h"
#include "core/sensor_options.h"
#include "core/vorn_group.h"

#include <string>
#include <vector>

namespace vornscope {

struct PageAssignment {
    int unit;
    std::size_t page; // index into the pages of the present units
};

// Pages belong to the present units in order; a page with "Configure all
// after this the same" also goes to every later unit up to deviceCount,
// present or not, and the pages after it are ignored.
std::vector<PageAssignment> planSensorPages(const std::vector<int>& presentUnits,
                                            const std::vector<SensorPageValues>& pages, int deviceCount);

// Applies one page to one unit. The unit's record in the group takes each
// value the library accepts; whatever it refuses keeps its old value and is
// listed, with the library's reason, in one message after the page. A range
// of 144 is never written (only extended-range systems have it, and there it
// is fixed): choosing it on a unit at another range says so.
void applySensorPage(VornLibrary& library, CVornGroup& group, int unit, const SensorPageValues& page, bool animating,
                     MessageSink& messages);

// The operator's texts for what a unit did not take.
std::string range144Refusal(int currentRange);
std::string unitRefusalText(int unit, const std::vector<std::string>& reasons);

} // namespace vornscope
