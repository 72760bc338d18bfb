#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <vector>

#include <gtest/gtest.h>

#include "core/TControlFlags.h"
#include "io/PortDiagnosis.h"
#include "io/PortHolders.h"
#include "io/PortOpenError.h"
#include "io/PortScan.h"
#include "tests/io/IoTestSupport.h"
#include "tests/io/PortHolderChild.h"
#include "tests/io/RecordingSioThread.h"

namespace zz::test {
namespace {

std::string ReadProcFile(const std::string& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PortHoldersTest, APortHeldByAnotherProcessNamesItAndItsPid)
{
    TPtyPair pty;
    ASSERT_TRUE(pty.Ok());
    // Only the child is to hold the slave side.
    pty.CloseSlave();
    std::vector<TPortHolder> expected;
    {
        TPortHolderChild child(pty.SlavePath);
        ASSERT_TRUE(child.Holding());
        expected = {{child.Pid(), "sleep"}};

        EXPECT_EQ(FindPortHolders(pty.SlavePath), expected);
        // The locks table alone finds it too, as it must for a holder of another user.
        struct stat device
        {
        };
        ASSERT_EQ(::stat(pty.SlavePath.c_str(), &device), 0);
        const std::vector<pid_t> lockers =
            LockHolderPids(ReadProcFile("/proc/locks"), device.st_dev, device.st_ino);
        EXPECT_EQ(lockers, std::vector<pid_t>{child.Pid()});

        TControlFlags flags;
        std::atomic<uint8_t> displayPending{0};
        TRecordingSioThread thread(flags, displayPending);
        EXPECT_FALSE(thread.OpenPort(Line(pty.SlavePath)));
        const TPortOpenError error = thread.LastOpenError();
        EXPECT_EQ(error.Reason, TPortOpenFailure::Busy);
        EXPECT_EQ(error.Holders, expected);
        EXPECT_EQ(DescribeOpenFailure(error),
                  "the port is in use by sleep (pid " + std::to_string(child.Pid()) + ")");
    }
    // Once the child has gone, nobody holds the port and it opens.
    EXPECT_TRUE(FindPortHolders(pty.SlavePath).empty());
    TControlFlags flags;
    std::atomic<uint8_t> displayPending{0};
    TRecordingSioThread thread(flags, displayPending);
    ASSERT_TRUE(thread.OpenPort(Line(pty.SlavePath)));
    std::string ownName = ReadProcFile("/proc/self/comm");
    ownName.pop_back();
    EXPECT_EQ(FindPortHolders(pty.SlavePath), (std::vector<TPortHolder>{{::getpid(), ownName}}));
}

TEST(PortHoldersTest, LocksTableLinesOfOtherFilesWaitersAndUnknownOwnersAreLeftOut)
{
    const dev_t device = makedev(0, 5);
    const ino_t inode = 1027;
    const std::string table = "1: FLOCK  ADVISORY  WRITE 4242 00:05:1027 0 EOF\n"
                              "1: -> FLOCK  ADVISORY  WRITE 5151 00:05:1027 0 EOF\n"
                              "2: POSIX  ADVISORY  READ 300 00:05:1028 0 EOF\n"
                              "3: FLOCK  ADVISORY  WRITE 301 00:06:1027 0 EOF\n"
                              "4: OFDLCK ADVISORY  WRITE -1 00:05:1027 0 EOF\n"
                              "5: POSIX  ADVISORY  WRITE 77 00:05:1027 0 9\n"
                              "6: FLOCK  ADVISORY  WRITE 12 fd:01:1027 0 EOF\n"
                              "7: FLOCK  broken\n"
                              "\n";
    EXPECT_EQ(LockHolderPids(table, device, inode), (std::vector<pid_t>{4242, 77}));
    // Device numbers are hexadecimal.
    EXPECT_EQ(LockHolderPids(table, makedev(0xfd, 1), inode), std::vector<pid_t>{12});
    EXPECT_TRUE(LockHolderPids("", device, inode).empty());
}

TEST(PortHoldersTest, AMissingDeviceListsThePortsThatCanBeOpened)
{
    TTempDir devices;
    TPtyPair first;
    TPtyPair second;
    ASSERT_TRUE(first.Ok() && second.Ok());
    std::filesystem::create_symlink(first.SlavePath, devices.Path / "ttyUSB0");
    std::filesystem::create_symlink(second.SlavePath, devices.Path / "ttyACM2");

    TPortOpenError error{TPortOpenFailure::Missing, ENOENT, {}, {}};
    AddOpenFailureDetails(devices.File("ttyUSB1"), error, devices.Path.string());
    const std::vector<std::string> present = {devices.File("ttyUSB0"), devices.File("ttyACM2")};
    EXPECT_EQ(error.PresentPorts, present);
    EXPECT_EQ(DescribeOpenFailure(error),
              "no such device (is the receiver plugged in?). Serial ports that can be opened: " +
                  present[0] + ", " + present[1]);

    TTempDir empty;
    TPortOpenError none{TPortOpenFailure::Missing, ENOENT, {}, {}};
    AddOpenFailureDetails(empty.File("ttyUSB1"), none, empty.Path.string());
    EXPECT_TRUE(none.PresentPorts.empty()) << "the simulator is no device";
    EXPECT_EQ(DescribeOpenFailure(none),
              "no such device (is the receiver plugged in?). No serial port can be opened here");

    // The thread's own failed open looks in /dev.
    TControlFlags flags;
    std::atomic<uint8_t> displayPending{0};
    TRecordingSioThread thread(flags, displayPending);
    EXPECT_FALSE(thread.OpenPort(Line(devices.File("ttyUSB1"))));
    std::vector<std::string> inDev = ScanPorts();
    inDev.pop_back();
    EXPECT_EQ(thread.LastOpenError().PresentPorts, inDev);
}

TEST(PortHoldersTest, HoldersAreNamedTogether)
{
    TPortOpenError error{TPortOpenFailure::Busy, EBUSY, {}, {}};
    EXPECT_EQ(DescribeOpenFailure(error), "the port is in use by another program");
    error.Holders = {{812, "gpsd"}};
    EXPECT_EQ(DescribeOpenFailure(error), "the port is in use by gpsd (pid 812)");
    error.Holders = {{500, "ModemManager"}, {812, "gpsd"}, {901, "minicom"}};
    EXPECT_EQ(DescribeOpenFailure(error), "the port is in use by ModemManager (pid 500), gpsd "
                                          "(pid 812) and minicom (pid 901)");
}

} // namespace
} // namespace zz::test
