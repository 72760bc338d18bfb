// The application started from a shell: the options' effect on the real main window with its
// real run, and the program's answer to a bad command line.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "FakeUserDialogs.h"
#include "core/RawLogMarker.h"
#include "tests/io/PortHolderChild.h"
#include "ui/main/StartAsAsked.h"
#include "ui/main/TFormMain.h"
#include "ui/main/TFormPort.h"
#include "ui/main/TRadioGroup.h"
#include "ui/main/TReplayPanel.h"
#include "ui/windows/TInfoForm.h"

namespace zz {
namespace {

namespace fs = std::filesystem;

// Generous: the sanitizer builds run the threads many times slower.
constexpr int kWaitMs = 30000;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WaitForFix(TFormMain& form)
{
    return QTest::qWaitFor(
        [&] {
            const QString fix = form.InfoForm().Text(TInfoLabel::fix);
            return fix != QStringLiteral("--") && !fix.isEmpty() &&
                   form.InfoForm().Text(TInfoLabel::lat) != QStringLiteral("--");
        },
        kWaitMs);
}

bool Shown(TFormMain& form, const char* name)
{
    auto* widget = form.findChild<QWidget*>(QString::fromLatin1(name));
    return widget != nullptr && !widget->isHidden();
}

class StartAsAskedTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Root = fs::temp_directory_path() / ("zz_start_" + std::to_string(::getpid()));
        fs::remove_all(Root);
        fs::create_directories(Root);
    }
    void TearDown() override { fs::remove_all(Root); }

