// The view's application state: what the enable and check rules of the
// command table look at, and what the commands change.
#pragma once

namespace vornscope {

// The acquisition modes' flags; the modes alone change them.
struct ModeFlags {
    bool pointMode = false;
    bool streaming = false;
    bool animating = false;
    bool ball = false;

    void clearModes() { pointMode = streaming = animating = ball = false; }
};

struct ViewState : ModeFlags {
    bool setUp = false;
    bool graphMode = false;
    bool graphVisible = false;
    bool distortionOn = false;
    bool sendToTarget = false;
    // Unit 1's firmware can detect distortion (decides the distortion command).
    bool unit1SupportsDistortion = false;
};

} // namespace vornscope
