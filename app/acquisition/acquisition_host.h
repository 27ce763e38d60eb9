// What the acquisition modes need from their view, and nothing more: the
// settings they read in one struct, a place for the data points they take,
// and the few screen changes a mode start or end brings. The group of units
// comes from the document's GroupSession, which also tells the modes when the
// group is going away.
#pragma once

#include "core/sample_frame.h"
#include "core/view_state.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace vornscope {

// The view's settings as the modes read them when a mode starts or a point is taken.
struct ModeSettings {
    bool setUp = false;
    int samplesPerPoint = 5;
    bool distortionOn = false; // frames come from the program's own point command
    bool graphMode = false;    // points go to the graph; the view is not cleared
};

// Screen changes a mode asks its view for.
enum class ModeScreen {
    Cleared,      // stream or point mode starts outside graph mode
    PointHelp,    // point mode's hint line
    Animate,      // graph hidden, view cleared, axes shown
    AnimateEnded, // axes hidden
    BallStarted,
};

class AcquisitionHost {
public:
    virtual ModeSettings modeSettings() const = 0;
    // Animate mode takes one frame per point and gives the old value back.
    virtual void setSamplesPerPoint(int samples) = 0;
    // Data points taken, oldest first; `count` of `points` are valid.
    virtual void takePoints(const std::vector<SampleFrame>& points, std::size_t count) = 0;
    virtual void showModeScreen(ModeScreen screen) = 0;
    // A line for the status bar (missing frames, a point that could not be taken).
    virtual void showStatus(const QString& text) = 0;
    // The units stopped answering while a mode ran, for `reason`; every mode
    // has ended and nothing holds the group any more.
    virtual void unitsLost(const QString& reason) = 0;

protected:
    ~AcquisitionHost() = default;
};

} // namespace vornscope
