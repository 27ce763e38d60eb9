// The view's side of data acquisition: the worker thread of stream and
// animate mode, the queue it hands points through, and a timer that takes
// the waiting points on the user-interface thread about 60 times a second
// and passes them on, so painting is throttled while no point is dropped.
#pragma once

#include "core/acquisition_worker.h"
#include "core/point_queue.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

namespace vornscope {

class AcquisitionHub : public QObject {
    Q_OBJECT
public:
    using Consumer = std::function<void(const std::vector<SampleFrame>& points, std::size_t count)>;

    AcquisitionHub(NamedMutex mutex, Consumer consumer, QObject* parent = nullptr);
    ~AcquisitionHub() override;

    void start(FrameSupply supply, WorkerSettings settings);
    // A running thread reads from `supply` from its next frame on.
    void follow(FrameSupply supply) { worker_.follow(std::move(supply)); }
    // Ends the mode after the point in progress; its point still arrives.
    void finish();
    // Ends the thread now (the view is going away, or the units change).
    void stop();
    // The thread is alive (a finished mode may still deliver its last point).
    bool active() const { return worker_.active(); }
    void setSamplesPerPoint(int samples) { samplesPerPoint_ = samples; }
    // Takes and passes on the waiting points now.
    void drain();

    std::size_t delivered() const { return delivered_; }
    // Frames the units did not deliver since the mode started.
    unsigned failedReads() const { return worker_.failedReads(); }
    // Why the thread gave the units up as gone; given once, and not at all
    // when a start or stop came after it.
    std::optional<QString> takeLost();

Q_SIGNALS:
    // Frames the units did not deliver since the mode started (each costs its data point).
    void framesMissing(unsigned count);
    // The thread gave the units up as gone and has ended; takeLost() says why.
    void unitsLost();

private:
    std::atomic<int> samplesPerPoint_ {5};
    PointQueue queue_;
    AcquisitionWorker worker_;
    Consumer consumer_;
    QTimer timer_;
    std::vector<SampleFrame> taken_;
    std::size_t delivered_ = 0;
    unsigned reportedFailures_ = 0;
    bool lostReported_ = false;
    std::optional<QString> lost_;
};

} // namespace vornscope
