#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <pty.h>
#include <string>
#include <termios.h>
#include <unistd.h>

#include "FakeUserDialogs.h"
#include "core/TKeptValues.h"
#include "ui/main/TFormMain.h"
#include "ui/main/TFormPort.h"
#include "ui/main/TReplayPanel.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TInfoForm.h"
#include "ui/windows/TLogForm.h"

namespace zz {
namespace {

// Generous: the sanitizer builds run the threads many times slower.
constexpr int kWaitMs = 30000;

// The real main window with its real threads. Only the modal run of the receiver setting
// dialog is driven from here: the port and protocol are chosen in the shown dialog and Return
// is pressed in its port box, as a user does.
struct TDialogChoices
{
    QString Port = QStringLiteral("SIM");
    TProtocol Protocol = TProtocol::Nmea;
    // Press "Disconnect" instead of Return.
    bool PressDisconnect = false;
};

void ChooseInShownDialog(test::TFakeUserDialogs& dialogs, const TDialogChoices& choices)
{
    dialogs.OnModal = [&choices](QDialog& shown) {
        auto& dialog = static_cast<TFormPort&>(shown);
        QTimer::singleShot(0, &dialog, [&dialog, &choices] {
            dialog.findChild<QComboBox*>("ComboBoxProtocol")
                ->setCurrentIndex(ChoiceIndex(choices.Protocol));
            auto* port = dialog.findChild<QComboBox*>("ComboBoxPortName");
            port->setEditText(choices.Port);
            if (choices.PressDisconnect) {
                QTest::mouseClick(dialog.findChild<QWidget*>("ButtonClose"), Qt::LeftButton);
            } else {
                QTest::keyClick(port->lineEdit(), Qt::Key_Return);
            }
        });
        return dialog.exec();
    };
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FormMainConnectionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ChooseInShownDialog(Dialogs, Choices);
        Root = std::filesystem::temp_directory_path() /
               ("zz_connection_" + std::to_string(::getpid()));
        std::filesystem::remove_all(Root);
        std::filesystem::create_directories(Root);
    }
    void TearDown() override { std::filesystem::remove_all(Root); }

    QString At(const char* name) const { return QString::fromStdString((Root / name).string()); }

    void Connect(const QString& port, TProtocol protocol)
    {
        Choices.Port = port;
        Choices.Protocol = protocol;
        Choices.PressDisconnect = false;
        Form.OpenReceiverSetting();
    }
    void Disconnect()
    {
        Choices.PressDisconnect = true;
        Form.OpenReceiverSetting();
    }
    bool WaitForFix()
    {
        return QTest::qWaitFor(
            [&] {
                const QString fix = Form.InfoForm().Text(TInfoLabel::fix);
                return fix != QStringLiteral("--") && !fix.isEmpty() &&
                       Form.InfoForm().Text(TInfoLabel::lat) != QStringLiteral("--");
            },
            kWaitMs);
    }
    void Type(const QString& text)
    {
        auto* edit = Form.findChild<QLineEdit*>("EditSend");
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    std::filesystem::path Root;
    test::TFakeUserDialogs Dialogs;
    TDialogChoices Choices;
    TFormMain Form{&Dialogs};
};

TEST_F(FormMainConnectionTest, SimulatedReceiverShowsAFixInBothProtocols)
{
    const struct
    {
        TProtocol Protocol;
        const char* Status;
        const char* LogLine; // a received line the Log window shows
    } cases[] = {
        {TProtocol::Nmea, "SIM : NMEA", "$GPGGA,"},
        {TProtocol::Binary, "SIM : RIRBinary", "C1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Status);
        Connect(QStringLiteral("SIM"), c.Protocol);
        ASSERT_TRUE(Form.IsRunning());
        EXPECT_EQ(Form.StatusText(0), QString::fromLatin1(c.Status));
        EXPECT_TRUE(Dialogs.Told.empty());
        EXPECT_TRUE(WaitForFix()) << Form.InfoForm().Text(TInfoLabel::fix).toStdString();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Form.LogForm().Text().find(c.LogLine) != std::string::npos; }, kWaitMs))
            << Form.LogForm().Text();

        Disconnect();
        EXPECT_FALSE(Form.IsRunning());
        EXPECT_EQ(Form.StatusText(0), QStringLiteral("COM : Disconnect"));
        // Nothing arrives once disconnected.
        const std::string shown = Form.LogForm().Text();
        QTest::qWait(1500);
        EXPECT_EQ(Form.LogForm().Text(), shown);
    }
}

