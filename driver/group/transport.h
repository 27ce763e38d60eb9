// What a group keeps of its connection: one class per transport (serial,
// TCP/IP, ISA), owned by the group. The frame only needs to close it.
#pragma once

namespace vorn {

struct VornGroup;

class Transport {
public:
    virtual ~Transport() = default;
    // Releases the connection: TCP/IP says goodbye to the controller, serial
    // lines are left with RTS asserted, ISA boards are held in reset. Must be
    // idempotent and safe on a half-opened connection.
    virtual void close(VornGroup& group) = 0;
};

// Closes whatever the group has opened and returns it to the state of a
// fresh record: not woken up, not streaming, not reporting, no callback.
// Safe to call more than once.
void closeTransport(VornGroup& group);

} // namespace vorn
