// The preset command window: its buttons and what each sends, the half of the selected
// protocol, the interval command made from the edits, its keys, and its sends through the main
// window, with a fake run and with the simulated receiver.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "FakeRun.h"
#include "FakeUserDialogs.h"
#include "core/TKeptValues.h"
#include "ui/main/TFormMain.h"
#include "ui/main/TFormPort.h"
#include "ui/tools/PresetCommands.h"
#include "ui/tools/TFormRC.h"
#include "ui/windows/TInfoForm.h"

namespace zz {
namespace {

// Generous: the sanitizer builds run the threads many times slower.
constexpr int kWaitMs = 30000;

template <typename T> T* Find(const QObject& parent, const char* name)
{
    T* object = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(object, nullptr) << name;
    return object;
}

// Runs the dialog modally; what the user does happens in `act` once it is shown.
int RunShown(QDialog& dialog, std::function<void()> act)
{
    QTimer::singleShot(0, &dialog, [&dialog, act = std::move(act)] {
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        act();
        if (dialog.isVisible()) {
            dialog.done(0);
        }
    });
    return dialog.exec();
}

TEST(PresetCommandsTest, RIRBinaryTextsAreWholeMessagesWithTheirCheckByte)
{
    for (const TPresetButton& button : kPresetButtons) {
        if (button.Protocol != TProtocol::Binary) {
            continue;
        }
        SCOPED_TRACE(std::string(button.Name));
        ASSERT_EQ(button.Text.size(), 10u);
        std::vector<int> bytes;
        for (size_t at = 0; at < button.Text.size(); at += 2) {
            bytes.push_back(std::stoi(std::string(button.Text.substr(at, 2)), nullptr, 16));
        }
        EXPECT_EQ(bytes.back(), 0xCA);
        EXPECT_EQ(bytes[0] ^ bytes[1] ^ bytes[2], bytes[3]);
    }
}

TEST(PresetCommandsTest, IntervalCommandIsTheKeywordThenNameAndCycle)
{
    const struct
    {
        const char* Sentence;
        const char* Cycle;
        const char* Command;
    } cases[] = {
        {"GGA", "01", "$DIRU,GPint,GGA01"},
        {"", "", "$DIRU,GPint,"},
        {"RMC", "", "$DIRU,GPint,RMC"},
        {"", "05", "$DIRU,GPint,05"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Command);
        const std::string command = IntervalCommand(c.Sentence, c.Cycle, "int");
        EXPECT_EQ(command, c.Command);
        // The length handed over: the edits' lengths and the nine fixed characters.
        EXPECT_EQ(command.size(),
                  std::string_view(c.Sentence).size() + std::string_view(c.Cycle).size() + 3 + 9);
        EXPECT_EQ(IntervalCaption(c.Sentence, c.Cycle, "int"),
                  std::string("Send (") + c.Command + ")");
    }
}

// The window on its own, with sends that record what they were handed.
class FormRCTest : public testing::Test
{
protected:
    TPresetSends RecordingSends()
    {
        TPresetSends sends;
        sends.SelectedProtocol = [this] { return Selected; };
        sends.SendRestart = [this](std::string_view text) {
            Sent.push_back("restart " + std::string(text));
        };
        sends.SendCommand = [this](std::string_view text) {
            Sent.push_back("command " + std::string(text));
        };
        return sends;
    }
    QPushButton* Button(const char* name) { return Find<QPushButton>(Form, name); }
    QLineEdit* Edit(const char* name) { return Find<QLineEdit>(Form, name); }

