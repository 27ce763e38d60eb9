// Work that may take a while (reading a large data file) runs on a thread of
// its own while the windows keep painting. Until it has run for a moment the
// user's input waits; after that a progress window offers Cancel. The
// windows refuse to close meanwhile: the command that waits still uses them.
#pragma once

#include "core/data_file_reader.h"

#include <QString>

#include <functional>

class QWidget;

namespace vornscope {

// How long work may run before the progress window shows, in milliseconds.
constexpr int kMomentMs = 300;

// Runs `work` on its own thread and returns once it has ended. `progress`
// feeds the bar; Cancel sets `progress.cancel`, which `work` must heed
// soon. False when the user cancelled.
bool runWithProgress(QWidget* parent, const QString& label, ReadProgress& progress, const std::function<void()>& work,
                     int momentMs = kMomentMs);

} // namespace vornscope
