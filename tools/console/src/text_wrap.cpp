#include "vorn/console/text_wrap.h"

namespace vorn::console {

namespace {

void wrapLine(std::string_view line, std::size_t width, std::string& out)
{
    while (line.size() > width) {
        std::size_t cut = line.rfind(' ', width);
        if (cut == std::string_view::npos || cut == 0)
            cut = width;
        std::string_view head = line.substr(0, cut);
        while (!head.empty() && head.back() == ' ')
            head.remove_suffix(1);
        out.append(head).append("\n");
        line.remove_prefix(cut);
        while (!line.empty() && line.front() == ' ')
            line.remove_prefix(1);
    }
    out.append(line);
}

} // namespace

std::string wrapText(std::string_view text, std::size_t width)
{
    std::string out;
    if (width == 0)
        width = 1;
    for (;;) {
        const std::size_t end = text.find('\n');
        wrapLine(text.substr(0, end), width, out);
        if (end == std::string_view::npos)
            return out;
        out += '\n';
        text.remove_prefix(end + 1);
    }
}

} // namespace vorn::console
