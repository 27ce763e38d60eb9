// While the user-interface thread waits in a library call (a silent unit can
// keep a read waiting for its whole time-out), the windows keep painting: the
// library's pump hook runs Qt's events except user input, and the cursor
// shows that the program is busy.
#pragma once

namespace vornscope {

// True while the user-interface thread is inside a library call that pumps
// Qt's events. Windows must not close then: the call's caller still uses them.
bool libraryCallInProgress();

// Counts one such call for its lifetime.
class LibraryCallScope {
public:
    LibraryCallScope();
    ~LibraryCallScope();
    LibraryCallScope(const LibraryCallScope&) = delete;
    LibraryCallScope& operator=(const LibraryCallScope&) = delete;
};

class LibraryBusy {
public:
    LibraryBusy();
    ~LibraryBusy();
    LibraryBusy(const LibraryBusy&) = delete;
    LibraryBusy& operator=(const LibraryBusy&) = delete;

private:
    LibraryCallScope scope_;
};

} // namespace vornscope
