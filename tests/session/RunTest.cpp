// A run through its real threads: a live pseudo-terminal, the simulated receiver and replayed
// logs, with the test's thread playing the window thread.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "PumpedDisplay.h"
#include "core/NmeaFields.h"
#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "session/TRun.h"
#include "tests/io/IoTestSupport.h"

namespace zz::test {
namespace {

using namespace std::chrono_literals;

const std::filesystem::path kCaptures = std::filesystem::path(ZZ_TEST_DATA_DIR) / "captures";
const std::filesystem::path kSamples = std::filesystem::path(ZZ_SOURCE_DIR) / "samples";

// "$" + body + "*" + check characters + CR LF.
std::string Sentence(const std::string& body)
{
    char check[4];
    std::snprintf(check, sizeof check, "%02X", NmeaChecksum(body.data(), body.size()));
    return "$" + body + "*" + check + "\r\n";
}

const std::string kFixCycle =
    Sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") +
    Sentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1");

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RunTest : public ::testing::Test
{
protected:
    COMSTATUS Line(const std::string& port) const
    {
        COMSTATUS line;
        line.PortName = port;
        line.BaudRate = 115200;
        return line;
    }

    bool HasLatitude() const
    {
        const std::string latitude = Display.InfoText(TInfoLabel::lat);
        return !latitude.empty() && latitude != "--";
    }

    // Opens a replay of the file and starts it, paused at the start, at the given speed.
    void StartReplay(const std::filesystem::path& file, TProtocol protocol, int speed = 2)
    {
        int error = -1;
        ASSERT_TRUE(Run.OpenReplay(file.string(), error)) << file;
        EXPECT_EQ(error, 0);
        Run.StartReplay(protocol);
        Run.SetReplaySpeed(speed);
        ASSERT_EQ(Flags.Running.load(), 1);
        ASSERT_EQ(Flags.Replaying.load(), 1);
    }

    TControlFlags Flags;
    TKeptValues Kept;
    TPumpedDisplay Display;
    TRun Run{Flags, Kept, Display, Display};
};

TEST_F(RunTest, LivePortShowsWhatArrivesAndCarriesCommandsAndRecordings)
{
    TPtyPair pty;
    ASSERT_TRUE(pty.Ok());
    TTempDir dir;
    ASSERT_TRUE(Run.StartRecording(dir.File("run.log"), dir.File("run.bin")));
    ASSERT_TRUE(Run.Connect(Line(pty.SlavePath), TProtocol::Nmea));
    EXPECT_EQ(Flags.Running.load(), 1);

    ASSERT_TRUE(pty.WriteMaster(kFixCycle + kFixCycle));
    ASSERT_TRUE(Display.PumpUntil([&] { return HasLatitude() && Display.LogLines.size() >= 2; }));
    EXPECT_EQ(Display.LogLines.front(), kFixCycle.substr(0, kFixCycle.find('\r')));

    const TRunControl::TSendResult sent = Run.Send("$DIRU,GPclr,1", true, false);
    EXPECT_TRUE(sent.Sent);
    EXPECT_TRUE(sent.TtffArmed);
    EXPECT_TRUE(Display.HasEvent("ttff --"));
    EXPECT_EQ(pty.ReadMaster(20), Sentence("DIRU,GPclr,1"));
    Run.WriteSentLine("$DIRU,GPclr,1");

    Run.Disconnect();
    EXPECT_EQ(Flags.Running.load(), 0);
    EXPECT_TRUE(Run.Recording()) << "a disconnection leaves the recording to the window";
    Run.StopRecording();
    EXPECT_FALSE(Run.Recording());

    const std::string raw = ReadFile(dir.File("run.bin"));
    EXPECT_EQ(raw.rfind("@@Header of NMEA cycle -> GGA@@\r\n", 0), 0u);
    EXPECT_NE(raw.find(kFixCycle), std::string::npos);
    const std::string log = ReadFile(dir.File("run.log"));
    EXPECT_NE(log.find(kFixCycle.substr(0, kFixCycle.find('\n') + 1)), std::string::npos);
    EXPECT_NE(log.find("/$DIRU,GPclr,1\r\n"), std::string::npos);
    EXPECT_FALSE(Run.LogFailure().Failed);
    EXPECT_FALSE(Run.RawFailure().Failed);
}

TEST_F(RunTest, ClearAndRestartCommandsArmTheTimeToFirstFix)
{
    const struct
    {
        TProtocol Protocol;
        const char* Text;
        bool WithChecksum;
        bool Restart;
        bool Armed;
    } cases[] = {
        {TProtocol::Nmea, "$DIRU,GPclr,2", true, false, true},
        {TProtocol::Nmea, "$DIRU,GPclr,7", true, false, false},
        {TProtocol::Nmea, "$DIRU,GPout,1", true, false, false},
        {TProtocol::Nmea, "$DIRU,GPout,1", true, true, true},
        {TProtocol::Binary, "C18280C3CA", false, false, true},
        {TProtocol::Binary, "C180", false, false, false},
    };
    TPtyPair pty;
    ASSERT_TRUE(pty.Ok());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        ASSERT_TRUE(Run.Connect(Line(pty.SlavePath), c.Protocol));
        Display.Events.clear();
        const TRunControl::TSendResult sent = Run.Send(c.Text, c.WithChecksum, c.Restart);
        EXPECT_TRUE(sent.Sent);
        EXPECT_EQ(sent.TtffArmed, c.Armed);
        EXPECT_EQ(Display.HasEvent("ttff --"), c.Armed);
        Run.Disconnect();
    }
    // Nothing is sent without a connection.
    const TRunControl::TSendResult idle = Run.Send("$DIRU,GPclr,1", true, false);
    EXPECT_FALSE(idle.Sent);
    EXPECT_FALSE(idle.TtffArmed);
}

TEST_F(RunTest, ALostReceiverIsReportedOnceAndTheWindowDecides)
{
    TPtyPair pty;
    ASSERT_TRUE(pty.Ok());
    ASSERT_TRUE(Run.Connect(Line(pty.SlavePath), TProtocol::Nmea));
    pty.CloseMaster();
    pty.CloseSlave();
    ASSERT_TRUE(Display.PumpUntil([&] { return Display.HasEvent("lost"); }));
    Display.PumpFor(200ms);
    EXPECT_EQ(std::count(Display.Events.begin(), Display.Events.end(), "lost"), 1);
    EXPECT_EQ(Flags.Running.load(), 1);
    Run.Disconnect();
    EXPECT_EQ(Flags.Running.load(), 0);
}

TEST_F(RunTest, WorkQueuedByAnEndedRunNeverReachesTheWindows)
{
    TPtyPair pty;
    ASSERT_TRUE(pty.Ok());
    ASSERT_TRUE(Run.Connect(Line(pty.SlavePath), TProtocol::Nmea));
    ASSERT_TRUE(pty.WriteMaster(kFixCycle));
    // The monitor has posted the line to the Log window; the window thread is busy elsewhere.
    ASSERT_TRUE(WaitUntil([&] { return Display.QueuedCount() > 0; }));
    // And the receiver is unplugged before the window thread gets to its queue.
    pty.CloseMaster();
    pty.CloseSlave();
    std::this_thread::sleep_for(100ms);
    Run.Disconnect();

    Display.PumpFor(300ms);
    EXPECT_TRUE(Display.LogLines.empty());
    EXPECT_EQ(Display.InfoWrites, 0);
    EXPECT_FALSE(Display.HasEvent("lost"));
}

TEST_F(RunTest, SimulatedReceiverGivesAFixInBothProtocols)
{
    for (const TProtocol protocol : {TProtocol::Nmea, TProtocol::Binary}) {
        SCOPED_TRACE(static_cast<int>(protocol));
        Display.Info.clear();
        ASSERT_TRUE(Run.Connect(Line("SIM"), protocol));
        EXPECT_TRUE(Display.PumpUntil([&] { return HasLatitude(); }));
        Run.Disconnect();
    }
}

TEST_F(RunTest, AReplayStartsPausedPlaysPausesAndEndsPaused)
{
    const std::filesystem::path file = kCaptures / "bn-9015.nmea";
    const auto size = static_cast<int64_t>(std::filesystem::file_size(file));
    StartReplay(file, TProtocol::Nmea);
    EXPECT_EQ(Run.ReplaySize(), size);

    Display.PumpFor(200ms);
    EXPECT_EQ(Run.ReplayPosition(), 0);
    EXPECT_TRUE(Display.LogLines.empty());

    Run.PlayReplay();
    ASSERT_TRUE(Display.PumpUntil([&] { return Display.LogLines.size() >= 3; }));
    Run.PauseReplay();
    Display.PumpFor(100ms);
    const int64_t paused = Run.ReplayPosition();
    const size_t linesWhenPaused = Display.LogLines.size();
    Display.PumpFor(300ms);
    EXPECT_EQ(Run.ReplayPosition(), paused);
    EXPECT_EQ(Display.LogLines.size(), linesWhenPaused);

    Run.PlayReplay();
    ASSERT_TRUE(Display.PumpUntil([&] { return Display.HasEvent("replay ended 0"); }));
    EXPECT_EQ(Run.ReplayPosition(), size);
    EXPECT_EQ(Flags.ReplayPlaying.load(), 0);
    EXPECT_TRUE(HasLatitude());

    // Play after the end starts again from the first byte.
    const size_t linesAtEnd = Display.LogLines.size();
    Run.RewindReplay();
    EXPECT_EQ(Run.ReplayPosition(), 0);
    Run.PlayReplay();
    ASSERT_TRUE(Display.PumpUntil([&] { return Display.LogLines.size() > linesAtEnd; }));
    EXPECT_EQ(Display.LogLines[linesAtEnd], Display.LogLines.front());

    Run.Disconnect();
    EXPECT_EQ(Flags.Running.load(), 0);
    EXPECT_EQ(Flags.Replaying.load(), 0);
}

TEST_F(RunTest, ASeekIntoTheMiddleOfASentenceOrFrameResynchronises)
{
    const struct
    {
        std::filesystem::path File;
        TProtocol Protocol;
    } cases[] = {
        {kSamples / "sample-nmea.bin", TProtocol::Nmea},
        {kSamples / "sample-binary.bin", TProtocol::Binary},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File.filename().string());
        Display.LogLines.clear();
        Display.Info.clear();
        StartReplay(c.File, c.Protocol);
        const int64_t middle = Run.ReplaySize() / 2 + 3;
        Run.SeekReplay(middle);
        EXPECT_EQ(Run.ReplayPosition(), middle);
        EXPECT_EQ(Flags.FramerReset.load(), 1);
        EXPECT_EQ(Flags.ReplayPlaying.load(), 0);
        Run.PlayReplay();
        ASSERT_TRUE(
            Display.PumpUntil([&] { return Display.LogLines.size() >= 5 && HasLatitude(); }));
        Run.PauseReplay();
        if (c.Protocol == TProtocol::Nmea) {
            for (const std::string& line : Display.LogLines) {
                EXPECT_EQ(line.front(), '$') << line;
            }
        }
        Run.Disconnect();
    }
}

