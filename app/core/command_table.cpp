#include "core/command_table.h"

#include "core/command_ids.h"

#include <algorithm>

namespace vornscope {
namespace {

bool setUp(const ViewState& s)
{
    return s.setUp;
}
bool streaming(const ViewState& s)
{
    return s.streaming;
}
bool pointMode(const ViewState& s)
{
    return s.pointMode;
}
bool graphShown(const ViewState& s)
{
    return s.graphMode || s.graphVisible;
}
bool setUpOrGraph(const ViewState& s)
{
    return s.setUp || s.graphMode;
}
bool animating(const ViewState& s)
{
    return s.animating;
}
bool ball(const ViewState& s)
{
    return s.ball;
}
bool distortionAllowed(const ViewState& s)
{
    return s.setUp && s.unit1SupportsDistortion;
}
bool distortionOn(const ViewState& s)
{
    return s.distortionOn;
}
bool sendToTarget(const ViewState& s)
{
    return s.sendToTarget;
}
bool graphVisible(const ViewState& s)
{
    return s.graphVisible;
}
bool animatingOrGraph(const ViewState& s)
{
    return s.animating || s.graphVisible;
}
bool animatingOrGraphMode(const ViewState& s)
{
    return s.animating || s.graphMode;
}

constexpr bool kTb = true;
constexpr bool kSep = true;

// clang-format off
constexpr CommandEntry kCommands[] = {
    {ID_FILE_NEW,            Menu::File, "&New", "Create a new document", false, false, nullptr, nullptr},
    {ID_FILE_OPEN,           Menu::File, "&Open...", "Open and graph a data file", false, false, nullptr, nullptr},
    {ID_FILE_SAVE,           Menu::File, "&Save", "Save the graph data or set the data options", false, false, nullptr, nullptr},
    {ID_FILE_SAVE_AS,        Menu::File, "Save &As...", "Save the graph data under a new name", false, false, nullptr, nullptr},
    {ID_FILE_PRINT,          Menu::File, "&Print...", "Print the graph", false, kSep, graphVisible, nullptr},
    {ID_FILE_PRINT_PREVIEW,  Menu::File, "Print Pre&view", "Preview the printed graph", false, false, graphVisible, nullptr},
    {ID_APP_EXIT,            Menu::File, "E&xit", "Quit the application", false, kSep, nullptr, nullptr},

    {ID_SETUP_RS232,         Menu::SetUp, "&RS232", "Set up and wake vorns on RS232 lines", false, false, nullptr, nullptr},
    {ID_SETUP_ISA,           Menu::SetUp, "&ISA", "Set up and wake vorn ISA boards", false, false, nullptr, nullptr},
    {ID_SETUP_TCPIP,         Menu::SetUp, "&TCPIP", "Set up and wake vorns behind a networked controller", false, false, nullptr, nullptr},
    {ID_SHUT_DOWN,           Menu::SetUp, "&Shut Down", "Shut the vorns down", false, kSep, nullptr, nullptr},

    {ID_STREAM,              Menu::TakeData, "&Stream", "Start Streaming Data", false, false, setUp, streaming},
    {ID_STREAM_TB,           Menu::ToolBarOnly, "Stream", "Start Streaming Data", kTb, false, setUp, streaming},
    {ID_POINT,               Menu::TakeData, "&Point", "Take discrete data points", false, false, setUp, pointMode},
    {ID_POINT_TB,            Menu::ToolBarOnly, "Point", "Take discrete data points", kTb, false, setUp, pointMode},
    {ID_GRAPH,               Menu::TakeData, "&Graph", "Graphs position or angle data as a function of time", false, false, nullptr, graphShown},
    {ID_GRAPH_TB,            Menu::ToolBarOnly, "Graph", "Graphs position or angle data as a function of time", kTb, false, setUpOrGraph, graphShown},
    {ID_ANIMATE,             Menu::TakeData, "&Animate", "Animated Axis", false, false, setUp, animating},
    {ID_ANIMATE_TB,          Menu::ToolBarOnly, "Animate", "Animated Axis", kTb, false, setUp, animating},
    {ID_BALL,                Menu::TakeData, "Bouncing Ball", "Bouncing Ball", false, false, animating, ball},
    {ID_BALL_TB,             Menu::ToolBarOnly, "Bouncing Ball", "Bouncing Ball", kTb, false, animating, ball},
    {ID_DISTORTION,          Menu::TakeData, "Distortion", "Distortion Detction", false, kSep, distortionAllowed, distortionOn},
    {ID_DISTORTION_TB,       Menu::ToolBarOnly, "Distortion", "Distortion Detction", kTb, false, distortionAllowed, distortionOn},
    {ID_OPEN_AND_GRAPH,      Menu::TakeData, "Open and graph a data file", "Open and graph a data file", false, kSep, nullptr, nullptr},
    {ID_SAVE_DATA,           Menu::TakeData, "Save Data To Target File", "Save Data To Target File", kTb, false, setUp, sendToTarget},

    {ID_SENSOR_OPTIONS,      Menu::Options, "S&ensor Options", "S&ensor Options", false, false, nullptr, nullptr},
    {ID_SENSOR_OPTIONS_TB,   Menu::ToolBarOnly, "Sensor Options", "S&ensor Options", kTb, false, setUp, nullptr},
    {ID_SYSTEM_OPTIONS,      Menu::Options, "S&ystem Options", "S&ystem Options", false, false, nullptr, nullptr},
    {ID_SYSTEM_OPTIONS_TB,   Menu::ToolBarOnly, "System Options", "S&ystem Options", kTb, false, setUp, nullptr},
    {ID_SAVE_DATA_OPTIONS,   Menu::Options, "Sa&ve Data Options", "Sa&ve Data Options", false, false, nullptr, nullptr},
    {ID_GRAPH_OPTIONS,       Menu::Options, "&Graph Options", "&Graph Options", false, false, graphVisible, nullptr},

    {ID_SHIFT_RIGHT,         Menu::View, "Shift &Right", "Shift &Right", false, kSep, animatingOrGraph, nullptr},
    {ID_SHIFT_RIGHT_TB,      Menu::ToolBarOnly, "Shift Right", "Shift &Right", kTb, false, animatingOrGraph, nullptr},
    {ID_SHIFT_LEFT,          Menu::View, "Shift &Left", "Shift &Left", false, false, animatingOrGraph, nullptr},
    {ID_SHIFT_LEFT_TB,       Menu::ToolBarOnly, "Shift Left", "Shift &Left", kTb, false, animatingOrGraph, nullptr},
    {ID_SHIFT_UP,            Menu::View, "Shift &Up", "Shift &Up", false, false, animating, nullptr},
    {ID_SHIFT_UP_TB,         Menu::ToolBarOnly, "Shift Up", "Shift &Up", kTb, false, animating, nullptr},
    {ID_SHIFT_DOWN,          Menu::View, "Shift &Down", "Shift &Down", false, false, animating, nullptr},
    {ID_SHIFT_DOWN_TB,       Menu::ToolBarOnly, "Shift Down", "Shift &Down", kTb, false, animating, nullptr},
    {ID_ZOOM_IN,             Menu::View, "Zoom &In", "Zoom &In", false, kSep, animatingOrGraph, nullptr},
    {ID_ZOOM_IN_TB,          Menu::ToolBarOnly, "Zoom In", "Zoom &In", kTb, false, animatingOrGraph, nullptr},
    {ID_ZOOM_OUT,            Menu::View, "Zoom &Out", "Zoom &Out", false, false, animatingOrGraph, nullptr},
    {ID_ZOOM_OUT_TB,         Menu::ToolBarOnly, "Zoom Out", "Zoom &Out", kTb, false, animatingOrGraph, nullptr},
    {ID_RESET_VIEW,          Menu::View, "Reset &View", "Reset &View", false, kSep, animatingOrGraphMode, nullptr},
    {ID_RESET_VIEW_TB,       Menu::ToolBarOnly, "Reset View", "Reset &View", kTb, false, animatingOrGraphMode, nullptr},

    {ID_HELP_TOPICS,         Menu::Help, "&Help Topics", "&Help Topics", false, false, nullptr, nullptr},
    {ID_APP_ABOUT,           Menu::Help, "&About Vornscope...", "Display program information and version", false, kSep, nullptr, nullptr},
};
// clang-format on

} // namespace

std::span<const CommandEntry> commandTable()
{
    return kCommands;
}

const CommandEntry* findCommand(int id)
{
    auto it =
        std::find_if(std::begin(kCommands), std::end(kCommands), [id](const CommandEntry& c) { return c.id == id; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

bool commandEnabled(const CommandEntry& entry, const ViewState& state)
{
    return entry.enabled == nullptr || entry.enabled(state);
}

bool commandChecked(const CommandEntry& entry, const ViewState& state)
{
    return entry.checked != nullptr && entry.checked(state);
}

} // namespace vornscope
