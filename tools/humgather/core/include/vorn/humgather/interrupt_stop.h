#pragma once
// While the unit is in its test mode, an interrupt (Ctrl-C, a termination signal) must not leave
// it streaming raw samples: for as long as a StopOnInterrupt lives, those signals first send
// "?" (stop) and "b" (reboot out of test mode) on the line, then go on to what was installed
// before (the terminal's restore), which ends the program.
namespace vorn::humgather {

class StopOnInterrupt {
public:
    explicit StopOnInterrupt(int lineDescriptor);
    ~StopOnInterrupt();
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;
};

} // namespace vorn::humgather
