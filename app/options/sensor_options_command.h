// Sensor Options (32788 / 32801): read the present sensors' settings under
// the view's mutex, show the sheet, and write the accepted pages back.
#pragma once

namespace vornscope {

class CVornscopeView;

class SensorOptionsCommand {
public:
    explicit SensorOptionsCommand(CVornscopeView& view) : view_(view) {}
    void run();

private:
    CVornscopeView& view_;
};

} // namespace vornscope
