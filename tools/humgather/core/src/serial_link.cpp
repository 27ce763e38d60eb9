#include "vorn/humgather/serial_link.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "platform/serial_line.h"
#include "protocol/factory_commands.h"
#include "protocol/word_codec.h"

namespace vorn::humgather {

namespace {
constexpr std::uint32_t kWriteTimeoutMs = 5000; // a line that takes no bytes for this long is dead
constexpr std::uint8_t kCarriageReturn = 0x0D;
} // namespace

AnswerWord wordFromBytes(std::uint8_t first, std::uint8_t second)
{
    const std::uint8_t bytes[] = {first, second};
    const std::uint16_t value = protocol::readWord(protocol::Connection::Rs232, bytes);
    return {value, static_cast<std::int16_t>(value)};
}

SerialLink::SerialLink() : line_(std::make_unique<platform::SerialLine>()) {}
SerialLink::~SerialLink() = default;

bool SerialLink::open(unsigned port, std::uint32_t baudRate)
{
    const std::string path = platform::SerialLine::pathForPort(port);
    if (!line_->open(path) || !line_->configure(baudRate)) {
        error_ = line_->errorText();
        line_->close();
        return false;
    }
    return true;
}

int SerialLink::descriptor() const
{
    return line_->fd();
}

void SerialLink::pulseRts()
{
    line_->setRts(true);
    line_->setRts(false);
}

void SerialLink::send(std::span<const std::uint8_t> bytes)
{
    if (line_->write(bytes.data(), bytes.size(), kWriteTimeoutMs) != bytes.size())
        throw LinkLost("the serial line takes no more bytes");
}

void SerialLink::send(std::string_view text)
{
    send(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void SerialLink::sendByte(std::uint8_t byte)
{
    send(std::span(&byte, 1));
}

void SerialLink::send(protocol::Command command)
{
    sendByte(protocol::toByte(command));
}

void SerialLink::waitForBytes(std::size_t n)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto nextNotice = start + waitingAfter_;
    while (line_->queued() < n) {
        if (!line_->fill())
            throw LinkLost("the unit's serial line has closed");
        if (line_->queued() >= n)
            return;
        const auto now = Clock::now();
        if (now >= nextNotice) {
            if (waitingHook_)
                waitingHook_(std::chrono::duration<double>(now - start).count());
            nextNotice = now + waitingAfter_;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(nextNotice - Clock::now()).count();
        pollfd p {line_->fd(), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(std::max<long long>(left, 1)));
    }
}

void SerialLink::receive(std::span<std::uint8_t> out)
{
    // In pieces that fit the input queue, however long the answer.
    constexpr std::size_t kPiece = platform::SerialLine::kInputQueueSize / 2;
    while (!out.empty()) {
        const std::size_t n = std::min(out.size(), kPiece);
        if (line_->queued() < n)
            waitForBytes(n);
        line_->take(out.data(), n);
        out = out.subspan(n);
    }
}

bool SerialLink::waitUntil(std::size_t n, std::chrono::steady_clock::time_point deadline)
{
    using Clock = std::chrono::steady_clock;
    for (;;) {
        if (!line_->fill())
            throw LinkLost("the unit's serial line has closed");
        if (line_->queued() >= n)
            return true;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd p {line_->fd(), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
}

bool SerialLink::tryReceive(std::span<std::uint8_t> out, std::chrono::milliseconds limit)
{
    if (!waitUntil(out.size(), std::chrono::steady_clock::now() + limit))
        return false;
    line_->take(out.data(), out.size());
    return true;
}

std::size_t SerialLink::receiveUntilQuiet(std::span<std::uint8_t> out, std::chrono::milliseconds quiet)
{
    std::size_t taken = 0;
    while (taken < out.size()) {
        if (!waitUntil(1, std::chrono::steady_clock::now() + quiet))
            break;
        const std::size_t n = std::min(line_->queued(), out.size() - taken);
        line_->take(out.data() + taken, n);
        taken += n;
    }
    return taken;
}

std::uint8_t SerialLink::receiveByte()
{
    std::uint8_t byte = 0;
    receive(std::span(&byte, 1));
    return byte;
}

AnswerWord SerialLink::receiveWord()
{
    std::uint8_t bytes[2];
    receive(bytes);
    return wordFromBytes(bytes[0], bytes[1]);
}

std::string SerialLink::receiveLine()
{
    std::string text;
    for (;;) {
        const std::uint8_t byte = receiveByte();
        if (byte == kCarriageReturn)
            return text;
        text.push_back(static_cast<char>(byte));
    }
}

void SerialLink::flushInput()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    line_->fill();
    line_->purgeInput();
}

std::uint8_t SerialLink::readMemoryByte(std::uint16_t address, MemorySpace space)
{
    send(protocol::wordCommand(space == MemorySpace::Ram ? protocol::kRamByteRead : protocol::kPromByteRead, address));
    return receiveByte();
}

std::int16_t SerialLink::readMemoryWord(std::uint16_t address)
{
    send(protocol::wordCommand(protocol::kRamWordRead, address));
    return receiveWord().signedValue;
}

void SerialLink::writeMemoryByte(std::uint16_t address, std::uint8_t value)
{
    const auto command = protocol::wordCommand(protocol::kRamWrite, address);
    const std::uint8_t bytes[] = {command[0], command[1], command[2], value};
    send(bytes);
}

void SerialLink::setRateCount(std::uint16_t count)
{
    send(protocol::wordCommand(protocol::kRateCount, count));
}

void SerialLink::setWaitingHook(std::function<void(double)> hook, std::chrono::milliseconds after)
{
    waitingHook_ = std::move(hook);
    waitingAfter_ = after;
}

} // namespace vorn::humgather
