// Where an acquisition mode gets its frames: the library's single-frame
// calls, or the program's own point command while distortion detection is on
// (RS232 and ISA), which brings each unit's distortion byte along. A source
// keeps its own copy of the group's records, never a reference: the group it
// was made from may be replaced while the source lives on another thread.
#pragma once

#include "core/sample_frame.h"
#include "core/vorn_group.h"
#include "core/vorn_library.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vornscope {

class FrameSource {
public:
    virtual ~FrameSource() = default;
    // Fills the sensors 1..deviceCount of `frame`; false when no frame came.
    virtual bool read(SampleFrame& frame) = 0;
    // Why the last read failed, as the library said it, or empty; taking it
    // clears it. Call it on the thread that read.
    virtual std::string takeFailure() { return {}; }
};

// vornStartSingleFrame, wait for vornFrameReady, vornGetFrame.
class LibraryFrameSource final : public FrameSource {
public:
    LibraryFrameSource(VornLibrary& library, const CVornGroup& group,
                       std::chrono::milliseconds timeout = std::chrono::seconds(2))
        : library_(library), group_(group), timeout_(timeout)
    {
    }
    bool read(SampleFrame& frame) override;
    std::string takeFailure() override;

private:
    bool failed(std::string reason);

    VornLibrary& library_;
    CVornGroup group_;
    std::chrono::milliseconds timeout_;
    VornFrame raw_ {};
    std::string failure_;
};

// The unit's point command 'B' sent by the program, group mode switched on
// for the read when the units are not stand-alone.
class OwnPointFrameSource final : public FrameSource {
public:
    OwnPointFrameSource(VornLibrary& library, const CVornGroup& group) : library_(library), group_(group) {}
    bool read(SampleFrame& frame) override;
    std::string takeFailure() override { return library_.takeFailure(); }

private:
    bool readReply(SampleFrame& frame);

    VornLibrary& library_;
    CVornGroup group_;
    std::vector<std::uint8_t> reply_;
};

// The reply length of the own point command for the group's units.
std::size_t ownPointReplyLength(const CVornGroup& group);
// Decodes one reply into the frame; false when it is short or out of phase.
bool decodeOwnPointReply(const CVornGroup& group, const std::uint8_t* bytes, std::size_t length, SampleFrame& frame);

std::unique_ptr<FrameSource> makeFrameSource(VornLibrary& library, const CVornGroup& group, bool distortionOn);

} // namespace vornscope