    // The NMEA sample with its marker line naming another header than the default one.
    fs::path SampleWithMarker(THeader header)
    {
        std::string bytes = ReadFile(fs::path(ZZ_SOURCE_DIR) / "samples" / "sample-nmea.bin");
        const std::string_view marker = MarkerLine(ChoiceIndex(header));
        EXPECT_EQ(bytes.substr(0, marker.size()), MarkerLine(ChoiceIndex(THeader::GGA)));
        bytes.replace(0, marker.size(), marker);
        const fs::path path = Root / "marked.bin";
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path Root;
};

TEST_F(StartAsAskedTest, PortOptionsConnectAndKeepWhatAConnectThroughTheDialogKeeps)
{
    TStartOptions options;
    options.Port = "SIM";
    options.BaudRate = 38400;
    options.Protocol = TProtocol::Binary;
    options.Header = THeader::RMC;

    // The same choices made by hand in the shown dialog, then Return in its port box.
    TRunSettings byHand;
    std::vector<QString> byHandStatus;
    TReceiverSettings byHandKept;
    {
        test::TFakeUserDialogs dialogs;
        dialogs.OnModal = [](QDialog& shown) {
            auto& dialog = static_cast<TFormPort&>(shown);
            QTimer::singleShot(0, &dialog, [&dialog] {
                dialog.findChild<QComboBox*>("ComboBoxProtocol")
                    ->setCurrentIndex(ChoiceIndex(TProtocol::Binary));
                dialog.findChild<QComboBox*>("ComboBoxBoudrate")->setCurrentText("38400");
                dialog.findChild<TRadioGroup*>("HDref")->SetItemIndex(ChoiceIndex(THeader::RMC));
                auto* port = dialog.findChild<QComboBox*>("ComboBoxPortName");
                port->setEditText(QStringLiteral("SIM"));
                QTest::keyClick(port->lineEdit(), Qt::Key_Return);
            });
            return dialog.exec();
        };
        TFormMain form(&dialogs);
        form.OpenReceiverSetting();
        ASSERT_TRUE(form.IsRunning());
        byHand = form.FormPort().KeptSettings();
        for (int panel = 0; panel < 5; ++panel) {
            byHandStatus.push_back(form.StatusText(panel));
        }
        byHandKept = form.KeptValues().Load();
    }

    test::TFakeUserDialogs dialogs;
    TFormMain form(&dialogs);
    StartAsAsked(form, options);
    ASSERT_TRUE(form.IsRunning());
    EXPECT_EQ(dialogs.ModalRuns, 0) << "no dialog is shown";
    EXPECT_TRUE(dialogs.Told.empty());
    EXPECT_EQ(form.StatusText(0), QStringLiteral("SIM : RIRBinary"));
    for (int panel = 0; panel < 5; ++panel) {
        EXPECT_EQ(form.StatusText(panel), byHandStatus[static_cast<size_t>(panel)]) << panel;
    }
    const TRunSettings kept = form.FormPort().KeptSettings();
    EXPECT_EQ(kept.Line, byHand.Line);
    EXPECT_EQ(kept.Line.BaudRate, 38400);
    EXPECT_EQ(kept.Receiver, byHand.Receiver);
    EXPECT_EQ(kept.Receiver.Header, THeader::RMC);
    EXPECT_EQ(form.FormPort().Settings().Line, kept.Line);
    EXPECT_EQ(form.KeptValues().Load(), byHandKept);
    EXPECT_TRUE(WaitForFix(form)) << form.InfoForm().Text(TInfoLabel::fix).toStdString();
}

TEST_F(StartAsAskedTest, ReplayOpensTheLogPausedWithTheHeaderOfItsMarkerUnlessTold)
{
    const fs::path log = SampleWithMarker(THeader::RMC);
    const struct
    {
        const char* What;
        std::optional<TProtocol> Protocol;
        std::optional<THeader> Header;
        TProtocol ExpectedProtocol;
        THeader ExpectedHeader;
    } cases[] = {
        {"the marker decides", {}, {}, TProtocol::Nmea, THeader::RMC},
        {"NMEA named, the marker still decides",
         TProtocol::Nmea,
         {},
         TProtocol::Nmea,
         THeader::RMC},
        {"a header named", {}, THeader::ZDA, TProtocol::Nmea, THeader::ZDA},
        {"binary: no marker applies", TProtocol::Binary, {}, TProtocol::Binary, THeader::GGA},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        test::TFakeUserDialogs dialogs;
        TFormMain form(&dialogs);
        TStartOptions options;
        options.ReplayPath = log.string();
        options.Protocol = c.Protocol;
        options.Header = c.Header;
        StartAsAsked(form, options);

        ASSERT_EQ(form.ControlFlags().Replaying.load(), 1);
        EXPECT_EQ(form.ControlFlags().ReplayPlaying.load(), 0) << "paused";
        EXPECT_EQ(dialogs.ModalRuns, 0) << "no dialog is shown";
        EXPECT_TRUE(dialogs.OpenRequests.empty());
        EXPECT_TRUE(dialogs.Told.empty());
        EXPECT_TRUE(Shown(form, "PanelPrev"));
        EXPECT_FALSE(Shown(form, "Panel1")) << "the command line gives way to the replay panel";
        EXPECT_FALSE(form.findChild<QAction*>("PrevOpen")->isEnabled());
        EXPECT_TRUE(form.findChild<QAction*>("PrevClose")->isEnabled());
        EXPECT_EQ(form.ReplayPanel().FileSize(), static_cast<int64_t>(fs::file_size(log)));
        EXPECT_EQ(form.KeptValues().ProtocolIndex.load(), c.ExpectedProtocol);
        EXPECT_EQ(form.KeptValues().HeaderIndex.load(), c.ExpectedHeader);
        EXPECT_EQ(form.FormPort().KeptSettings().Receiver.Header, c.ExpectedHeader);
        EXPECT_FALSE(form.FormPort().IsReplayForm()) << "the dialog is back in its live form";
    }

    // The opened replay plays as one opened from the menu.
    test::TFakeUserDialogs dialogs;
    TFormMain form(&dialogs);
    TStartOptions options;
    options.ReplayPath = log.string();
    StartAsAsked(form, options);
    form.ReplayPanel().SetSpeedIndex(TReplayPanel::kSpeedFast);
    form.SpeedButton1Click(true);
    EXPECT_TRUE(WaitForFix(form)) << form.InfoForm().Text(TInfoLabel::fix).toStdString();
}

TEST_F(StartAsAskedTest, ALogThatCannotBeReadIsToldAsThroughTheMenu)
{
    const fs::path empty = Root / "empty.bin";
    std::ofstream(empty).close();
    test::TFakeUserDialogs dialogs;
    TFormMain form(&dialogs);
    TStartOptions options;
    options.ReplayPath = empty.string();
    StartAsAsked(form, options);
    EXPECT_EQ(form.ControlFlags().Replaying.load(), 0);
    ASSERT_EQ(dialogs.Told.size(), 1u);
    EXPECT_EQ(dialogs.Told[0].Text, QStringLiteral("Can't open Log File.    "));
    EXPECT_TRUE(form.findChild<QAction*>("PrevOpen")->isEnabled());
    EXPECT_TRUE(form.findChild<QAction*>("MenuLogOpen")->isEnabled());
}

TEST_F(StartAsAskedTest, APortHeldByAnotherProcessIsRefusedNamingIt)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::close(slave);
    test::TPortHolderChild holder(name);
    ASSERT_TRUE(holder.Holding());

