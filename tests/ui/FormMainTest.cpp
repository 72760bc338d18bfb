#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "FakeRun.h"
#include "FakeUserDialogs.h"
#include "core/TKeptValues.h"
#include "ui/main/LogFileNames.h"
#include "ui/main/TFormMain.h"
#include "ui/main/TFormPort.h"
#include "ui/windows/TAltiPlot.h"
#include "ui/windows/TCN.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TInfoForm.h"
#include "ui/windows/TLogForm.h"
#include "ui/windows/TPosPlot.h"
#include "ui/windows/TROTForm.h"
#include "ui/windows/TSky.h"
#include "ui/windows/TTtrack.h"
#include "ui/windows/TVeloPlot.h"

namespace zz {
namespace {

// The main window with a fake run in place of the threads, ports and files.
TRunFactory FakeRunFactory(test::TFakeRun*& made)
{
    return [&made](TControlFlags& flags, const TKeptValues&, TDisplay&, TRunEvents& events) {
        auto run = std::make_unique<test::TFakeRun>(flags, events);
        made = run.get();
        return run;
    };
}

class FormMainTest : public testing::Test
{
protected:
    template <typename T> T* Find(const char* name)
    {
        T* object = Form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(object, nullptr) << name;
        return object;
    }
    QLineEdit* EditSend() { return Find<QLineEdit>("EditSend"); }
    QAction* Action(const char* name) { return Find<QAction>(name); }

    // Types and sends a command as the user does: into the command line, then Enter.
    void Type(const QString& text)
    {
        QTest::keyClicks(EditSend(), text);
        QTest::keyClick(EditSend(), Qt::Key_Return);
    }

    // Connects as if the user chose the protocol in the dialog and pressed Connect there: the
    // dialog keeps the choice, which the main window hands to the decoders.
    void Connect(TProtocol protocol = TProtocol::Nmea)
    {
        Form.FormPort()
            .findChild<QComboBox*>("ComboBoxProtocol")
            ->setCurrentIndex(ChoiceIndex(protocol));
        Form.FormPort().ButtonRunClick();
        Dialogs.ModalResult = TFormPort::kResultConnect;
        Form.OpenReceiverSetting();
        ASSERT_TRUE(Form.IsRunning());
        ASSERT_EQ(Form.KeptValues().ProtocolIndex.load(), protocol);
        Run->Calls.clear();
    }

