// The simulator's options and set-up for its controller and ISA boards.
#include "config/options.h"
#include "simulator.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vorn::sim;

TEST(SimulatorNet, OptionsSwitchTheControllerAndBoardsOn)
{
    const auto options = parseProgramOptions({"--controller", "4", "--controller-revision", "1.05", "--pv2", "0x2A0"});
    ASSERT_TRUE(options.errors.empty()) << options.errors.front();
    ASSERT_TRUE(options.config.controller.has_value());
    EXPECT_EQ(options.config.controller->units.size(), 4u);
    EXPECT_EQ(options.config.controller->softwareRevision, 0x0105);
    ASSERT_TRUE(options.config.isa.has_value());
    ASSERT_EQ(options.config.isa->units.size(), 2u);
    EXPECT_EQ(options.config.isa->units[0].base, 0x2A0);
    EXPECT_EQ(options.config.isa->units[1].base, 0);

    const auto boards = parseProgramOptions({"--isa", "0x300,0x320,0"});
    ASSERT_TRUE(boards.config.isa.has_value());
    EXPECT_EQ(boards.config.isa->units.size(), 3u);
    EXPECT_EQ(parseProgramOptions({"--isa", "0x300"}).config.isa->units[0].address, 0);  // stand-alone

    for (const auto& bad : std::vector<std::vector<std::string>> {
             {"--controller", "0"}, {"--controller", "121"}, {"--controller-revision", "3.00"},
             {"--isa", "0,0x300"}, {"--isa", "0x300,x"}, {"--pv2", "0x1FFFF"}}) {
        EXPECT_FALSE(parseProgramOptions(bad).errors.empty()) << bad.front() << " " << bad.back();
    }
    EXPECT_NE(programHelp().find("--controller N"), std::string::npos);
}

TEST(SimulatorNet, PublishesWhereTheControllerAndBoardsAre)
{
    SimulatorConfig config = vornsetConfig(2);
    config.controller = controllerConfig(2);
    config.isa = isaStandAloneConfig(0x300);
    Simulator simulator(config);
    simulator.start();
    ASSERT_NE(simulator.controller(), nullptr);
    ASSERT_NE(simulator.portIo(), nullptr);
    const std::string env = simulator.envText();
    EXPECT_NE(env.find("VORN_CONTROLLER=127.0.0.1:" + std::to_string(simulator.controller()->port()) + "\n"),
              std::string::npos) << env;
    EXPECT_NE(env.find("VORN_PORTIO=" + simulator.portIo()->path().string() + "\n"), std::string::npos) << env;
    simulator.exportEnvironment();
    EXPECT_EQ(std::string(std::getenv("VORN_PORTIO")), simulator.portIo()->path().string());
    unsetenv("VORN_PORTIO");
    simulator.stop();
    EXPECT_EQ(simulator.controller(), nullptr);
}
