// The plot keys stay within what can be drawn and labelled.
#include <gtest/gtest.h>

#include <set>

#include "vorn/humsift/plot_scale.h"

namespace vorn::humsift {
namespace {

TEST(PlotScale, FortyPgUpStillLabelsEveryTickApart)
{
    PlotView view;
    for (int i = 0; i < 40; ++i)
        view.magnify();
    EXPECT_EQ(view.zoom, kMostMagnified);
    for (const auto& [low, high] : {std::pair {0.0, 0.05}, std::pair {0.0, 1700.0}, std::pair {80.0, 140.0}}) {
        const Axis axis = axisFor(low, high, 10, 3, view.zoom, false);
        std::set<std::string> labels;
        for (int i = 0; i <= axis.divisions; ++i)
            labels.insert(tickLabel(axis.start + i * axis.step, axis.step));
        EXPECT_EQ(labels.size(), std::size_t(axis.divisions + 1)) << low << ".." << high << ": " << *labels.begin();
        EXPECT_LE(labels.rbegin()->size(), 12u); // still fits between two ticks
    }
    view.shrink();
    EXPECT_EQ(view.zoom, kMostMagnified - 1); // one PgDn undoes one PgUp, however many were pressed
}

TEST(PlotScale, FortyPgDnKeepTheDataInSight)
{
    PlotView view;
    for (int i = 0; i < 40; ++i)
        view.shrink();
    EXPECT_EQ(view.zoom, kMostShrunk);
    const Axis axis = axisFor(0.0, 200.0, 10, 0, view.zoom, true);
    // The data covers at least a sixteenth of the axis.
    EXPECT_GE(200.0 / (axis.end() - axis.start), 1.0 / 16.0 - 1e-9);
}

} // namespace
} // namespace vorn::humsift
