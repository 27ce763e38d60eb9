// Why a group could not be woken up, in the words the library's own
// messages lack: run after a failed wake-up, each says what it finds on
// standard error (in `program`'s name) and nothing when all looks well.
#pragma once

#include <cstdint>
#include <string>

namespace vornctl {

// COM<port>: the device behind it cannot be opened, is in use by another
// program, or is no serial line.
void explainSerialPort(const std::string& program, unsigned port);

// ISA boards: neither a port-I/O service (VORN_PORTIO) nor /dev/port can be used.
// Returns true when it found (and said) that.
bool explainPortAccess(const std::string& program);

// A board whose master reported the addressing mode 255 reads as all ones:
// most likely no board at that base address.
void explainSilentBoard(const std::string& program, uint16_t base);

// A controller's host name that the resolver cannot turn into an address.
void explainHost(const std::string& program, const std::string& host);

} // namespace vornctl
