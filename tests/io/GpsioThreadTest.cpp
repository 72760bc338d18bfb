#include <array>
#include <atomic>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <termios.h>

#include <gtest/gtest.h>

#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "core/TLineRing.h"
#include "io/COMSTATUS.h"
#include "io/TBinary.h"
#include "io/TLogFiles.h"
#include "io/TNmea.h"
#include "io/TProtocolListener.h"
#include "tests/io/IoTestSupport.h"

namespace zz::test {
namespace {

const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";

class TRecordingListener final : public TProtocolListener
{
public:
    void ShowTtffText(TTtffText) override { TtffTexts.fetch_add(1); }
    void ClearAltitudeVelocityPlots() override { PlotClears.fetch_add(1); }
    void ReceiverLost() override { Lost.fetch_add(1); }

    std::atomic<int> TtffTexts{0};
    std::atomic<int> PlotClears{0};
    std::atomic<int> Lost{0};
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class GpsioThreadTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Pty.Ok()); }

    COMSTATUS Status(int32_t baud = 9600) const
    {
        COMSTATUS status;
        status.PortName = Pty.SlavePath;
        status.BaudRate = baud;
        return status;
    }

    std::unique_ptr<TNmea> MakeNmea()
    {
        return std::make_unique<TNmea>(true, Flags, Kept, DisplayPending, &Logs, &Listener);
    }

    // Takes lines as the monitor does until one arrives or the bound passes.
    std::string TakeOneLine(TGpsioThread& thread)
    {
        std::string line;
        WaitUntil([&] {
            int32_t count = 0;
            if (thread.TakeLine(Buffer.data(), count) == TTakeResult::Nothing) {
                return false;
            }
            line.assign(Buffer.data(), static_cast<size_t>(count));
            return true;
        });
        return line;
    }

    TControlFlags Flags;
    TKeptValues Kept;
    std::atomic<uint8_t> DisplayPending{0};
    TTempDir Dir;
    TLogFiles Logs{Kept.ProtocolIndex, Kept.HeaderIndex};
    TRecordingListener Listener;
    TPtyPair Pty;
    std::array<char, kLineSlotSize> Buffer{};
};

TEST_F(GpsioThreadTest, NmeaFromThePortComesOutAsLinesSnapshotsAndLogs)
{
    const std::string rawPath = Dir.File("run.bin");
    const std::string logPath = Dir.File("run.log");
    ASSERT_TRUE(Logs.OpenLogFile(logPath));
    ASSERT_TRUE(Logs.OpenRawFile(rawPath));

    auto nmea = MakeNmea();
    ASSERT_TRUE(nmea->OpenReceiverPort(Status(4800)));
    termios settings{};
    ASSERT_EQ(::tcgetattr(Pty.Slave, &settings), 0);
    EXPECT_EQ(cfgetospeed(&settings), static_cast<speed_t>(B4800));
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);

    // The sentence arrives in two pieces, as a slow line delivers it.
    ASSERT_TRUE(Pty.WriteMaster(kGga.substr(0, 20)));
    ASSERT_TRUE(Pty.WriteMaster(kGga.substr(20) + "\r\n"));
    EXPECT_EQ(TakeOneLine(*nmea), kGga);
    EXPECT_EQ(DisplayPending.load(), 1);

    TReceiverState copy{};
    ASSERT_TRUE(nmea->TakeSnapshot(copy));
    EXPECT_DOUBLE_EQ(copy.Latitude, 4807.038);
    EXPECT_DOUBLE_EQ(copy.Longitude, 1131.000);
    EXPECT_EQ(copy.FixQuality, 1);
    EXPECT_DOUBLE_EQ(copy.Altitude, 545.4);
    EXPECT_EQ(copy.SatellitesUsed, 8);
    EXPECT_FALSE(nmea->TakeSnapshot(copy)); // the flags were cleared at the source

    nmea.reset();
    Logs.CloseLogFiles();
    EXPECT_EQ(ReadFile(rawPath), "@@Header of NMEA cycle -> GGA@@\r\n" + kGga + "\r\n");
    EXPECT_EQ(ReadFile(logPath), kGga + "\r\n");
}

TEST_F(GpsioThreadTest, CommandsReachTheReceiver)
{
    using TMaker = std::function<std::unique_ptr<TGpsioThread>()>;
    const TMaker nmea = [this] { return MakeNmea(); };
    const TMaker binary = [this] {
        return std::make_unique<TBinary>(true, Flags, Kept, DisplayPending, &Logs, &Listener);
    };
    struct TCase
    {
        const char* What;
        const TMaker* Make;
        std::string Text;
        bool WithChecksum;
        std::string Expected;
    };
    const std::string ggaBody = kGga.substr(0, kGga.size() - 3);
    const TCase cases[] = {
        {"NMEA as typed", &nmea, "$PDIRU,GPclr", false, "$PDIRU,GPclr\r\n"},
        {"NMEA with checksum", &nmea, ggaBody, true, kGga + "\r\n"},
        {"binary as hexadecimal text", &binary, "A0A2", false, "\xA0\xA2"},
    };
    for (const TCase& item : cases) {
        SCOPED_TRACE(item.What);
        auto thread = (*item.Make)();
        ASSERT_TRUE(thread->OpenReceiverPort(Status()));
        const bool accepted = item.WithChecksum
                                  ? thread->SendWithChecksum(item.Text.data(), item.Text.size())
                                  : thread->SendText(item.Text.data(), item.Text.size());
        EXPECT_TRUE(accepted);
        EXPECT_EQ(Pty.ReadMaster(item.Expected.size()), item.Expected);
    }
}

TEST_F(GpsioThreadTest, TakeStopsOnceTerminationIsRequested)
{
    auto nmea = MakeNmea();
    ASSERT_TRUE(nmea->OpenReceiverPort(Status()));
    ASSERT_TRUE(Pty.WriteMaster(kGga + "\r\n" + kGga + "\r\n"));
    EXPECT_EQ(TakeOneLine(*nmea), kGga); // one line taken, one still waits

    nmea->Terminate();
    int32_t count = 0;
    EXPECT_EQ(nmea->TakeLine(Buffer.data(), count), TTakeResult::Nothing);
    TReceiverState copy{};
    EXPECT_FALSE(nmea->TakeSnapshot(copy));
}

TEST_F(GpsioThreadTest, ALostReceiverReachesTheListenerOnce)
{
    auto nmea = MakeNmea();
    ASSERT_TRUE(nmea->OpenReceiverPort(Status()));
    Pty.CloseSlave();
    ASSERT_TRUE(Pty.WriteMaster(kGga + "\r\n"));
    EXPECT_EQ(TakeOneLine(*nmea), kGga);

    Pty.CloseMaster();
    EXPECT_TRUE(WaitUntil([&] { return Listener.Lost.load() > 0; }));
    nmea.reset();
    EXPECT_EQ(Listener.Lost.load(), 1);
}

} // namespace
} // namespace zz::test
