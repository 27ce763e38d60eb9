// The thread of stream and animate mode: it takes a data point of
// samplesPerPoint frames, one measurement period apart, and hands it to the
// view through a PointQueue, until the view ends the mode. Frame reads hold
// the view's named mutex, so option commands never talk to the units at the
// same time. Clearing the mode lets the point in progress finish and be
// delivered; a stop (the view going away, the group being replaced) abandons
// it.
//
// Frames are distinct: two frame requests are never closer than one
// measurement period of the units (a unit answers with the frame it measured
// last), and a frame whose time stamp is not later than the previous one's is
// not counted. So no data point holds a frame twice, and no more points per
// second arrive than the units measure.
//
// Units that stop answering (reads failing one after another for
// lostAfter) end the mode by themselves: the thread stops asking and keeps
// the reason of the last failure for the view to show.
#pragma once

#include "core/frame_averager.h"
#include "core/frame_source.h"
#include "core/link_watch.h"
#include "core/named_mutex.h"
#include "core/point_queue.h"
#include "core/precise_wait.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace vornscope {

// What the thread reads frames from; replaced whole while it runs when the
// units' settings change.
struct FrameSupply {
    std::unique_ptr<FrameSource> source;
    double measurementRate = 100; // frames per second, as the units last reported it
    int deviceCount = 1;
};

struct WorkerSettings {
    std::function<int()> samplesPerPoint; // read at each data point
    bool positionMatrixOnly = false;      // animate mode
    // Waited before the first frame request: one data-point period, so the
    // units settle after the mode change without the user interface waiting.
    double initialDelayMs = 0;
    // Reads failing for this long, with no frame between them, mean the units are gone.
    std::chrono::milliseconds lostAfter {2000};
};

class AcquisitionWorker {
public:
    AcquisitionWorker(NamedMutex mutex, PointQueue& queue) : mutex_(std::move(mutex)), queue_(queue) {}
    ~AcquisitionWorker() { stop(); }

    // Starts the thread; a previous run ends first. Counters start again at 0.
    void start(FrameSupply supply, WorkerSettings settings, std::function<void()> pointReady);
    // Gives a running thread a new source and rate from its next frame on.
    void follow(FrameSupply supply);
    // Ends the mode after the point in progress (does not wait).
    void finish() { running_ = false; }
    // Ends the thread now and waits for it; afterwards it holds no source.
    void stop();
    // Waits for a finished thread to deliver its last point and end.
    void join()
    {
        if (thread_.joinable())
            thread_.join();
    }
    bool running() const { return running_; }
    // The thread is still alive (a finished mode may still deliver its last point).
    bool active() const { return active_; }
    // Frames that could not be read (each costs its data point).
    unsigned failedReads() const { return failedReads_; }
    // Frames that came again with the time stamp of the one before (not counted).
    unsigned repeatedFrames() const { return repeatedFrames_; }
    // Why the units were given up as gone, once the thread did so; empty otherwise.
    std::optional<std::string> lost() const;

private:
    void run();
    bool takePoint(FrameAverager& averager, SampleFrame& frame);
    // One frame, no earlier than one measurement period after the last request.
    bool readFrame(SampleFrame& frame, int& deviceCount, unsigned& supplyNumber);
    // A read failed for `reason`: gives the units up once failures have lasted too long.
    void noteFailure(std::string reason);

    NamedMutex mutex_;
    PointQueue& queue_;
    FrameSupply supply_;        // guarded by mutex_
    unsigned supplyNumber_ = 0; // guarded by mutex_; counts follow()
    unsigned lastSupplyNumber_ = 0;
    WorkerSettings settings_;
    std::function<void()> pointReady_;
    PaceClock::time_point lastRequest_ {};
    double lastFrameTime_ = 0;
    bool anyFrame_ = false;
    std::optional<LinkWatch> watch_;
    std::string failureReason_; // of the latest failure since the last frame
    mutable std::mutex lostMutex_;
    std::optional<std::string> lost_; // guarded by lostMutex_
    std::atomic<bool> running_ {false};
    std::atomic<bool> stop_ {false};
    std::atomic<bool> active_ {false};
    std::atomic<unsigned> failedReads_ {0};
    std::atomic<unsigned> repeatedFrames_ {0};
    std::thread thread_;
};

// One measurement period of the units in milliseconds: the shortest time
// between two frame requests.
double samplePeriodMs(double measurementRate);

} // namespace vornscope