    test::TFakeUserDialogs Dialogs;
    test::TFakeRun* Run = nullptr;
    TFormMain Form{&Dialogs, FakeRunFactory(Run)};
};

TEST_F(FormMainTest, StartsIdleWithItsCaptionMenusAndStatusPanels)
{
    EXPECT_EQ(Form.windowTitle(), QStringLiteral("VUVEZUV Zedezuze"));
    EXPECT_EQ(Form.size().width(), 1016);
    EXPECT_EQ(Form.size().height() - Form.menuBar()->sizeHint().height(), 722);
    EXPECT_EQ(Form.minimumSize(), QSize(290, 45));
    EXPECT_FALSE(Form.IsRunning());
    TControlFlags& flags = Form.ControlFlags();
    EXPECT_EQ(flags.RecentreRequest.load() + flags.PlotClearRequest.load() +
                  flags.UsedPrnResetRequest.load() + flags.SbasResetRequest.load() +
                  flags.AltClearPending.load() + flags.VeloClearPending.load() +
                  flags.FramerReset.load() + flags.Replaying.load(),
              0);

    const struct
    {
        const char* Name;
        const char* Text;
        QKeySequence Shortcut;
        bool Enabled;
    } actions[] = {
        {"MenuLogOpen", "Save Log(&S)", QKeySequence(Qt::Key_F2), true},
        {"MenuLogClose", "Close Log(&C)", QKeySequence(Qt::CTRL | Qt::Key_F2), false},
        {"Exit1", "Exit(&X)", QKeySequence(Qt::ALT | Qt::Key_F4), true},
        {"Comstate", "Receiver setting(&R)", QKeySequence(Qt::Key_F4), true},
        {"PrevOpen", "Open Replay Log(&O)", QKeySequence(Qt::Key_F3), true},
        {"PrevClose", "Close Replay Log(&C)", QKeySequence(Qt::CTRL | Qt::Key_F3), false},
        {"Showsetting1", "Show setting(&S)", QKeySequence(Qt::Key_F12), true},
        {"ClearAllWindow", "Clear all window(&L)", QKeySequence(Qt::Key_F5), true},
        {"RestartCommand1", "Preset command(&P)", QKeySequence(Qt::Key_F6), true},
        {"aboutA1", "About(&A)", QKeySequence(Qt::Key_F11), true},
        {"InfVisible", "< Information > window(&I)", QKeySequence(Qt::ALT | Qt::Key_1), true},
        {"LogVisible", "< Log > window(&L)", QKeySequence(Qt::ALT | Qt::Key_8), true},
        {"RotVisible", "< DR > window(&R)", QKeySequence(Qt::ALT | Qt::Key_9), true},
    };
    for (const auto& expected : actions) {
        SCOPED_TRACE(expected.Name);
        QAction* action = Action(expected.Name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromLatin1(expected.Text));
        EXPECT_EQ(action->shortcut(), expected.Shortcut);
        EXPECT_EQ(action->isEnabled(), expected.Enabled);
    }

    QStringList menus;
    for (const QAction* menu : Form.menuBar()->actions()) {
        menus << menu->text();
    }
    EXPECT_EQ(menus, QStringList({"File(&F)", "Config(&C)", "Tool(&T)", "View(&V)", "Help(&H)"}));
    // File: the log submenu, a separator, Exit.
    const QList<QAction*> file = Find<QMenu>("MenuFile")->actions();
    ASSERT_EQ(file.size(), 3);
    EXPECT_EQ(file[0]->text(), QStringLiteral("Receiver Log(&R)"));
    EXPECT_EQ(file[0]->menu()->actions(),
              QList<QAction*>({Action("MenuLogOpen"), Action("MenuLogClose")}));
    EXPECT_TRUE(file[1]->isSeparator());
    EXPECT_EQ(file[2], Action("Exit1"));
    // Config: the dialog, the replay submenu, a separator, the summary.
    const QList<QAction*> config = Find<QMenu>("MenuConfig")->actions();
    ASSERT_EQ(config.size(), 4);
    EXPECT_EQ(config[0], Action("Comstate"));
    EXPECT_EQ(config[1]->text(), QStringLiteral("Log Replay setting(&L)"));
    EXPECT_EQ(config[1]->menu()->actions(),
              QList<QAction*>({Action("PrevOpen"), Action("PrevClose")}));
    EXPECT_TRUE(config[2]->isSeparator());
    EXPECT_EQ(config[3], Action("Showsetting1"));
    // Tool: clear, the preset commands, a separator.
    const QList<QAction*> tool = Find<QMenu>("MenuTool")->actions();
    ASSERT_EQ(tool.size(), 3);
    EXPECT_EQ(tool[0], Action("ClearAllWindow"));
    EXPECT_EQ(tool[1], Action("RestartCommand1"));
    EXPECT_TRUE(tool[2]->isSeparator());
    // Help: the about box, a separator.
    const QList<QAction*> help = Find<QMenu>("MenuHelp")->actions();
    ASSERT_EQ(help.size(), 2);
    EXPECT_EQ(help[0], Action("aboutA1"));
    EXPECT_TRUE(help[1]->isSeparator());

    const struct
    {
        const char* Text;
        int Width;
    } panels[] = {
        {"COM : Disconnect", 105},      {"", 0},
        {"Sent Data : ", 380},          {"Log[.log] : Not Saved", 270},
        {"Log[.bin] : Not Saved", 270},
    };
    const QList<QLabel*> labels = Find<QStatusBar>("StatusBarCom")->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 5);
    for (int panel = 0; panel < 5; ++panel) {
        SCOPED_TRACE(panel);
        EXPECT_EQ(Form.StatusText(panel), QString::fromLatin1(panels[panel].Text));
        if (panel == 0) {
            EXPECT_GE(labels[panel]->width(), panels[panel].Width);
        } else {
            EXPECT_EQ(labels[panel]->width(), panels[panel].Width);
        }
    }

