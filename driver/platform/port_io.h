// Word access to ISA I/O ports. Two ways in: the port-I/O service named by
// VORN_PORTIO (a Unix-domain stream socket taking 12-byte requests of three
// little-endian u32: operation, port, value; 8 reads a word, 11 writes one;
// answered in the same layout with the word read in the third value), or
// /dev/port directly (needs privileges).
//
// One access object serves every ISA group of the process. Each group holds
// it while woken up; the last one to let go closes it, so shutting one group
// down never cuts off the others.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vorn::platform {

class PortIo {
public:
    // The longest one access may take: a service that has not answered by
    // then is taken for gone.
    static constexpr uint32_t kAccessLimitMs = 1000;

    virtual ~PortIo() = default;
    // Each access fails rather than outlast `limitMs` (at most kAccessLimitMs).
    virtual bool read(uint16_t port, uint16_t& word, uint32_t limitMs) = 0;
    virtual bool write(uint16_t port, uint16_t word, uint32_t limitMs) = 0;
};

inline constexpr uint32_t kPortIoReadWord = 8;
inline constexpr uint32_t kPortIoWriteWord = 11;
inline constexpr const char* kPortIoVariable = "VORN_PORTIO";

// Whether a port-I/O service is configured (the environment names one).
bool portIoServiceConfigured();

// The process's port access. With a service configured it is connected now:
// on failure nullptr, with the system's error number in `error`. Without
// one, /dev/port is opened on first use and a refusal fails each access.
std::shared_ptr<PortIo> acquirePortIo(int& error);

} // namespace vorn::platform
