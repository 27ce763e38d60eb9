// A program run as a child with its standard output and error collected, for
// the server and Debian's example client.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace igtltest {

class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& args);
    ~ChildProcess(); // kills a child that is still running
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Collects output until `text` is in standard output or error, the child ends, or `limit` passes.
    bool waitFor(const std::string& text, std::chrono::milliseconds limit);
    void signal(int number);
    // Waits for the end (up to `limit`, then kills); the exit status, 128 + signal when killed.
    int finish(std::chrono::milliseconds limit);

    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }
    // The number after `prefix` in the output, or -1.
    long numberAfter(const std::string& prefix) const;

private:
    bool pump(int timeoutMs);

    pid_t pid_ = -1;
    int outFd_ = -1, errFd_ = -1;
    std::string out_, err_;
};

} // namespace igtltest
