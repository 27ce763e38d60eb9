// The controller's side of the packet protocol, without I/O: it checks each
// request's header, answers it (status blocks, setups, single shots) and
// builds the data packets of a stream. The server moves the bytes.
#pragma once

#include "controller/controller_config.h"
#include "controller/controller_faults.h"
#include "controller/packet_log.h"
#include "model/sensor_model.h"

#include <vorn/vorn.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace vorn::sim {

// Error codes the controller answers a malformed request with.
namespace controller_error {
constexpr uint8_t kBadProtocolVersion = 1;
constexpr uint8_t kUnknownPacketType = 2;
constexpr uint8_t kBadDataLength = 3;
constexpr uint8_t kBadSetup = 4;
constexpr uint8_t kNoSuchUnit = 5;
constexpr uint8_t kNotSupported = 6;
constexpr uint8_t kBadHeaderField = 7;
} // namespace controller_error

enum class StreamChange { None, Start, Stop, HangUp };

class ControllerState {
public:
    explicit ControllerState(ControllerConfig config);

    // Answers one request at controller time `seconds`: appends the answer
    // bytes (nothing for shut-down and stop data) and says what happens to
    // the stream.
    StreamChange handle(const ReceivedPacket& request, double seconds, const ControllerFaults& faults,
                        std::vector<uint8_t>& out);

    // One data packet of every unit with a sensor and a format.
    void appendDataPacket(double seconds, const ControllerFaults& faults, std::vector<uint8_t>& out);

    // Time between two packets of a stream.
    std::chrono::nanoseconds reportPeriod() const;

    VornSystemConfig systemConfig() const { return system_; }
    VornDeviceConfig deviceConfig(uint8_t address) const { return devices_[address]; }
    const ControllerConfig& config() const { return config_; }

private:
    uint8_t checkHeader(const ReceivedPacket& request) const;
    void appendAnswer(const ReceivedPacket& request, uint8_t type, uint8_t error, double seconds,
                      const ControllerFaults& faults, std::vector<uint8_t>& out, const std::vector<uint8_t>& data = {});
    uint8_t applySetup(const ReceivedPacket& request);
    bool knownUnit(uint8_t address) const;

    ControllerConfig config_;
    std::vector<SensorModel> sensors_; // one per configured unit, in config order
    VornSystemConfig system_ {};
    VornDeviceConfig devices_[VORN_UNIT_COUNT] {};
    uint16_t sequence_ = 0; // of the controller's own packets
};

} // namespace vorn::sim
