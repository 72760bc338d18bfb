// Runs the real zedezuze-cli binary: golden output for the samples and a few real captures,
// and the command line's errors.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/cli/CliProcess.h"
#include "tests/cli/TextDiff.h"

namespace {

namespace fs = std::filesystem;

using zz::test::CliRun;
using zz::test::ReadFile;
using zz::test::RunCli;

const fs::path kDataDir = ZZ_TEST_DATA_DIR;
const fs::path kSamplesDir = fs::path(ZZ_SOURCE_DIR) / "samples";

struct GoldenCase
{
    const char* Golden;
    fs::path Input;
    std::vector<std::string> Options;
};

// Each golden file is the decoder's output for its input; a change to one is a change of
// decoded values or texts and says why in its commit. With ZZ_UPDATE_GOLDEN=1 the test only
// writes them, compares nothing and reports itself skipped, naming the files it wrote.
TEST(CliDecode, OutputMatchesGoldenFiles)
{
    const std::vector<GoldenCase> cases = {
        {"sample-nmea.jsonl", kSamplesDir / "sample-nmea.bin", {"--display"}},
        {"sample-binary.jsonl",
         kSamplesDir / "sample-binary.bin",
         {"--protocol", "binary", "--display"}},
        {"navika-100-fix.jsonl", kDataDir / "captures/navika-100-fix.nmea", {"--display"}},
        {"bt451-rmc-vtg.jsonl",
         kDataDir / "captures/bt451.nmea",
         {"--lf", "RMC", "--vd", "VTG", "--header", "RMC", "--display"}},
        {"gp-320fw-coldboot.jsonl", kDataDir / "captures/gp-320fw-2019-04-07-coldboot.nmea", {}},
    };
    const char* updateFlag = std::getenv("ZZ_UPDATE_GOLDEN");
    const bool update =
        updateFlag != nullptr && *updateFlag != '\0' && std::string(updateFlag) != "0";
    std::string written;
    for (const auto& golden : cases) {
        SCOPED_TRACE(golden.Golden);
        std::vector<std::string> args = {"decode"};
        args.insert(args.end(), golden.Options.begin(), golden.Options.end());
        args.push_back(golden.Input.string());
        const CliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        const fs::path goldenPath = kDataDir / "golden" / golden.Golden;
        if (update) {
            fs::create_directories(goldenPath.parent_path());
            std::ofstream out(goldenPath, std::ios::binary);
            out << run.Out;
            out.close();
            ASSERT_TRUE(out) << "cannot write " << goldenPath;
            std::cout << "wrote " << goldenPath.string() << std::endl;
            written += "\n  " + goldenPath.string();
            continue;
        }
        if (!fs::exists(goldenPath)) {
            ADD_FAILURE() << goldenPath << " is missing; ZZ_UPDATE_GOLDEN=1 writes it";
            continue;
        }
        const std::string difference =
            zz::test::DescribeTextDifference(ReadFile(goldenPath), run.Out);
        if (!difference.empty()) {
            ADD_FAILURE() << "output differs from " << goldenPath << "\n" << difference;
        }
    }
    if (update) {
        GTEST_SKIP() << "ZZ_UPDATE_GOLDEN is set: golden files written, nothing compared; run "
                        "again without it to compare. Written:"
                     << written;
    }
}

TEST(CliDecode, StandardInputGivesTheSameOutputAsTheFile)
{
    const std::string bytes = ReadFile(kSamplesDir / "sample-nmea.bin");
    const CliRun fromFile = RunCli({"decode", (kSamplesDir / "sample-nmea.bin").string()});
    const CliRun fromStdin = RunCli({"decode", "-"}, &bytes);
    ASSERT_EQ(fromStdin.ExitCode, 0);
    EXPECT_FALSE(fromStdin.Out.empty());
    EXPECT_TRUE(fromStdin.Out == fromFile.Out);
}

TEST(CliDecode, MarkerLineChoosesTheCycleHeaderUnlessOneIsGiven)
{
    // Two RMC sentences; with RMC as header the second one opens a cycle and reports the first.
    const std::string rmc = "$GPRMC,1,A,3540.1234,N,13945.5000,E,10.0,90.0,010125,,,A*00\r\n";
    const std::string withMarker = "@@Header of NMEA cycle -> RMC@@\r\n" + rmc + rmc;
    const CliRun byMarker = RunCli({"decode", "--lf", "RMC", "-"}, &withMarker);
    const CliRun byOption = RunCli({"decode", "--lf", "RMC", "--header", "GGA", "-"}, &withMarker);
    EXPECT_NE(byMarker.Out.find("CycleUpdated"), std::string::npos) << byMarker.Out;
    EXPECT_EQ(byOption.Out.find("CycleUpdated"), std::string::npos) << byOption.Out;
}

TEST(CliDecode, LineIsEscapedToPlainAscii)
{
    const std::string input = "$GPGGA,\"q\\\x01\xff,,,,,1*00\r\n";
    const CliRun run = RunCli({"decode", "-"}, &input);
    ASSERT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Out.find(R"("line": "$GPGGA,\"q\\\u0001\u00ff,,,,,1*00")"), std::string::npos)
        << run.Out;
}

TEST(CliDecode, BadInvocationsExitWithStatusTwoAndOneLine)
{
    struct Case
    {
        const char* What;
        std::vector<std::string> Args;
        const char* Mentions = ""; // what the message must name
    };
    const std::vector<Case> cases = {
        {"missing file", {"decode", "/nonexistent/log.bin"}},
        {"unknown header", {"decode", "--header", "XYZ", "-"}},
        {"unknown protocol", {"decode", "--protocol", "morse", "-"}},
        {"unknown option", {"decode", "--frobnicate", "-"}},
        {"value missing", {"decode", "--lf"}},
        {"no file", {"decode"}},
        {"unknown command", {"transmogrify"}},
        {"baud rate above the highest a line takes",
         {"monitor", "--baud", "4000001", "/dev/null"},
         "'4000001' is not a baud rate"},
        {"fractional baud rate",
         {"monitor", "--baud", "9600.5", "/dev/null"},
         "is not a baud rate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const CliRun run = RunCli(c.Args);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_FALSE(run.Err.empty());
        EXPECT_NE(run.Err.find(c.Mentions), std::string::npos) << run.Err;
    }
}

TEST(CliDecode, EmptyInputPrintsNothingAndHelpNamesEveryOption)
{
    const std::string empty;
    const CliRun run = RunCli({"decode", "-"}, &empty);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Out, "");

    const CliRun help = RunCli({"decode", "--help"});
    EXPECT_EQ(help.ExitCode, 0);
    for (const char* option : {"--protocol", "--header", "--lf", "--sa", "--vd", "--display"}) {
        EXPECT_NE(help.Out.find(option), std::string::npos) << option;
    }
}

TEST(CliDecode, VersionIsTheProducts)
{
    const CliRun version = RunCli({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out, "zedezuze-cli 2.0\n");
}

} // namespace
