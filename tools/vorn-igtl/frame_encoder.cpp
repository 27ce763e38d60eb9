#include "frame_encoder.h"

#include "igtl_codec.h"
#include "pose_of_measurement.h"

namespace vornigtl {

std::string deviceNameOf(int address)
{
    // "Sensor126ToTracker" is 18 characters: every address fits the 20 of a device name.
    return "Sensor" + std::to_string(address) + "ToTracker";
}

FrameEncoder::FrameEncoder(std::vector<vornctl::UnitLayout> units) : units_(std::move(units))
{
    for (const auto& unit : units_)
        names_.push_back(deviceNameOf(unit.address));
}

std::size_t FrameEncoder::frameSize() const
{
    return units_.size() * kTransformMessageSize;
}

void FrameEncoder::encode(const VornFrame& frame, uint64_t timestamp, uint8_t* out) const
{
    for (std::size_t i = 0; i < units_.size(); ++i) {
        const auto& unit = units_[i];
        const SensorPose pose = poseOf(vornctl::convert(frame.reading[unit.address], unit));
        encodeTransform(names_[i], pose, timestamp, out + i * kTransformMessageSize);
    }
}

} // namespace vornigtl
