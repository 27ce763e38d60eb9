#include "protocol/parameters.h"

#include <array>

namespace vorn::protocol {

namespace {

using enum Parameter;
using W = ValueWidth;

constexpr std::array kParameters = {
    ParameterInfo {Status, "Vorn Status", 2, W::None, 0},
    ParameterInfo {SoftwareRevision, "Software revision number", 2, W::None, 0},
    ParameterInfo {CrystalSpeed, "Vorn computer crystal speed", 2, W::None, 0},
    ParameterInfo {RangeScaling, "Maximum range scaling", 2, W::Word, 0},
    ParameterInfo {FilterStatus, "FILTER ON/OFF status", 2, W::Word, 0},
    ParameterInfo {AlphaMin, "ALPHA_MIN table", 14, W::Words, 7},
    ParameterInfo {MeasurementRateCount, "Measurement rate count", 2, W::Word, 0},
    ParameterInfo {MeasurementRate, "Measurement rate", 2, W::Word, 0},
    ParameterInfo {DataReadyCharacter, "enable/disable data rdy chr", 0, W::ByteOrWord, 0},
    ParameterInfo {ErrorCode, "Error code", 1, W::None, 0},
    ParameterInfo {ErrorDetectMask, "Error detect mask", 1, W::Byte, 0},
    ParameterInfo {VmTable, "Vm filter constants", 14, W::Words, 7},
    ParameterInfo {AlphaMax, "ALPHA_MAX table", 14, W::Words, 7},
    ParameterInfo {SuddenOutputChangeLock, "Sudden Output Change Lock", 1, W::ByteOrWord, 0},
    ParameterInfo {ModelIdentification, "System Model Identification", 10, W::None, 0},
    ParameterInfo {RotateXyzWithReferenceFrame, "Rotate xyz with ref frame", 1, W::ByteOrWord, 0},
    ParameterInfo {TransmitterOperationMode, "Transmitter Operation Mode", 1, W::Byte, 0},
    ParameterInfo {AddressingMode, "address mode", 1, W::None, 0},
    ParameterInfo {FilterLineFrequency, "Filter Line Freq", 1, W::Byte, 0},
    ParameterInfo {UnitSerialNumber, "Vorn Serial Number", 2, W::None, 0},
    ParameterInfo {SensorSerialNumber, "Sensor Serial Number", 2, W::None, 0},
    ParameterInfo {TransmitterSerialNumber, "Transmitter Serial Number", 2, W::None, 0},
    ParameterInfo {MetalDetection, "Metal Detection", 10, W::Words, 5},
    ParameterInfo {ReportRate, "Report Rate", 1, W::Byte, 0},
    ParameterInfo {GroupMode, "Group Mode", 1, W::ByteOrWord, 0},
    ParameterInfo {SystemStatus, "System Status", 0, W::None, 0},
    ParameterInfo {FvbAutoConfiguration, "FVB Auto Configuration", 0, W::ByteOrWord, 0},
};

} // namespace

std::span<const ParameterInfo> parameterTable()
{
    return kParameters;
}

const ParameterInfo* findParameter(uint8_t number)
{
    for (const auto& info : kParameters) {
        if (toByte(info.parameter) == number) {
            return &info;
        }
    }
    return nullptr;
}

std::size_t systemStatusBytes(uint8_t addressingMode)
{
    switch (addressingMode) {
    case 0: return 14;
    case 1: return 30;
    default: return 126;
    }
}

std::optional<std::size_t> examineAnswerBytes(uint8_t number, uint8_t addressingMode)
{
    if (number == toByte(SystemStatus)) {
        return systemStatusBytes(addressingMode);
    }
    if (number == toByte(FvbAutoConfiguration)) {
        return addressingMode == 0 ? 5 : 7;
    }
    const ParameterInfo* info = findParameter(number);
    if (info == nullptr || info->answerBytes == 0) {
        return std::nullopt;
    }
    return info->answerBytes;
}

std::optional<std::size_t> isaAnswerBytes(uint8_t number, uint8_t addressingMode)
{
    auto bytes = examineAnswerBytes(number, addressingMode);
    if (bytes) {
        *bytes += *bytes % 2;
    }
    return bytes;
}

std::optional<std::size_t> changeValueBytes(uint8_t number, Connection connection)
{
    const ParameterInfo* info = findParameter(number);
    if (info == nullptr) {
        return std::nullopt;
    }
    switch (info->valueWidth) {
    case W::None: return std::nullopt;
    case W::Byte: return 1;
    case W::ByteOrWord: return connection == Connection::Isa ? 2 : 1;
    case W::Word: return 2;
    case W::Words: return std::size_t {2} * info->valueWords;
    }
    return std::nullopt;
}

} // namespace vorn::protocol
