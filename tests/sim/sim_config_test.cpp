// Configuration text, options, and the pose model's consistency.
#include "isa/isa_config.h"
#include "model/pose.h"
#include "serving_summary.h"
#include "settings/options.h"
#include "settings/settings_parser.h"
#include "simulator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

using namespace vorn::sim;

TEST(SimSettings, RevisionsAndConfigText)
{
    EXPECT_EQ(parseRevision("3.67"), 0x0343);
    // One place is tenths, as the unit's answer is read: 3.5 is 3.50, 3.05 keeps its place.
    EXPECT_EQ(parseRevision("3.5"), 0x0332);
    EXPECT_EQ(parseRevision("3.05"), 0x0305);
    EXPECT_EQ(parseRevision("3"), 0x0300);
    EXPECT_FALSE(parseRevision("3.123"));
    EXPECT_FALSE(parseRevision("3."));
    EXPECT_EQ(parseRevision("21.15"), 0x150F);
    EXPECT_FALSE(parseRevision("three"));

    SimulatorConfig config = vornsetConfig(3);
    const auto errors = applyConfigText(config, "seed = 7\n"
                                                "[unit 1]\n"
                                                "revision = 3.62\n"
                                                "trajectory = random-walk\n"
                                                "[unit 2]\n"
                                                "own-line = yes\n"
                                                "rate = 5000\n"
                                                "colour = blue\n"
                                                "[unit x]\n");
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0], "line 7: bad value for rate: \"5000\"");
    EXPECT_EQ(errors[1], "line 8: unknown unit setting \"colour\"");
    EXPECT_NE(errors[2].find("line 9"), std::string::npos);
    EXPECT_EQ(config.seed, 7u);
    ASSERT_EQ(config.units.size(), 2u);
    EXPECT_EQ(config.units[0].softwareRevision, 0x033E);
    EXPECT_EQ(config.units[0].sensorModel.trajectory.kind, TrajectoryKind::RandomWalk);
    EXPECT_TRUE(config.units[1].ownLine);
}

TEST(SimSettings, OptionsOverTheDefaults)
{
    const auto options = parseProgramOptions({"--units", "2", "--own-lines", "2", "--revision", "3.63", "--first-port",
                                              "5", "--unit-set", "2:model=PCVORN"});
    ASSERT_TRUE(options.errors.empty()) << options.errors.front();
    ASSERT_EQ(options.config.units.size(), 2u);
    EXPECT_TRUE(options.config.units[1].ownLine);
    EXPECT_EQ(options.config.units[1].model, "PCVORN");
    EXPECT_EQ(options.config.units[0].softwareRevision, 0x033F);
    EXPECT_EQ(options.config.firstPort, 5u);
    EXPECT_FALSE(parseProgramOptions({"--bogus"}).errors.empty());
    EXPECT_FALSE(parseProgramOptions({"--units"}).errors.empty());
    EXPECT_EQ(parseProgramOptions({"--standalone"}).config.units.at(0).address, 0);
    EXPECT_NE(programHelp().find("--env-file"), std::string::npos);
}

TEST(SimSettings, LinesArePublishedAsComVariables)
{
    auto config = vornsetConfig(3);
    config.units[2].ownLine = true;
    config.firstPort = 3;
    Simulator sim(config);
    sim.start();
    const auto assignments = sim.envAssignments();
    ASSERT_EQ(assignments.size(), 2u);
    EXPECT_EQ(assignments[0].name, "VORN_COM3");
    EXPECT_EQ(assignments[0].unit, 1);
    EXPECT_EQ(assignments[1].name, "VORN_COM4");
    EXPECT_EQ(assignments[1].unit, 3);
    EXPECT_TRUE(std::filesystem::exists(assignments[1].path));
    const auto file = std::filesystem::path(assignments[0].path).parent_path() / "env";
    sim.writeEnvFile(file);
    std::ifstream in(file);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "VORN_COM3=" + assignments[0].path.string());
    const auto folder = assignments[0].path.parent_path();
    sim.stop();
    EXPECT_FALSE(std::filesystem::exists(folder)) << "a temporary folder is removed on stop";
}

