// The three acquisition modes, one class each. They change the view's mode
// flags and start or end the view's acquisition thread; the view routes the
// Take Data commands, keys and clicks to them.
#pragma once

#include "core/sample_frame.h"

#include <cstdint>
#include <vector>

namespace vornscope {

class CVornscopeView;
class VornLibrary;

// The library the modes talk through (stateless; shared by all views).
VornLibrary& programLibrary();

// Stream: a worker thread takes data points until the command comes again.
class StreamMode {
public:
    explicit StreamMode(CVornscopeView& view) : view_(view) {}
    void toggle();

private:
    CVornscopeView& view_;
};

// Point: one averaged data point per left click, space or Enter, taken on
// the user-interface thread.
class PointMode {
public:
    explicit PointMode(CVornscopeView& view) : view_(view) {}
    void toggle();
    void takePoint();

private:
    CVornscopeView& view_;
};

// Animate: position/matrix at one sample per point feeds the axes display;
// the formats and samplesPerPoint in force before are given back on leaving.
class AnimateMode {
public:
    explicit AnimateMode(CVornscopeView& view) : view_(view) {}
    void toggle();
    // Leaves animate mode (if on) and restores what it changed.
    void leave();
    void toggleBall();

private:
    bool saved_ = false;
    int savedSamplesPerPoint_ = 1;
    std::vector<std::uint8_t> savedFormats_;
    CVornscopeView& view_;
};

// Milliseconds of one data point: samplesPerPoint sample periods.
double dataPointPeriodMs(double measurementRate, int samplesPerPoint);

} // namespace vornscope
