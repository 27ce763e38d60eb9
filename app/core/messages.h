// Message boxes go through this one interface, so the flows stay free of
// widgets and tests can answer the boxes a flow raises.
#pragma once

#include <string>

namespace vornscope {

enum class MessageIcon { None, Exclamation, Stop, Information, Question };
enum class MessageButtons { Ok, AbortRetryIgnore, YesNo };
enum class MessageAnswer { Ok, Abort, Retry, Ignore, Yes, No };

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual MessageAnswer show(const std::string& text, const std::string& caption, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

// The fixed texts of the program.
namespace text {
inline constexpr const char* kMustSetUp = "Vorn must be set up first";
inline constexpr const char* kDidNotRespond = "Vorn did not respond properly";
inline constexpr const char* kWakingUp = "Waking up vorn...";
inline constexpr const char* kSetupComplete = "Setup complete";
inline constexpr const char* kAnimateFormat = "Data format cannot be changed while in animate mode";
inline constexpr const char* kPointModeHelp =
    "Left click in the client area or hit the spacebar or enter to take data. Right click to exit point mode";
inline constexpr const char* kNoTargetFile = "no target file";
inline constexpr const char* kCannotWriteTarget = "File could not be opened for writing";
inline constexpr const char* kCannotWriteGraph = "Could not open file for output";
inline constexpr const char* kCannotRead = "Could not open file for input";
inline constexpr const char* kUnrecognisedFile = "Unrecognized File format";
inline constexpr const char* kNoDataPoints = "The file holds no data points to graph";
inline constexpr const char* kFileTooLarge = "Not enough memory to graph this file";
inline constexpr const char* kUnitsLost = "The units stopped answering: ";
inline constexpr const char* kUnitsLostAdvice =
    "Taking data has ended and the connection is closed. Check the cable or the controller, then set up again.";
inline constexpr const char* kResetWarning = "Resetting will erase the graph and all unsaved data. Continue?";
} // namespace text

} // namespace vornscope
