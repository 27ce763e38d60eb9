#pragma once
// The keys of the graphics window as the console's keys, so plots answer both alike.
#include <optional>

#include "vorn/console/key.h"

class QKeyEvent;

namespace vorn::plot {

std::optional<console::Key> consoleKeyFor(const QKeyEvent& event);

} // namespace vorn::plot
