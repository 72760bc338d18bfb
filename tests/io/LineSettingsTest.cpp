#include <cerrno>
#include <cstring>
#include <termios.h>

#include <gtest/gtest.h>

#include "io/LineSettings.h"
#include "io/PortOpenError.h"

namespace zz::test {
namespace {

// Settings as a terminal in cooked mode might have them, with every line flag set the wrong way.
termios CookedSettings()
{
    termios settings{};
    settings.c_iflag = ICRNL | IXANY | IXON | ISTRIP;
    settings.c_oflag = OPOST | ONLCR;
    settings.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    settings.c_cflag = CS5 | PARENB | PARODD | CSTOPB;
    cfsetispeed(&settings, B300);
    cfsetospeed(&settings, B300);
    return settings;
}

TEST(LineSettingsTest, AppliesRawModeAndEachLineParameter)
{
    struct TCase
    {
        const char* What;
        int Baud;
        bool XonXoffIn;
        bool XonXoffOut;
        int Parity;
        int StopBits;
        int ByteSize;
        speed_t Speed;
        tcflag_t Size;
        tcflag_t ParityFlags;
        bool TwoStopBits;
        tcflag_t FlowFlags;
    };
    const TCase cases[] = {
        {"dialog default", 9600, false, false, 0, 0, 8, B9600, CS8, 0, false, 0},
        {"odd, two stop bits, 7 bits, XOFF sent", 115200, true, false, 1, 2, 7, B115200, CS7,
         PARENB | PARODD, true, IXOFF},
        {"even, one and a half stop bits, XOFF obeyed", 4800, false, true, 2, 1, 8, B4800, CS8,
         PARENB, true, IXON},
        {"flow control both ways", 38400, true, true, 0, 0, 7, B38400, CS7, 0, false, IXON | IXOFF},
        {"lowest dialog rate", 2400, false, false, 0, 0, 8, B2400, CS8, 0, false, 0},
    };
    for (const TCase& item : cases) {
        SCOPED_TRACE(item.What);
        termios settings = CookedSettings();
        ASSERT_TRUE(ApplyLineSettings(settings, item.Baud, item.XonXoffIn, item.XonXoffOut,
                                      item.Parity, item.StopBits, item.ByteSize));
        EXPECT_EQ(cfgetispeed(&settings), item.Speed);
        EXPECT_EQ(cfgetospeed(&settings), item.Speed);
        EXPECT_EQ(settings.c_cflag & CSIZE, item.Size);
        EXPECT_EQ(settings.c_cflag & (PARENB | PARODD), item.ParityFlags);
        EXPECT_EQ((settings.c_cflag & CSTOPB) != 0, item.TwoStopBits);
        EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | IXANY), item.FlowFlags);
        // Raw: no line editing, echo, signals, translation or output processing.
        EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
        EXPECT_EQ(settings.c_iflag & (ICRNL | ISTRIP), 0u);
        EXPECT_EQ(settings.c_oflag & OPOST, 0u);
        EXPECT_EQ(settings.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    }
}

TEST(LineSettingsTest, RefusesWhatTheLineCannotDoAndLeavesTheSettingsAlone)
{
    struct TCase
    {
        const char* What;
        int Baud;
        int Parity;
        int StopBits;
        int ByteSize;
    };
    const TCase cases[] = {
        {"baud without a speed constant", 12345, 0, 0, 8},
        {"zero baud", 0, 0, 0, 8},
        {"nine data bits", 9600, 0, 0, 9},
        {"four data bits", 9600, 0, 0, 4},
        {"parity code 3 (mark)", 9600, 3, 0, 8},
        {"negative parity code", 9600, -1, 0, 8},
        {"stop-bit code 3", 9600, 0, 3, 8},
    };
    for (const TCase& item : cases) {
        SCOPED_TRACE(item.What);
        const termios before = CookedSettings();
        termios settings = before;
        EXPECT_FALSE(ApplyLineSettings(settings, item.Baud, false, false, item.Parity,
                                       item.StopBits, item.ByteSize));
        EXPECT_EQ(std::memcmp(&settings, &before, sizeof settings), 0);
    }
}

TEST(PortOpenErrorTest, TellsPermissionMissingAndBusyApart)
{
    struct TCase
    {
        int Error;
        TPortOpenFailure Reason;
    };
    const TCase cases[] = {
        {EACCES, TPortOpenFailure::PermissionDenied},
        {EPERM, TPortOpenFailure::PermissionDenied},
        {ENOENT, TPortOpenFailure::Missing},
        {ENODEV, TPortOpenFailure::Missing},
        {ENXIO, TPortOpenFailure::Missing},
        {EBUSY, TPortOpenFailure::Busy},
        {EWOULDBLOCK, TPortOpenFailure::Busy},
        {EIO, TPortOpenFailure::Other},
        {EMFILE, TPortOpenFailure::Other},
    };
    for (const TCase& item : cases) {
        SCOPED_TRACE(item.Error);
        EXPECT_EQ(ClassifyOpenErrno(item.Error), item.Reason);
    }
}

} // namespace
} // namespace zz::test
