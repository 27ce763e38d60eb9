// The simulator's end of a serial line: a pseudo-terminal master in raw mode, reached by
// the other side through a stable symbolic link.
#pragma once

#include <filesystem>
#include <string>

namespace vorn::sim {

class PseudoTerminal {
public:
    // Creates the pseudo-terminal and points `link` at its slave side.
    explicit PseudoTerminal(std::filesystem::path link);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int fd() const { return master_; }
    const std::filesystem::path& link() const { return link_; }
    const std::string& slavePath() const { return slavePath_; }

    // The rate the other side set on the line, in bits per second (9600 if it set none).
    unsigned baudRate() const;

    // True while some process has the slave side open. A pseudo-terminal that was never
    // opened after creation counts as closed.
    bool peerOpen() const;

    // Closes this end (the other side sees a hang-up) and, with `reopen`, makes a new
    // pseudo-terminal behind the same link.
    void close();
    void reopen();

private:
    void create();

    std::filesystem::path link_;
    std::string slavePath_;
    int master_ = -1;
};

} // namespace vorn::sim
