// The main window's log replay and settings summary, with a fake run behind it.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <cerrno>
#include <string>
#include <vector>

#include "FakeRun.h"
#include "FakeUserDialogs.h"
#include "ui/main/TFormMain.h"
#include "ui/main/TFormPort.h"
#include "ui/main/TReplayPanel.h"
#include "ui/windows/TInfoForm.h"

namespace zz {
namespace {

constexpr const char* kLogPath = "/logs/drive.bin";

class FormMainReplayTest : public testing::Test
{
protected:
    template <typename T> T* Find(QObject& parent, const char* name)
    {
        T* object = parent.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(object, nullptr) << name;
        return object;
    }
    QAction* Action(const char* name) { return Find<QAction>(Form, name); }
    TReplayPanel& Panel() { return Form.ReplayPanel(); }
    bool CommandLineShown() { return !Find<QWidget>(Form, "Panel1")->isHidden(); }
    bool StatusBarShown() { return !Find<QStatusBar>(Form, "StatusBarCom")->isHidden(); }

    // Opens a replay of a file of the given size, confirming the replay form with OK.
    void OpenReplay(int64_t size = 10000)
    {
        Run->ReplayFileSize = size;
        Dialogs.OpenAnswer = QString::fromLatin1(kLogPath);
        Dialogs.ModalResult = TFormPort::kResultConnect;
        Form.PrevOpenClick();
        ASSERT_EQ(Form.ControlFlags().Replaying.load(), 1);
        Run->Calls.clear();
        Dialogs.Told.clear();
    }

    // Something in the windows that a clear or reset takes away.
    void MarkWindows() { Form.InfoForm().SetText(TInfoLabel::fix, "GPS"); }
    bool WindowsCleared() { return Form.InfoForm().Text(TInfoLabel::fix) == QStringLiteral("--"); }

