// One reader per kind of recording. Each reads frames until the end of the
// text or the first line it cannot take, and says why it stopped there; the
// frames before that line are kept.
#pragma once

#include "replay/recorded_motion.h"

#include <string_view>

namespace vorn::sim {

// vornctl record and stream CSV: "#" header lines, then time_s,[host_unix_s,]unit,x_in,...
RecordedMotion readCsvRecording(std::string_view text);
// vornctl record and stream JSON lines: {"time_s":..,"units":[{"unit":1,"position_in":[..]..}]}
RecordedMotion readJsonRecording(std::string_view text);
// Vornscope data files: "1pos:", "1ang:", "1mat:", "1quat:", "1time:" ... "0end-frame:"
RecordedMotion readDataFileRecording(std::string_view text);

// Splits text into lines; `cutShort` is set when the last one lacks its line feed.
std::vector<std::string_view> linesOf(std::string_view text, bool& cutShort);

} // namespace vorn::sim