    TProtocol Selected = TProtocol::Nmea;
    std::vector<std::string> Sent;
    TFormRC Form{RecordingSends()};
};

TEST_F(FormRCTest, StartsWithItsCaptionsAndTheEditsTexts)
{
    EXPECT_EQ(Form.windowTitle(), QStringLiteral("Preset command"));
    EXPECT_TRUE(Form.isModal());
    EXPECT_EQ(Form.minimumSize(), Form.maximumSize());
    EXPECT_EQ(Find<QGroupBox>(Form, "GroupNmea")->title(), QStringLiteral("NMEA"));
    EXPECT_EQ(Find<QGroupBox>(Form, "GroupBinary")->title(), QStringLiteral("RIRBinary"));
    EXPECT_EQ(Find<QGroupBox>(Form, "GroupOutput")->title(), QStringLiteral("Output data"));
    EXPECT_EQ(Find<QLabel>(Form, "Label1")->text(), QStringLiteral("NMEA"));
    EXPECT_EQ(Find<QLabel>(Form, "Label2")->text(), QStringLiteral("Cycle (00-60)[sec]"));
    EXPECT_EQ(Find<QLabel>(Form, "Label3")->text(), QStringLiteral("Order"));
    EXPECT_TRUE(Find<QLabel>(Form, "Label3")->isHidden());

    const struct
    {
        const char* Name;
        const char* Text;
        int MaxLength;
    } edits[] = {{"Edit1", "GGA", 7}, {"Edit2", "01", 7}, {"Edit3", "int", 3}};
    for (const auto& e : edits) {
        SCOPED_TRACE(e.Name);
        EXPECT_EQ(Edit(e.Name)->text(), QString::fromLatin1(e.Text));
        EXPECT_EQ(Edit(e.Name)->maxLength(), e.MaxLength);
    }
    EXPECT_TRUE(Edit("Edit3")->isHidden());
    EXPECT_FALSE(Edit("Edit3")->isEnabled());
    EXPECT_EQ(Button("Button6n")->text(), QStringLiteral("Send ($DIRU,GPint,GGA01)"));
}

TEST_F(FormRCTest, EachButtonSendsItsCommandWhileItsProtocolIsSelected)
{
    const struct
    {
        const char* Name;
        const char* Caption;
        TProtocol Protocol;
        const char* Sends;
    } buttons[] = {
        {"Button1n", "Send Clear 1 ($DIRU,GPclr,1)", TProtocol::Nmea, "restart $DIRU,GPclr,1"},
        {"Button2n", "Send Clear 2 ($DIRU,GPclr,2)", TProtocol::Nmea, "restart $DIRU,GPclr,2"},
        {"Button3n", "Send Clear 3 ($DIRU,GPclr,3)", TProtocol::Nmea, "restart $DIRU,GPclr,3"},
        {"Button4n", "Send Clear 4 ($DIRU,GPclr,4)", TProtocol::Nmea, "restart $DIRU,GPclr,4"},
        {"Button5n", "Send Clear 5 ($DIRU,GPclr,5)", TProtocol::Nmea, "restart $DIRU,GPclr,5"},
        {"Button6n", "Send ($DIRU,GPint,GGA01)", TProtocol::Nmea, "command $DIRU,GPint,GGA01"},
        {"Button1b", "Send Restart (C18080C1CA)", TProtocol::Binary, "restart C18080C1CA"},
        {"Button2b", "Send Warm start (C18180C0CA)", TProtocol::Binary, "restart C18180C0CA"},
        {"Button3b", "Send Cold start (C18280C3CA)", TProtocol::Binary, "restart C18280C3CA"},
        {"Button4b", "Send All clear start (C18380C2CA)", TProtocol::Binary, "restart C18380C2CA"},
        {"Button5b", "Send Output all data (C0A38FECCA)", TProtocol::Binary, "command C0A38FECCA"},
    };
    for (const TProtocol selected : {TProtocol::Nmea, TProtocol::Binary, TProtocol::Nmea}) {
        SCOPED_TRACE(selected == TProtocol::Nmea ? "NMEA selected" : "RIRBinary selected");
        Selected = selected;
        // The half is chosen when the window is shown.
        Form.show();
        const bool nmea = selected == TProtocol::Nmea;
        for (const char* name : {"Edit1", "Edit2", "Label1", "Label2"}) {
            EXPECT_EQ(Find<QWidget>(Form, name)->isEnabled(), nmea) << name;
        }
        const QColor caption =
            Find<QGroupBox>(Form, "GroupOutput")->palette().color(QPalette::WindowText);
        EXPECT_EQ(caption == QColor(Qt::black), nmea);

        for (const auto& b : buttons) {
            SCOPED_TRACE(b.Name);
            QPushButton* button = Button(b.Name);
            EXPECT_EQ(button->text(), QString::fromLatin1(b.Caption));
            const bool usable = b.Protocol == selected;
            EXPECT_EQ(button->isEnabled(), usable);
            Sent.clear();
            // A button of the other protocol sends nothing even when it is clickable.
            button->setEnabled(true);
            QTest::mouseClick(button, Qt::LeftButton);
            EXPECT_EQ(Sent,
                      usable ? std::vector<std::string>{b.Sends} : std::vector<std::string>());
        }
        Form.hide();
    }
}

TEST_F(FormRCTest, IntervalButtonShowsAndSendsTheEditsAsTyped)
{
    const struct
    {
        const char* Sentence;
        const char* Cycle;
        const char* Caption;
        const char* Command;
    } cases[] = {
        {"", "", "Send ($DIRU,GPint,)", "$DIRU,GPint,"},
        {"RMC", "", "Send ($DIRU,GPint,RMC)", "$DIRU,GPint,RMC"},
        {"", "05", "Send ($DIRU,GPint,05)", "$DIRU,GPint,05"},
        // Neither the characters nor the range are checked; the edits keep seven characters.
        {"zda", "99", "Send ($DIRU,GPint,zda99)", "$DIRU,GPint,zda99"},
        {"ABCDEFGHI", "123456789", "Send ($DIRU,GPint,ABCDEFG1234567)",
         "$DIRU,GPint,ABCDEFG1234567"},
        // An ampersand shows as itself on the button.
        {"R&D", "1", "Send ($DIRU,GPint,R&&D1)", "$DIRU,GPint,R&D1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Command);
        Edit("Edit1")->clear();
        Edit("Edit2")->clear();
        QTest::keyClicks(Edit("Edit1"), QString::fromLatin1(c.Sentence));
        QTest::keyClicks(Edit("Edit2"), QString::fromLatin1(c.Cycle));
        EXPECT_EQ(Button("Button6n")->text(), QString::fromLatin1(c.Caption));
        Sent.clear();
        QTest::mouseClick(Button("Button6n"), Qt::LeftButton);
        EXPECT_EQ(Sent, std::vector<std::string>{std::string("command ") + c.Command});
    }
    // The hidden keyword takes part as well.
    Edit("Edit3")->setText(QStringLiteral("out"));
    EXPECT_EQ(Form.IntervalCommandShown(), "$DIRU,GPout,R&D1");
}

TEST_F(FormRCTest, EnterInAnEditGoesToTheSendButtonAndEscapeCloses)
{
    for (const char* escapeFrom : {"Edit1", "Edit2", "Button6n", "Button3n", "Button5b"}) {
        SCOPED_TRACE(escapeFrom);
        Selected = std::string_view(escapeFrom) == "Button5b" ? TProtocol::Binary : TProtocol::Nmea;
        Sent.clear();
        bool stillShown = false;
        const int result = RunShown(Form, [&] {
            if (Selected == TProtocol::Nmea) {
                for (const char* edit : {"Edit1", "Edit2"}) {
                    Edit(edit)->setFocus();
                    QTest::keyClick(Edit(edit), Qt::Key_Return);
                    EXPECT_TRUE(Sent.empty());
                    EXPECT_EQ(QApplication::focusWidget(), Button("Button6n")) << edit;
                }
                // The second Enter sends; the window stays open.
                QTest::keyClick(Button("Button6n"), Qt::Key_Return);
                EXPECT_EQ(Sent, std::vector<std::string>{"command $DIRU,GPint,GGA01"});
            }
            QWidget* control = Find<QWidget>(Form, escapeFrom);
            control->setFocus();
            stillShown = Form.isVisible();
            QTest::keyClick(control, Qt::Key_Escape);
        });
        EXPECT_TRUE(stillShown);
        EXPECT_FALSE(Form.isVisible());
        EXPECT_EQ(result, QDialog::Rejected);
    }
}

// The main window with a fake run: F6 shows the window, whose sends go through the main
// window's preset sends.
class PresetThroughMainWindowTest : public testing::Test
{
protected:
    void Connect(TProtocol protocol)
    {
        Dialogs.OnModal = nullptr;
        Form.FormPort()
            .findChild<QComboBox*>("ComboBoxProtocol")
            ->setCurrentIndex(ChoiceIndex(protocol));
        Form.FormPort().ButtonRunClick();
        Dialogs.ModalResult = TFormPort::kResultConnect;
        Form.OpenReceiverSetting();
        ASSERT_TRUE(Form.IsRunning());
        Run->Calls.clear();
        Dialogs.ModalRuns = 0;
    }

    test::TFakeUserDialogs Dialogs;
    test::TFakeRun* Run = nullptr;
    TFormMain Form{&Dialogs,
                   [this](TControlFlags& flags, const TKeptValues&, TDisplay&, TRunEvents& events) {
                       auto run = std::make_unique<test::TFakeRun>(flags, events);
                       Run = run.get();
                       return run;
                   }};
};

TEST_F(PresetThroughMainWindowTest, RestartsArmTheTimeToFirstFixAndTheOthersDoNot)
{
    const struct
    {
        TProtocol Protocol;
        const char* Restart;
        const char* Other;
        std::vector<std::string> Calls;
    } cases[] = {
        {TProtocol::Nmea,
         "Button1n",
         "Button6n",
         {"send with checksum $DIRU,GPclr,1", "arm", "log line $DIRU,GPclr,1",
          "send with checksum $DIRU,GPint,GGA01", "log line $DIRU,GPint,GGA01"}},
        {TProtocol::Binary,
         "Button3b",
         "Button5b",
         {"send C18280C3CA", "arm", "log line C18280C3CA", "send C0A38FECCA",
          "log line C0A38FECCA"}},
    };
    Form.show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Restart);
        Connect(c.Protocol);
        QString ttffAfterRestart;
        QString ttffAfterOther;
        bool restartEnabled = false;
        Dialogs.OnModal = [&](QDialog& dialog) {
            EXPECT_EQ(&dialog, &Form.FormRC());
            return RunShown(dialog, [&] {
                Form.InfoForm().SetText(TInfoLabel::ttff, "12.5");
                QPushButton* restart = Find<QPushButton>(dialog, c.Restart);
                restartEnabled = restart->isEnabled();
                QTest::mouseClick(restart, Qt::LeftButton);
                ttffAfterRestart = Form.InfoForm().Text(TInfoLabel::ttff);
                Form.InfoForm().SetText(TInfoLabel::ttff, "12.5");
                QTest::mouseClick(Find<QPushButton>(dialog, c.Other), Qt::LeftButton);
                ttffAfterOther = Form.InfoForm().Text(TInfoLabel::ttff);
            });
        };
        Form.findChild<QAction*>("RestartCommand1")->trigger();
        EXPECT_EQ(Dialogs.ModalRuns, 1);
        // The protocol chosen at the last Connect decides the half from this showing on.
        EXPECT_TRUE(restartEnabled);
        EXPECT_EQ(Run->Calls, c.Calls);
        EXPECT_EQ(ttffAfterRestart, QStringLiteral("--"));
        EXPECT_EQ(ttffAfterOther, QStringLiteral("12.5"));
    }
}

TEST_F(PresetThroughMainWindowTest, NothingIsSentWhileDisconnected)
{
    Dialogs.OnModal = [&](QDialog& dialog) {
        return RunShown(dialog, [&] {
            QTest::mouseClick(Find<QPushButton>(dialog, "Button2n"), Qt::LeftButton);
            QTest::mouseClick(Find<QPushButton>(dialog, "Button6n"), Qt::LeftButton);
        });
    };
    Form.RestartCommand1Click();
    EXPECT_EQ(Dialogs.ModalRuns, 1);
    EXPECT_TRUE(Run->Calls.empty());
    EXPECT_EQ(Form.StatusText(2), QStringLiteral("Sent Data : "));
}

// The real main window on the simulated receiver: F6, "Send Clear 1", and the Information
// window counts and then shows the time to the new fix.
class PresetOnSimulatedReceiverTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Dialogs.OnModal = [this](QDialog& shown) {
            if (auto* port = qobject_cast<TFormPort*>(&shown)) {
                QTimer::singleShot(0, port, [port] {
                    port->findChild<QComboBox*>("ComboBoxProtocol")
                        ->setCurrentIndex(ChoiceIndex(TProtocol::Nmea));
                    auto* name = port->findChild<QComboBox*>("ComboBoxPortName");
                    name->setEditText(QStringLiteral("SIM"));
                    QTest::keyClick(name->lineEdit(), Qt::Key_Return);
                });
                return port->exec();
            }
            return RunShown(shown, [this, &shown] {
                ++PresetShowings;
                QTest::mouseClick(Find<QPushButton>(shown, "Button1n"), Qt::LeftButton);
                QTest::keyClick(&shown, Qt::Key_Escape);
            });
        };
    }

    test::TFakeUserDialogs Dialogs;
    TFormMain Form{&Dialogs};
    int PresetShowings = 0;
};

TEST_F(PresetOnSimulatedReceiverTest, SendClear1MeasuresTheTimeToFirstFix)
{
    Form.show();
    Form.OpenReceiverSetting();
    ASSERT_TRUE(Form.IsRunning());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QString fix = Form.InfoForm().Text(TInfoLabel::fix);
            return fix != QStringLiteral("--") && !fix.isEmpty();
        },
        kWaitMs));

    // The key goes to the main window once the receiver setting dialog has let go of it.
    Form.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &Form; }));
    QTest::keyClick(&Form, Qt::Key_F6);
    ASSERT_EQ(PresetShowings, 1);
    EXPECT_EQ(Form.StatusText(2), QStringLiteral("Sent Data:$DIRU,GPclr,1"));

    bool sawCounting = false;
    const bool measured = QTest::qWaitFor(
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

} // namespace
} // namespace zz
