#include "core/acquisition_worker.h"
#include "core/distortion_colour.h"
#include "core/frame_averager.h"
#include "core/frame_source.h"
#include "core/link_watch.h"
#include "core/numeric_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <condition_variable>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace vornscope {
namespace {

TEST(FrameAverager, MeansLastButtonLargestDistortion)
{
    FrameAverager averager;
    averager.start(5);
    auto frame = std::make_unique<SampleFrame>();
    const std::int16_t buttons[] = {0, 16, 0, 48, 0};
    const std::uint16_t distortions[] = {3, 90, 12, 40, 7};
    for (int i = 0; i < 5; ++i) {
        for (int unit = 1; unit <= 2; ++unit) {
            SensorRecord& s = frame->sensors[unit];
            s.position = {i * 1.0, 10.0 * unit, -i * 2.0};
            s.angles = {i * 10.0, 0, 0};
            s.matrix.fill(i * 0.1);
            s.quaternion.fill(i * 0.2);
            s.button = buttons[i];
            s.distortion = distortions[i];
            s.content = static_cast<std::uint8_t>(content::kPosition | content::kButton);
        }
        frame->time = i;
        averager.add(*frame, 2);
    }
    const SampleFrame& mean = averager.result();
    for (int unit = 1; unit <= 2; ++unit) {
        const SensorRecord& s = mean.sensors[unit];
        EXPECT_DOUBLE_EQ(s.position[0], 2.0);
        EXPECT_DOUBLE_EQ(s.position[1], 10.0 * unit);
        EXPECT_DOUBLE_EQ(s.position[2], -4.0);
        EXPECT_DOUBLE_EQ(s.angles[0], 20.0);
        EXPECT_NEAR(s.matrix[8], 0.2, 1e-12);
        EXPECT_NEAR(s.quaternion[3], 0.4, 1e-12);
        EXPECT_EQ(s.button, 48);     // the last non-zero button
        EXPECT_EQ(s.distortion, 90); // the largest distortion
        EXPECT_EQ(s.content, content::kPosition | content::kButton);
    }
    EXPECT_EQ(mean.sensors[3].content, 0); // units beyond the count stay empty

    averager.start(1, true); // animate: position and matrix only
    averager.add(*frame, 1);
    EXPECT_DOUBLE_EQ(averager.result().sensors[1].position[0], 4.0);
    EXPECT_DOUBLE_EQ(averager.result().sensors[1].angles[0], 0.0);
    EXPECT_EQ(averager.result().sensors[1].button, 0);
}

// The mean of `angles` as azimuth (and, negated, as roll).
std::array<double, 3> angleMean(std::initializer_list<double> angles)
{
    FrameAverager averager;
    averager.start(static_cast<int>(angles.size()));
    auto frame = std::make_unique<SampleFrame>();
    for (double angle : angles) {
        frame->sensors[1].angles = {angle, 0.0, -angle};
        averager.add(*frame, 1);
    }
    return averager.result().sensors[1].angles;
}

TEST(FrameAverager, AnglesAreAveragedAsAnglesAcross180AndAroundZero)
{
    // Across the wrap: the arithmetic mean of these is near 0, the direction is 180.
    const auto wrap = angleMean({175.0, 179.0, -179.0, -175.0, 180.0});
    EXPECT_NEAR(std::abs(wrap[0]), 180.0, 1e-9);
    EXPECT_NEAR(std::abs(wrap[2]), 180.0, 1e-9);
    EXPECT_NEAR(wrap[1], 0.0, 1e-12);
    EXPECT_NEAR(angleMean({170.0, -176.0})[0], 177.0, 1e-9);
    EXPECT_NEAR(angleMean({-170.0, 176.0})[0], -177.0, 1e-9);
    // Around 0 and elsewhere a symmetric spread keeps its centre.
    EXPECT_NEAR(angleMean({-3.0, -1.0, 1.0, 3.0, 5.0})[0], 1.0, 1e-9);
    EXPECT_NEAR(angleMean({-3.0, -1.0, 1.0, 3.0, 5.0})[2], -1.0, 1e-9);
    EXPECT_NEAR(angleMean({88.0, 90.0, 92.0})[0], 90.0, 1e-9);
    // One frame comes back unchanged.
    EXPECT_DOUBLE_EQ(angleMean({-123.456})[0], -123.456);
}

TEST(FrameAverager, QuaternionsTakeTheFirstOnesSignBeforeTheMean)
{
    FrameAverager averager;
    averager.start(3);
    auto frame = std::make_unique<SampleFrame>();
    // q and -q are one rotation; a plain mean of these would be near zero.
    const std::array<std::array<double, 4>, 3> quaternions {
        {{0.6, 0.8, 0.0, 0.0}, {-0.6, -0.8, 0.0, 0.0}, {0.6, 0.79, 0.1, 0.0}}};
    for (const auto& q : quaternions) {
        frame->sensors[1].quaternion = q;
        averager.add(*frame, 1);
    }
    const auto mean = averager.result().sensors[1].quaternion;
    EXPECT_NEAR(mean[0], 0.6, 1e-12);
    EXPECT_NEAR(mean[1], (0.8 + 0.8 + 0.79) / 3, 1e-12);
    EXPECT_NEAR(mean[2], 0.1 / 3, 1e-12);
}

TEST(DistortionColour, RampAndFill)
{
    struct Case {
        int value, red, green;
    };
    const Case cases[] = {{0, 0, 255},    {34, 0, 255},   {35, 42, 255},  {40, 255, 255}, {41, 255, 255},
                          {60, 255, 255}, {61, 255, 234}, {66, 255, 127}, {67, 255, 128}, {86, 255, 128},
                          {87, 255, 107}, {92, 255, 0},   {93, 255, 0},   {127, 255, 0}};
    for (const Case& c : cases) {
        const std::uint32_t word = distortionColour(c.value);
        EXPECT_EQ(static_cast<int>(word & 0xFF), c.red) << c.value;
        EXPECT_EQ(static_cast<int>((word >> 8) & 0xFF), c.green) << c.value;
        EXPECT_EQ(word >> 16, 0u) << c.value;
    }
    EXPECT_EQ(distortionFillHeight(127, 254), 254);
    EXPECT_EQ(distortionFillHeight(200, 254), 254);
    EXPECT_EQ(distortionFillHeight(-3, 254), 0);
    EXPECT_EQ(distortionFillHeight(64, 254), 128);
}

TEST(NumericLayout, FourBlocksPerRowAndTheFormats)
{
    auto frame = std::make_unique<SampleFrame>();
    for (int unit = 1; unit <= 6; ++unit) {
        frame->sensors[unit].position = {1.23456, -2, 30};
        frame->sensors[unit].content = content::kPosition;
    }
    frame->sensors[2].content = content::kPosition | content::kMatrix | content::kButton;
    frame->sensors[2].matrix = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    frame->sensors[2].button = 112;
    std::vector<CTextItem> items;
    layoutNumericDisplay(*frame, {1, 2, 3, 4, 6}, false, items);
    std::vector<std::tuple<std::string, int, int>> headers;
    for (const CTextItem& item : items)
        if (item.text.find("Sensor") != std::string::npos)
            headers.emplace_back(item.text, item.x, item.y);
    ASSERT_EQ(headers.size(), 5u);
    EXPECT_EQ(headers[0], std::make_tuple(std::string("      Sensor 1"), 5, 5));
    EXPECT_EQ(headers[3], std::make_tuple(std::string("      Sensor 4"), 605, 5));
    // The fifth block starts a row below the last line of the fourth (header and position).
    EXPECT_EQ(headers[4], std::make_tuple(std::string("      Sensor 5"), 5, 5 + 15 + 15 + 20));
    EXPECT_EQ(items[1].text, "1.235  -2.000  30.000");
    EXPECT_EQ(items[1].textColour, kDataColour);
    EXPECT_EQ(items[0].textColour, kHeaderColour);
    EXPECT_EQ(items[4].text, "   1.000   0.000   0.000");
    EXPECT_EQ(items[7].text, "Right Button Pressed");

    layoutNumericDisplay(*frame, {1}, true, items);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].y, 35);
}