TEST_F(RunTest, ReplayPacingFollowsTheSpeed)
{
    // Time for three NMEA cycles (each opened by a GGA sentence) at each speed: slow 930 ms,
    // mid 185 ms, fast 30 ms a cycle. Only the order and the rough size are asserted.
    const auto cycles = [&] {
        return std::count_if(Display.LogLines.begin(), Display.LogLines.end(),
                             [](const std::string& line) { return line.rfind("$GPGGA", 0) == 0; });
    };
    std::array<double, 3> seconds{};
    for (int speed = 2; speed >= 0; --speed) {
        Display.LogLines.clear();
        StartReplay(kSamples / "sample-nmea.bin", TProtocol::Nmea, speed);
        Run.PlayReplay();
        ASSERT_TRUE(Display.PumpUntil([&] { return cycles() >= 2; }));
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(Display.PumpUntil([&] { return cycles() >= 5; }));
        seconds[static_cast<size_t>(speed)] =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        Run.Disconnect();
    }
    EXPECT_GT(seconds[0], seconds[1]);
    EXPECT_GT(seconds[1], seconds[2]);
    EXPECT_GT(seconds[0], 1.5) << "slow is close to a second a cycle";
    EXPECT_LT(seconds[2], seconds[0] / 2) << "fast is a few tens of milliseconds a cycle";
}

