// While the user-interface thread waits in a library call (a silent unit can
// keep a read waiting for its whole time-out), the windows keep painting: the
// library's pump hook runs Qt's events except user input, and the cursor
// shows that the program is busy.
#pragma once

namespace vornscope {

class LibraryBusy {
public:
    LibraryBusy();
    ~LibraryBusy();
    LibraryBusy(const LibraryBusy&) = delete;
    LibraryBusy& operator=(const LibraryBusy&) = delete;
};

} // namespace vornscope
