#include "rs232/paced_output.h"

#include <algorithm>
#include <array>
#include <unistd.h>

namespace vorn::sim {

namespace {
// Bytes due within this much of now leave together, so fast lines need not wake per byte.
constexpr auto kLookahead = std::chrono::milliseconds(2);
} // namespace

void PacedOutput::enqueue(const LineOutput& out, LineFaults& faults)
{
    if (pending_.empty()) {
        // An idle line does not save up time; a busy one keeps what it is owed.
        nextByte_ = std::max(nextByte_, Clock::now());
    }
    std::vector<uint8_t> bytes = out.bytes;
    for (std::size_t start : out.recordStarts) {
        if (faults.corruptPhasingRecords == 0) {
            break;
        }
        bytes[start] &= 0x7F;
        --faults.corruptPhasingRecords;
    }
    for (uint8_t byte : bytes) {
        if (faults.dropBytes > 0) {
            --faults.dropBytes;
            continue;
        }
        pending_.push_back(byte);
        if (faults.duplicateBytes > 0) {
            --faults.duplicateBytes;
            pending_.push_back(byte);
        }
    }
    while (pending_.size() > kMaxPending) {
        pending_.pop_front();
        ++dropped_;
    }
}

std::optional<PacedOutput::Clock::time_point> PacedOutput::flush(int fd, unsigned baud, Clock::time_point now,
                                                                 LineFaults& faults)
{
    if (!faults.garbage.empty()) {
        pending_.insert(pending_.begin(), faults.garbage.begin(), faults.garbage.end());
        faults.garbage.clear();
    }
    blocked_ = false;
    if (pending_.empty()) {
        return std::nullopt;
    }
    if (now < faults.stallUntil) {
        return faults.stallUntil;
    }
    nextByte_ = std::max(nextByte_, faults.stallUntil); // a stalled line resumes at its own pace
    const auto byteTime = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(10.0 / baud));
    std::array<uint8_t, 4096> chunk {};
    std::size_t count = 0;
    for (auto due = nextByte_; count < pending_.size() && count < chunk.size() && due <= now + kLookahead;
         due += byteTime) {
        chunk[count] = pending_[count];
        ++count;
    }
    if (count > 0) {
        const ssize_t written = ::write(fd, chunk.data(), count);
        const std::size_t done = written > 0 ? static_cast<std::size_t>(written) : 0;
        // A short write means the other side's queue is full: wait until it reads.
        blocked_ = done < count;
        sent_ += done;
        nextByte_ += byteTime * static_cast<int>(done);
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(done));
    }
    if (pending_.empty()) {
        return std::nullopt;
    }
    return std::max(nextByte_, now);
}

} // namespace vorn::sim
