#include "acquisition/acquisition_modes.h"

#include "acquisition/acquisition_hub.h"
#include "core/frame_averager.h"
#include "core/frame_source.h"
#include "core/messages.h"
#include "core/precise_wait.h"
#include "displays/animate_display.h"
#include "displays/graph_window.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"
#include "shell/library_busy.h"
#include "shell/message_boxes.h"

#include <memory>
#include <mutex>

namespace vornscope {
namespace {

constexpr std::uint8_t kPositionMatrixCode = 5;

bool refusedUnlessSetUp(CVornscopeView& view)
{
    if (view.state().setUp && view.document()->group() != nullptr)
        return false;
    refuseNotSetUp();
    return true;
}

WorkerSettings settingsFor(CVornscopeView& view, bool positionMatrixOnly)
{
    const CVornGroup& group = *view.document()->group();
    WorkerSettings settings;
    {
        // The rate and the unit count as the units last reported them.
        const std::lock_guard lock(*view.mutex());
        settings.measurementRate = group.systemConfig.measurementRate;
        settings.deviceCount = group.deviceCount;
    }
    settings.positionMatrixOnly = positionMatrixOnly;
    settings.initialDelayMs = dataPointPeriodMs(settings.measurementRate, view.document()->samplesPerPoint());
    return settings;
}

void startWorker(CVornscopeView& view, bool positionMatrixOnly)
{
    AcquisitionHub& hub = view.acquisition();
    hub.setSamplesPerPoint(view.document()->samplesPerPoint());
    const CVornGroup& group = *view.document()->group();
    hub.start(makeFrameSource(programLibrary(), group, view.state().distortionOn),
              settingsFor(view, positionMatrixOnly));
}

} // namespace

VornLibrary& programLibrary()
{
    static LibVorn library;
    return library;
}

double dataPointPeriodMs(double measurementRate, int samplesPerPoint)
{
    return measurementRate > 0 ? 1000.0 / measurementRate * samplesPerPoint : 0.0;
}

void StreamMode::toggle()
{
    if (refusedUnlessSetUp(view_))
        return;
    ViewState& state = view_.state();
    if (state.streaming) {
        state.streaming = false;
        view_.acquisition().finish();
        return;
    }
    view_.acquisition().stop();
    view_.animateMode().leave();
    state.streaming = true;
    state.pointMode = false;
    state.ball = false;
    if (!state.graphMode)
        view_.clearView();
    startWorker(view_, false);
}

void PointMode::toggle()
{
    if (refusedUnlessSetUp(view_))
        return;
    ViewState& state = view_.state();
    state.pointMode = !state.pointMode;
    if (!state.pointMode)
        return;
    if (state.streaming)
        view_.acquisition().stop();
    state.streaming = false;
    view_.animateMode().leave();
    state.ball = false;
    if (!state.graphMode) {
        view_.clearView();
        view_.showStatusLine(text::kPointModeHelp);
    }
}

void PointMode::takePoint()
{
    if (refusedUnlessSetUp(view_))
        return;
    const CVornGroup& group = *view_.document()->group();
    const int samples = std::max(view_.document()->samplesPerPoint(), 1);
    const double period = samplePeriodMs(group.systemConfig.measurementRate);
    auto source = makeFrameSource(programLibrary(), group, view_.state().distortionOn);
    FrameAverager averager;
    averager.start(samples);
    auto frame = std::make_unique<SampleFrame>();
    for (int i = 0; i < samples; ++i) {
        waitFor(period);
        bool read = false;
        {
            const std::lock_guard lock(*view_.mutex());
            LibraryBusy busy;
            read = source->read(*frame);
        }
        if (!read) {
            Q_EMIT view_.statusMessage(QStringLiteral("No frame came from the units."));
            return;
        }
        averager.add(*frame, group.deviceCount);
    }
    const std::vector<SampleFrame> point{averager.result()};
    view_.takePoints(point, 1);
}

void AnimateMode::toggle()
{
    if (refusedUnlessSetUp(view_))
        return;
    ViewState& state = view_.state();
    if (state.animating) {
        leave();
        return;
    }
    view_.acquisition().stop();
    state.pointMode = false;
    state.streaming = false;
    view_.setGraphMode(false);
    state.animating = true;

    CVornscopeDoc& document = *view_.document();
    CVornGroup& group = *document.group();
    savedSamplesPerPoint_ = document.samplesPerPoint();
    savedFormats_.assign(group.deviceConfig.size(), 0);
    {
        const std::lock_guard lock(*view_.mutex());
        LibraryBusy busy;
        for (int unit = 1; unit < static_cast<int>(group.deviceConfig.size()); ++unit) {
            VornDeviceConfig& config = group.deviceConfig[static_cast<std::size_t>(unit)];
            savedFormats_[static_cast<std::size_t>(unit)] = config.dataFormat;
            VornDeviceConfig changed = config;
            changed.dataFormat = kPositionMatrixCode;
            if (programLibrary().setDeviceConfig(group.groupId, unit, changed))
                config = changed;
        }
    }
    saved_ = true;
    document.setSamplesPerPoint(1);
    view_.clearView();
    view_.showAnimateDisplay(true);
    startWorker(view_, true);
}

void AnimateMode::leave()
{
    ViewState& state = view_.state();
    if (!state.animating && !saved_)
        return;
    view_.acquisition().stop();
    state.animating = false;
    state.ball = false;
    view_.showAnimateDisplay(false);
    if (!saved_)
        return;
    saved_ = false;
    CVornscopeDoc& document = *view_.document();
    document.setSamplesPerPoint(savedSamplesPerPoint_);
    CVornGroup* group = document.group();
    if (group == nullptr)
        return;
    const std::lock_guard lock(*view_.mutex());
    LibraryBusy busy;
    for (int unit = 1; unit < static_cast<int>(group->deviceConfig.size()); ++unit) {
        if (static_cast<std::size_t>(unit) >= savedFormats_.size())
            break;
        VornDeviceConfig& config = group->deviceConfig[static_cast<std::size_t>(unit)];
        VornDeviceConfig restored = config;
        restored.dataFormat = savedFormats_[static_cast<std::size_t>(unit)];
        if (programLibrary().setDeviceConfig(group->groupId, unit, restored))
            config = restored;
    }
}

void AnimateMode::toggleBall()
{
    ViewState& state = view_.state();
    if (!state.animating)
        return;
    state.ball = !state.ball;
    if (state.ball)
        view_.animateDisplay()->startBall();
}

} // namespace vornscope
