// The Distortion command: the options dialog, the units' 's' commands and
// the bar.
#pragma once

namespace vornscope {

class CVornscopeView;

class DistortionCommand {
public:
    explicit DistortionCommand(CVornscopeView& view) : view_(view) {}
    void run();

private:
    CVornscopeView& view_;
};

} // namespace vornscope
