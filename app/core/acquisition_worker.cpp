#include "core/acquisition_worker.h"

#include "core/precise_wait.h"

namespace vornscope {

double samplePeriodMs(double measurementRate)
{
    return measurementRate > 0 ? static_cast<double>(static_cast<long>(1000.0 / measurementRate)) : 1000.0;
}

void AcquisitionWorker::start(std::unique_ptr<FrameSource> source, WorkerSettings settings,
                              std::function<void()> pointReady)
{
    stop();
    source_ = std::move(source);
    settings_ = std::move(settings);
    pointReady_ = std::move(pointReady);
    stop_ = false;
    failedReads_ = 0;
    running_ = true;
    active_ = true;
    thread_ = std::thread([this] { run(); });
}

void AcquisitionWorker::stop()
{
    stop_ = true;
    running_ = false;
    if (thread_.joinable())
        thread_.join();
}

void AcquisitionWorker::run()
{
    struct Done {
        std::atomic<bool>& flag;
        ~Done() { flag = false; }
    } done{active_};
    FrameAverager averager;
    auto frame = std::make_unique<SampleFrame>();
    if (!waitFor(settings_.initialDelayMs, &stop_))
        return;
    while (running_ && !stop_) {
        if (!takePoint(averager, *frame))
            continue;
        queue_.push(averager.result());
        if (pointReady_)
            pointReady_();
    }
}

bool AcquisitionWorker::takePoint(FrameAverager& averager, SampleFrame& frame)
{
    const int samples = std::max(settings_.samplesPerPoint ? settings_.samplesPerPoint() : 1, 1);
    const auto period = std::chrono::duration_cast<PaceClock::duration>(
        std::chrono::duration<double, std::milli>(samplePeriodMs(settings_.measurementRate)));
    averager.start(samples, settings_.positionMatrixOnly);
    auto deadline = PaceClock::now();
    for (int i = 0; i < samples; ++i) {
        // Deadlines, not sleeps after each read: the read's own time does not stretch the period.
        deadline += period;
        if (!waitUntil(deadline, &stop_))
            return false;
        bool read = false;
        {
            const std::lock_guard lock(*mutex_);
            read = source_->read(frame);
        }
        if (!read) {
            ++failedReads_;
            return false;
        }
        averager.add(frame, settings_.deviceCount);
    }
    return true;
}

} // namespace vornscope
