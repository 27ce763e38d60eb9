// System Options (32787 / 32802): read the system settings under the view's
// mutex, show the dialog, and write the accepted values back (steps a to e).
#pragma once

namespace vornscope {

class CVornscopeView;

class SystemOptionsCommand {
public:
    explicit SystemOptionsCommand(CVornscopeView& view) : view_(view) {}
    void run();

private:
    CVornscopeView& view_;
};

} // namespace vornscope