    test::TFakeUserDialogs Dialogs;
    test::TFakeRun* Run = nullptr;
    TFormMain Form{&Dialogs,
                   [this](TControlFlags& flags, const TKeptValues&, TDisplay&, TRunEvents& events) {
                       auto run = std::make_unique<test::TFakeRun>(flags, events);
                       Run = run.get();
                       return run;
                   }};
};

TEST_F(FormMainReplayTest, OpeningAsksByStateAndStopsWhatRunsFirst)
{
    const struct
    {
        bool Running;
        bool Recording;
        const char* Question;
        std::vector<std::string> OnYes;
    } cases[] = {
        {false, false, "", {}},
        {false, true, "Writing Log.\n\nClose Log File?    ", {"close logs"}},
        {true, false, "Connecting receiver.    \n\nDisconnect receiver?", {"disconnect"}},
        {true,
         true,
         "Writing Log and connecting receiver.    \n\nDisconnect receiver and Close Log File?",
         {"disconnect", "close logs"}},
    };
    for (const auto& c : cases) {
        for (const bool answer : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.Question << " answer " << answer);
            Form.ControlFlags().Running.store(c.Running ? 1 : 0);
            Run->RecordingNow = c.Recording;
            Run->Calls.clear();
            Dialogs.Asked.clear();
            Dialogs.OpenRequests.clear();
            Dialogs.Answer = answer;
            Form.PrevOpenClick();
            if (*c.Question != '\0') {
                ASSERT_EQ(Dialogs.Asked.size(), 1u);
                EXPECT_EQ(Dialogs.Asked[0].Caption, QStringLiteral("Notice"));
                EXPECT_EQ(Dialogs.Asked[0].Text, QString::fromLatin1(c.Question));
            } else {
                EXPECT_TRUE(Dialogs.Asked.empty());
            }
            const bool goesOn = answer || *c.Question == '\0';
            EXPECT_EQ(Run->Calls, goesOn ? c.OnYes : std::vector<std::string>());
            EXPECT_EQ(Dialogs.OpenRequests.size(), goesOn ? 1u : 0u);
            if (goesOn) {
                // The open dialog was cancelled: no replay, and recording may start again.
                EXPECT_FALSE(Form.IsRunning());
                EXPECT_EQ(Form.ControlFlags().Replaying.load(), 0);
                EXPECT_TRUE(Action("MenuLogOpen")->isEnabled());
                EXPECT_FALSE(Action("MenuLogClose")->isEnabled());
                EXPECT_EQ(Form.StatusText(3), QStringLiteral("Log[.log] : Not Saved"));
            } else {
                EXPECT_EQ(Form.IsRunning(), c.Running);
            }
        }
    }
}

TEST_F(FormMainReplayTest, AFileThatCannotBeOpenedOrIsEmptyStartsNothing)
{
    Dialogs.OpenAnswer = QString::fromLatin1(kLogPath);
    const struct
    {
        const char* What;
        int OpenError;
        int64_t Size;
    } cases[] = {{"missing", ENOENT, 0}, {"empty", 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Dialogs.Told.clear();
        Run->ReplayOpenError = c.OpenError;
        Run->ReplayFileSize = c.Size;
        Form.PrevOpenClick();
        ASSERT_EQ(Dialogs.OpenRequests.size(), 1u);
        EXPECT_EQ(Dialogs.OpenRequests[0].Filters,
                  QStringList({"Log File(*.bin)", "All File(*.*)"}));
        EXPECT_EQ(Dialogs.OpenRequests[0].DefaultSuffix, QStringLiteral("bin"));
        Dialogs.OpenRequests.clear();
        ASSERT_EQ(Dialogs.Told.size(), 1u);
        EXPECT_EQ(Dialogs.Told[0].Icon, TMessageIcon::Warning);
        EXPECT_EQ(Dialogs.Told[0].Caption, QStringLiteral("Error"));
        EXPECT_EQ(Dialogs.Told[0].Text, QStringLiteral("Can't open Log File.    "));
        EXPECT_EQ(Dialogs.ModalRuns, 0);
        EXPECT_EQ(Form.ControlFlags().Replaying.load(), 0);
        EXPECT_TRUE(Action("MenuLogOpen")->isEnabled());
        EXPECT_TRUE(Action("PrevOpen")->isEnabled());
    }
}

TEST_F(FormMainReplayTest, TheReplayFormOffersTheLogsReferenceAndCancelClosesTheFile)
{
    Run->ReplayFileSize = 5000;
    Run->Reference = 6;
    Dialogs.OpenAnswer = QString::fromLatin1(kLogPath);
    Dialogs.OnModal = [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Log Replay Setting"));
        EXPECT_EQ(Find<QPushButton>(dialog, "ButtonRun")->text(), QStringLiteral("OK"));
        QCheckBox* chkP = Find<QCheckBox>(dialog, "ChkP");
        EXPECT_FALSE(chkP->isHidden());
        EXPECT_FALSE(chkP->isChecked());
        EXPECT_TRUE(Find<QComboBox>(dialog, "ComboBoxPortName")->isHidden());
        EXPECT_TRUE(Find<QPushButton>(dialog, "ButtonClose")->isHidden());
        EXPECT_FALSE(Find<QComboBox>(dialog, "ComboBoxProtocol")->isHidden());
        EXPECT_EQ(Find<QWidget>(dialog, "GroupBox2")->property("title"),
                  QStringLiteral("LogFile Protcol"));
        // OK and Cancel 30 pixels higher than Connect and Cancel.
        EXPECT_EQ(Find<QPushButton>(dialog, "ButtonRun")->y() + 30,
                  Find<QPushButton>(dialog, "ButtonClose")->y());
        EXPECT_EQ(Find<QPushButton>(dialog, "ButtonEnd")->y() + 30,
                  Find<QPushButton>(dialog, "ButtonClose")->y());
        EXPECT_EQ(Form.ControlFlags().ReplayReference.load(), 6);
        return TFormPort::kResultCancel;
    };
    Form.PrevOpenClick();
    EXPECT_EQ(Dialogs.ModalRuns, 1);
    EXPECT_EQ(Run->Calls,
              std::vector<std::string>({"open replay /logs/drive.bin", "cancel replay"}));
    EXPECT_EQ(Form.ControlFlags().Replaying.load(), 0);
    EXPECT_FALSE(Form.IsRunning());
    EXPECT_TRUE(Dialogs.Told.empty()) << "no summary after Cancel";
    // The dialog is itself again.
    EXPECT_EQ(Form.FormPort().windowTitle(), QStringLiteral("Receiver setting"));
    EXPECT_EQ(Find<QPushButton>(Form.FormPort(), "ButtonRun")->text(), QStringLiteral("Connect"));
    EXPECT_TRUE(Find<QCheckBox>(Form.FormPort(), "ChkP")->isHidden());
    EXPECT_FALSE(Find<QComboBox>(Form.FormPort(), "ComboBoxPortName")->isHidden());
    EXPECT_FALSE(Find<QPushButton>(Form.FormPort(), "ButtonClose")->isHidden());
    EXPECT_TRUE(Find<QComboBox>(Form.FormPort(), "ComboBoxBoudrate")->isEnabled());
    EXPECT_EQ(Find<QWidget>(Form.FormPort(), "GroupBox2")->property("title"),
              QStringLiteral("Port setting"));
    EXPECT_EQ(Find<QPushButton>(Form.FormPort(), "ButtonRun")->y(),
              Find<QPushButton>(Form.FormPort(), "ButtonClose")->y());
    EXPECT_TRUE(Action("MenuLogOpen")->isEnabled());
}

TEST_F(FormMainReplayTest, OkOpensAPausedReplayInPlaceOfTheCommandLine)
{
    MarkWindows();
    Run->ReplayFileSize = 7000;
    Dialogs.OpenAnswer = QString::fromLatin1(kLogPath);
    Dialogs.ModalResult = TFormPort::kResultConnect;
    Form.PrevOpenClick();

    EXPECT_EQ(Run->Calls, std::vector<std::string>({"open replay /logs/drive.bin", "start replay 0",
                                                    "pause", "speed 0"}));
    EXPECT_TRUE(Form.IsRunning());
    EXPECT_EQ(Form.ControlFlags().Replaying.load(), 1);
    EXPECT_TRUE(WindowsCleared());
    EXPECT_FALSE(Panel().isHidden());
    EXPECT_FALSE(CommandLineShown());
    EXPECT_FALSE(StatusBarShown());
    EXPECT_FALSE(Panel().PlayButtonDown());
    EXPECT_EQ(Panel().SpeedIndex(), TReplayPanel::kSpeedSlow);
    EXPECT_EQ(Panel().FileSize(), 7000);
    EXPECT_EQ(Panel().Position(), 0);
    EXPECT_EQ(Find<QLabel>(Panel(), "Label1")->text(), QStringLiteral("drive.bin"));
    EXPECT_FALSE(Action("PrevOpen")->isEnabled());
    EXPECT_TRUE(Action("PrevClose")->isEnabled());
    EXPECT_FALSE(Action("RestartCommand1")->isEnabled());
    EXPECT_FALSE(Action("MenuLogOpen")->isEnabled());
    EXPECT_FALSE(Action("MenuLogClose")->isEnabled());

    // The summary of the replay form's settings follows the OK.
    ASSERT_EQ(Dialogs.Told.size(), 1u);
    EXPECT_EQ(Dialogs.Told[0].Icon, TMessageIcon::NoIcon);
    EXPECT_EQ(Dialogs.Told[0].Caption, QStringLiteral("Setting"));
    EXPECT_TRUE(Dialogs.Told[0].Text.startsWith(
        QStringLiteral("Protocol\t\t\t\t: NMEA\n\nHeader of NMEA cycle\t\t: GGA\n")))
        << Dialogs.Told[0].Text.toStdString();
}

TEST_F(FormMainReplayTest, PlayPauseSeekAndTheEndOfTheFile)
{
    OpenReplay(10000);
    Form.SpeedButton1Click(true);
    Form.SpeedButton1Click(false);
    EXPECT_EQ(Run->Calls, std::vector<std::string>({"play", "pause"}));

    // A seek pauses; the next play clears the windows first.
    Run->Calls.clear();
    Panel().SetPlayButtonDown(true);
    Form.ScrollBar1Scroll(4800);
    EXPECT_EQ(Run->Calls, std::vector<std::string>({"seek 4800", "pause"}));
    EXPECT_EQ(Form.ControlFlags().ClearBeforePlay.load(), 1);
    EXPECT_FALSE(Panel().PlayButtonDown());
    MarkWindows();
    Run->Calls.clear();
    Form.SpeedButton1Click(true);
    EXPECT_TRUE(WindowsCleared());
    EXPECT_EQ(Form.ControlFlags().ClearBeforePlay.load(), 0);
    EXPECT_EQ(Run->Calls, std::vector<std::string>({"play"}));

    // The end: the run paused itself; the panel follows. Play then starts from the top.
    Run->Position = 10000;
    Run->Events.ReplayEnded(0);
    EXPECT_EQ(Panel().Position(), 10000);
    EXPECT_TRUE(Panel().AtEnd());
    EXPECT_FALSE(Panel().PlayButtonDown());
    EXPECT_TRUE(Dialogs.Told.empty());
    MarkWindows();
    Run->Calls.clear();
    Form.SpeedButton1Click(true);
    EXPECT_EQ(Run->Calls, std::vector<std::string>({"rewind", "play"}));
    EXPECT_EQ(Panel().Position(), 0);
    EXPECT_TRUE(WindowsCleared());

    // A file that could no longer be read says so.
    Run->Events.ReplayEnded(EIO);
    ASSERT_EQ(Dialogs.Told.size(), 1u);
    EXPECT_EQ(Dialogs.Told[0].Caption, QStringLiteral("Error"));
    EXPECT_EQ(Dialogs.Told[0].Text,
              QStringLiteral("Can't read Log File.    \n\ndrive.bin: Input/output error"));
}

TEST_F(FormMainReplayTest, ClosingAsksAndBringsBackTheCommandLine)
{
    OpenReplay();
    MarkWindows();
    Dialogs.Answer = false;
    Form.PrevCloseClick();
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Dialogs.Asked[0].Text, QStringLiteral("Replaying Log.\n\nStop Replaying Log?    "));
    EXPECT_EQ(Form.ControlFlags().Replaying.load(), 1);
    EXPECT_TRUE(Run->Calls.empty());

    Dialogs.Answer = true;
    Form.PrevCloseClick();
    EXPECT_EQ(Run->Calls, std::vector<std::string>({"disconnect"}));
    EXPECT_EQ(Form.ControlFlags().Replaying.load(), 0);
    EXPECT_FALSE(Form.IsRunning());
    EXPECT_TRUE(Panel().isHidden());
    EXPECT_TRUE(CommandLineShown());
    EXPECT_TRUE(StatusBarShown());
    EXPECT_TRUE(Action("PrevOpen")->isEnabled());
    EXPECT_FALSE(Action("PrevClose")->isEnabled());
    EXPECT_TRUE(Action("RestartCommand1")->isEnabled());
    EXPECT_TRUE(Action("MenuLogOpen")->isEnabled());
    EXPECT_FALSE(WindowsCleared()) << "the windows keep their last contents";
}

TEST_F(FormMainReplayTest, TheSummaryNamesThePortAndProtocolOfTheRun)
{
    const auto summary = [&] {
        Dialogs.Told.clear();
        Form.Showsetting1Click();
        EXPECT_EQ(Dialogs.Told.size(), 1u);
        return Dialogs.Told.empty() ? QString() : Dialogs.Told[0].Text;
    };
    EXPECT_TRUE(summary().startsWith(
        QStringLiteral("Port setting\nCOM Port\t\t\t\t: Disconnect\nBaud rate   \t\t\t: 9600\n")));
    EXPECT_EQ(Dialogs.Told[0].Caption, QStringLiteral("Setting"));
    EXPECT_EQ(Dialogs.Told[0].Icon, TMessageIcon::NoIcon);

    // A device path that holds the words of the status panel stays whole.
    const QString port = QStringLiteral("/dev/serial/by-id/usb-NMEA_Disconnect-if00");
    Form.FormPort().findChild<QComboBox*>("ComboBoxPortName")->setEditText(port);
    Dialogs.ModalResult = TFormPort::kResultConnect;
    Form.OpenReceiverSetting();
    ASSERT_TRUE(Form.IsRunning());
    const QString live = summary();
    EXPECT_TRUE(live.contains(QStringLiteral("COM Port\t\t\t\t: ") + port + "\n"))
        << live.toStdString();
    EXPECT_TRUE(live.contains(QStringLiteral("\nProtocol\t\t\t\t: NMEA\n")));

    Form.DisconnectReceiver();
    OpenReplay();
    EXPECT_TRUE(summary().startsWith(QStringLiteral("Protocol\t\t\t\t: NMEA\n")));
}

} // namespace
} // namespace zz