    EXPECT_EQ(EditSend()->maxLength(), 100);
    EXPECT_TRUE(EditSend()->text().isEmpty());
    EXPECT_EQ(Find<QPushButton>("ButtonSend")->text(), QStringLiteral("Send"));
    EXPECT_EQ(Find<QCheckBox>("CheckAddSum")->text(), QStringLiteral("Add Checksum"));
    EXPECT_TRUE(Find<QCheckBox>("CheckAddSum")->isChecked());
}

TEST_F(FormMainTest, DisplayWindowsAreCreatedInOrderAtTheirPlaces)
{
    const QList<QMdiSubWindow*> windows = Form.WorkArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(windows.size(), 9);
    const struct
    {
        QMdiSubWindow* Window;
        QWidget* Form;
        const char* Title;
        QPoint Position;
        QSize Size;
        bool Hidden;
    } expected[] = {
        {Form.ChildWindow(TChildWindowId::PositionPlot),
         &Form.PosPlot(),
         "Position plot",
         {243, 0},
         {355, 355},
         false},
        {Form.ChildWindow(TChildWindowId::AltitudePlot),
         &Form.AltiPlot(),
         "Altitude plot",
         {598, 0},
         {207, 355},
         false},
        {Form.ChildWindow(TChildWindowId::VelocityPlot),
         &Form.VeloPlot(),
         "Velocity plot",
         {805, 0},
         {207, 355},
         false},
        {Form.ChildWindow(TChildWindowId::Direction),
         &Form.Ttrack(),
         "Direction",
         {750, 355},
         {262, 321},
         false},
        {Form.ChildWindow(TChildWindowId::SignalLevel),
         &Form.CN(),
         "Signal level",
         {254, 355},
         {496, 321},
         false},
        {Form.ChildWindow(TChildWindowId::SkyPlot),
         &Form.Sky(),
         "Sky plot",
         {0, 355},
         {254, 321},
         false},
        {Form.LogWindow(), &Form.LogForm(), "Log", {253, 229}, {500, 250}, true},
        {Form.ROTWindow(), &Form.ROTForm(), "DR", {400, 300}, {207, 95}, true},
        {Form.InfoWindow(), &Form.InfoForm(), "Information", {0, 0}, {243, 355}, false},
    };
    for (int index = 0; index < 9; ++index) {
        const auto& window = expected[index];
        SCOPED_TRACE(window.Title);
        EXPECT_EQ(windows[index], window.Window);
        EXPECT_EQ(window.Window->widget(), window.Form);
        EXPECT_EQ(window.Window->windowTitle(), QString::fromLatin1(window.Title));
        EXPECT_EQ(window.Window->pos(), window.Position);
        EXPECT_GE(window.Window->width(), window.Size.width());
        // The windows whose height follows their width may land a few pixels off the table.
        EXPECT_NEAR(window.Window->height(), window.Size.height(), 8);
        EXPECT_EQ(window.Window->isHidden(), window.Hidden);
    }
    EXPECT_LE(Form.LogWindow()->maximumHeight(), 500);
    EXPECT_EQ(Form.FormPort().parentWidget(), &Form);
}

TEST_F(FormMainTest, ArrowKeysBrowseTheHistoryAndEnterSends)
{
    Type("$A");
    Type("$B");
    EXPECT_TRUE(EditSend()->text().isEmpty());
    QTest::keyClicks(EditSend(), "typing");

    // Each step: the key and what the command line then shows.
    const struct
    {
        Qt::Key Key;
        const char* Shown;
    } steps[] = {
        {Qt::Key_Up, "$B"},   {Qt::Key_Up, "$A"},       {Qt::Key_Up, "$A"},
        {Qt::Key_Down, "$B"}, {Qt::Key_Down, "typing"}, {Qt::Key_Down, "typing"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Shown);
        QTest::keyClick(EditSend(), step.Key);
        EXPECT_EQ(EditSend()->text(), QString::fromLatin1(step.Shown));
        EXPECT_EQ(EditSend()->cursorPosition(), EditSend()->text().size());
    }
    // Sending a recalled command moves it to the front.
    QTest::keyClick(EditSend(), Qt::Key_Up);
    QTest::keyClick(EditSend(), Qt::Key_Up);
    QTest::keyClick(EditSend(), Qt::Key_Return);
    EXPECT_EQ(Form.CommandHistory().Slot(1), "$A");
    EXPECT_EQ(Form.CommandHistory().Slot(2), "$B");
    EXPECT_EQ(Form.CommandHistory().Index(), 0);

    // Enter on an empty line sends nothing and leaves the history alone.
    QTest::keyClick(EditSend(), Qt::Key_Return);
    EXPECT_EQ(Form.CommandHistory().Slot(1), "$A");
    EXPECT_TRUE(Form.CommandHistory().Slot(3).empty());
}

TEST_F(FormMainTest, BinaryProtocolKeepsNonHexCharactersOutOfTheCommandLine)
{
    const struct
    {
        TProtocol Protocol;
        const char* Typed;
        const char* Shown;
    } cases[] = {
        {TProtocol::Binary, "c18G0Z8x0 C1,CA", "c18080C1CA"},
        {TProtocol::Binary, "$DIRU,GPclr,1", "Dc1"},
        {TProtocol::Nmea, "$DIRU,GPclr,1", "$DIRU,GPclr,1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        Form.KeptValues().ProtocolIndex.store(c.Protocol);
        EditSend()->clear();
        QTest::keyClicks(EditSend(), c.Typed);
        EXPECT_EQ(EditSend()->text(), QString::fromLatin1(c.Shown));
    }
    // Editing keys still work in the binary protocol.
    Form.KeptValues().ProtocolIndex.store(TProtocol::Binary);
    EditSend()->setText(QStringLiteral("C180"));
    QTest::keyClick(EditSend(), Qt::Key_Backspace);
    QTest::keyClick(EditSend(), Qt::Key_Home);
    QTest::keyClick(EditSend(), Qt::Key_Delete);
    EXPECT_EQ(EditSend()->text(), QStringLiteral("18"));
}

TEST_F(FormMainTest, TypedCommandsAreSentOnlyWhileRunning)
{
    Type("$DIRU,GPout,1");
    EXPECT_TRUE(Run->Calls.empty());
    EXPECT_TRUE(Form.LogForm().Text().empty());
    EXPECT_EQ(Form.StatusText(2), QStringLiteral("Sent Data : "));
    EXPECT_EQ(Form.CommandHistory().Slot(1), "$DIRU,GPout,1");
    EXPECT_TRUE(EditSend()->text().isEmpty());

    Connect();
    Type("$DIRU,GPout,1");
    Find<QCheckBox>("CheckAddSum")->setChecked(false);
    Type("$DIRU,GPout,2*1F");
    EXPECT_EQ(Run->Calls, std::vector<std::string>(
                              {"send with checksum $DIRU,GPout,1", "log line $DIRU,GPout,1",
                               "send $DIRU,GPout,2*1F", "log line $DIRU,GPout,2*1F"}));
    EXPECT_EQ(Form.LogForm().Text(), "/$DIRU,GPout,1\n/$DIRU,GPout,2*1F\n");
    EXPECT_EQ(Form.StatusText(2), QStringLiteral("Sent Data : $DIRU,GPout,2*1F"));
    EXPECT_TRUE(Dialogs.Told.empty());
}

TEST_F(FormMainTest, BinaryCommandsMustBePairsOfHexDigits)
{
    Connect(TProtocol::Binary);
    const struct
    {
        const char* Text;
        bool Sent;
    } cases[] = {{"C1808", false}, {"c18080", true}, {"C180", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        Run->Calls.clear();
        Dialogs.Told.clear();
        EditSend()->setText(QString::fromLatin1(c.Text));
        QTest::keyClick(EditSend(), Qt::Key_Return);
        EXPECT_EQ(Run->Calls.empty(), !c.Sent);
        if (!c.Sent) {
            ASSERT_EQ(Dialogs.Told.size(), 1u);
            EXPECT_EQ(Dialogs.Told[0].Icon, TMessageIcon::Warning);
            EXPECT_EQ(Dialogs.Told[0].Caption, QStringLiteral("Error"));
            EXPECT_EQ(Dialogs.Told[0].Text,
                      QStringLiteral("Can't Send \n\"%1\"    ").arg(QString::fromLatin1(c.Text)));
        }
        // Refused or not, it is in the history.
        EXPECT_EQ(Form.CommandHistory().Slot(1), c.Text);
    }
}

TEST_F(FormMainTest, PresetSendsFollowTheConnectedProtocolAndOnlyRestartsArm)
{
    const struct
    {
        bool Running;
        bool Restart;
        TProtocol Selected;
        const char* Text;
        std::vector<std::string> Calls;
    } cases[] = {
        {true,
         true,
         TProtocol::Nmea,
         "$DIRU,GPclr,3",
         {"send with checksum $DIRU,GPclr,3", "arm", "log line $DIRU,GPclr,3"}},
        {true,
         true,
         TProtocol::Binary,
         "C18280C3CA",
         {"send C18280C3CA", "arm", "log line C18280C3CA"}},
        {true,
         false,
         TProtocol::Nmea,
         "$DIRU,GPout,1",
         {"send with checksum $DIRU,GPout,1", "log line $DIRU,GPout,1"}},
        {false, true, TProtocol::Nmea, "$DIRU,GPclr,1", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        Form.ControlFlags().Running.store(c.Running ? 1 : 0);
        Form.KeptValues().ProtocolIndex.store(c.Selected);
        // The box is ignored by preset sends, and so is a selection not confirmed.
        Form.FormPort()
            .findChild<QComboBox*>("ComboBoxProtocol")
            ->setCurrentIndex(1 - ChoiceIndex(c.Selected));
        Find<QCheckBox>("CheckAddSum")->setChecked(c.Selected != TProtocol::Nmea);
        Form.InfoForm().SetText(TInfoLabel::ttff, "12.5");
        Run->Calls.clear();
        if (c.Restart) {
            Form.SendPresetRestart(c.Text);
        } else {
            Form.SendPresetCommand(c.Text);
        }
        EXPECT_EQ(Run->Calls, c.Calls);
        if (!c.Running) {
            EXPECT_NE(Form.CommandHistory().Slot(1), c.Text);
            continue;
        }
        EXPECT_EQ(Form.CommandHistory().Slot(1), c.Text);
        EXPECT_EQ(Form.StatusText(2), QStringLiteral("Sent Data:") + QString::fromLatin1(c.Text));
        EXPECT_EQ(Form.InfoForm().Text(TInfoLabel::ttff),
                  c.Restart ? QStringLiteral("--") : QStringLiteral("12.5"));
    }
}

TEST_F(FormMainTest, ConnectingResetsTheWindowsWhetherOrNotThePortOpens)
{
    for (const bool opens : {true, false}) {
        SCOPED_TRACE(opens ? "port opens" : "port fails");
        Form.ControlFlags().Running.store(0);
        Run->Calls.clear();
        Dialogs.Told.clear();
        Dialogs.Beeps = 0;
        Run->PortOpens = opens;
        Dialogs.ModalResult = TFormPort::kResultConnect;
        Form.FormPort().findChild<QComboBox*>("ComboBoxPortName")->setEditText("/dev/ttyUSB3");
        Form.InfoForm().SetText(TInfoLabel::fix, "GPS");
        Form.ROTForm().SetText(TDrLabel::rotcnt, "4");
        Form.LogForm().AppendLogLine("$GPGGA");
        Find<QCheckBox>("CheckAddSum")->setChecked(false);
        EditSend()->setText(QStringLiteral("$half typed"));

        Form.OpenReceiverSetting();
        EXPECT_EQ(Run->Calls.front(), "connect /dev/ttyUSB3 0");
        EXPECT_EQ(Form.IsRunning(), opens);
        EXPECT_EQ(Form.StatusText(0), opens ? QStringLiteral("/dev/ttyUSB3 : NMEA")
                                            : QStringLiteral("COM : Disconnect"));
        if (!opens) {
            EXPECT_EQ(Dialogs.Beeps, 1);
            ASSERT_EQ(Dialogs.Told.size(), 1u);
            EXPECT_EQ(Dialogs.Told[0].Caption, QStringLiteral("Error"));
            EXPECT_EQ(Dialogs.Told[0].Text, QStringLiteral("Can't connect /dev/ttyUSB3."));
        }
        EXPECT_EQ(Form.InfoForm().Text(TInfoLabel::fix), QStringLiteral("--"));
        EXPECT_EQ(Form.ROTForm().Text(TDrLabel::rotcnt), QStringLiteral("--"));
        EXPECT_TRUE(Form.LogForm().Text().empty());
        EXPECT_TRUE(Find<QCheckBox>("CheckAddSum")->isChecked());
        EXPECT_TRUE(EditSend()->text().isEmpty());
        EXPECT_EQ(Form.ControlFlags().RecentreRequest.load(), 1);
    }
}

TEST_F(FormMainTest, DialogResultsDecideWhatHappens)
{
    const struct
    {
        const char* What;
        bool Running;
        int Result;
        std::vector<std::string> Calls;
        bool RunningAfter;
    } cases[] = {
        {"connect while idle", false, TFormPort::kResultConnect, {"connect /dev/ttyS0 0"}, true},
        {"reconnect",
         true,
         TFormPort::kResultConnect,
         {"disconnect", "connect /dev/ttyS0 0"},
         true},
        {"disconnect", true, TFormPort::kResultDisconnect, {"disconnect"}, false},
        {"disconnect while idle", false, TFormPort::kResultDisconnect, {}, false},
        {"cancel", true, TFormPort::kResultCancel, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Form.ControlFlags().Running.store(c.Running ? 1 : 0);
        Form.ControlFlags().FramerReset.store(0);
        Form.FormPort().findChild<QComboBox*>("ComboBoxPortName")->setEditText("/dev/ttyS0");
        Run->Calls.clear();
        Dialogs.ModalResult = c.Result;
        Form.OpenReceiverSetting();
        EXPECT_EQ(Run->Calls, c.Calls);
        EXPECT_EQ(Form.IsRunning(), c.RunningAfter);
        // A disconnection makes the framer drop its partial sentence.
        const bool disconnected =
            std::find(c.Calls.begin(), c.Calls.end(), "disconnect") != c.Calls.end();
        EXPECT_EQ(Form.ControlFlags().FramerReset.load(), disconnected ? 1 : 0);
    }
}

TEST_F(FormMainTest, ReceiverSettingDuringAReplayAsksToStopItFirst)
{
    Form.ControlFlags().Running.store(1);
    Form.ControlFlags().Replaying.store(1);
    Dialogs.Answer = false;
    Form.OpenReceiverSetting();
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Dialogs.Asked[0].Caption, QStringLiteral("Notice"));
    EXPECT_EQ(Dialogs.Asked[0].Text, QStringLiteral("Replaying Log.\n\nStop Replaying Log?    "));
    EXPECT_EQ(Dialogs.ModalRuns, 0);
    EXPECT_TRUE(Form.IsRunning());

    Dialogs.Answer = true;
    Form.OpenReceiverSetting();
    EXPECT_EQ(Dialogs.ModalRuns, 1);
}

TEST_F(FormMainTest, DisconnectingEndsARecording)
{
    for (const bool recording : {false, true}) {
        SCOPED_TRACE(recording ? "recording" : "not recording");
        Form.ControlFlags().Running.store(1);
        Run->RecordingNow = recording;
        Action("MenuLogOpen")->setEnabled(!recording);
        Action("MenuLogClose")->setEnabled(recording);
        Run->Calls.clear();
        Form.DisconnectReceiver();
        EXPECT_EQ(Run->Calls.back(), recording ? "close logs" : "disconnect");
        EXPECT_EQ(Form.StatusText(0), QStringLiteral("COM : Disconnect"));
        EXPECT_TRUE(Action("MenuLogOpen")->isEnabled());
        EXPECT_FALSE(Action("MenuLogClose")->isEnabled());
    }
}

TEST_F(FormMainTest, ClearKeepsTheCommandLineAndTheFullResetRestoresIt)
{
    for (const bool fullReset : {false, true}) {
        SCOPED_TRACE(fullReset ? "reset" : "clear");
        TControlFlags& flags = Form.ControlFlags();
        flags.PlotClearRequest.store(0);
        flags.AltClearPending.store(0);
        flags.VeloClearPending.store(0);
        flags.UsedPrnResetRequest.store(0);
        flags.SbasResetRequest.store(0);
        flags.RecentreRequest.store(0);
        flags.GpsSatCount.store(9);
        Form.InfoForm().SetText(TInfoLabel::MT, "[T]");
        Form.ROTForm().SetText(TDrLabel::rot, "3");
        Form.LogForm().AppendLogLine("$GPGGA");
        Find<QCheckBox>("CheckAddSum")->setChecked(false);
        Type("$A");
        QTest::keyClicks(EditSend(), "half");
        QTest::keyClick(EditSend(), Qt::Key_Up);
        ASSERT_EQ(Form.CommandHistory().Index(), 1);

        fullReset ? Form.ResetAllWindows() : Form.ClearAllWindows();
        EXPECT_EQ(Form.InfoForm().Text(TInfoLabel::MT), QString());
        EXPECT_EQ(Form.ROTForm().Text(TDrLabel::rot), QStringLiteral("--"));
        EXPECT_TRUE(Form.LogForm().Text().empty());
        EXPECT_EQ(flags.PlotClearRequest.load(), 1);
        EXPECT_EQ(flags.AltClearPending.load(), 1);
        EXPECT_EQ(flags.VeloClearPending.load(), 1);
        EXPECT_EQ(flags.UsedPrnResetRequest.load(), 1);
        EXPECT_EQ(flags.SbasResetRequest.load(), 1);
        EXPECT_EQ(flags.GpsSatCount.load(), 0);
        EXPECT_EQ(flags.RecentreRequest.load(), fullReset ? 1 : 0);
        EXPECT_EQ(Find<QCheckBox>("CheckAddSum")->isChecked(), fullReset);
        EXPECT_EQ(EditSend()->text().isEmpty(), fullReset);
        EXPECT_EQ(Form.CommandHistory().Index(), fullReset ? 0 : 1);
        EditSend()->clear();
    }
}

TEST_F(FormMainTest, ClearAllWindowMenuItemClears)
{
    Form.InfoForm().SetText(TInfoLabel::fix, "GPS");
    Find<QCheckBox>("CheckAddSum")->setChecked(false);
    Action("ClearAllWindow")->trigger();
    EXPECT_EQ(Form.InfoForm().Text(TInfoLabel::fix), QStringLiteral("--"));
    EXPECT_FALSE(Find<QCheckBox>("CheckAddSum")->isChecked());
}

// A scratch folder with a link to itself, for two spellings of one path.
class RecordingTest : public FormMainTest
{
protected:
    void SetUp() override
    {
        Root =
            std::filesystem::temp_directory_path() / ("zz_recording_" + std::to_string(::getpid()));
        std::filesystem::remove_all(Root);
        std::filesystem::create_directories(Root / "logs");
        std::filesystem::create_directory_symlink(Root / "logs", Root / "linked");
    }
    void TearDown() override { std::filesystem::remove_all(Root); }

    QString At(const char* relative) const
    {
        return QString::fromStdString((Root / relative).string());
    }

    std::filesystem::path Root;
};

TEST_F(RecordingTest, SaveDialogsProposeTimeStampedNamesAndRecordingStarts)
{
    Dialogs.SaveAnswers = {At("logs/run.log"), At("logs/run.bin")};
    const QDateTime before = QDateTime::currentDateTime();
    Action("MenuLogOpen")->trigger();
    const QDateTime after = QDateTime::currentDateTime();

    ASSERT_EQ(Dialogs.SaveRequests.size(), 2u);
    const TSaveRequest& log = Dialogs.SaveRequests[0];
    const TSaveRequest& raw = Dialogs.SaveRequests[1];
    EXPECT_EQ(log.Title,
              QStringLiteral("Save received Data (Only regular sentence) + Sent Data [.log]"));
    EXPECT_EQ(log.Filter, QStringLiteral("Log File(*.log)"));
    EXPECT_EQ(log.DefaultSuffix, QStringLiteral("log"));
    EXPECT_EQ(raw.Title, QStringLiteral("Save all received Data [.bin]"));
    EXPECT_EQ(raw.Filter, QStringLiteral("Log File(*.bin)"));
    EXPECT_EQ(raw.DefaultSuffix, QStringLiteral("bin"));

    const auto stamp = [](const QDateTime& time) {
        return QString::fromStdString(LogTimeStamp(time.date().year(), time.date().month(),
                                                   time.date().day(), time.time().hour(),
                                                   time.time().minute(), time.time().second()));
    };
    EXPECT_TRUE(log.FileName == stamp(before) + ".log" || log.FileName == stamp(after) + ".log")
        << log.FileName.toStdString();
    EXPECT_EQ(raw.FileName.chopped(4), log.FileName.chopped(4));
    EXPECT_TRUE(raw.FileName.endsWith(QStringLiteral(".bin")));

    EXPECT_EQ(Run->Calls, std::vector<std::string>({"open " + At("logs/run.log").toStdString() +
                                                    " " + At("logs/run.bin").toStdString()}));
    EXPECT_EQ(Form.StatusText(3), QStringLiteral("Log[.log] : run.log"));
    EXPECT_EQ(Form.StatusText(4), QStringLiteral("Log[.bin] : run.bin"));
    EXPECT_FALSE(Action("MenuLogOpen")->isEnabled());
    EXPECT_TRUE(Action("MenuLogClose")->isEnabled());
}

TEST_F(RecordingTest, NothingOpensWhenADialogIsCancelledOrBothNameOneFile)
{
    const struct
    {
        const char* What;
        std::deque<QString> Answers;
        size_t Requests;
        const char* Caption; // of the error shown, none when empty
    } cases[] = {
        {"first cancelled", {}, 1, ""},
        {"second cancelled", {At("logs/a.log")}, 2, ""},
        {"same path", {At("logs/a.log"), At("logs/a.log")}, 2, "Error! Set same File."},
        {"same file through a link",
         {At("logs/a.log"), At("linked/a.log")},
         2,
         "Error! Set same File."},
        {"same file through dots",
         {At("logs/a.log"), At("linked/../logs/./a.log")},
         2,
         "Error! Set same File."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Dialogs.SaveRequests.clear();
        Dialogs.Told.clear();
        Dialogs.Beeps = 0;
        Dialogs.SaveAnswers = c.Answers;
        Form.MenuLogOpenClick();
        EXPECT_EQ(Dialogs.SaveRequests.size(), c.Requests);
        EXPECT_TRUE(Run->Calls.empty());
        EXPECT_EQ(Form.StatusText(3), QStringLiteral("Log[.log] : Not Saved"));
        EXPECT_TRUE(Action("MenuLogOpen")->isEnabled());
        if (*c.Caption == '\0') {
            EXPECT_TRUE(Dialogs.Told.empty());
        } else {
            EXPECT_EQ(Dialogs.Beeps, 1);
            ASSERT_EQ(Dialogs.Told.size(), 1u);
            EXPECT_EQ(Dialogs.Told[0].Icon, TMessageIcon::Warning);
            EXPECT_EQ(Dialogs.Told[0].Caption, QString::fromLatin1(c.Caption));
            EXPECT_EQ(Dialogs.Told[0].Text, QStringLiteral("Can't create Log File.    "));
        }
    }
}

TEST_F(RecordingTest, FilesThatCannotBeCreatedLeaveRecordingOff)
{
    Run->LogFilesOpen = false;
    Dialogs.SaveAnswers = {At("logs/a.log"), At("logs/a.bin")};
    Form.MenuLogOpenClick();
    EXPECT_EQ(Run->Calls.size(), 1u);
    EXPECT_EQ(Dialogs.Beeps, 1);
    ASSERT_EQ(Dialogs.Told.size(), 1u);
    EXPECT_EQ(Dialogs.Told[0].Caption, QStringLiteral("Error"));
    EXPECT_EQ(Dialogs.Told[0].Text, QStringLiteral("Can't create Log File.    "));
    EXPECT_TRUE(Action("MenuLogOpen")->isEnabled());
    EXPECT_FALSE(Action("MenuLogClose")->isEnabled());
    EXPECT_EQ(Form.StatusText(4), QStringLiteral("Log[.bin] : Not Saved"));
}

TEST_F(RecordingTest, CloseLogAsksFirst)
{
    Dialogs.SaveAnswers = {At("logs/a.log"), At("logs/a.bin")};
    Form.MenuLogOpenClick();
    Run->Calls.clear();

    Dialogs.Answer = false;
    Action("MenuLogClose")->trigger();
    ASSERT_EQ(Dialogs.Asked.size(), 1u);
    EXPECT_EQ(Dialogs.Asked[0].Caption, QStringLiteral("Notice"));
    EXPECT_EQ(Dialogs.Asked[0].Text, QStringLiteral("Writing Log.\n\nClose Log File?    "));
    EXPECT_TRUE(Run->Calls.empty());
    EXPECT_EQ(Form.StatusText(3), QStringLiteral("Log[.log] : a.log"));

    Dialogs.Answer = true;
    Action("MenuLogClose")->trigger();
    EXPECT_EQ(Run->Calls, std::vector<std::string>({"close logs"}));
    EXPECT_EQ(Form.StatusText(3), QStringLiteral("Log[.log] : Not Saved"));
    EXPECT_EQ(Form.StatusText(4), QStringLiteral("Log[.bin] : Not Saved"));
    EXPECT_TRUE(Action("MenuLogOpen")->isEnabled());
    EXPECT_FALSE(Action("MenuLogClose")->isEnabled());
}

TEST(FormMainClosing, AsksByStateAndStaysOpenOnNo)
{
    const struct
    {
        bool Running;
        bool Recording;
        bool Replaying;
        const char* Question;
        std::vector<std::string> OnYes;
    } cases[] = {
        {false, false, false, "", {}},
        {false, true, false, "Writing Log.\n\nExit this program?    ", {"close logs"}},
        {true, false, false, "Connecting receiver.    \n\nExit this program?", {"disconnect"}},
        {true,
         true,
         false,
         "Writing Log and connecting receiver.    \n\nExit this program?",
         {"close logs", "disconnect"}},
        {true, false, true, "Replaying Log.    \n\nExit this program?", {"disconnect"}},
    };
    for (const auto& c : cases) {
        for (const bool answer : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.Question << " answer " << answer);
            test::TFakeUserDialogs dialogs;
            dialogs.Answer = answer;
            test::TFakeRun* run = nullptr;
            TFormMain form(&dialogs, FakeRunFactory(run));
            form.ControlFlags().Running.store(c.Running ? 1 : 0);
            form.ControlFlags().Replaying.store(c.Replaying ? 1 : 0);
            run->RecordingNow = c.Recording;
            form.show();

            const bool closed = form.close();
            if (*c.Question == '\0') {
                EXPECT_TRUE(dialogs.Asked.empty());
                EXPECT_TRUE(closed);
                continue;
            }
            ASSERT_EQ(dialogs.Asked.size(), 1u);
            EXPECT_EQ(dialogs.Asked[0].Caption, QStringLiteral("Notice"));
            EXPECT_EQ(dialogs.Asked[0].Text, QString::fromLatin1(c.Question));
            EXPECT_EQ(closed, answer);
            EXPECT_EQ(form.isVisible(), !answer);
            EXPECT_EQ(run->Calls, answer ? c.OnYes : std::vector<std::string>());
            EXPECT_EQ(form.IsRunning(), c.Running && !answer);
        }
    }
}

} // namespace
} // namespace zz
