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
} // namespace text

} // namespace vornscope