TEST_F(RunTest, AReplayFileCutShortPausesWithAnError)
{
    TTempDir dir;
    const std::string path = dir.File("cut.bin");
    std::filesystem::copy_file(kCaptures / "bn-9015.nmea", path);
    StartReplay(path, TProtocol::Nmea);
    std::filesystem::resize_file(path, 1000);
    Run.PlayReplay();
    ASSERT_TRUE(Display.PumpUntil([&] { return Display.HasEvent("replay ended -1"); }));
    EXPECT_EQ(Run.ReplayPosition(), 1000);
    EXPECT_EQ(Flags.ReplayPlaying.load(), 0);
    Run.Disconnect();
}

TEST_F(RunTest, TheReferenceComesFromTheMarkerAtTheHeadOfTheLog)
{
    TTempDir dir;
    const struct
    {
        const char* Head;
        int32_t Reference;
    } cases[] = {
        {"@@Header of NMEA cycle -> GSV@@\r\n$GPGGA,1*00\r\n", 6},
        {"@@Header of NMEA cycle -> ZDA@@\r\n", 7},
        {"@@header of nmea cycle -> gsv@@\r\n$GPGGA,1*00\r\n", 10},
        {"@@Header of NMEA", 10},
        {"\xA0\xA2\x00\x02\x84\x00\x00\x84\xB0\xB3", 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Head);
        const std::string path = dir.File("head.bin");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.Head;
        int error = 0;
        ASSERT_TRUE(Run.OpenReplay(path, error));
        EXPECT_EQ(Run.ReplayReference(), c.Reference);
        EXPECT_EQ(Run.ReplayPosition(), 0);
        Run.CancelReplay();
    }
    int error = 0;
    EXPECT_FALSE(Run.OpenReplay(dir.File("missing.bin"), error));
    EXPECT_EQ(error, ENOENT);
}