    test::TFakeUserDialogs dialogs;
    TFormMain form(&dialogs);
    TStartOptions options;
    options.Port = name;
    StartAsAsked(form, options);
    EXPECT_FALSE(form.IsRunning());
    EXPECT_EQ(form.StatusText(0), QStringLiteral("COM : Disconnect"));
    EXPECT_EQ(dialogs.Beeps, 1);
    ASSERT_EQ(dialogs.Told.size(), 1u);
    EXPECT_EQ(dialogs.Told[0].Caption, QStringLiteral("Error"));
    EXPECT_EQ(dialogs.Told[0].Text.toStdString(), "Can't connect " + std::string(name) +
                                                      ".\nThe port is in use by sleep (pid " +
                                                      std::to_string(holder.Pid()) + ").");
    // Kept as after a connect through the dialog that failed.
    EXPECT_EQ(form.FormPort().KeptSettings().Line.PortName, name);
    ::close(master);
}

struct TProgramRun
{
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the program with no display to reach: a window, or the toolkit's start, would end it
// with a failure of its own instead of the status it answers the command line with.
TProgramRun RunProgram(const std::vector<std::string>& arguments, const fs::path& dir)
{
    std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " + Quote(ZZ_APP_PATH);
    for (const std::string& argument : arguments) {
        command += " " + Quote(argument);
    }
    command +=
        " < /dev/null > " + Quote((dir / "out").string()) + " 2> " + Quote((dir / "err").string());
    const int status = std::system(command.c_str());
    TProgramRun run;
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadFile(dir / "out");
    run.Err = ReadFile(dir / "err");
    return run;
}

TEST_F(StartAsAskedTest, TheProgramAnswersABadCommandLineWithStatusTwoBeforeAnyWindow)
{
    const struct
    {
        std::vector<std::string> Arguments;
        const char* Message;
    } cases[] = {
        {{"--frobnicate"}, "zedezuze: unknown option '--frobnicate'\n"},
        {{"--port", "SIM", "--baud", "1200"},
         "zedezuze: unknown value '1200' for --baud (expected "
         "2400|4800|9600|19200|38400|57600|115200)\n"},
        {{"--port", "SIM", "--protocol=morse"},
         "zedezuze: unknown value 'morse' for --protocol (expected nmea|binary)\n"},
        {{"--replay"}, "zedezuze: --replay needs a value\n"},
        {{"--replay", "/nonexistent/drive.bin"},
         "zedezuze: cannot open '/nonexistent/drive.bin': No such file or directory\n"},
        {{"-platform", "offscreen", "--header", "GGA"},
         "zedezuze: --header needs --port or --replay\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Message);
        const TProgramRun run = RunProgram(c.Arguments, Root);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Err, c.Message);
        EXPECT_EQ(run.Out, "");
    }

    const TProgramRun version = RunProgram({"--version"}, Root);
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Out, "zedezuze 2.0\n");
    const TProgramRun help = RunProgram({"--help"}, Root);
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_EQ(help.Out.rfind("usage: zedezuze [--port PATH|SIM]", 0), 0u) << help.Out;
    EXPECT_EQ(help.Err, "");
}

} // namespace
} // namespace zz
