#include "core/scripted_library.h"

#include <algorithm>
#include <cstring>

namespace vornscope::testing {

std::vector<std::string> ScriptedLibrary::names() const
{
    std::vector<std::string> result;
    for (const auto& call : calls)
        result.push_back(call.name);
    return result;
}

std::vector<Call> ScriptedLibrary::named(const std::string& name) const
{
    std::vector<Call> result;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(result), [&](const Call& c) { return c.name == name; });
    return result;
}

void ScriptedLibrary::shutDown(int)
{
    calls.push_back({"shutDown"});
}

bool ScriptedLibrary::rs232WakeUp(int, int standAlone, int count, const std::uint16_t* ports, std::uint32_t,
                                  std::uint32_t, std::uint32_t)
{
    Call call {"rs232WakeUp"};
    call.standAlone = standAlone;
    call.count = count;
    call.table.assign(ports, ports + count + 1);
    calls.push_back(call);
    return wakeSucceeds;
}

bool ScriptedLibrary::isaWakeUp(int, int standAlone, int count, const std::uint16_t* bases, std::uint32_t,
                                std::uint32_t)
{
    Call call {"isaWakeUp"};
    call.standAlone = standAlone;
    call.count = count;
    call.table.assign(bases, bases + count + 1);
    calls.push_back(call);
    return wakeSucceeds;
}

bool ScriptedLibrary::tcpipWakeUp(int, const std::string&, std::uint16_t, int count)
{
    Call call {"tcpipWakeUp"};
    call.count = count;
    calls.push_back(call);
    return wakeSucceeds;
}

bool ScriptedLibrary::pv2WakeUp(int, std::uint16_t base, std::uint32_t, std::uint32_t)
{
    Call call {"pv2WakeUp"};
    call.table = {base};
    calls.push_back(call);
    pv2Woken = pv2Succeeds;
    return pv2Succeeds;
}

bool ScriptedLibrary::getSystemConfig(int, VornSystemConfig& config)
{
    calls.push_back({"getSystemConfig"});
    config = pv2Woken ? systemAfterPv2 : system;
    return true;
}

bool ScriptedLibrary::setSystemConfig(int, VornSystemConfig& config)
{
    calls.push_back({"setSystemConfig"});
    if (refuseSystemConfig)
        return fail(*refuseSystemConfig);
    system = config;
    return true;
}

bool ScriptedLibrary::fail(const std::string& message)
{
    failure_ = message;
    return false;
}

std::string ScriptedLibrary::takeFailure()
{
    std::string message;
    message.swap(failure_);
    return message;
}

bool ScriptedLibrary::getDeviceConfig(int, int unit, VornDeviceConfig& config)
{
    Call call {"getDeviceConfig"};
    call.unit = unit;
    calls.push_back(call);
    config = devices[unit];
    return true;
}

bool ScriptedLibrary::setDeviceConfig(int, int unit, const VornDeviceConfig& config)
{
    Call call {"setDeviceConfig"};
    call.unit = unit;
    call.config = config;
    calls.push_back(call);
    if (const auto refused = refusedScalings.find(config.scaling); refused != refusedScalings.end())
        return fail(refused->second);
    devices[unit] = config;
    return true;
}

bool ScriptedLibrary::getFastDeviceConfig(int, int unit, VornDeviceConfig& config)
{
    Call call {"getFastDeviceConfig"};
    call.unit = unit;
    calls.push_back(call);
    config = devices[unit];
    return true;
}

bool ScriptedLibrary::sendCommand(Transport link, int, int unit, const std::uint8_t* bytes, std::uint16_t count)
{
    Call call {"sendCommand"};
    call.unit = unit;
    call.bytes.assign(bytes, bytes + count);
    calls.push_back(call);
    pending_.clear();
    if (count >= 2 && bytes[0] == 'O') {
        const int parameter = bytes[1];
        if (parameter == 15) {
            const std::string model = models.count(unit) ? models[unit] : std::string("6DKVA     ");
            pending_.assign(model.begin(), model.end());
        } else if (examineAnswers.count(parameter)) {
            pending_ = examineAnswers[parameter];
        } else {
            pending_ = {0};
        }
        // ISA answers whole words; a one-byte value is the low byte, sent second.
        if (link == Transport::ISA && pending_.size() % 2 != 0)
            pending_.insert(pending_.begin(), 0);
    }
    return true;
}

bool ScriptedLibrary::getResponse(Transport, int, int unit, std::uint8_t* bytes, std::uint16_t count)
{
    Call call {"getResponse"};
    call.unit = unit;
    call.count = count;
    calls.push_back(call);
    if (pending_.size() < count)
        return false;
    std::memcpy(bytes, pending_.data(), count);
    return true;
}

} // namespace vornscope::testing
