// What a simulated unit is: the fixed facts a unit reports and starts from.
#pragma once

#include "model/model_string.h"
#include "model/sensor_model.h"
#include "unit/memory_map.h"

#include <cstdint>
#include <string>

namespace vorn::sim {

// The line test the unit's dip switches select at power-up; off for normal operation.
enum class LineCheckMode : uint8_t {
    Off,
    Ok,        // sends "OK" lines over and over
    Echo,      // sends back every byte it receives
    OneNumber, // answers each byte with one counting byte
    Block,     // answers a byte with 256 counting bytes
};

struct UnitConfig {
    uint8_t address = 1;                // FVB address; 0 for a stand-alone unit
    bool ownLine = true;                // has a serial line of its own (the master always does)
    uint16_t softwareRevision = 0x0343; // 3.67: integer part high byte, fraction low byte
    uint16_t crystalSpeed = 20;         // MHz
    std::string model = "6DKVA";        // padded with blanks to ten characters on the wire
    uint16_t unitSerial = 1001;
    uint16_t sensorSerial = 2001;
    uint16_t transmitterSerial = 3001;
    uint8_t addressingMode = 0; // master: 0 normal, 1 expanded, 2 super-expanded
    bool sensor = true;
    uint8_t transmitterBits = 0x01; // unit status byte bits 0-4: transmitter, ERT numbers, extended range
    uint8_t errorCode = 0;
    uint16_t extraStatusBits = 0;   // ORed into the status word (host sync, factory test, Xoff...)
    double measurementRate = 103.3; // Hz after a reset
    uint8_t dataFormat = 4;         // after a reset: position/angles
    bool groupModeAtReset = false;
    uint16_t buttonValue = 0; // what the button byte reports
    SensorConfig sensorModel;
    PromConfig prom;
    double rawSampleClock = 680400.0; // Hz: test-mode samples a second = this / rate count
    LineCheckMode lineCheck = LineCheckMode::Off;
};

} // namespace vorn::sim