CVornGroup groupOf(Transport link, bool standAlone, std::initializer_list<std::uint8_t> formats)
{
    CVornGroup group(7, link, standAlone, static_cast<int>(formats.size()));
    group.deviceConfig.resize(formats.size() + 1);
    int unit = 1;
    for (std::uint8_t format : formats) {
        group.deviceConfig[unit].dataFormat = format;
        group.deviceConfig[unit].scaling = 36;
        group.sensorPresent[unit] = true;
        ++unit;
    }
    return group;
}

TEST(OwnPointReply, LengthAndDecoding)
{
    CVornGroup group = groupOf(Transport::RS232, false, {1, 4, 5});
    group.deviceConfig[2].setup = 0x08; // button
    group.distortionParams[1].enabled = true;
    // 6 + dist + tag, 12 + button + tag, 24 + tag
    EXPECT_EQ(ownPointReplyLength(group), 8u + 14u + 25u);
    group.sensorPresent[3] = false;
    EXPECT_EQ(ownPointReplyLength(group), 8u + 14u);

    // Unit 1: x = 0x2000 words; packed 7 bits a byte, low part first.
    std::vector<std::uint8_t> reply = {0x80, 0x40, 0x00, 0x00, 0x00, 0x00, 66, 1};
    const std::uint8_t unit2[] = {0x80, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 16, 2};
    reply.insert(reply.end(), std::begin(unit2), std::end(unit2));
    auto frame = std::make_unique<SampleFrame>();
    ASSERT_TRUE(decodeOwnPointReply(group, reply.data(), reply.size(), *frame));
    // 0x40 << 7 = 0x2000 fourteen bits, << 2 = 0x8000: the most negative word.
    EXPECT_NEAR(frame->sensors[1].position[0], -32768 * 36.0 / 32767, 1e-9);
    EXPECT_EQ(frame->sensors[1].distortion, 66);
    EXPECT_NEAR(frame->sensors[2].position[0], 0x4000 * 36.0 / 32767, 1e-9);
    EXPECT_EQ(frame->sensors[2].button, 16);
    EXPECT_EQ(frame->sensors[2].content, content::kPosition | content::kAngles | content::kButton);
    EXPECT_FALSE(decodeOwnPointReply(group, reply.data(), reply.size() - 1, *frame));
}

