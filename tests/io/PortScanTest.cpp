#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <termios.h>
#include <vector>

#include <gtest/gtest.h>

#include "core/TControlFlags.h"
#include "io/PortScan.h"
#include "io/TSioThread.h"
#include "tests/io/IoTestSupport.h"
#include "tests/io/RecordingSioThread.h"

namespace zz::test {
namespace {

// A device directory of links to pseudo-terminals, with the names serial devices have.
class PortScanTest : public ::testing::Test
{
protected:
    void Link(const std::string& name, const TPtyPair& pty)
    {
        std::filesystem::create_symlink(pty.SlavePath, Dir.Path / name);
    }
    std::string Path(const std::string& name) const { return Dir.File(name); }

    TTempDir Dir;
    std::vector<std::unique_ptr<TPtyPair>> Ptys;
    TPtyPair& NewPty()
    {
        Ptys.push_back(std::make_unique<TPtyPair>());
        return *Ptys.back();
    }
};

TEST_F(PortScanTest, ListsOpenablePortsInNaturalOrderThenTheSimulator)
{
    for (const char* name :
         {"ttyS10", "ttyS2", "rfcomm0", "ttyACM1", "ttyUSB0", "ttyAMA0", "ttyUSB11", "ttyUSB3"}) {
        TPtyPair& pty = NewPty();
        ASSERT_TRUE(pty.Ok());
        Link(name, pty);
    }
    // Names outside the serial families, or with more than a number after the family.
    for (const char* name : {"tty0", "ttyUSB", "ttyUSBx", "ttyS1a", "console"}) {
        Link(name, NewPty());
    }
    // A node that is not a terminal, and a link to nothing.
    std::ofstream(Path("ttyS0")) << "plain file";
    std::filesystem::create_symlink(Dir.Path / "gone", Dir.Path / "ttyS5");

    const std::vector<std::string> expected = {
        Path("ttyS2"),   Path("ttyS10"),  Path("ttyUSB0"), Path("ttyUSB3"),    Path("ttyUSB11"),
        Path("ttyACM1"), Path("ttyAMA0"), Path("rfcomm0"), kSimulatedPortName,
    };
    EXPECT_EQ(ScanPorts(Dir.Path.string()), expected);
}

TEST_F(PortScanTest, LeavesOutAPortInUseWithoutBlockingOnIt)
{
    TPtyPair& held = NewPty();
    TPtyPair& idle = NewPty();
    ASSERT_TRUE(held.Ok() && idle.Ok());
    Link("ttyUSB0", held);
    Link("ttyUSB1", idle);

    TControlFlags flags;
    std::atomic<uint8_t> displayPending{0};
    TRecordingSioThread holder(flags, displayPending);
    ASSERT_TRUE(holder.OpenPort(Line(Path("ttyUSB0"))));

    EXPECT_EQ(ScanPorts(Dir.Path.string()),
              (std::vector<std::string>{Path("ttyUSB1"), kSimulatedPortName}));
    holder.ClosePort();
    EXPECT_EQ(ScanPorts(Dir.Path.string()),
              (std::vector<std::string>{Path("ttyUSB0"), Path("ttyUSB1"), kSimulatedPortName}));
}

TEST_F(PortScanTest, LeavesTheLineSettingsOfAPortAsTheyWere)
{
    TPtyPair& pty = NewPty();
    ASSERT_TRUE(pty.Ok());
    Link("ttyACM0", pty);
    termios before{};
    ASSERT_EQ(::tcgetattr(pty.Slave, &before), 0);
    before.c_lflag |= ICANON | ECHO;
    before.c_iflag |= IXON;
    cfsetospeed(&before, B1200);
    cfsetispeed(&before, B1200);
    ASSERT_EQ(::tcsetattr(pty.Slave, TCSANOW, &before), 0);
    ASSERT_EQ(::tcgetattr(pty.Slave, &before), 0);

    ASSERT_EQ(ScanPorts(Dir.Path.string()).size(), 2u);
    termios after{};
    ASSERT_EQ(::tcgetattr(pty.Slave, &after), 0);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
}

TEST_F(PortScanTest, AMissingDirectoryStillOffersTheSimulator)
{
    EXPECT_EQ(ScanPorts(Path("no-such-dir")), (std::vector<std::string>{kSimulatedPortName}));
}

} // namespace
} // namespace zz::test
