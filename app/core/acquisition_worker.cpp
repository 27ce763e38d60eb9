#include "core/acquisition_worker.h"

#include <mutex>

namespace vornscope {

double samplePeriodMs(double measurementRate)
{
    return measurementRate > 0 ? 1000.0 / measurementRate : 1000.0;
}

void AcquisitionWorker::start(FrameSupply supply, WorkerSettings settings, std::function<void()> pointReady)
{
    stop();
    supply_ = std::move(supply);
    settings_ = std::move(settings);
    pointReady_ = std::move(pointReady);
    stop_ = false;
    failedReads_ = 0;
    repeatedFrames_ = 0;
    anyFrame_ = false;
    watch_.emplace(settings_.lostAfter);
    failureReason_.clear();
    {
        const std::lock_guard lock(lostMutex_);
        lost_.reset();
    }
    lastSupplyNumber_ = supplyNumber_;
    running_ = true;
    active_ = true;
    thread_ = std::thread([this] { run(); });
}

void AcquisitionWorker::follow(FrameSupply supply)
{
    const std::lock_guard lock(*mutex_);
    supply_ = std::move(supply);
    ++supplyNumber_;
}

void AcquisitionWorker::stop()
{
    stop_ = true;
    running_ = false;
    if (thread_.joinable())
        thread_.join();
    supply_.source.reset();
}

void AcquisitionWorker::run()
{
    struct Done {
        std::atomic<bool>& flag;
        ~Done() { flag = false; }
    } done {active_};
    FrameAverager averager;
    auto frame = std::make_unique<SampleFrame>();
    if (!waitFor(settings_.initialDelayMs, &stop_))
        return;
    lastRequest_ = PaceClock::now() - std::chrono::hours(1);
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
    averager.start(samples, settings_.positionMatrixOnly);
    while (averager.added() < samples) {
        int deviceCount = 0;
        unsigned supplyNumber = 0;
        if (!readFrame(frame, deviceCount, supplyNumber))
            return false;
        // Time stamps of another source need not follow the old ones.
        if (supplyNumber != lastSupplyNumber_) {
            lastSupplyNumber_ = supplyNumber;
            anyFrame_ = false;
        }
        if (anyFrame_ && frame.time <= lastFrameTime_) {
            ++repeatedFrames_;
            continue;
        }
        anyFrame_ = true;
        lastFrameTime_ = frame.time;
        averager.add(frame, deviceCount);
    }
    return true;
}

bool AcquisitionWorker::readFrame(SampleFrame& frame, int& deviceCount, unsigned& supplyNumber)
{
    double rate = 0;
    {
        const std::lock_guard lock(*mutex_);
        rate = supply_.measurementRate;
    }
    // From the start of the last request, not from its end: the read's own
    // time does not stretch the period, and a late request never lets the
    // next one come early.
    const auto period = std::chrono::duration_cast<PaceClock::duration>(
        std::chrono::duration<double, std::milli>(samplePeriodMs(rate)));
    if (!waitUntil(std::max(lastRequest_ + period, PaceClock::now()), &stop_))
        return false;
    const std::lock_guard lock(*mutex_);
    lastRequest_ = PaceClock::now(); // after the lock: waiting for it only makes requests later
    deviceCount = supply_.deviceCount;
    supplyNumber = supplyNumber_;
    if (supply_.source && supply_.source->read(frame)) {
        watch_->good();
        failureReason_.clear();
        return true;
    }
    ++failedReads_;
    noteFailure(supply_.source ? supply_.source->takeFailure() : std::string());
    return false;
}

void AcquisitionWorker::noteFailure(std::string reason)
{
    // The latest says most: a read that timed out first may be followed by
    // the library's own word for a line that is gone.
    if (!reason.empty())
        failureReason_ = std::move(reason);
    if (!watch_->failed(LinkWatch::Clock::now()))
        return;
    {
        const std::lock_guard lock(lostMutex_);
        lost_ = failureReason_.empty() ? std::string("the units stopped answering") : failureReason_;
    }
    running_ = false;
}

std::optional<std::string> AcquisitionWorker::lost() const
{
    const std::lock_guard lock(lostMutex_);
    return lost_;
}

} // namespace vornscope
