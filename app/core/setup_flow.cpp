#include "core/setup_flow.h"

#include "core/distortion_settings.h"
#include "core/model_codes.h"
#include "core/transmitter_mode.h"
#include "core/unit_channel.h"

#include <algorithm>

namespace vornscope {
namespace {

constexpr int kMaxUnitAddress = VORN_UNIT_COUNT - 1;

} // namespace

bool SetupFlow::askUnits(Transport link, int deviceCount, std::vector<UnitEntry>& entries)
{
    // Entries typed in an earlier attempt of this command are shown again.
    // A different unit count starts from the defaults.
    if (static_cast<int>(entries.size()) != deviceCount + 1) {
        entries.assign(static_cast<std::size_t>(deviceCount) + 1, UnitEntry {});
        for (int unit = 1; unit <= deviceCount; ++unit)
            entries[unit] = defaultUnitEntry(unitDialogLook(link, deviceCount, unit));
    }
    for (int unit = 1; unit <= deviceCount; ++unit) {
        if (!prompter_.askUnit(unitDialogLook(link, deviceCount, unit), entries[unit]))
            return false;
    }
    return true;
}

SetupResult SetupFlow::loop(Transport link, const std::function<bool()>& askMain,
                            const std::function<int()>& deviceCount, const Wake& wake)
{
    SetupResult result;
    std::vector<UnitEntry> entries;
    for (;;) {
        if (!askMain())
            return result;
        const int count = deviceCount();
        if (link != Transport::TCPIP && !askUnits(link, count, entries))
            continue;
        const WakeTable table = link == Transport::TCPIP ? WakeTable {} : buildWakeTable(entries);

        prompter_.showStatus(text::kWakingUp);
        auto group = std::make_unique<CVornGroup>(groupId_, link, table.standAlone != 0, count);
        result.attempted = true;
        prompter_.beginWait();
        const bool ok = wake(*group, table);
        prompter_.endWait();
        group->failed = !ok;
        result.group = std::move(group);
        result.setUp = false;

        if (prompter_.waitCancelled())
            return result; // the operator gave up: no failure box, no "Setup complete"
        if (!ok) {
            const MessageAnswer answer =
                messages_.show(text::kDidNotRespond, "Error", MessageIcon::Stop, MessageButtons::AbortRetryIgnore);
            if (answer == MessageAnswer::Retry)
                continue;
            result.showComplete = answer != MessageAnswer::Abort;
            return result;
        }
        result.setUp = true;
        result.distortionSensor = result.group->firstDistortionUnit();
        result.showComplete = true;
        return result;
    }
}

SetupResult SetupFlow::runRs232()
{
    Rs232SetupValues values;
    return loop(
        Transport::RS232, [&] { return prompter_.askRs232(values); }, [&] { return values.deviceCount; },
        [&](CVornGroup& group, const WakeTable& table) {
            library_.shutDown(groupId_);
            group.woken = library_.rs232WakeUp(groupId_, table.standAlone, values.deviceCount, table.entries.data(),
                                               kBaudRates[static_cast<std::size_t>(values.baudIndex)],
                                               values.readTimeout, values.writeTimeout);
            if (!group.woken || !readConfiguration(group, false, false))
                return false;
            deriveUnitInfo(library_, group);
            coolDownSlaveTransmitters(group);
            return true;
        });
}

SetupResult SetupFlow::runIsa()
{
    IsaSetupValues values;
    return loop(
        Transport::ISA, [&] { return prompter_.askIsa(values); }, [&] { return values.deviceCount; },
        [&](CVornGroup& group, const WakeTable& table) {
            // The NT family's helper programs that install a port-I/O driver
            // do not exist here: the library reaches the boards itself.
            library_.shutDown(groupId_);
            group.woken = library_.isaWakeUp(groupId_, table.standAlone, values.deviceCount, table.entries.data(),
                                             values.readTimeout, values.writeTimeout);
            if (!group.woken || !readConfiguration(group, false, false))
                return false;
            deriveUnitInfo(library_, group);
            if (group.deviceCount >= 1 && group.modelCode[1] == kModelPellVorn2) {
                switchToPv2(group, table.entries[1], values.readTimeout, values.writeTimeout);
                if (group.failed)
                    return false;
            }
            coolDownSlaveTransmitters(group);
            return true;
        });
}

SetupResult SetupFlow::runTcpip(std::string& rememberedServer)
{
    TcpipSetupValues values;
    values.serverAddress = rememberedServer;
    return loop(
        Transport::TCPIP,
        [&] {
            const bool accepted = prompter_.askTcpip(values);
            if (accepted)
                rememberedServer = values.serverAddress;
            return accepted;
        },
        [&] { return values.deviceCount; },
        [&](CVornGroup& group, const WakeTable&) {
            library_.shutDown(groupId_);
            group.woken = library_.tcpipWakeUp(groupId_, values.serverAddress, values.port, values.deviceCount);
            if (!group.woken || !readConfiguration(group, true, true))
                return false;
            deriveUnitInfo(library_, group);
            return true;
        });
}

bool SetupFlow::readConfiguration(CVornGroup& group, bool fast, bool countFromSystem)
{
    if (!library_.getSystemConfig(group.groupId, group.systemConfig))
        return false;
    const int reported = group.systemConfig.numberOfUnits;
    if (countFromSystem)
        group.deviceCount = reported;
    group.deviceCount = std::clamp(group.deviceCount, 0, kMaxUnitAddress);
    const int records = std::clamp(std::max(group.deviceCount, reported), 0, kMaxUnitAddress);
    group.deviceConfig.assign(static_cast<std::size_t>(records) + 1, VornDeviceConfig {});
    for (int unit = 1; unit <= group.deviceCount; ++unit) {
        auto& config = group.deviceConfig[static_cast<std::size_t>(unit)];
        const bool ok = fast ? library_.getFastDeviceConfig(group.groupId, unit, config)
                             : library_.getDeviceConfig(group.groupId, unit, config);
        if (!ok)
            return false;
    }
    return true;
}

void SetupFlow::deriveUnitInfo(VornLibrary& library, CVornGroup& group)
{
    UnitChannel channel(library, group.groupId, group.transport);
    for (int unit = 1; unit <= group.deviceCount; ++unit) {
        const VornDeviceConfig& config = group.deviceConfig[static_cast<std::size_t>(unit)];
        group.hasTransmitter[unit] = (config.status & 0x02) != 0;
        const int entry = group.standAlone ? 0 : unit;
        group.sensorPresent[unit] = (group.systemConfig.unitStatus[entry] & 0x10) == 0;
        if (group.takesUnitCommands()) {
            const auto model = channel.modelString(unit);
            group.modelCode[unit] = model ? modelCodeFromString(*model) : kModelUnknown;
        } else {
            group.modelCode[unit] = modelCodeFromStatus2(config.status2);
        }
        DistortionParams& distortion = group.distortionParams[unit];
        distortion = DistortionParams {};
        distortion.supported = supportsDistortionDetection(config.softwareRevision);
        if (group.takesUnitCommands() && hasReadableDistortionRecord(config.softwareRevision)) {
            readDistortionRecord(channel, unit, distortion);
        }
    }
    group.activeTransmitter = group.firstTransmitterUnit();
}

void SetupFlow::switchToPv2(CVornGroup& group, std::uint16_t base, std::uint32_t readTimeout,
                            std::uint32_t writeTimeout)
{
    library_.shutDown(groupId_);
    group.woken = library_.pv2WakeUp(groupId_, base, readTimeout, writeTimeout);
    if (!group.woken) {
        group.failed = true;
        return;
    }
    // The PV2 board reports how many units it serves.
    group.standAlone = false;
    if (!readConfiguration(group, false, true)) {
        group.failed = true;
        return;
    }
    deriveUnitInfo(library_, group);
}

void SetupFlow::coolDownSlaveTransmitters(CVornGroup& group)
{
    for (int unit = 2; unit <= group.deviceCount; ++unit) {
        const bool drivesTransmitter = (group.deviceConfig[static_cast<std::size_t>(unit)].status & 0x01) != 0;
        const int model = group.modelCode[unit];
        if (drivesTransmitter && (model == 3 || model == 1))
            setTransmitterMode(library_, group, kCoolDown); // a refusal is ignored here
    }
}

} // namespace vornscope
