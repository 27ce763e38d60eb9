// The thread of stream and animate mode: it takes a data point of
// samplesPerPoint frames, one sample period apart, and hands it to the view
// through a PointQueue, until the view ends the mode. Frame reads hold the
// view's named mutex, so option commands never talk to the units at the same
// time. Clearing the mode lets the point in progress finish and be delivered;
// a stop (the view going away) abandons it.
#pragma once

#include "core/frame_averager.h"
#include "core/frame_source.h"
#include "core/named_mutex.h"
#include "core/point_queue.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace vornscope {

struct WorkerSettings {
    double measurementRate = 100;       // frames per second
    std::function<int()> samplesPerPoint;  // read at each data point
    int deviceCount = 1;
    bool positionMatrixOnly = false;       // animate mode
    // Waited before the first frame request: one data-point period, so the
    // units settle after the mode change without the user interface waiting.
    double initialDelayMs = 0;
};

class AcquisitionWorker {
public:
    AcquisitionWorker(NamedMutex mutex, PointQueue& queue) : mutex_(std::move(mutex)), queue_(queue) {}
    ~AcquisitionWorker() { stop(); }

    // Starts the thread; a previous run ends first. Counters start again at 0.
    void start(std::unique_ptr<FrameSource> source, WorkerSettings settings,
               std::function<void()> pointReady);
    // Ends the mode after the point in progress (does not wait).
    void finish() { running_ = false; }
    // Ends the thread now and waits for it.
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

private:
    void run();
    bool takePoint(FrameAverager& averager, SampleFrame& frame);

    NamedMutex mutex_;
    PointQueue& queue_;
    std::unique_ptr<FrameSource> source_;
    WorkerSettings settings_;
    std::function<void()> pointReady_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stop_{false};
    std::atomic<bool> active_{false};
    std::atomic<unsigned> failedReads_{0};
    std::thread thread_;
};

// One sample period in milliseconds at a measurement rate.
double samplePeriodMs(double measurementRate);

} // namespace vornscope