// A frame source that counts its reads and can hold the worker inside one.
class CountingSource final : public FrameSource {
public:
    bool read(SampleFrame& frame) override
    {
        ++reads;
        frame.time = reads * 0.001;
        frame.sensors[1].position = {static_cast<double>(reads), 0, 0};
        frame.sensors[1].content = content::kPosition;
        return true;
    }
    std::atomic<int> reads {0};
};

// A unit that measures one frame per tick of its own clock and answers a
// request with the frame it measured last, so requests faster than its
// rate see the same frame again.
class LatestFrameSource final : public FrameSource {
public:
    LatestFrameSource(double rate, std::vector<PaceClock::time_point>& requests)
        : periodMs_(1000.0 / rate), requests_(requests)
    {
    }
    bool read(SampleFrame& frame) override
    {
        const auto now = PaceClock::now();
        requests_.push_back(now);
        const double ms = std::chrono::duration<double, std::milli>(now - start_).count();
        const double measured = std::floor(ms / periodMs_);
        frame.time = measured * periodMs_ * 0.001;
        frame.sensors[1].position = {measured, 0, 0};
        return true;
    }

private:
    double periodMs_;
    std::vector<PaceClock::time_point>& requests_; // read by the test once the thread ended
    PaceClock::time_point start_ = PaceClock::now();
};