// Reads the JSON string that starts at text[at] (its opening quote) into value; the index
// after its closing quote, or npos on a malformed string.
size_t ReadJsonString(const std::string& text, size_t at, std::string& value)
{
    value.clear();
    for (size_t i = at + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            return i + 1;
        }
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++i >= text.size()) {
            break;
        }
        switch (text[i]) {
        case 'u':
            if (i + 4 >= text.size()) {
                return std::string::npos;
            }
            value += static_cast<char>(std::stoi(text.substr(i + 1, 4), nullptr, 16));
            i += 4;
            break;
        case 'n':
            value += '\n';
            break;
        case 'r':
            value += '\r';
            break;
        case 't':
            value += '\t';
            break;
        default:
            value += text[i];
            break;
        }
    }
    return std::string::npos;
}

// The texts of the windows after the last snapshot of a log, as `zedezuze-cli decode
// --display` reports them: for each text, the last value it was given.
std::map<std::string, std::string> DecodedTexts(const std::filesystem::path& file)
{
    std::map<std::string, std::string> texts;
    const std::string command =
        std::string(ZZ_CLI_PATH) + " decode --display '" + file.string() + "'";
    FILE* out = ::popen(command.c_str(), "r");
    if (out == nullptr) {
        return texts;
    }
    std::string line;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, out) != nullptr) {
        line += buffer;
        if (line.back() != '\n') {
            continue;
        }
        // "display" is the last member: {"key": "text", ...}}
        size_t at = line.find("\"display\": {");
        if (at != std::string::npos) {
            at += 12;
            std::string key;
            std::string value;
            while ((at = line.find('"', at)) != std::string::npos) {
                at = ReadJsonString(line, at, key);
                if (at == std::string::npos || (at = line.find('"', at)) == std::string::npos) {
                    break;
                }
                at = ReadJsonString(line, at, value);
                if (at == std::string::npos) {
                    break;
                }
                texts[key] = value;
            }
        }
        line.clear();
    }
    ::pclose(out);
    return texts;
}

// The names of the Information window's texts in the decoder's output, by label.
constexpr const char* kInfoNames[] = {"utc", "fix", "dim", "rot",  "usat", "lat",  "lon",  "alt",
                                      "vel", "dir", "MT",  "pdop", "hdop", "vdop", "ttff", "fver"};

const char* InfoName(TInfoLabel label)
{
    return kInfoNames[static_cast<int>(label)];
}

std::vector<std::string> CaptureNames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kCaptures)) {
        if (entry.path().extension() == ".nmea") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class ReplayCaptureTest : public RunTest, public ::testing::WithParamInterface<std::string>
{
};

TEST_P(ReplayCaptureTest, EndsWithTheTextsTheDecoderGives)
{
    const std::filesystem::path file = kCaptures / GetParam();
    const std::map<std::string, std::string> expected = DecodedTexts(file);
    StartReplay(file, TProtocol::Nmea);
    Run.PlayReplay();
    ASSERT_TRUE(Display.PumpUntil([&] { return Display.HasEvent("replay ended 0"); }, 120s));
    // Every Information text the replay showed, and only those, with the decoder's last value.
    std::map<std::string, std::string> shown;
    for (const auto& [label, text] : Display.Info) {
        shown[InfoName(label)] = text;
    }
    std::map<std::string, std::string> decoded;
    for (const auto& [name, text] : expected) {
        if (std::any_of(std::begin(kInfoNames), std::end(kInfoNames),
                        [&](const char* info) { return name == info; })) {
            decoded[name] = text;
        }
    }
    EXPECT_EQ(shown, decoded);
    Run.Disconnect();
}

INSTANTIATE_TEST_SUITE_P(Captures, ReplayCaptureTest, ::testing::ValuesIn(CaptureNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             std::replace_if(
                                 name.begin(), name.end(),
                                 [](char c) {
                                     return std::isalnum(static_cast<unsigned char>(c)) == 0;
                                 },
                                 '_');
                             return name;
                         });

} // namespace
} // namespace zz::test
