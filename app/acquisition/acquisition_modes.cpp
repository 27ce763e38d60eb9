#include "acquisition/acquisition_modes.h"

#include "acquisition/acquisition_hub.h"
#include "core/frame_averager.h"
#include "core/frame_source.h"
#include "core/group_session.h"
#include "core/precise_wait.h"
#include "shell/library_busy.h"
#include "shell/message_boxes.h"

#include <memory>
#include <mutex>
#include <optional>

namespace vornscope {
namespace {

constexpr std::uint8_t kPositionMatrixCode = 5;

// What the thread reads from: a copy of the group's records as they are now.
FrameSupply supplyFor(const CVornGroup& group, bool distortionOn)
{
    return FrameSupply {makeFrameSource(programLibrary(), group, distortionOn), group.systemConfig.measurementRate,
                        group.deviceCount};
}

// Writes `format(unit)` as each unit's data format; the group's record
// follows what the units took.
template <typename Format> void writeFormats(const ModeContext& context, CVornGroup& group, Format format)
{
    const std::lock_guard lock(*context.mutex);
    LibraryBusy busy;
    for (int unit = 1; unit < static_cast<int>(group.deviceConfig.size()); ++unit) {
        VornDeviceConfig& config = group.deviceConfig[static_cast<std::size_t>(unit)];
        VornDeviceConfig changed = config;
        changed.dataFormat = format(unit, config.dataFormat);
        if (programLibrary().setDeviceConfig(group.groupId, unit, changed))
            config = changed;
    }
}

} // namespace

double dataPointPeriodMs(double measurementRate, int samplesPerPoint)
{
    return measurementRate > 0 ? 1000.0 / measurementRate * samplesPerPoint : 0.0;
}

CVornGroup* ModeContext::groupOrRefuse() const
{
    CVornGroup* group = session.group();
    if (host.modeSettings().setUp && session.woken() && group != nullptr)
        return group;
    refuseNotSetUp();
    return nullptr;
}

void ModeContext::startThread(bool positionMatrixOnly) const
{
    const ModeSettings settings = host.modeSettings();
    const CVornGroup& group = *session.group();
    FrameSupply supply;
    {
        // The records as the units last reported them.
        const std::lock_guard lock(*mutex);
        supply = supplyFor(group, settings.distortionOn);
    }
    WorkerSettings worker;
    worker.positionMatrixOnly = positionMatrixOnly;
    worker.initialDelayMs = dataPointPeriodMs(supply.measurementRate, settings.samplesPerPoint);
    hub.setSamplesPerPoint(settings.samplesPerPoint);
    hub.start(std::move(supply), std::move(worker));
}

void StreamMode::start()
{
    context_.flags.streaming = true;
    if (!context_.host.modeSettings().graphMode)
        context_.host.showModeScreen(ModeScreen::Cleared);
    context_.startThread(false);
}

void StreamMode::finish()
{
    context_.flags.streaming = false;
    context_.hub.finish();
}

void PointMode::start()
{
    context_.flags.pointMode = true;
    if (!context_.host.modeSettings().graphMode)
        context_.host.showModeScreen(ModeScreen::PointHelp);
}

void PointMode::takePoint()
{
    const CVornGroup* group = context_.groupOrRefuse();
    if (group == nullptr)
        return;
    const int samples = std::max(context_.host.modeSettings().samplesPerPoint, 1);
    const double period = samplePeriodMs(group->systemConfig.measurementRate);
    auto source = makeFrameSource(programLibrary(), *group, context_.host.modeSettings().distortionOn);
    FrameAverager averager;
    averager.start(samples);
    auto frame = std::make_unique<SampleFrame>();
    for (int i = 0; i < samples; ++i) {
        // A wait of one measurement period before each request: with the
        // read's own time the requests are further apart than the units'
        // frames, so no frame is counted twice.
        waitFor(period);
        bool read = false;
        {
            const std::lock_guard lock(*context_.mutex);
            LibraryBusy busy;
            read = source->read(*frame);
        }
        if (!read) {
            const QString reason = QString::fromStdString(source->takeFailure());
            context_.host.showStatus(reason.isEmpty() ? QStringLiteral("No frame came from the units.")
                                                      : QStringLiteral("No frame came from the units: %1").arg(reason));
            return;
        }
        averager.add(*frame, group->deviceCount);
    }
    const std::vector<SampleFrame> point {averager.result()};
    context_.host.takePoints(point, 1);
}

void AnimateMode::start(CVornGroup& group)
{
    context_.flags.animating = true;
    savedSamplesPerPoint_ = context_.host.modeSettings().samplesPerPoint;
    savedFormats_.assign(group.deviceConfig.size(), 0);
    for (std::size_t unit = 1; unit < group.deviceConfig.size(); ++unit)
        savedFormats_[unit] = group.deviceConfig[unit].dataFormat;
    writeFormats(context_, group, [](int, std::uint8_t) { return kPositionMatrixCode; });
    saved_ = true;
    context_.host.setSamplesPerPoint(1);
    context_.host.showModeScreen(ModeScreen::Animate);
    context_.startThread(true);
}

void AnimateMode::leave(Units units)
{
    if (!context_.flags.animating && !saved_)
        return;
    context_.hub.stop();
    context_.flags.animating = false;
    context_.flags.ball = false;
    context_.host.showModeScreen(ModeScreen::AnimateEnded);
    if (!saved_)
        return;
    saved_ = false;
    context_.host.setSamplesPerPoint(savedSamplesPerPoint_);
    CVornGroup* group = context_.session.group();
    if (units == Units::Answer && group != nullptr && context_.session.woken())
        restoreFormats(*group);
}

void AnimateMode::restoreFormats(CVornGroup& group)
{
    writeFormats(context_, group, [this](int unit, std::uint8_t current) {
        const auto index = static_cast<std::size_t>(unit);
        return index < savedFormats_.size() ? savedFormats_[index] : current;
    });
}

void AnimateMode::toggleBall()
{
    if (!context_.flags.animating)
        return;
    context_.flags.ball = !context_.flags.ball;
    if (context_.flags.ball)
        context_.host.showModeScreen(ModeScreen::BallStarted);
}

AcquisitionModes::AcquisitionModes(AcquisitionHost& host, GroupSession& session, NamedMutex mutex, ModeFlags& flags)
    : hub_(std::make_unique<AcquisitionHub>(mutex, [&host](const std::vector<SampleFrame>& points,
                                                           std::size_t count) { host.takePoints(points, count); })),
      context_ {host, session, std::move(mutex), flags, *hub_}
{
    QObject::connect(hub_.get(), &AcquisitionHub::framesMissing, hub_.get(), [&host](unsigned count) {
        host.showStatus(
            QStringLiteral("The units did not answer %1 frame requests; those data points are missing.").arg(count));
    });
    // Queued: the modes end from the event loop, never inside a stop of the hub.
    QObject::connect(
        hub_.get(), &AcquisitionHub::unitsLost, hub_.get(), [this] { unitsLost(); }, Qt::QueuedConnection);
    sessionUser_ = session.addUser([this] { endAll(); });
}

AcquisitionModes::~AcquisitionModes()
{
    endAll();
    context_.session.removeUser(sessionUser_);
}

void AcquisitionModes::endForNewMode()
{
    context_.hub.stop();
    animate_.leave();
    context_.flags.clearModes();
}

void AcquisitionModes::toggleStream()
{
    if (context_.groupOrRefuse() == nullptr)
        return;
    if (context_.flags.streaming) {
        stream_.finish();
        return;
    }
    endForNewMode();
    stream_.start();
}

void AcquisitionModes::togglePoint()
{
    if (context_.groupOrRefuse() == nullptr)
        return;
    if (context_.flags.pointMode) {
        context_.flags.pointMode = false;
        return;
    }
    endForNewMode();
    point_.start();
}

void AcquisitionModes::takePoint()
{
    point_.takePoint();
}

void AcquisitionModes::toggleAnimate()
{
    CVornGroup* group = context_.groupOrRefuse();
    if (group == nullptr)
        return;
    if (context_.flags.animating) {
        animate_.leave();
        return;
    }
    endForNewMode();
    animate_.start(*group);
}

void AcquisitionModes::toggleBall()
{
    animate_.toggleBall();
}

void AcquisitionModes::leaveAll()
{
    if (context_.flags.streaming)
        stream_.finish();
    animate_.leave();
    context_.flags.clearModes();
}

void AcquisitionModes::endAll()
{
    context_.hub.stop();
    animate_.leave();
    context_.flags.clearModes();
}

void AcquisitionModes::unitsLost()
{
    // Null when a start, a setup or Shut Down overtook the report.
    const std::optional<QString> reason = context_.hub.takeLost();
    if (!reason)
        return;
    animate_.leave(AnimateMode::Units::Gone);
    endAll();
    context_.host.unitsLost(*reason);
}

void AcquisitionModes::unitsChanged()
{
    const CVornGroup* group = context_.session.group();
    if (!context_.hub.active() || group == nullptr)
        return;
    const std::lock_guard lock(*context_.mutex);
    context_.hub.follow(supplyFor(*group, context_.host.modeSettings().distortionOn));
}

} // namespace vornscope