TEST(SimModel, AnglesMatrixAndQuaternionAgree)
{
    for (const Angles a : {Angles {30, 20, -40}, Angles {-150, -60, 170}, Angles {0, 0, 0}, Angles {90, 10, 45}}) {
        const Matrix3 m = matrixOfAngles(a);
        const Matrix3 identity = multiply(m, transpose(m));
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                EXPECT_NEAR(identity[i][j], i == j ? 1.0 : 0.0, 1e-12);
            }
        }
        const Angles back = anglesOfMatrix(m);
        EXPECT_NEAR(back.azimuth, a.azimuth, 1e-9);
        EXPECT_NEAR(back.elevation, a.elevation, 1e-9);
        EXPECT_NEAR(back.roll, a.roll, 1e-9);
        const Quaternion q = quaternionOfMatrix(m);
        EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1.0, 1e-12);
        EXPECT_GE(q[0], 0.0);
        // The matrix rebuilt from the quaternion, in the same convention, is the matrix.
        const double w = q[0], x = q[1], y = q[2], z = q[3];
        const Matrix3 fromQ = {{{1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y)},
                                {2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x)},
                                {2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y)}}};
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                EXPECT_NEAR(fromQ[i][j], m[i][j], 1e-9);
            }
        }
    }
}

TEST(SimSettings, MagneticEnvironmentAndRawSampleModeKeys)
{
    SimulatorConfig config = standAloneConfig();
    const auto errors = applyConfigText(config, "mains = 50\n"
                                                "hum = 0.2\n"
                                                "harmonics = none\n"
                                                "tones = 72:0.02, 85.5:0.01\n"
                                                "noise = -1\n"
                                                "tones = 72\n"
                                                "[unit 0]\n"
                                                "prom-notice = Bench unit\n"
                                                "prom-date = 12/31/99\n"
                                                "line-test = echo\n"
                                                "prom-date = 12/31\n"
                                                "prom-notice = " +
                                                    std::string(48, 'x') +
                                                    "\n"
                                                    "line-test = loud\n");
    ASSERT_EQ(errors.size(), 5u);
    for (const auto& [index, line] : {std::pair {0, 5}, {1, 6}, {2, 11}, {3, 12}, {4, 13}}) {
        EXPECT_EQ(errors[static_cast<std::size_t>(index)].rfind("line " + std::to_string(line) + ": bad value", 0), 0u)
            << errors[static_cast<std::size_t>(index)];
    }
    EXPECT_EQ(config.environment.mainsHertz, 50.0);
    EXPECT_EQ(config.environment.humVolts, 0.2);
    EXPECT_TRUE(config.environment.harmonics.empty());
    ASSERT_EQ(config.environment.tones.size(), 2u);
    EXPECT_EQ(config.environment.tones[1].hertz, 85.5);
    EXPECT_EQ(config.environment.noiseVolts, MagneticEnvironment {}.noiseVolts);
    EXPECT_EQ(config.units[0].prom.notice, "Bench unit");
    EXPECT_EQ(config.units[0].prom.date, (std::array<uint8_t, 3> {12, 31, 99}));
    EXPECT_EQ(config.units[0].lineCheck, LineCheckMode::Echo);

    const auto options = parseProgramOptions(
        {"--standalone", "--mains", "50", "--tones", "none", "--unit-set", "0:sample-clock=340200"});
    EXPECT_TRUE(options.errors.empty());
    EXPECT_EQ(options.config.environment.mainsHertz, 50.0);
    EXPECT_TRUE(options.config.environment.tones.empty());
    EXPECT_EQ(options.config.units[0].rawSampleClock, 340200.0);
    EXPECT_EQ(options.config.units[0].crystalSpeed, 40) << "the bench unit can collect noise";
}