// Every frame comes twice with the same time stamp.
class RepeatingSource final : public FrameSource {
public:
    bool read(SampleFrame& frame) override
    {
        const int measured = reads++ / 2;
        frame.time = measured * 0.01;
        frame.sensors[1].position = {static_cast<double>(measured), 0, 0};
        return true;
    }
    int reads = 0;
};

struct WorkerRun {
    std::vector<SampleFrame> points;
    double seconds = 0;    // from the start to the stop of the thread
    unsigned repeated = 0; // frames not counted
};

// Runs a worker until it has delivered `wanted` points (or 20 s went by).
WorkerRun runUntil(std::unique_ptr<FrameSource> source, double rate, int samples, std::size_t wanted)
{
    PointQueue queue;
    AcquisitionWorker worker(openNamedMutex("acquisition-worker-distinct"), queue);
    WorkerSettings settings;
    settings.samplesPerPoint = [samples] { return samples; };
    const auto start = PaceClock::now();
    worker.start(FrameSupply {std::move(source), rate, 1}, settings, nullptr);
    while (queue.waiting() < wanted && PaceClock::now() - start < std::chrono::seconds(20))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    worker.stop();
    WorkerRun run;
    run.seconds = std::chrono::duration<double>(PaceClock::now() - start).count();
    run.repeated = worker.repeatedFrames();
    std::size_t count = 0;
    queue.takeAll(run.points, count);
    run.points.resize(count);
    return run;
}

TEST(AcquisitionWorker, NoFrameTwiceAndNoFasterThanTheUnitsMeasure)
{
    // 144 per second: a sample period of 6.94 ms, which whole milliseconds made 6.
    constexpr double kRate = 144.0;
    std::vector<PaceClock::time_point> requests;
    const WorkerRun latest = runUntil(std::make_unique<LatestFrameSource>(kRate, requests), kRate, 1, 60);
    const auto& points = latest.points;
    ASSERT_GE(points.size(), 60u);
    EXPECT_LE(static_cast<double>(points.size()), latest.seconds * kRate + 1);
    for (std::size_t i = 1; i < points.size(); ++i)
        EXPECT_GT(points[i].sensors[1].position[0], points[i - 1].sensors[1].position[0]) << "frame twice at " << i;
    // The source notes the time a little after the worker does: 0.1 ms of slack,
    // against the 0.94 ms that whole milliseconds would take off.
    const auto period = std::chrono::duration<double, std::milli>(1000.0 / kRate - 0.1);
    for (std::size_t i = 1; i < requests.size(); ++i)
        EXPECT_GE(requests[i] - requests[i - 1], period) << i;

    // A frame that comes again with the same time stamp is not counted.
    const WorkerRun pairs = runUntil(std::make_unique<RepeatingSource>(), 500, 2, 10);
    ASSERT_GE(pairs.points.size(), 10u);
    EXPECT_GT(pairs.repeated, 0u);
    for (std::size_t i = 0; i < pairs.points.size(); ++i)
        EXPECT_DOUBLE_EQ(pairs.points[i].sensors[1].position[0], 2.0 * static_cast<double>(i) + 0.5) << i;
}

TEST(AcquisitionWorker, DeliversEveryPointAndFinishesThePointInProgress)
{
    PointQueue queue;
    AcquisitionWorker worker(openNamedMutex("acquisition-worker-test"), queue);
    auto source = std::make_unique<CountingSource>();
    CountingSource* counting = source.get();
    std::mutex mutex;
    std::condition_variable delivered;
    int points = 0;
    WorkerSettings settings;
    settings.samplesPerPoint = [] { return 4; };
    worker.start(FrameSupply {std::move(source), 500, 1}, settings, [&] {
        const std::lock_guard lock(mutex);
        ++points;
        delivered.notify_all();
    });
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(delivered.wait_for(lock, std::chrono::seconds(10), [&] { return points >= 5; }));
    }
    worker.finish();
    worker.join();
    std::vector<SampleFrame> taken;
    std::size_t count = 0;
    queue.takeAll(taken, count);
    EXPECT_EQ(static_cast<int>(count), points);
    EXPECT_EQ(counting->reads, 4 * points); // no point abandoned half way
    for (std::size_t i = 0; i < count; ++i) // means of 4 consecutive reads, in order
        EXPECT_DOUBLE_EQ(taken[i].sensors[1].position[0], 4.0 * static_cast<double>(i) + 2.5) << i;
}

