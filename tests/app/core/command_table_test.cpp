#include "core/command_ids.h"
#include "core/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vornscope {
namespace {

TEST(CommandTable, IdsAreUniqueAndTextsExact)
{
    std::set<int> ids;
    for (const auto& entry : commandTable())
        EXPECT_TRUE(ids.insert(entry.id).second) << entry.id;

    const std::pair<int, const char*> texts[] = {
        {ID_SETUP_RS232, "&RS232"},
        {ID_SETUP_ISA, "&ISA"},
        {ID_SETUP_TCPIP, "&TCPIP"},
        {ID_SHUT_DOWN, "&Shut Down"},
        {ID_STREAM, "&Stream"},
        {ID_POINT, "&Point"},
        {ID_GRAPH, "&Graph"},
        {ID_ANIMATE, "&Animate"},
        {ID_BALL, "Bouncing Ball"},
        {ID_DISTORTION, "Distortion"},
        {ID_SENSOR_OPTIONS, "S&ensor Options"},
        {ID_SYSTEM_OPTIONS, "S&ystem Options"},
        {ID_SAVE_DATA_OPTIONS, "Sa&ve Data Options"},
        {ID_SAVE_DATA, "Save Data To Target File"},
        {ID_GRAPH_OPTIONS, "&Graph Options"},
        {ID_SHIFT_RIGHT, "Shift &Right"},
        {ID_SHIFT_LEFT, "Shift &Left"},
        {ID_SHIFT_UP, "Shift &Up"},
        {ID_SHIFT_DOWN, "Shift &Down"},
        {ID_ZOOM_IN, "Zoom &In"},
        {ID_ZOOM_OUT, "Zoom &Out"},
        {ID_RESET_VIEW, "Reset &View"},
        {ID_HELP_TOPICS, "&Help Topics"},
        {ID_APP_ABOUT, "&About Vornscope..."},
        {ID_OPEN_AND_GRAPH, "Open and graph a data file"},
    };
    for (const auto& [id, text] : texts) {
        const CommandEntry* entry = findCommand(id);
        ASSERT_NE(entry, nullptr) << id;
        EXPECT_STREQ(entry->text, text);
    }
    const std::pair<int, const char*> prompts[] = {
        {ID_STREAM_TB, "Start Streaming Data"},
        {ID_POINT_TB, "Take discrete data points"},
        {ID_GRAPH_TB, "Graphs position or angle data as a function of time"},
        {ID_ANIMATE_TB, "Animated Axis"},
        {ID_DISTORTION_TB, "Distortion Detction"},
    };
    for (const auto& [id, prompt] : prompts) {
        EXPECT_STREQ(findCommand(id)->prompt, prompt);
        EXPECT_TRUE(findCommand(id)->toolBar);
    }
    EXPECT_EQ(findCommand(ID_BALL_TB)->menu, Menu::ToolBarOnly); // 32791 has no menu entry
}

struct RuleCase {
    const char* name;
    ViewState state;
    std::set<int> enabled; // of the rule-bearing ids below
    std::set<int> checked;
};

ViewState make(std::initializer_list<bool ViewState::*> flags)
{
    ViewState state;
    for (auto flag : flags)
        state.*flag = true;
    return state;
}

TEST(CommandTable, EnableAndCheckRules)
{
    const int ruled[] = {ID_STREAM,         ID_STREAM_TB,         ID_POINT,          ID_POINT_TB,
                         ID_GRAPH,          ID_GRAPH_TB,          ID_ANIMATE,        ID_ANIMATE_TB,
                         ID_BALL,           ID_BALL_TB,           ID_DISTORTION,     ID_DISTORTION_TB,
                         ID_SENSOR_OPTIONS, ID_SENSOR_OPTIONS_TB, ID_SYSTEM_OPTIONS, ID_SYSTEM_OPTIONS_TB,
                         ID_SAVE_DATA,      ID_GRAPH_OPTIONS,     ID_FILE_PRINT,     ID_SHIFT_RIGHT,
                         ID_SHIFT_UP,       ID_ZOOM_IN,           ID_RESET_VIEW,     ID_SHUT_DOWN};
    const std::set<int> always {ID_GRAPH, ID_SENSOR_OPTIONS, ID_SYSTEM_OPTIONS, ID_SHUT_DOWN};
    auto with = [&](std::set<int> ids) {
        ids.insert(always.begin(), always.end());
        return ids;
    };
    const RuleCase cases[] = {
        {"nothing", ViewState {}, with({}), {}},
        {"set up",
         make({&ViewState::setUp}),
         with({ID_STREAM, ID_STREAM_TB, ID_POINT, ID_POINT_TB, ID_GRAPH_TB, ID_ANIMATE, ID_ANIMATE_TB,
               ID_SENSOR_OPTIONS_TB, ID_SYSTEM_OPTIONS_TB, ID_SAVE_DATA}),
         {}},
        {"set up with distortion firmware",
         make({&ViewState::setUp, &ViewState::unit1SupportsDistortion}),
         with({ID_STREAM, ID_STREAM_TB, ID_POINT, ID_POINT_TB, ID_GRAPH_TB, ID_ANIMATE, ID_ANIMATE_TB,
               ID_SENSOR_OPTIONS_TB, ID_SYSTEM_OPTIONS_TB, ID_SAVE_DATA, ID_DISTORTION, ID_DISTORTION_TB}),
         {}},
        {"firmware but not set up", make({&ViewState::unit1SupportsDistortion}), with({}), {}},
        {"streaming",
         make({&ViewState::setUp, &ViewState::streaming}),
         with({ID_STREAM, ID_STREAM_TB, ID_POINT, ID_POINT_TB, ID_GRAPH_TB, ID_ANIMATE, ID_ANIMATE_TB,
               ID_SENSOR_OPTIONS_TB, ID_SYSTEM_OPTIONS_TB, ID_SAVE_DATA}),
         {ID_STREAM, ID_STREAM_TB}},
        {"animating with ball",
         make({&ViewState::setUp, &ViewState::animating, &ViewState::ball}),
         with({ID_STREAM, ID_STREAM_TB, ID_POINT, ID_POINT_TB, ID_GRAPH_TB, ID_ANIMATE, ID_ANIMATE_TB,
               ID_SENSOR_OPTIONS_TB, ID_SYSTEM_OPTIONS_TB, ID_SAVE_DATA, ID_BALL, ID_BALL_TB, ID_SHIFT_RIGHT,
               ID_SHIFT_UP, ID_ZOOM_IN, ID_RESET_VIEW}),
         {ID_ANIMATE, ID_ANIMATE_TB, ID_BALL, ID_BALL_TB}},
        {"graph mode without units",
         make({&ViewState::graphMode}),
         with({ID_GRAPH_TB, ID_RESET_VIEW}),
         {ID_GRAPH, ID_GRAPH_TB}},
        {"graph window shown from a file",
         make({&ViewState::graphVisible}),
         with({ID_GRAPH_OPTIONS, ID_FILE_PRINT, ID_SHIFT_RIGHT, ID_ZOOM_IN}),
         {ID_GRAPH, ID_GRAPH_TB}},
        {"sending to target",
         make({&ViewState::setUp, &ViewState::sendToTarget, &ViewState::pointMode}),
         with({ID_STREAM, ID_STREAM_TB, ID_POINT, ID_POINT_TB, ID_GRAPH_TB, ID_ANIMATE, ID_ANIMATE_TB,
               ID_SENSOR_OPTIONS_TB, ID_SYSTEM_OPTIONS_TB, ID_SAVE_DATA}),
         {ID_SAVE_DATA, ID_POINT, ID_POINT_TB}},
        {"distortion on",
         make({&ViewState::setUp, &ViewState::distortionOn, &ViewState::unit1SupportsDistortion}),
         with({ID_STREAM, ID_STREAM_TB, ID_POINT, ID_POINT_TB, ID_GRAPH_TB, ID_ANIMATE, ID_ANIMATE_TB,
               ID_SENSOR_OPTIONS_TB, ID_SYSTEM_OPTIONS_TB, ID_SAVE_DATA, ID_DISTORTION, ID_DISTORTION_TB}),
         {ID_DISTORTION, ID_DISTORTION_TB}},
    };
    for (const auto& c : cases) {
        for (const int id : ruled) {
            const CommandEntry& entry = *findCommand(id);
            EXPECT_EQ(commandEnabled(entry, c.state), c.enabled.count(id) == 1) << c.name << " enabled " << id;
            EXPECT_EQ(commandChecked(entry, c.state), c.checked.count(id) == 1) << c.name << " checked " << id;
        }
    }
}

} // namespace
} // namespace vornscope
