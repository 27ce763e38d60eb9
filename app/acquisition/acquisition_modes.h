// The three acquisition modes, one class each, and AcquisitionModes, which
// owns them with the thread they share and keeps them exclusive. The modes
// reach their view only through AcquisitionHost and the units only through
// the document's GroupSession: when the session says the group is going away
// (a setup, Shut Down, the window closing), every mode ends exactly as
// leaving it does, the thread stops, and animate mode gives the formats and
// samplesPerPoint back while the old group is still awake. When the thread
// gives the units up as gone, every mode ends without writing to them and the
// host is told.
#pragma once

#include "acquisition/acquisition_host.h"
#include "core/named_mutex.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vornscope {

class AcquisitionHub;
class CVornGroup;
class GroupSession;
// What every mode works with.
struct ModeContext {
    AcquisitionHost& host;
    GroupSession& session;
    NamedMutex mutex;
    ModeFlags& flags;
    AcquisitionHub& hub;

    // The woken group, or null (after the refusal box) when not set up.
    CVornGroup* groupOrRefuse() const;
    // Starts the thread of stream or animate mode on the current group.
    void startThread(bool positionMatrixOnly) const;
};

// Stream: a worker thread takes data points until the command comes again.
class StreamMode {
public:
    explicit StreamMode(const ModeContext& context) : context_(context) {}
    void start();
    // Ends after the point in progress, which still arrives.
    void finish();

private:
    const ModeContext& context_;
};

// Point: one averaged data point per left click, space or Enter, taken on
// the user-interface thread.
class PointMode {
public:
    explicit PointMode(const ModeContext& context) : context_(context) {}
    void start();
    void takePoint();

private:
    const ModeContext& context_;
};

// Animate: position/matrix at one sample per point feeds the axes display;
// the formats and samplesPerPoint in force before are given back on leaving.
class AnimateMode {
public:
    explicit AnimateMode(const ModeContext& context) : context_(context) {}
    void start(CVornGroup& group);
    // Whether leaving may write the saved formats back.
    enum class Units { Answer, Gone };
    // Leaves animate mode (if on) and restores what it changed: the formats
    // only when the units still answer.
    void leave(Units units = Units::Answer);
    void toggleBall();

private:
    void restoreFormats(CVornGroup& group);

    const ModeContext& context_;
    bool saved_ = false;
    int savedSamplesPerPoint_ = 1;
    std::vector<std::uint8_t> savedFormats_;
};

class AcquisitionModes {
public:
    AcquisitionModes(AcquisitionHost& host, GroupSession& session, NamedMutex mutex, ModeFlags& flags);
    // Ends every mode; the session no longer knows these modes afterwards.
    ~AcquisitionModes();
    AcquisitionModes(const AcquisitionModes&) = delete;
    AcquisitionModes& operator=(const AcquisitionModes&) = delete;

    void toggleStream();
    void togglePoint();
    void takePoint();
    void toggleAnimate();
    void toggleBall();
    // Leaves every mode as the right mouse button does: a stream finishes the
    // point in progress, animate mode gives the formats back.
    void leaveAll();
    // Ends every mode now (the group is going away): the thread is stopped
    // and holds nothing of the group when this returns.
    void endAll();
    // The units' settings changed (options, distortion, rate): a running
    // thread reads with the group's new records from its next frame on.
    void unitsChanged();
    // The thread gave the units up: every mode ends and the host is told.
    void unitsLost();

    AcquisitionHub& hub() { return *hub_; }

private:
    // Ends the other modes before one starts.
    void endForNewMode();

    std::unique_ptr<AcquisitionHub> hub_;
    ModeContext context_;
    StreamMode stream_ {context_};
    PointMode point_ {context_};
    AnimateMode animate_ {context_};
    int sessionUser_ = 0;
};

// Milliseconds of one data point: samplesPerPoint sample periods.
double dataPointPeriodMs(double measurementRate, int samplesPerPoint);

} // namespace vornscope
