// Value entry and key reading through a real pipe, as a program reads a redirected keyboard.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "vorn/console/console.h"
#include "vorn/console/value_entry.h"

namespace vorn::console {
namespace {

class Pipes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(pipe(input_), 0);
        ASSERT_EQ(pipe(output_), 0);
    }
    void TearDown() override
    {
        for (int fd : {input_[0], input_[1], output_[0], output_[1]})
            if (fd >= 0)
                close(fd);
    }
    void type(const std::string& text) { ASSERT_EQ(write(input_[1], text.data(), text.size()), ssize_t(text.size())); }
    void endInput()
    {
        close(input_[1]);
        input_[1] = -1;
    }
    std::string shown()
    {
        close(output_[1]);
        output_[1] = -1;
        std::string text;
        char buffer[512];
        ssize_t n;
        while ((n = read(output_[0], buffer, sizeof buffer)) > 0)
            text.append(buffer, size_t(n));
        return text;
    }
    int input_[2] = {-1, -1};
    int output_[2] = {-1, -1};
};

TEST_F(Pipes, EmptyLineKeepsTheValueAndNumbersAreParsed)
{
    type("\n7.5\n&H10\nabc\n2.5\n70000\r\nnew name\n\n");
    Terminal terminal(input_[0], output_[1]);
    Console console(terminal);
    ValueEntry entry(console, EntryStyle::ExistingValue);
    EXPECT_EQ(entry.askInt32("count", 12), 12);
    EXPECT_FLOAT_EQ(entry.askSingle("rate", 1.0f), 7.5f);
    EXPECT_EQ(entry.askInt32("hex", 0), 16);
    EXPECT_EQ(entry.askInt32("text", 5), 0);
    EXPECT_EQ(entry.askInt32("half", 0), 2);
    EXPECT_EQ(entry.askInt16("short", 0), 70000 - 65536);
    EXPECT_EQ(entry.askText("name", "old"), "new name");
    EXPECT_EQ(entry.askText("name", "old"), "old");
    const std::string screen = shown();
    EXPECT_NE(screen.find("\ncount\nExisting value = 12\nCarriage return to keep, or enter new value\n"),
              std::string::npos);
    EXPECT_NE(screen.find("Existing value = old\n"), std::string::npos);
}

TEST_F(Pipes, AnAnswerWithoutANumberIsAskedAgainWhereTheProgramSaysSo)
{
    type("abc\n12abc\nInf\n\n");
    Terminal terminal(input_[0], output_[1]);
    Console console(terminal);
    ValueEntry entry(console, EntryStyle::ExistingValue, AnswerWithoutNumber::AskAgain);
    EXPECT_FLOAT_EQ(entry.askSingle("zero", 60.0f), 12.0f); // a leading number is still read
    EXPECT_EQ(entry.askInt32("count", 7), 7);
    const std::string screen = shown();
    const std::string hint = "That is not a number: type one, or just Enter to keep the value.\n";
    EXPECT_NE(screen.find(hint + "\nzero\n"), std::string::npos);
    EXPECT_NE(screen.find(hint + "\ncount\n"), std::string::npos);
    EXPECT_EQ(screen.find(hint, screen.find(hint + "\ncount\n") + 1), std::string::npos);
}

TEST_F(Pipes, AMenuAnswerMustBeOneOfTheChoices)
{
    type("1.7\n5x\n1\n\n3\n");
    Terminal terminal(input_[0], output_[1]);
    Console console(terminal);
    ValueEntry entry(console, EntryStyle::ExistingValue, AnswerWithoutNumber::AskAgain);
    EXPECT_EQ(entry.askChoice({"first ( 0 )", "second ( 3 )"}, "", 0, {0, 3}), 0);
    EXPECT_EQ(entry.askChoice({}, "again", 0, {0, 3}), 3);
    const std::string screen = shown();
    // Each refusal names the choices and shows the menu again.
    std::size_t refusals = 0;
    for (std::size_t at = 0;
         (at = screen.find("Please answer 0 or 3.\nfirst ( 0 )\nsecond ( 3 )\n", at)) != std::string::npos; ++at)
        ++refusals;
    EXPECT_EQ(refusals, 3u);
}

TEST_F(Pipes, GatherStyleShowsValueBesideThePrompt)
{
    type("\n");
    Terminal terminal(input_[0], output_[1]);
    Console console(terminal);
    ValueEntry entry(console, EntryStyle::KeepThisValue);
    EXPECT_EQ(entry.askInt32("Input a baud number of 0-9  ", 0), 0);
    EXPECT_EQ(shown(), "\nInput a baud number of 0-9   0\nCarriage return to keep this value or enter new value   ");
}

TEST_F(Pipes, KeysFollowLinesAndTheEndOfInputIsReported)
{
    type("name\nq\x1b[5~");
    endInput();
    Terminal terminal(input_[0], output_[1]);
    Console console(terminal);
    EXPECT_EQ(console.readLine(), "name");
    EXPECT_TRUE(console.waitForKey().isLetter('Q'));
    EXPECT_EQ(console.waitForKey().kind, KeyKind::PageUp);
    EXPECT_FALSE(console.pollKey());
    EXPECT_THROW(console.waitForKey(), InputClosed);
    EXPECT_THROW(console.readLine(), InputClosed);
}

TEST_F(Pipes, InjectedWindowKeysComeFirstAndIdleHookRunsWhileWaiting)
{
    Terminal terminal(input_[0], output_[1]);
    Console console(terminal);
    int idleRuns = 0;
    console.setIdleHook([&] {
        if (++idleRuns == 3)
            console.injectKey(Key {KeyKind::Left, 0});
    });
    EXPECT_EQ(console.waitForKey().kind, KeyKind::Left);
    EXPECT_EQ(idleRuns, 3);
}

TEST_F(Pipes, PauseWaitsItsTimeAndKeepsTypedKeys)
{
    type("k");
    Terminal terminal(input_[0], output_[1]);
    Console console(terminal);
    const auto start = std::chrono::steady_clock::now();
    console.pause(0.15);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(150));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
    EXPECT_TRUE(console.waitForKey().isLetter('K'));
    endInput();
    console.pause(0.05); // ended input does not end the pause early or spin
}

} // namespace
} // namespace vorn::console
