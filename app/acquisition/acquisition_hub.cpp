#include "acquisition/acquisition_hub.h"

namespace vornscope {
namespace {

constexpr int kDrainIntervalMs = 16;

} // namespace

AcquisitionHub::AcquisitionHub(NamedMutex mutex, Consumer consumer, QObject* parent)
    : QObject(parent), worker_(std::move(mutex), queue_), consumer_(std::move(consumer))
{
    timer_.setInterval(kDrainIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &AcquisitionHub::drain);
}

AcquisitionHub::~AcquisitionHub()
{
    worker_.stop();
}

void AcquisitionHub::start(FrameSupply supply, WorkerSettings settings)
{
    worker_.stop();
    drain();
    settings.samplesPerPoint = [this] { return samplesPerPoint_.load(); };
    reportedFailures_ = 0;
    lostReported_ = false;
    lost_.reset();
    worker_.start(std::move(supply), std::move(settings), nullptr);
    timer_.start();
}

void AcquisitionHub::finish()
{
    worker_.finish();
    // The timer keeps running until the last point has been taken.
}

void AcquisitionHub::stop()
{
    worker_.stop();
    drain();
    timer_.stop();
    lost_.reset(); // whoever stopped the thread ends the mode anyway
}

std::optional<QString> AcquisitionHub::takeLost()
{
    std::optional<QString> reason;
    reason.swap(lost_);
    return reason;
}

void AcquisitionHub::drain()
{
    std::size_t count = 0;
    queue_.takeAll(taken_, count);
    if (count > 0) {
        delivered_ += count;
        consumer_(taken_, count);
    }
    if (worker_.failedReads() != reportedFailures_) {
        reportedFailures_ = worker_.failedReads();
        Q_EMIT framesMissing(reportedFailures_);
    }
    if (worker_.active())
        return;
    if (!lostReported_) {
        if (const auto reason = worker_.lost()) {
            lostReported_ = true;
            lost_ = QString::fromStdString(*reason);
            Q_EMIT unitsLost();
        }
    }
    if (queue_.waiting() == 0)
        timer_.stop();
}

} // namespace vornscope
