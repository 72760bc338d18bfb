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
        COMSTATUS Line;
        speed_t Speed;
        tcflag_t Size;
        tcflag_t ParityFlags;
        bool TwoStopBits;
        tcflag_t FlowFlags;
    };
    const TCase cases[] = {
        {"dialog default", COMSTATUS{}, B9600, CS8, 0, false, 0},
        {"odd, two stop bits, 7 bits, XOFF sent",
         {"", 115200, TDataBits::Seven, TParity::Odd, TStopBits::Two, true, false},
         B115200,
         CS7,
         PARENB | PARODD,
         true,
         IXOFF},
        {"even, one and a half stop bits, XOFF obeyed",
         {"", 4800, TDataBits::Eight, TParity::Even, TStopBits::OneAndHalf, false, true},
         B4800,
         CS8,
         PARENB,
         true,
         IXON},
        {"flow control both ways",
         {"", 38400, TDataBits::Seven, TParity::None, TStopBits::One, true, true},
         B38400,
         CS7,
         0,
         false,
         IXON | IXOFF},
        {"lowest dialog rate",
         {"", 2400, TDataBits::Eight, TParity::None, TStopBits::One, false, false},
         B2400,
         CS8,
         0,
         false,
         0},
    };
    for (const TCase& item : cases) {
        SCOPED_TRACE(item.What);
        termios settings = CookedSettings();
        ASSERT_TRUE(ApplyLineSettings(settings, item.Line));
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
        int32_t Baud;
        int32_t Parity;
        int32_t StopBits;
        int32_t DataBits;
    };
    // Values outside the enumerators, as a cast from a stored number could make them.
    const TCase cases[] = {
        {"baud without a speed constant", 12345, 0, 0, 8},
        {"zero baud", 0, 0, 0, 8},
        {"nine data bits", 9600, 0, 0, 9},
        {"four data bits", 9600, 0, 0, 4},
        {"six data bits (not offered)", 9600, 0, 0, 6},
        {"parity code 3 (mark)", 9600, 3, 0, 8},
        {"negative parity code", 9600, -1, 0, 8},
        {"stop-bit code 3", 9600, 0, 3, 8},
    };
    for (const TCase& item : cases) {
        SCOPED_TRACE(item.What);
        COMSTATUS line;
        line.BaudRate = item.Baud;
        line.Parity = static_cast<TParity>(item.Parity);
        line.StopBits = static_cast<TStopBits>(item.StopBits);
        line.DataBits = static_cast<TDataBits>(item.DataBits);
        const termios before = CookedSettings();
        termios settings = before;
        EXPECT_FALSE(ApplyLineSettings(settings, line));
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
