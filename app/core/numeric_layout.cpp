#include "core/numeric_layout.h"

#include <algorithm>
#include <cstdio>

namespace vornscope {
namespace {

constexpr int kLineStep = 15;
constexpr int kBlockStep = 200;
constexpr int kRowGap = 20;
constexpr int kMargin = 5;

class BlockWriter {
public:
    BlockWriter(std::vector<CTextItem>& items, int x, int y) : items_(items), x_(x), y_(y) {}

    template <typename... Args> void line(const char* format, Args... values)
    {
        char buffer[160];
        std::snprintf(buffer, sizeof buffer, format, values...);
        items_.push_back(CTextItem {buffer, x_, y_, kDataColour, 0xFFFFFF});
        y_ += kLineStep;
    }
    void header(int number)
    {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "      Sensor %d", number);
        items_.push_back(CTextItem {buffer, x_, y_, kHeaderColour, 0xFFFFFF});
        y_ += kLineStep;
    }
    // The y of the last line written.
    int lastY() const { return y_ - kLineStep; }

private:
    std::vector<CTextItem>& items_;
    int x_;
    int y_;
};

void writeBlock(BlockWriter& block, const SensorRecord& sensor, double time, bool showTimes)
{
    const auto& p = sensor.position;
    const auto& a = sensor.angles;
    const auto& m = sensor.matrix;
    const auto& q = sensor.quaternion;
    if (sensor.content & content::kPosition)
        block.line("%2.3f  %2.3f  %2.3f", p[0], p[1], p[2]);
    if (sensor.content & content::kAngles)
        block.line("%3.2f  %3.2f  %3.2f", a[0], a[1], a[2]);
    if (sensor.content & content::kMatrix)
        for (int row = 0; row < 3; ++row)
            block.line("%8.3f%8.3f%8.3f", m[3 * row], m[3 * row + 1], m[3 * row + 2]);
    if (sensor.content & content::kQuaternion)
        block.line("%6.3f   %6.3f   %6.3f   %6.3f", q[0], q[1], q[2], q[3]);
    if (sensor.content & content::kButton)
        block.line("%s", buttonText(sensor.button));
    if (showTimes)
        block.line("%.3f", time);
}

} // namespace

int numericBlocksPerRow(int width)
{
    return std::max((width - kMargin) / kBlockStep, 1);
}

void layoutNumericDisplay(const SampleFrame& frame, const std::vector<int>& units, bool showTimes,
                          std::vector<CTextItem>& items, int blocksPerRow)
{
    items.clear();
    const int lastBlockX = kMargin + (std::max(blocksPerRow, 1) - 1) * kBlockStep;
    int x = kMargin;
    int y = kMargin;
    int number = 0;
    for (int unit : units) {
        BlockWriter block(items, x, y);
        block.header(++number);
        writeBlock(block, frame.sensors[static_cast<std::size_t>(unit)], frame.time, showTimes);
        x += kBlockStep;
        if (x > lastBlockX) {
            x = kMargin;
            y = block.lastY() + kLineStep + kRowGap;
        }
    }
}

} // namespace vornscope
