#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "core/ReceiverSettings.h"
#include "ui/main/RunControlTexts.h"

namespace zz {
namespace {

TEST(RunControlTexts, ClosingAsksByConnectionRecordingAndReplay)
{
    const struct
    {
        bool Running;
        bool Recording;
        bool Replaying;
        const char* Question;
        bool CloseLogs;
        bool Disconnect;
    } cases[] = {
        {false, false, false, "", false, false},
        {false, true, false, "Writing Log.\n\nExit this program?    ", true, false},
        {true, false, false, "Connecting receiver.    \n\nExit this program?", false, true},
        {true, true, false, "Writing Log and connecting receiver.    \n\nExit this program?", true,
         true},
        {true, false, true, "Replaying Log.    \n\nExit this program?", false, true},
        // Recording wins over the replay: both logs close and the replay ends.
        {true, true, true, "Writing Log and connecting receiver.    \n\nExit this program?", true,
         true},
        // A replay flag without a running thread is no state to ask about.
        {false, false, true, "", false, false},
        {false, true, true, "Writing Log.\n\nExit this program?    ", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "running " << c.Running << " recording " << c.Recording
                                        << " replaying " << c.Replaying);
        const TClosingStep step = ClosingStep(c.Running, c.Recording, c.Replaying);
        EXPECT_EQ(step.Question, c.Question);
        EXPECT_EQ(step.CloseLogs, c.CloseLogs);
        EXPECT_EQ(step.Disconnect, c.Disconnect);
    }
}

TEST(RunControlTexts, DialogQuestionsOnlyWhileRunning)
{
    const struct
    {
        bool Running;
        bool Recording;
        const char* Connect;
        const char* Disconnect;
    } cases[] = {
        {false, false, "", ""},
        {false, true, "", ""},
        {true, false, "Connecting receiver.    \nChange receiver?",
         "Connecting receiver.    \n\nDisconnect receiver?"},
        {true, true,
         "Writing Log and connecting receiver.    \nChange receiver and Close Log File?",
         "Writing Log and connecting receiver.    \n\nDisconnect receiver and Close Log File?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "running " << c.Running << " recording " << c.Recording);
        EXPECT_EQ(ConnectQuestion(c.Running, c.Recording), c.Connect);
        EXPECT_EQ(DisconnectQuestion(c.Running, c.Recording), c.Disconnect);
    }
}

TEST(RunControlTexts, ExactlyOneLogItemOutsideAReplayNoneDuringOne)
{
    const struct
    {
        bool Recording;
        bool Replaying;
        bool Save;
        bool Close;
    } cases[] = {
        {false, false, true, false},
        {true, false, false, true},
        {false, true, false, false},
        {true, true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "recording " << c.Recording << " replaying " << c.Replaying);
        const TLogMenuState state = LogMenuState(c.Recording, c.Replaying);
        EXPECT_EQ(state.SaveEnabled, c.Save);
        EXPECT_EQ(state.CloseEnabled, c.Close);
    }
}

TEST(RunControlTexts, MessagesCarryTheirArgumentVerbatim)
{
    EXPECT_EQ(ConnectedStatusText("/dev/ttyUSB0", ProtocolName(TProtocol::Nmea)),
              "/dev/ttyUSB0 : NMEA");
    EXPECT_EQ(ConnectedStatusText("SIM", ProtocolName(TProtocol::Binary)), "SIM : RIRBinary");
    EXPECT_EQ(ProtocolName(static_cast<TProtocol>(2)), "");
    EXPECT_EQ(SentDataStatusText("$DIRU,GPclr,1"), "Sent Data : $DIRU,GPclr,1");
    EXPECT_EQ(LogSavedStatusText("a.log"), "Log[.log] : a.log");
    EXPECT_EQ(RawSavedStatusText("a.bin"), "Log[.bin] : a.bin");
    EXPECT_EQ(CantConnectText("/dev/ttyS0"), "Can't connect /dev/ttyS0.");
    EXPECT_EQ(CantSendText("C1808"), "Can't Send \n\"C1808\"    ");
    // A percent sign is text, not a format.
    EXPECT_EQ(CantSendText("%s%d"), "Can't Send \n\"%s%d\"    ");
    EXPECT_EQ(CantConnectText("%s"), "Can't connect %s.");
}

TEST(RunControlTexts, PermissionBusyAndMissingPortsSayMoreOnASecondLine)
{
    const struct
    {
        const char* What;
        TPortOpenError Error;
        const char* SecondLine; // empty: the first line only
    } cases[] = {
        {"permission", {TPortOpenFailure::PermissionDenied, EACCES, {}, {}}, "Permission denied."},
        {"busy, holder seen",
         {TPortOpenFailure::Busy, EBUSY, {{812, "gpsd"}}, {}},
         "The port is in use by gpsd (pid 812)."},
        {"busy, holder hidden",
         {TPortOpenFailure::Busy, EWOULDBLOCK, {}, {}},
         "The port is in use by another program."},
        {"missing, others present",
         {TPortOpenFailure::Missing, ENOENT, {}, {"/dev/ttyS0", "/dev/ttyACM0"}},
         "No such device (is the receiver plugged in?). Serial ports that can be opened: "
         "/dev/ttyS0, /dev/ttyACM0."},
        {"missing, none present",
         {TPortOpenFailure::Missing, ENODEV, {}, {}},
         "No such device (is the receiver plugged in?). No serial port can be opened here."},
        {"not configurable", {TPortOpenFailure::NotConfigurable, ENOTTY, {}, {}}, ""},
        {"other", {TPortOpenFailure::Other, EIO, {}, {}}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const std::string text = ConnectFailureText("/dev/ttyUSB0", c.Error);
        if (*c.SecondLine == '\0') {
            EXPECT_EQ(text, "Can't connect /dev/ttyUSB0.");
            continue;
        }
        ASSERT_EQ(text.rfind(std::string("Can't connect /dev/ttyUSB0.\n") + c.SecondLine, 0), 0u)
            << text;
        EXPECT_EQ(text.find('\n', text.find('\n') + 1), std::string::npos) << "two lines only";
        if (c.Error.Reason == TPortOpenFailure::PermissionDenied) {
            EXPECT_NE(text.find("dialout"), std::string::npos);
        } else {
            EXPECT_EQ(text, std::string("Can't connect /dev/ttyUSB0.\n") + c.SecondLine);
        }
    }
}

TEST(RunControlTexts, WriteFailuresNameTheLogTheReasonAndTheFile)
{
    EXPECT_EQ(LogWriteFailedStatusText("a.log", ENOSPC),
              "Log[.log] : WRITE FAILED (" + std::string(std::strerror(ENOSPC)) + ") a.log");
    EXPECT_EQ(RawWriteFailedStatusText("a.bin", 0), "Log[.bin] : WRITE FAILED (short write) a.bin");
    EXPECT_NE(ReceiverLostText("/dev/ttyACM0", false).find("/dev/ttyACM0"), std::string::npos);
    EXPECT_EQ(ReceiverLostText("SIM", false).find("log files"), std::string::npos);
    EXPECT_NE(ReceiverLostText("SIM", true).find("log files"), std::string::npos);
}

} // namespace
} // namespace zz