TEST(LinkWatch, LostOnlyWhenFailuresLastWithNoFrameBetween)
{
    using namespace std::chrono_literals;
    const auto t0 = LinkWatch::Clock::now();
    LinkWatch watch(2000ms);
    EXPECT_FALSE(watch.failed(t0 + 5s)); // one read that hung long is not yet a loss
    EXPECT_FALSE(watch.failed(t0 + 6999ms));
    EXPECT_TRUE(watch.failed(t0 + 7s));
    watch.good();
    EXPECT_FALSE(watch.failed(t0 + 8s));
    watch.good(); // a frame between failures: each burst counts afresh
    EXPECT_FALSE(watch.failed(t0 + 11s));
}

// Good frames, then reads that fail: for a while only every third one, then all.
class FailingSource final : public FrameSource {
public:
    FailingSource(int good, PaceClock::duration flaky) : good_(good), flaky_(flaky) {}
    bool read(SampleFrame& frame) override
    {
        const int n = reads++;
        frame.time = n * 0.001;
        if (n < good_)
            return true;
        if (!flakyFrom_)
            flakyFrom_ = PaceClock::now();
        if (PaceClock::now() - *flakyFrom_ < flaky_ && n % 3 != 0)
            return true;
        if (!goneAt)
            goneAt = PaceClock::now();
        return false;
    }
    std::string takeFailure() override { return reads % 2 ? "no frame came" : "Unable to send \"point\" command"; }
    std::atomic<int> reads {0};
    std::optional<PaceClock::time_point> goneAt; // read by the test once the thread ended

private:
    int good_;
    PaceClock::duration flaky_;
    std::optional<PaceClock::time_point> flakyFrom_;
};

TEST(AcquisitionWorker, UnitsThatStopAnsweringEndTheThreadWithTheLastReason)
{
    using namespace std::chrono_literals;
    PointQueue queue;
    AcquisitionWorker worker(openNamedMutex("acquisition-worker-lost"), queue);
    auto source = std::make_unique<FailingSource>(8, 600ms);
    FailingSource* failing = source.get();
    WorkerSettings settings;
    settings.samplesPerPoint = [] { return 2; };
    settings.lostAfter = 200ms;
    worker.start(FrameSupply {std::move(source), 500, 1}, settings, nullptr);
    const auto deadline = PaceClock::now() + 10s;
    while (worker.active() && PaceClock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    ASSERT_FALSE(worker.active()) << "the thread kept asking units that are gone";
    const auto ended = PaceClock::now();
    worker.join();
    EXPECT_FALSE(worker.running());
    ASSERT_TRUE(worker.lost().has_value());
    EXPECT_TRUE(*worker.lost() == "no frame came" || *worker.lost() == "Unable to send \"point\" command");
    // Every third read failing for 600 ms was a passing fault, not a loss.
    ASSERT_TRUE(failing->goneAt.has_value());
    EXPECT_GE(ended - *failing->goneAt, 200ms);
    EXPECT_LT(ended - *failing->goneAt, 2s);
    std::vector<SampleFrame> taken;
    std::size_t count = 0;
    queue.takeAll(taken, count);
    EXPECT_GE(count, 4u + 30u); // the flaky time went on delivering points

    // A new start asks again and forgets the old loss.
    worker.start(FrameSupply {std::make_unique<CountingSource>(), 500, 1}, settings, nullptr);
    EXPECT_FALSE(worker.lost().has_value());
    worker.stop();
}

} // namespace
} // namespace vornscope