TEST_F(FormMainConnectionTest, RecordsTrafficAndSentCommandsIntoBothFiles)
{
    Connect(QStringLiteral("SIM"), TProtocol::Nmea);
    ASSERT_TRUE(Form.IsRunning());
    Dialogs.SaveAnswers = {At("run.log"), At("run.bin")};
    Form.MenuLogOpenClick();
    EXPECT_EQ(Form.StatusText(3), QStringLiteral("Log[.log] : run.log"));
    EXPECT_EQ(Form.StatusText(4), QStringLiteral("Log[.bin] : run.bin"));

    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return ReadFile(Root / "run.log").find("$GPRMC,") != std::string::npos; }, kWaitMs));
    Type(QStringLiteral("$DIRU,GPclr,1"));
    EXPECT_EQ(Form.StatusText(2), QStringLiteral("Sent Data : $DIRU,GPclr,1"));
    ASSERT_TRUE(WaitForFix());

    Dialogs.Answer = true;
    Form.MenuLogCloseClick();
    EXPECT_EQ(Form.StatusText(3), QStringLiteral("Log[.log] : Not Saved"));
    const std::string log = ReadFile(Root / "run.log");
    const std::string raw = ReadFile(Root / "run.bin");

    // The text log: received sentences and the sent command, each ended by CR LF.
    EXPECT_NE(log.find("/$DIRU,GPclr,1\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("$GPGGA,"), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    // The raw log: the bytes as received, after the marker line of the cycle's header.
    EXPECT_EQ(raw.rfind("$DIRU", 0), std::string::npos);
    EXPECT_NE(raw.find("$GPRMC,"), std::string::npos) << raw.substr(0, 200);
    EXPECT_GE(raw.size(), log.size() / 2);

    // Closed means closed: nothing more is written.
    QTest::qWait(1500);
    EXPECT_EQ(ReadFile(Root / "run.log").size(), log.size());
    EXPECT_EQ(ReadFile(Root / "run.bin").size(), raw.size());
}

TEST_F(FormMainConnectionTest, ClearCommandMeasuresTheTimeToFirstFix)
{
    Connect(QStringLiteral("SIM"), TProtocol::Nmea);
    ASSERT_TRUE(WaitForFix());
    Type(QStringLiteral("$DIRU,GPclr,2"));
    // Armed at once, counting once the receiver reports its restart, then the measured time.
    const QString armed = Form.InfoForm().Text(TInfoLabel::ttff);
    EXPECT_TRUE(armed == QStringLiteral("--") || armed == QStringLiteral("counting"))
        << armed.toStdString();
    bool sawCounting = armed == QStringLiteral("counting");
    bool measured = QTest::qWaitFor(
        [&] {
            const QString text = Form.InfoForm().Text(TInfoLabel::ttff);
            sawCounting = sawCounting || text == QStringLiteral("counting");
            return text != QStringLiteral("--") && text != QStringLiteral("counting");
        },
        kWaitMs);
    ASSERT_TRUE(measured);
    EXPECT_TRUE(sawCounting);
    bool isNumber = false;
    const double seconds = Form.InfoForm().Text(TInfoLabel::ttff).toDouble(&isNumber);
    EXPECT_TRUE(isNumber) << Form.InfoForm().Text(TInfoLabel::ttff).toStdString();
    EXPECT_GT(seconds, 0.0);
}

TEST_F(FormMainConnectionTest, ReplayOfTheSampleMovesTheBarAndEndsPausedAtItsEnd)
{
    const std::filesystem::path sample =
        std::filesystem::path(ZZ_SOURCE_DIR) / "samples" / "sample-nmea.bin";
    Dialogs.OnModal = nullptr;
    Dialogs.ModalResult = TFormPort::kResultConnect;
    Dialogs.OpenAnswer = QString::fromStdString(sample.string());
    Form.PrevOpenClick();
    ASSERT_EQ(Form.ControlFlags().Replaying.load(), 1);
    TReplayPanel& panel = Form.ReplayPanel();
    panel.SetSpeedIndex(TReplayPanel::kSpeedFast);
    panel.SetPlayButtonDown(true);
    Form.SpeedButton1Click(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.Position() > 4800; }, kWaitMs));
    EXPECT_TRUE(WaitForFix());
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.AtEnd() && !panel.PlayButtonDown(); }, kWaitMs));
    EXPECT_EQ(panel.Position(), static_cast<int64_t>(std::filesystem::file_size(sample)));
    EXPECT_EQ(Form.ControlFlags().ReplayPlaying.load(), 0);
    EXPECT_TRUE(Dialogs.Told.size() == 1 && Dialogs.Told[0].Caption == QStringLiteral("Setting"))
        << "only the summary after OK, no error";
    Dialogs.Answer = true;
    Form.PrevCloseClick();
    EXPECT_EQ(Form.ControlFlags().Replaying.load(), 0);
}

