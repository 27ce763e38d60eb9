#include "core/frame_source.h"

#include "core/unit_channel.h"

#include <algorithm>
#include <thread>

namespace vornscope {
namespace {

constexpr std::uint8_t kPointCommand = 0x42; // 'B'
constexpr std::uint8_t kGroupModeParameter = 35;
// How often a waiting frame is looked for: short against a sample period.
constexpr auto kReadyPoll = std::chrono::microseconds(250);

bool unitSends(const CVornGroup& group, int unit)
{
    return unit < static_cast<int>(group.deviceConfig.size()) && group.sensorPresent[static_cast<std::size_t>(unit)];
}

const VornDeviceConfig& configOf(const CVornGroup& group, int unit)
{
    return group.deviceConfig[static_cast<std::size_t>(unit)];
}

bool sendsButton(const VornDeviceConfig& config)
{
    return (config.setup & 0x08) != 0;
}

bool sendsDistortion(const CVornGroup& group, int unit)
{
    return group.distortionParams[static_cast<std::size_t>(unit)].enabled;
}

int lastUnit(const CVornGroup& group)
{
    return std::min(group.deviceCount, static_cast<int>(group.deviceConfig.size()) - 1);
}

// One data word of the reply.
std::int16_t decodeWord(Transport link, const std::uint8_t* bytes)
{
    if (link == Transport::ISA)
        return static_cast<std::int16_t>((bytes[0] << 8) | bytes[1]);
    const int fourteen = (bytes[0] & 0x7F) | ((bytes[1] & 0x7F) << 7);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(fourteen << 2));
}

double millisecondClock()
{
    using namespace std::chrono;
    return static_cast<double>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

bool LibraryFrameSource::failed(std::string reason)
{
    failure_ = std::move(reason);
    return false;
}

std::string LibraryFrameSource::takeFailure()
{
    std::string reason;
    reason.swap(failure_);
    return reason;
}

bool LibraryFrameSource::read(SampleFrame& frame)
{
    const int group = group_.groupId;
    library_.takeFailure(); // an older message is not this read's
    if (!vornStartSingleFrame(group))
        return failed(library_.takeFailure());
    const auto deadline = std::chrono::steady_clock::now() + timeout_;
    while (!vornFrameReady(group)) {
        if (std::chrono::steady_clock::now() > deadline) {
            const std::string reason = library_.takeFailure();
            return failed(reason.empty() ? "no frame came within " + std::to_string(timeout_.count()) + " ms" : reason);
        }
        std::this_thread::sleep_for(kReadyPoll);
    }
    if (!vornGetFrame(group, &raw_))
        return failed(library_.takeFailure());
    frame.time = raw_.time * 0.001;
    for (int unit = 1; unit <= lastUnit(group_); ++unit) {
        const VornDeviceConfig& config = configOf(group_, unit);
        // A stand-alone unit's reading is the group's first.
        const VornReading& reading = raw_.reading[group_.standAlone ? 0 : unit];
        frame.sensors[static_cast<std::size_t>(unit)] =
            sensorFromReading(reading, config.scaling, contentOfFormat(config.dataFormat, sendsButton(config)));
    }
    return true;
}

std::size_t ownPointReplyLength(const CVornGroup& group)
{
    std::size_t length = 0;
    for (int unit = 1; unit <= lastUnit(group); ++unit) {
        if (!unitSends(group, unit))
            continue;
        const VornDeviceConfig& config = configOf(group, unit);
        length += static_cast<std::size_t>(formatReplyBytes(config.dataFormat));
        length += sendsButton(config) ? 1 : 0;
        length += sendsDistortion(group, unit) ? 1 : 0;
        length += group.standAlone ? 0 : 1;
    }
    return length;
}

bool decodeOwnPointReply(const CVornGroup& group, const std::uint8_t* bytes, std::size_t length, SampleFrame& frame)
{
    std::size_t at = 0;
    for (int unit = 1; unit <= lastUnit(group); ++unit) {
        if (!unitSends(group, unit))
            continue;
        const VornDeviceConfig& config = configOf(group, unit);
        const std::size_t words = static_cast<std::size_t>(formatReplyBytes(config.dataFormat)) / 2;
        const std::size_t need = words * 2 + (sendsButton(config) ? 1 : 0) + (sendsDistortion(group, unit) ? 1 : 0) +
                                 (group.standAlone ? 0 : 1);
        if (at + need > length)
            return false;
        VornReading reading {};
        std::int16_t decoded[12] = {};
        for (std::size_t i = 0; i < words && i < 12; ++i)
            decoded[i] = decodeWord(group.transport, bytes + at + 2 * i);
        at += words * 2;
        const std::uint8_t content = contentOfFormat(config.dataFormat, sendsButton(config));
        std::size_t next = 0;
        auto take = [&](std::int16_t* into, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i)
                into[i] = decoded[next++];
        };
        if (content & content::kPosition)
            take(reading.position, 3);
        if (content & content::kAngles)
            take(reading.angles, 3);
        if (content & content::kMatrix)
            take(reading.matrix, 9);
        if (content & content::kQuaternion)
            take(reading.quaternion, 4);
        if (sendsButton(config))
            reading.button = bytes[at++];
        SensorRecord& sensor = frame.sensors[static_cast<std::size_t>(unit)];
        sensor = sensorFromReading(reading, config.scaling, content);
        if (sendsDistortion(group, unit))
            sensor.distortion = bytes[at++];
        at += group.standAlone ? 0 : 1;
    }
    frame.time = millisecondClock() * 0.001;
    return true;
}

bool OwnPointFrameSource::read(SampleFrame& frame)
{
    library_.takeFailure(); // an older message is not this read's
    UnitChannel channel(library_, group_.groupId, group_.transport);
    bool restoreGroupMode = false;
    if (!group_.standAlone) {
        const auto mode = channel.examineByte(1, kGroupModeParameter);
        if (!mode)
            return false;
        if (*mode != 1) {
            if (!channel.change(1, kGroupModeParameter, 1))
                return false;
            restoreGroupMode = true;
        }
    }
    const bool ok = channel.send(1, {kPointCommand}) && readReply(frame);
    if (restoreGroupMode)
        channel.change(1, kGroupModeParameter, 0);
    return ok;
}

bool OwnPointFrameSource::readReply(SampleFrame& frame)
{
    std::size_t length = ownPointReplyLength(group_);
    // ISA answers in whole words.
    if (group_.transport == Transport::ISA && length % 2 != 0)
        ++length;
    if (length == 0)
        return false;
    reply_.resize(length);
    if (!library_.getResponse(group_.transport, group_.groupId, 1, reply_.data(), static_cast<std::uint16_t>(length)))
        return false;
    return decodeOwnPointReply(group_, reply_.data(), length, frame);
}

std::unique_ptr<FrameSource> makeFrameSource(VornLibrary& library, const CVornGroup& group, bool distortionOn)
{
    if (distortionOn && group.takesUnitCommands())
        return std::make_unique<OwnPointFrameSource>(library, group);
    return std::make_unique<LibraryFrameSource>(library, group);
}

} // namespace vornscope
