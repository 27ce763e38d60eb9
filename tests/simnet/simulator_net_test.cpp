// The simulator's options and set-up for its controller and ISA boards.
#include "settings/options.h"
#include "settings/settings_parser.h"
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
    EXPECT_EQ(parseProgramOptions({"--isa", "0x300"}).config.isa->units[0].address, 0); // stand-alone

    for (const auto& bad : std::vector<std::vector<std::string>> {{"--controller", "0"},
                                                                  {"--controller", "121"},
                                                                  {"--controller-revision", "3.00"},
                                                                  {"--isa", "0,0x300"},
                                                                  {"--isa", "0x300,x"},
                                                                  {"--pv2", "0x1FFFF"}}) {
        EXPECT_FALSE(parseProgramOptions(bad).errors.empty()) << bad.front() << " " << bad.back();
    }
    EXPECT_NE(programHelp().find("--controller N"), std::string::npos);
}

TEST(SimulatorNet, ConfigurationSectionsDescribeTheControllerAndBoards)
{
    SimulatorConfig config = vornsetConfig(3);
    const auto errors = applyConfigText(config, "[controller]\n"
                                                "units = 4\n"
                                                "revision = 1.05\n"
                                                "report-rate = 2\n"
                                                "[controller unit 3]\n"
                                                "format = 1\n"
                                                "button-word = yes\n"
                                                "trajectory = still\n"
                                                "[isa]\n"
                                                "pv2 = 0x2A0\n"
                                                "[isa unit 1]\n"
                                                "model = PELLVORN2\n"
                                                "crystal = 40\n"
                                                "trajectory = figure-eight\n");
    ASSERT_TRUE(errors.empty()) << errors.front();
    ASSERT_TRUE(config.controller.has_value());
    ASSERT_EQ(config.controller->units.size(), 4u);
    EXPECT_EQ(config.controller->softwareRevision, 0x0105);
    EXPECT_EQ(config.controller->reportRate, 2);
    EXPECT_EQ(config.controller->units[2].dataFormat, 1);
    EXPECT_TRUE(config.controller->units[2].button);
    EXPECT_EQ(config.controller->units[2].sensorModel.trajectory.kind, TrajectoryKind::Still);
    EXPECT_EQ(config.controller->units[1].sensorModel.trajectory.kind, TrajectoryKind::Circle);
    ASSERT_TRUE(config.isa.has_value());
    ASSERT_EQ(config.isa->units.size(), 2u);
    EXPECT_EQ(config.isa->units[0].base, 0x2A0);
    EXPECT_EQ(config.isa->units[0].model, "PELLVORN2");
    EXPECT_EQ(config.isa->units[0].crystalSpeed, 40);
    EXPECT_EQ(config.isa->units[0].sensorModel.trajectory.kind, TrajectoryKind::FigureEight);
    EXPECT_EQ(config.units.size(), 3u); // the RS232 units stay

    // Each bad line is named; the rest still applies.
    SimulatorConfig other = vornsetConfig(1);
    const auto bad = applyConfigText(other, "[controller unit 2]\nformat = 1\n"
                                            "[controller]\nunits = 121\nrevision = x\nspeed = 3\n"
                                            "[controller unit 1]\nformat = 6\nperiod = 0\nposition-noise = -1\n"
                                            "[isa]\nboards = 0,0x300\n[isa unit 5]\nmodel = A\n"
                                            "[isa unit 0]\nmodel = ELEVENCHARS\n[board 1]\n");
    ASSERT_EQ(bad.size(), 11u);
    EXPECT_EQ(bad[0], "line 2: no controller unit 2");
    EXPECT_EQ(bad.back().substr(0, 8), "line 17:");
}

TEST(SimulatorNet, OptionsWinOverTheFileForTheControllerAndBoards)
{
    const auto options = parseProgramOptions(
        {"--controller-set", "2:format=3", "--isa-set", "0:model=PELLVORN2", "--controller", "2", "--isa", "0x300"});
    ASSERT_TRUE(options.errors.empty()) << options.errors.front();
    EXPECT_EQ(options.config.controller->units[1].dataFormat, 3);
    EXPECT_EQ(options.config.isa->units[0].model, "PELLVORN2");
    for (const auto& bad :
         std::vector<std::vector<std::string>> {{"--controller-set", "2:format=3"},
                                                {"--controller", "2", "--controller-set", "3:format=3"},
                                                {"--isa", "0x300", "--isa-set", "1:model=X"},
                                                {"--isa-set", "x"}}) {
        EXPECT_FALSE(parseProgramOptions(bad).errors.empty()) << bad.back();
    }
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
              std::string::npos)
        << env;
    EXPECT_NE(env.find("VORN_PORTIO=" + simulator.portIo()->path().string() + "\n"), std::string::npos) << env;
    simulator.exportEnvironment();
    EXPECT_EQ(std::string(std::getenv("VORN_PORTIO")), simulator.portIo()->path().string());
    unsetenv("VORN_PORTIO");
    simulator.stop();
    EXPECT_EQ(simulator.controller(), nullptr);
}
