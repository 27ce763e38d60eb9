#pragma once
// The steps of a Humsift session on a pseudo-terminal: a noise file to read, answers to questions
// and keys at the places that wait for them.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "pty_session.h"
#include "temp_dir.h"
#include "vorn/console/basic_number.h"

namespace vorn::humsift::testing {

inline void writeNoiseFile(const TempDir& dir, const std::string& name, std::size_t count)
{
    std::string text;
    const double w = 2 * std::numbers::pi / 3402.0;
    for (std::size_t j = 0; j < count; ++j) {
        const double t = double(j);
        const double volts = 1.2 + 0.06 * std::sin(w * 60 * t) + 0.02 * std::sin(w * 180 * t) +
                             0.01 * std::sin(w * 77 * t) + 0.003 * std::sin(t * 1.7) * std::cos(t * 0.37);
        text += console::basicNumber(std::round(volts * 32768 / 5) * 5 / 32768) + "\r\n";
    }
    dir.write(name, text);
}

inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// Answers a question once its keep-or-enter line is on the screen.
inline void answer(PtySession& s, const std::string& prompt, const std::string& reply)
{
    ASSERT_TRUE(s.expect(prompt)) << "no prompt \"" << prompt << "\" in:\n" << s.screen();
    ASSERT_TRUE(s.expect("Carriage return to keep, or enter new value")) << s.screen();
    s.type(reply + "\n");
}

inline void pressKeyAt(PtySession& s, const std::string& text, const std::string& key)
{
    ASSERT_TRUE(s.expect(text)) << "no \"" << text << "\" in:\n" << s.screen();
    s.type(key);
}

} // namespace vorn::humsift::testing
