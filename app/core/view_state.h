// The view's application state: what the enable and check rules of the
// command table look at, and what the commands change.
#pragma once

namespace vornscope {

struct ViewState {
    bool setUp = false;
    bool pointMode = false;
    bool streaming = false;
    bool animating = false;
    bool ball = false;
    bool graphMode = false;
    bool graphVisible = false;
    bool distortionOn = false;
    bool sendToTarget = false;
    // Unit 1's firmware can detect distortion (decides the distortion command).
    bool unit1SupportsDistortion = false;

    // Leaving the acquisition modes, as setup and shut-down do.
    void clearAcquisitionModes()
    {
        pointMode = streaming = animating = ball = false;
    }
};

} // namespace vornscope
