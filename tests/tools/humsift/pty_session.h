#pragma once
// A program run on a real pseudo-terminal, driven like a user at the keyboard: wait for a text on
// the screen, then type.
#include <sys/types.h>

#include <string>
#include <vector>

namespace vorn::humsift::testing {

class PtySession {
public:
    // Starts `program` with `arguments` in `directory` with no display, so its windows stay
    // off-screen. `environment` changes that afterwards: "NAME=value" sets, "NAME" unsets.
    PtySession(const std::string& program, const std::string& directory, std::vector<std::string> arguments = {},
               const std::vector<std::string>& environment = {});
    ~PtySession();
    PtySession(const PtySession&) = delete;
    PtySession& operator=(const PtySession&) = delete;

    // Waits until `text` appears after the previous match; false after timeoutMs.
    bool expect(const std::string& text, int timeoutMs = 20000);
    void type(const std::string& keys);
    // The exit status, or -1 if the program has not ended within timeoutMs.
    int waitForExit(int timeoutMs = 20000);
    const std::string& screen() const { return screen_; }

private:
    bool readSome(int timeoutMs);

    int master_ = -1;
    pid_t child_ = -1;
    std::string screen_;
    std::size_t matched_ = 0;
    int exitStatus_ = -1;
};

} // namespace vorn::humsift::testing
