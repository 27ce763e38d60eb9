// Command identifiers of Vornscope. The numbers are the program's command ids
// and double as the identifiers of the Qt actions (QAction::data()).
#pragma once

namespace vornscope {

enum CommandId : int {
    // SetUp
    ID_SETUP_RS232 = 32772,
    ID_SETUP_ISA = 32773,
    ID_SETUP_TCPIP = 32775,
    ID_SHUT_DOWN = 32804,
    // Take Data: the first id of a pair is the menu entry, the second the tool-bar button
    ID_STREAM = 32780,
    ID_STREAM_TB = 32794,
    ID_POINT = 32789,
    ID_POINT_TB = 32795,
    ID_GRAPH = 32827,
    ID_GRAPH_TB = 32828,
    ID_ANIMATE = 32790,
    ID_ANIMATE_TB = 32796,
    ID_BALL = 32797,
    ID_BALL_TB = 32791,
    ID_DISTORTION = 32825,
    ID_DISTORTION_TB = 32826,
    // Options
    ID_SENSOR_OPTIONS = 32788,
    ID_SENSOR_OPTIONS_TB = 32801,
    ID_SYSTEM_OPTIONS = 32787,
    ID_SYSTEM_OPTIONS_TB = 32802,
    ID_SAVE_DATA_OPTIONS = 32821,
    ID_SAVE_DATA = 32823,
    ID_GRAPH_OPTIONS = 32829,
    ID_OPEN_AND_GRAPH = 32830,
    // View
    ID_SHIFT_RIGHT = 32807,
    ID_SHIFT_RIGHT_TB = 32813,
    ID_SHIFT_LEFT = 32808,
    ID_SHIFT_LEFT_TB = 32814,
    ID_SHIFT_UP = 32809,
    ID_SHIFT_UP_TB = 32816,
    ID_SHIFT_DOWN = 32810,
    ID_SHIFT_DOWN_TB = 32815,
    ID_ZOOM_IN = 32805,
    ID_ZOOM_IN_TB = 32817,
    ID_ZOOM_OUT = 32806,
    ID_ZOOM_OUT_TB = 32818,
    ID_RESET_VIEW = 32820,
    ID_RESET_VIEW_TB = 32819,
    // Help
    ID_HELP_TOPICS = 32803,
    ID_APP_ABOUT = 57664,
    // File (toolkit standard ids)
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_APP_EXIT = 57665,
};

} // namespace vornscope
