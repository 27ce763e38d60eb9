#pragma once
// Humgather's frame: the banner, the work mode, the port, the start-up checks and the operational
// menu, from which every other dialogue runs.
#include "session.h"

namespace vorn::humgather {

class HumgatherProgram {
public:
    explicit HumgatherProgram(Session& session) : s_(session) {}
    // Returns the program's exit status.
    int run();

private:
    void showBanner();
    void askWorkMode();
    void askExtendedRange();
    void operationalMenu();
    // One pass of the menu; false when the user chose EXIT.
    bool menuPass();
    void askStatistics();

    Session& s_;
};

} // namespace vorn::humgather
