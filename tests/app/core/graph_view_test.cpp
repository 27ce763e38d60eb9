#include "core/graph_decimation.h"
#include "core/graph_view.h"

#include <gtest/gtest.h>

#include <memory>

namespace vornscope {
namespace {

GraphView windowOf(double start, double end)
{
    GraphView view;
    view.state.start = start;
    view.state.end = end;
    return view;
}

TEST(GraphView, ZoomAndShiftWindows)
{
    struct Case {
        const char* name;
        double start, end;
        std::size_t count;
        void (*action)(GraphView&, std::size_t);
        double wantStart, wantEnd, wantScale;
    };
    const Case cases[] = {
        {"zoom out at the left edge", 0, 100, 100, [](GraphView& v, std::size_t) { v.zoomOut(); }, 0, 150, 15},
        {"zoom out in the middle", 100, 200, 300, [](GraphView& v, std::size_t) { v.zoomOut(); }, 75, 225, 15},
        {"zoom in inside the data", 0, 90, 300, [](GraphView& v, std::size_t c) { v.zoomIn(c); }, 15, 75, 10 * 2.0 / 3},
        {"zoom in past the data end", 0, 150, 100, [](GraphView& v, std::size_t c) { v.zoomIn(c); }, 0, 100,
         10 * 2.0 / 3},
        {"shift right", 0, 100, 500, [](GraphView& v, std::size_t c) { v.shiftRight(c); }, 10, 110, 10},
        {"shift right stops at the data end", 495, 595, 500, [](GraphView& v, std::size_t c) { v.shiftRight(c); }, 500,
         600, 10},
        {"shift left stops at 0", 5, 105, 500, [](GraphView& v, std::size_t) { v.shiftLeft(); }, 0, 100, 10},
    };
    for (const Case& c : cases) {
        GraphView view = windowOf(c.start, c.end);
        c.action(view, c.count);
        EXPECT_DOUBLE_EQ(view.state.start, c.wantStart) << c.name;
        EXPECT_DOUBLE_EQ(view.state.end, c.wantEnd) << c.name;
        EXPECT_DOUBLE_EQ(view.state.scale, c.wantScale) << c.name;
    }
}

TEST(GraphView, ScalingDialogAndHistory)
{
    GraphView view = windowOf(100, 200);
    view.applyScaling(8, 2.5, 50); // vertical distance 8 shows a scale of 10
    EXPECT_DOUBLE_EQ(view.state.scale, 10);
    EXPECT_EQ(view.state.offsets, (std::array<double, 3> {2.5, 2.5, 2.5}));
    EXPECT_DOUBLE_EQ(view.state.start, 125);
    EXPECT_DOUBLE_EQ(view.state.end, 175);
    view.applyScaling(8, 0, 400); // wider: re-centred, clamped at 0
    EXPECT_DOUBLE_EQ(view.state.start, 0);
    EXPECT_DOUBLE_EQ(view.state.end, 400);

    // Popping restores scale and offsets and the earlier width around the current centre.
    ASSERT_TRUE(view.popHistory());
    EXPECT_DOUBLE_EQ(view.state.start, 175);
    EXPECT_DOUBLE_EQ(view.state.end, 225);
    ASSERT_TRUE(view.popHistory());
    EXPECT_DOUBLE_EQ(view.state.scale, 10);
    EXPECT_EQ(view.state.offsets, (std::array<double, 3> {}));
    EXPECT_DOUBLE_EQ(view.state.end - view.state.start, 100);
    EXPECT_FALSE(view.popHistory());
}

TEST(GraphView, RubberBandZoomsToTheRectangle)
{
    const PlotArea plot {50, 0, 400, 200};
    GraphView view = windowOf(0, 100);
    // Samples 25..50, the upper half of the plot: values 0..5 at scale 10.
    view.rubberBand(150, 0, 250, 100, plot);
    EXPECT_DOUBLE_EQ(view.state.start, 25);
    EXPECT_DOUBLE_EQ(view.state.end, 50);
    EXPECT_DOUBLE_EQ(view.state.scale, 5);
    EXPECT_DOUBLE_EQ(view.state.offsets[0], 2.5);
    // The rectangle's centre value is now the plot's centre.
    EXPECT_DOUBLE_EQ(view.yOfValue(2.5, 0, plot), 100);
    EXPECT_EQ(view.historyDepth(), 1u);
    view.rubberBand(150, 0, 150, 100, plot); // no width: a click, nothing pushed
    EXPECT_EQ(view.historyDepth(), 1u);
}

TEST(GraphView, NewPointsMoveTheWindowAndTheCursor)
{
    GraphView view = windowOf(10, 20);
    view.pointAdded(1);
    EXPECT_DOUBLE_EQ(view.state.start, 0);
    EXPECT_DOUBLE_EQ(view.state.end, 75);
    for (std::size_t count = 2; count <= 80; ++count)
        view.pointAdded(count);
    EXPECT_DOUBLE_EQ(view.state.start, 5);
    EXPECT_DOUBLE_EQ(view.state.end, 80);
    EXPECT_EQ(view.cursor1, 79u);
    view.moveCursor(1, 5, 80);
    EXPECT_EQ(view.cursor1, 79u);
    view.moveCursor(2, -3, 80);
    EXPECT_EQ(view.cursor2, 0u);
    EXPECT_EQ(scrollPage(5), 1);
    EXPECT_EQ(scrollPage(75), 7);
}

TEST(GraphDecimation, OneSpanPerColumnKeepsTheExtremes)
{
    GraphData graph;
    graph.setSensorCount(1);
    auto frame = std::make_unique<SampleFrame>();
    for (int i = 0; i < 100000; ++i) {
        frame->sensors[1].position = {i % 1000 == 500 ? 99.0 : static_cast<double>(i % 7), 0, 0};
        graph.append(*frame);
    }
    GraphView view = windowOf(0, 100000);
    const PlotArea plot {50, 0, 500, 300};
    std::vector<ColumnSpan> columns;
    decimateTrace(graph, 1, 0, 0, view, plot, columns);
    ASSERT_EQ(columns.size(), 500u);
    int spikes = 0;
    for (const ColumnSpan& span : columns) {
        ASSERT_TRUE(span.used);
        EXPECT_EQ(span.min, 0);
        spikes += span.max == 99.0;
    }
    EXPECT_EQ(spikes, 100);                             // every spike survives decimation
    decimateTrace(graph, 2, 0, 0, view, plot, columns); // no such sensor
    EXPECT_FALSE(columns.front().used);
}

TEST(GraphReadout, ColumnsLeaveRoomForThreeDigitAngles)
{
    // "-179.9999" is about 65 pixels in the usual fonts.
    for (double width : {400.0, 640.0, 1200.0}) {
        const auto columns = readoutColumns(width, 65);
        EXPECT_GE(columns[0], width * 0.05);
        for (std::size_t k = 1; k < columns.size(); ++k)
            EXPECT_GT(columns[k] - columns[k - 1], 65) << width;
    }
    // Wide enough, they stay at 5, 15, 25 and 35 % (past the row names).
    EXPECT_DOUBLE_EQ(readoutColumns(1200, 65)[2], 1200 * 0.25 + 14);
}

} // namespace
} // namespace vornscope