TEST_F(FormMainConnectionTest, FailedConnectSaysSoOnceAndStaysDisconnected)
{
    const QString port = At("no-such-port");
    Connect(port, TProtocol::Nmea);
    EXPECT_FALSE(Form.IsRunning());
    EXPECT_EQ(Form.StatusText(0), QStringLiteral("COM : Disconnect"));
    ASSERT_EQ(Dialogs.Told.size(), 1u);
    EXPECT_EQ(Dialogs.Beeps, 1);
    EXPECT_EQ(Dialogs.Told[0].Caption, QStringLiteral("Error"));
    // A missing device: the second line says so and names the ports there are instead.
    const QStringList lines = Dialogs.Told[0].Text.split('\n');
    ASSERT_EQ(lines.size(), 2) << Dialogs.Told[0].Text.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Can't connect ") + port + ".");
    EXPECT_TRUE(lines[1].startsWith("No such device (is the receiver plugged in?). "))
        << lines[1].toStdString();

    // A refused port leaves nothing behind: the simulator connects right after.
    Connect(QStringLiteral("SIM"), TProtocol::Nmea);
    EXPECT_TRUE(Form.IsRunning());
    EXPECT_TRUE(WaitForFix());
}

TEST_F(FormMainConnectionTest, UnpluggedReceiverDisconnectsOnceAndKeepsTheRecording)
{
    int master = -1;
    int slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    termios settings{};
    ::tcgetattr(slave, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(slave, TCSANOW, &settings);
    ::close(slave);

    Connect(QString::fromLatin1(name), TProtocol::Nmea);
    ASSERT_TRUE(Form.IsRunning());
    Dialogs.SaveAnswers = {At("lost.log"), At("lost.bin")};
    Form.MenuLogOpenClick();
    const std::string sentence =
        "$GPGGA,120000.00,4723.0000,N,00832.0000,E,1,08,1.0,410.0,M,48.0,M,,*64\r\n";
    ASSERT_EQ(::write(master, sentence.data(), sentence.size()),
              static_cast<ssize_t>(sentence.size()));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Form.LogForm().Text().find("$GPGGA,") != std::string::npos; }, kWaitMs));

    ::close(master); // the receiver goes away
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Form.IsRunning(); }, kWaitMs));
    QTest::qWait(500);
    ASSERT_EQ(Dialogs.Told.size(), 1u);
    EXPECT_EQ(Dialogs.Told[0].Caption, QStringLiteral("Error"));
    EXPECT_TRUE(Dialogs.Told[0].Text.contains(QString::fromLatin1(name)))
        << Dialogs.Told[0].Text.toStdString();
    EXPECT_EQ(Form.StatusText(0), QStringLiteral("COM : Disconnect"));
    EXPECT_EQ(Form.StatusText(3), QStringLiteral("Log[.log] : Not Saved"));
    EXPECT_TRUE(Form.findChild<QAction*>("MenuLogOpen")->isEnabled());
    EXPECT_NE(ReadFile(Root / "lost.log").find(sentence), std::string::npos);
    EXPECT_NE(ReadFile(Root / "lost.bin").find(sentence), std::string::npos);
}

TEST_F(FormMainConnectionTest, FailedLogWriteShowsInItsStatusPanel)
{
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    Connect(QStringLiteral("SIM"), TProtocol::Nmea);
    ASSERT_TRUE(Form.IsRunning());
    Dialogs.SaveAnswers = {QStringLiteral("/dev/full"), At("fine.bin")};
    Form.MenuLogOpenClick();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Form.StatusText(3).contains(QStringLiteral("WRITE FAILED")); }, kWaitMs))
        << Form.StatusText(3).toStdString();
    EXPECT_TRUE(Form.StatusText(3).startsWith(QStringLiteral("Log[.log] : ")));
    EXPECT_TRUE(Form.StatusText(3).contains(QString::fromLatin1(std::strerror(ENOSPC))));
    // The raw log is fine and says so.
    EXPECT_EQ(Form.StatusText(4), QStringLiteral("Log[.bin] : fine.bin"));
    EXPECT_TRUE(Form.findChild<QAction*>("MenuLogClose")->isEnabled());
}

TEST_F(FormMainConnectionTest, ViewItemsShowAndHideTheirWindowsAndFollowTheCloseBox)
{
    Form.show();
    QAction* logItem = Form.findChild<QAction*>("LogVisible");
    ASSERT_NE(logItem, nullptr);
    EXPECT_FALSE(logItem->isChecked());
    EXPECT_TRUE(Form.findChild<QAction*>("InfVisible")->isChecked());

    logItem->trigger();
    EXPECT_TRUE(logItem->isChecked());
    EXPECT_TRUE(Form.LogWindow()->isVisible());
    EXPECT_EQ(Form.WorkArea()->activeSubWindow(), Form.LogWindow());

    logItem->trigger();
    EXPECT_FALSE(logItem->isChecked());
    EXPECT_FALSE(Form.LogWindow()->isVisible());

    logItem->trigger();
    Form.LogWindow()->close();
    EXPECT_FALSE(logItem->isChecked());
    EXPECT_FALSE(Form.LogWindow()->isVisible());
}

} // namespace
} // namespace zz
