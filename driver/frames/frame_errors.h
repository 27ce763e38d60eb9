// Error codes of frames and readings that a caller can act on.
#pragma once

namespace vorn::frame_error {

constexpr int kTcpipReadFailed = 16;       // no (whole) data packet
constexpr int kTcpipBadPacketType = 18;    // a packet that is not data, outside a stream
constexpr int kTcpipBadAddress = 19;       // a record for an address above 120
constexpr int kTcpipBadRecord = 20;        // a bad data format, or a record cut short
constexpr int kRs232ReadFailed = 32;
constexpr int kPhaseErrorRealigned = 33;  // the stream is aligned again
constexpr int kPhaseErrorLost = 34;       // realignment failed
constexpr int kBadDataReadyCharacter = 35;
constexpr int kIsaReadFailed = 48;

} // namespace vorn::frame_error