// Every option --help names is one the parser takes, and the sample configuration
// that exercises all three links reads without an error.
TEST(SimSettings, HelpAndSampleConfigurationMatchTheParser)
{
    const std::string help = programHelp();
    std::size_t options = 0;
    for (std::size_t at = help.find("  --"); at != std::string::npos; at = help.find("  --", at + 1)) {
        const std::size_t end = help.find_first_of(" ,\n", at + 2);
        const std::string option = help.substr(at + 2, end - at - 2);
        const auto parsed = parseProgramOptions({option, "1"});
        for (const auto& error : parsed.errors) {
            EXPECT_NE(error, "unknown option " + option + " (see --help)");
        }
        ++options;
    }
    EXPECT_GE(options, 29u);
    for (const char* key : {"[controller] keys", "Controller unit keys", "[isa] keys", "ISA unit keys", "trajectory"}) {
        EXPECT_NE(help.find(key), std::string::npos) << key;
    }

    const auto sample = parseProgramOptions({"--config", VORNSIM_EXAMPLES "/three_links.conf"});
    ASSERT_TRUE(sample.errors.empty()) << sample.errors.front();
    EXPECT_EQ(sample.config.units.size(), 2u);
    ASSERT_TRUE(sample.config.controller && sample.config.isa);
    EXPECT_EQ(sample.config.isa->units.front().model, "PELLVORN2");
}

TEST(SimSettings, ServingSummarySaysHowToReachTheUnits)
{
    SimulatorConfig config = vornsetConfig(3);
    config.units[2].ownLine = true;
    config.firstPort = 4;
    Simulator simulator(config);
    simulator.start();
    const std::string summary = servingSummary(simulator);
    EXPECT_NE(summary.find("unit 1 on COM4, unit 3 on COM5; unit(s) 2 behind the master"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("vornctl info -p 4,0,5 -n 3"), std::string::npos) << summary;
}

// A folder of links belongs to one running simulator: a second one is refused
// before it touches them, and no simulator deletes a link it did not make.
TEST(SimSettings, ASecondSimulatorCannotTakeOverAFolderOfLinks)
{
    char pattern[] = "/tmp/vornsim-folder-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path folder = pattern;
    auto config = vornsetConfig(2);
    config.linkDirectory = folder;
    Simulator first(config);
    first.start();
    const auto target = std::filesystem::read_symlink(folder / "COM1");
    {
        Simulator second(config);
        try {
            second.start();
            ADD_FAILURE() << "a second simulator took the folder";
        } catch (const std::runtime_error& refused) {
            EXPECT_NE(std::string(refused.what()).find("holds the COM links of a running simulator"), std::string::npos)
                << refused.what();
        }
    }
    EXPECT_EQ(std::filesystem::read_symlink(folder / "COM1"), target) << "the first one's link is untouched";
    // A link someone else put in its place since is left alone when the simulator stops.
    std::filesystem::remove(folder / "COM1");
    std::filesystem::create_symlink("/dev/null", folder / "COM1");
    first.stop();
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "COM1"));
    // Once the first has stopped, the folder can be used again.
    Simulator third(config);
    EXPECT_NO_THROW(third.start());
    third.stop();
    std::filesystem::remove_all(folder);
}

TEST(SimSettings, BoardsAtOneBaseAndRepeatedErrorsAreRefusedOnce)
{
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>> {{"--isa", "0x300,0x300"},
                                                {"--isa", "0x300,0x302,0"},
                                                {"--pv2", "0x300", "--isa", "0x300"},
                                                {"--pv2", "0x300", "--isa", "0x320"}}) {
        EXPECT_EQ(parseProgramOptions(args).errors.size(), 1u) << args[0] << " " << args[1];
    }
    EXPECT_TRUE(parseProgramOptions({"--isa", "0x300,0x304,0"}).errors.empty());
    // A setting meant for every unit is wrong once, not once per unit.
    EXPECT_EQ(parseProgramOptions({"--units", "3", "--rate", "abc"}).errors.size(), 1u);
    EXPECT_EQ(baseText(0x300), "0x300");
}
