// Error codes of frames and readings that a caller can act on.
#pragma once

namespace vorn::frame_error {

constexpr int kRs232ReadFailed = 32;
constexpr int kPhaseErrorRealigned = 33;  // the stream is aligned again
constexpr int kPhaseErrorLost = 34;       // realignment failed
constexpr int kBadDataReadyCharacter = 35;
constexpr int kIsaReadFailed = 48;

} // namespace vorn::frame_error
