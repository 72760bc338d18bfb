#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <memory>

#include "FakeUserDialogs.h"
#include "core/RawLogMarker.h"
#include "core/ReceiverSettings.h"
#include "core/TControlFlags.h"
#include "ui/main/TFormPort.h"
#include "ui/main/TRadioGroup.h"

namespace zz {
namespace {

constexpr const char* kReferenceNames[] = {"LFref", "ASref", "UTref", "DDref", "SAref",
                                           "VDref", "ROref", "ACref", "TSref"};

// The dialog with the answers of the program around it, which each test sets.
class PortDialogRig
{
public:
    PortDialogRig() : Form(Flags, Dialogs, {[this] { return Recording; }, [this] { return Ports; }})
    {
        Flags.ReplayReference.store(kNoReplayReference);
    }

    template <typename T> T* Find(const char* name)
    {
        T* widget = Form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
    TRadioGroup* Group(const char* name) { return Find<TRadioGroup>(name); }
    QPushButton* Button(const char* name) { return Find<QPushButton>(name); }
    QCheckBox* ChkP() { return Find<QCheckBox>("ChkP"); }

    // Shown as the main window shows it, without waiting for it to close.
    void Show()
    {
        Form.show();
        QApplication::processEvents();
    }

    // Picks a protocol the way the user does, with the keyboard on the list.
    void ChooseProtocol(TProtocol choice)
    {
        const int index = ChoiceIndex(choice);
        QComboBox* protocol = Combo("ComboBoxProtocol");
        while (protocol->currentIndex() < index) {
            QTest::keyClick(protocol, Qt::Key_Down);
        }
        while (protocol->currentIndex() > index) {
            QTest::keyClick(protocol, Qt::Key_Up);
        }
    }

    bool Recording = false;
    std::vector<std::string> Ports{"/dev/ttyUSB0", "/dev/ttyS1", "SIM"};
    TControlFlags Flags;
    test::TFakeUserDialogs Dialogs;
    TFormPort Form;
};

TEST(FormPort, StartsWithItsDefaultsAndItems)
{
    PortDialogRig rig;
    rig.Show();
    EXPECT_EQ(rig.Form.windowTitle(), QStringLiteral("Receiver setting"));
    EXPECT_EQ(rig.Form.minimumSize(), QSize(499, 386));
    EXPECT_EQ(rig.Form.maximumSize(), QSize(499, 386));

    const struct
    {
        const char* Name;
        QStringList Items;
        const char* Selected;
    } lists[] = {
        {"ComboBoxPortName", {"/dev/ttyUSB0", "/dev/ttyS1", "SIM"}, "/dev/ttyUSB0"},
        {"ComboBoxBoudrate", {"2400", "4800", "9600", "19200", "38400", "57600", "115200"}, "9600"},
        {"ComboBoxBitlength", {"7", "8"}, "8"},
        {"ComboBoxStopbit", {"1", "1.5", "2"}, "1"},
        {"ComboBoxParity", {"None", "Odd", "Even"}, "None"},
        {"ComboBoxProtocol", {"NMEA", "RIRBinary"}, "NMEA"},
    };
    for (const auto& list : lists) {
        SCOPED_TRACE(list.Name);
        QComboBox* box = rig.Combo(list.Name);
        QStringList items;
        for (int index = 0; index < box->count(); ++index) {
            items << box->itemText(index);
        }
        EXPECT_EQ(items, list.Items);
        EXPECT_EQ(box->currentText(), QString::fromLatin1(list.Selected));
    }
    EXPECT_TRUE(rig.Combo("ComboBoxPortName")->isEditable());
    EXPECT_FALSE(rig.Combo("ComboBoxProtocol")->isEditable());

    const struct
    {
        const char* Name;
        const char* Title;
        QStringList Items;
    } groups[] = {
        {"HDref", "Header of NMEA cycle", {"GGA", "RMC", "GLL", "ROT", "GSA", "VTG", "GSV", "ZDA"}},
        {"LFref", "Latitude , Longitude , Fix status", {"GGA", "GLL", "RMC"}},
        {"ASref", "Altitude , Using SVs(Total number)", {"GGA"}},
        {"UTref", "Date Time", {"ZDA"}},
        {"DDref", "2D/3D status , DOP , Using SVs(PRN)", {"GSA"}},
        {"SAref", "PRN , Elevation , Azimuth , C/N0", {"GSV", "GSV+wav"}},
        {"VDref", "Velocity , Direction", {"RMC", "VTG"}},
        {"ROref", "Rate of turn", {"ROT"}},
        {"ACref", "SV accuracy", {"acc"}},
        {"TSref", "Program ver.", {"tst"}},
    };
    for (const auto& group : groups) {
        SCOPED_TRACE(group.Name);
        TRadioGroup* radio = rig.Group(group.Name);
        EXPECT_EQ(radio->title(), QString::fromLatin1(group.Title));
        ASSERT_EQ(radio->Count(), group.Items.size());
        for (int index = 0; index < radio->Count(); ++index) {
            EXPECT_EQ(radio->Button(index)->text(), group.Items[index]);
        }
        EXPECT_EQ(radio->ItemIndex(), 0);
    }
    // The reference groups sit inside "Reference NMEA", the header group beside it.
    for (const char* name : kReferenceNames) {
        EXPECT_EQ(rig.Group(name)->parentWidget(), rig.Find<QGroupBox>("GroupBox1")) << name;
    }
    EXPECT_EQ(rig.Find<QGroupBox>("GroupBox1")->title(), QStringLiteral("Reference NMEA"));
    EXPECT_EQ(rig.Find<QGroupBox>("GroupBox2")->title(), QStringLiteral("Port setting"));
    EXPECT_LT(rig.Group("HDref")->geometry().right(),
              rig.Find<QGroupBox>("GroupBox1")->geometry().left());

    const struct
    {
        const char* Name;
        const char* Caption;
    } captions[] = {
        {"LabelPortName", "COM Port"},   {"LabelBoudrate", "Baud rate"},
        {"LabelBitlength", "Data bits"}, {"LabelStopbit", "Stop bits"},
        {"LabelParity", "Parity"},       {"Label1", "Protocol"},
    };
    for (const auto& caption : captions) {
        EXPECT_EQ(rig.Find<QLabel>(caption.Name)->text(), QString::fromLatin1(caption.Caption));
    }
    // Buttons in a row at the bottom left: Connect, Disconnect, Cancel.
    QPushButton* run = rig.Button("ButtonRun");
    QPushButton* close = rig.Button("ButtonClose");
    QPushButton* end = rig.Button("ButtonEnd");
    EXPECT_EQ(run->text(), QStringLiteral("Connect"));
    EXPECT_EQ(close->text(), QStringLiteral("Disconnect"));
    EXPECT_EQ(end->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(run->isDefault());
    EXPECT_LT(run->x(), close->x());
    EXPECT_LT(close->x(), end->x());
    EXPECT_TRUE(rig.ChkP()->isHidden());
    EXPECT_FALSE(rig.ChkP()->isChecked());
}

TEST(FormPort, ChoicesAreKeptOnlyByConnect)
{
    // Ways out of the dialog, with the result each gives.
    const struct
    {
        const char* What;
        std::function<void(PortDialogRig&)> Leave;
        int Result;
    } ways[] = {
        {"Connect", [](PortDialogRig& rig) { rig.Button("ButtonRun")->click(); },
         TFormPort::kResultConnect},
        {"Cancel", [](PortDialogRig& rig) { rig.Button("ButtonEnd")->click(); },
         TFormPort::kResultCancel},
        {"Escape", [](PortDialogRig& rig) { QTest::keyClick(&rig.Form, Qt::Key_Escape); },
         TFormPort::kResultCancel},
        {"close box", [](PortDialogRig& rig) { rig.Form.close(); }, TFormPort::kResultCancel},
        {"Disconnect", [](PortDialogRig& rig) { rig.Button("ButtonClose")->click(); },
         TFormPort::kResultDisconnect},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.What);
        PortDialogRig rig;
        rig.Show();
        rig.Group("LFref")->Button(2)->click();
        rig.Group("SAref")->Button(1)->click();
        rig.Group("HDref")->Button(3)->click();
        rig.Combo("ComboBoxBoudrate")->setCurrentIndex(1);
        rig.Combo("ComboBoxParity")->setCurrentIndex(2);
        rig.ChooseProtocol(TProtocol::Binary);
        ASSERT_FALSE(rig.Group("LFref")->isEnabled());

        way.Leave(rig);
        EXPECT_FALSE(rig.Form.isVisible());
        EXPECT_EQ(rig.Form.result(), way.Result);

        const bool kept = way.Result == TFormPort::kResultConnect;
        const TRunSettings settings = rig.Form.KeptSettings();
        const TReferences& references = settings.Receiver.References;
        EXPECT_EQ(references.LFref, kept ? TPositionRef::RMC : TPositionRef::GGA);
        EXPECT_EQ(references.SAref, kept ? TSatellitesRef::GSVWav : TSatellitesRef::GSV);
        EXPECT_EQ(settings.Receiver.Header, kept ? THeader::ROT : THeader::GGA);
        EXPECT_EQ(settings.Line.BaudRate, kept ? 4800 : 9600);
        EXPECT_EQ(settings.Line.Parity, kept ? TParity::Even : TParity::None);
        EXPECT_EQ(settings.Receiver.Protocol, kept ? TProtocol::Binary : TProtocol::Nmea);
        // The controls show the kept choices, greyed as their protocol wants, next time too.
        rig.Show();
        EXPECT_EQ(rig.Group("LFref")->ItemIndex(), kept ? 2 : 0);
        EXPECT_EQ(rig.Group("HDref")->ItemIndex(), kept ? 3 : 0);
        EXPECT_EQ(rig.Combo("ComboBoxBoudrate")->currentText(),
                  kept ? QStringLiteral("4800") : QStringLiteral("9600"));
        EXPECT_EQ(rig.Combo("ComboBoxProtocol")->currentText(),
                  kept ? QStringLiteral("RIRBinary") : QStringLiteral("NMEA"));
        EXPECT_EQ(rig.Form.Settings().Receiver, settings.Receiver);
        EXPECT_EQ(rig.Form.Settings().Line.Parity, settings.Line.Parity);
        EXPECT_EQ(rig.Form.KeptSettings().Receiver, settings.Receiver);
        EXPECT_EQ(rig.Group("LFref")->isEnabled(), !kept);
        EXPECT_EQ(rig.Group("HDref")->isEnabled(), !kept);
        EXPECT_EQ(rig.Flags.ProtocolSelection.load(), settings.Receiver.Protocol);
        EXPECT_EQ(rig.Flags.HeaderSelection.load(), settings.Receiver.Header);
    }
}

TEST(FormPort, BinaryProtocolGreysTheNmeaChoices)
{
    PortDialogRig rig;
    rig.Form.SetReplayForm(true);
    rig.Show();
    for (const TProtocol protocol : {TProtocol::Binary, TProtocol::Nmea, TProtocol::Binary}) {
        SCOPED_TRACE(std::string(ProtocolName(protocol)));
        rig.ChooseProtocol(protocol);
        const bool nmea = protocol == TProtocol::Nmea;
        EXPECT_EQ(rig.Group("HDref")->isEnabled(), nmea);
        for (const char* name : kReferenceNames) {
            EXPECT_EQ(rig.Group(name)->isEnabled(), nmea) << name;
        }
        EXPECT_EQ(rig.ChkP()->isEnabled(), nmea);
        EXPECT_FALSE(rig.Combo("ComboBoxBoudrate")->isEnabled()) << "a replay has no line";
        EXPECT_TRUE(rig.Combo("ComboBoxProtocol")->isEnabled());
        EXPECT_EQ(rig.Flags.ProtocolSelection.load(), protocol);
    }
    // The choice is not yet kept: the decoders go on with NMEA.
    EXPECT_EQ(rig.Form.Settings().Receiver.Protocol, TProtocol::Binary);
    EXPECT_EQ(rig.Form.KeptSettings().Receiver.Protocol, TProtocol::Nmea);
}

TEST(FormPort, ConnectAndDisconnectAskWhileAConnectionRuns)
{
    const struct
    {
        const char* Button;
        bool Running;
        bool Recording;
        bool Answer;
        const char* Question;
        int Result; // 0: the dialog stays open
    } cases[] = {
        {"ButtonRun", false, true, false, "", TFormPort::kResultConnect},
        {"ButtonRun", true, false, true, "Connecting receiver.    \nChange receiver?",
         TFormPort::kResultConnect},
        {"ButtonRun", true, false, false, "Connecting receiver.    \nChange receiver?", 0},
        {"ButtonRun", true, true, true,
         "Writing Log and connecting receiver.    \nChange receiver and Close Log File?",
         TFormPort::kResultConnect},
        {"ButtonRun", true, true, false,
         "Writing Log and connecting receiver.    \nChange receiver and Close Log File?", 0},
        {"ButtonClose", false, true, false, "", TFormPort::kResultDisconnect},
        {"ButtonClose", true, false, true, "Connecting receiver.    \n\nDisconnect receiver?",
         TFormPort::kResultDisconnect},
        {"ButtonClose", true, false, false, "Connecting receiver.    \n\nDisconnect receiver?", 0},
        {"ButtonClose", true, true, true,
         "Writing Log and connecting receiver.    \n\nDisconnect receiver and Close Log File?",
         TFormPort::kResultDisconnect},
        {"ButtonClose", true, true, false,
         "Writing Log and connecting receiver.    \n\nDisconnect receiver and Close Log File?", 0},
        {"ButtonEnd", true, true, false, "", TFormPort::kResultCancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Button << " running " << c.Running << " recording "
                                        << c.Recording << " answer " << c.Answer);
        PortDialogRig rig;
        rig.Flags.Running.store(c.Running ? 1 : 0);
        rig.Recording = c.Recording;
        rig.Dialogs.Answer = c.Answer;
        rig.Show();
        rig.Group("LFref")->Button(2)->click();
        rig.Button(c.Button)->click();

        if (*c.Question == '\0') {
            EXPECT_TRUE(rig.Dialogs.Asked.empty());
        } else {
            ASSERT_EQ(rig.Dialogs.Asked.size(), 1u);
            EXPECT_EQ(rig.Dialogs.Asked[0].Caption, QStringLiteral("Notice"));
            EXPECT_EQ(rig.Dialogs.Asked[0].Text, QString::fromLatin1(c.Question));
        }
        if (c.Result == 0) {
            // Still open, with the user's unfinished choice and nothing kept.
            EXPECT_TRUE(rig.Form.isVisible());
            EXPECT_EQ(rig.Group("LFref")->ItemIndex(), 2);
            EXPECT_EQ(rig.Form.KeptSettings().Receiver.References.LFref, TPositionRef::GGA);
        } else {
            EXPECT_FALSE(rig.Form.isVisible());
            EXPECT_EQ(rig.Form.result(), c.Result);
            EXPECT_EQ(rig.Form.KeptSettings().Receiver.References.LFref,
                      c.Result == TFormPort::kResultConnect ? TPositionRef::RMC
                                                            : TPositionRef::GGA);
        }
    }
}

TEST(FormPort, EnterInThePortBoxConnects)
{
    {
        SCOPED_TRACE("straight after showing: the first port");
        PortDialogRig rig;
        rig.Show();
        QWidget* focus = rig.Form.focusWidget();
        QComboBox* port = rig.Combo("ComboBoxPortName");
        ASSERT_TRUE(focus == port || port->isAncestorOf(focus));
        QTest::keyClick(focus, Qt::Key_Return);
        EXPECT_FALSE(rig.Form.isVisible());
        EXPECT_EQ(rig.Form.result(), TFormPort::kResultConnect);
        EXPECT_EQ(rig.Form.Settings().Receiver.Protocol, TProtocol::Nmea);
        EXPECT_EQ(rig.Form.Settings().Line.PortName, "/dev/ttyUSB0");
        EXPECT_EQ(rig.Form.KeptSettings().Line.PortName, "/dev/ttyUSB0");
    }
    {
        SCOPED_TRACE("a typed path, while connected");
        PortDialogRig rig;
        rig.Flags.Running.store(1);
        rig.Show();
        QLineEdit* edit = rig.Combo("ComboBoxPortName")->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, "/dev/pts/7");
        QTest::keyClick(edit, Qt::Key_Enter);
        EXPECT_EQ(rig.Dialogs.Asked.size(), 1u);
        EXPECT_EQ(rig.Form.result(), TFormPort::kResultConnect);
        EXPECT_EQ(rig.Form.Settings().Line.PortName, "/dev/pts/7");
        EXPECT_EQ(rig.Form.KeptSettings().Line.PortName, "/dev/pts/7");
        EXPECT_EQ(rig.Combo("ComboBoxPortName")->count(), 3) << "a typed path is no list entry";
    }
}

TEST(FormPort, PortSettingsComeFromTheLiveControls)
{
    constexpr TDataBits k7 = TDataBits::Seven;
    constexpr TDataBits k8 = TDataBits::Eight;
    const struct
    {
        int Baud, Bits, Stop, Parity, Protocol; // control indexes
        COMSTATUS Expected;
        TProtocol ExpectedProtocol;
    } cases[] = {
        {2, 1, 0, 0, 0, {"SIM", 9600, k8, TParity::None, TStopBits::One}, TProtocol::Nmea},
        {0, 0, 1, 2, 1, {"SIM", 2400, k7, TParity::Even, TStopBits::OneAndHalf}, TProtocol::Binary},
        {1, 1, 2, 1, 0, {"SIM", 4800, k8, TParity::Odd, TStopBits::Two}, TProtocol::Nmea},
        {3, 1, 0, 0, 0, {"SIM", 19200, k8, TParity::None, TStopBits::One}, TProtocol::Nmea},
        {4, 1, 0, 0, 0, {"SIM", 38400, k8, TParity::None, TStopBits::One}, TProtocol::Nmea},
        {5, 1, 0, 0, 0, {"SIM", 57600, k8, TParity::None, TStopBits::One}, TProtocol::Nmea},
        {6, 1, 0, 0, 1, {"SIM", 115200, k8, TParity::None, TStopBits::One}, TProtocol::Binary},
    };
    PortDialogRig rig;
    rig.Show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Expected.BaudRate);
        rig.Combo("ComboBoxBoudrate")->setCurrentIndex(c.Baud);
        rig.Combo("ComboBoxBitlength")->setCurrentIndex(c.Bits);
        rig.Combo("ComboBoxStopbit")->setCurrentIndex(c.Stop);
        rig.Combo("ComboBoxParity")->setCurrentIndex(c.Parity);
        rig.Combo("ComboBoxProtocol")->setCurrentIndex(c.Protocol);
        rig.Combo("ComboBoxPortName")->setCurrentIndex(2);
        const TRunSettings settings = rig.Form.Settings();
        const COMSTATUS& line = settings.Line;
        EXPECT_EQ(line.PortName, c.Expected.PortName);
        EXPECT_EQ(line.BaudRate, c.Expected.BaudRate);
        EXPECT_EQ(line.DataBits, c.Expected.DataBits);
        EXPECT_EQ(line.StopBits, c.Expected.StopBits);
        EXPECT_EQ(line.Parity, c.Expected.Parity);
        EXPECT_FALSE(line.XonXoffIn || line.XonXoffOut);
        EXPECT_EQ(settings.Receiver.Protocol, c.ExpectedProtocol);
        EXPECT_EQ(rig.Form.SelectedProtocol(), c.ExpectedProtocol);
    }
}

TEST(FormPort, ReceiverSettingsComeFromTheLiveControlsAndAreKeptByConnect)
{
    PortDialogRig rig;
    rig.Show();
    rig.Group("HDref")->Button(5)->click(); // VTG
    rig.Group("LFref")->Button(1)->click(); // GLL
    rig.Group("SAref")->Button(1)->click(); // GSV+wav
    rig.Group("VDref")->Button(1)->click(); // VTG
    rig.ChooseProtocol(TProtocol::Binary);

    TReceiverSettings expected;
    expected.Protocol = TProtocol::Binary;
    expected.Header = THeader::VTG;
    expected.References.LFref = TPositionRef::GLL;
    expected.References.SAref = TSatellitesRef::GSVWav;
    expected.References.VDref = TVelocityRef::VTG;
    EXPECT_EQ(rig.Form.Settings().Receiver, expected);
    EXPECT_EQ(rig.Form.KeptSettings().Receiver, TReceiverSettings{});

    rig.Button("ButtonRun")->click();
    EXPECT_EQ(rig.Form.KeptSettings().Receiver, expected);
    EXPECT_EQ(rig.Form.KeptSettings().Line, rig.Form.Settings().Line);
}

TEST(FormPort, PortsAreScannedAtEveryShowingAndOnTheLabel)
{
    PortDialogRig rig;
    rig.Show();
    QComboBox* port = rig.Combo("ComboBoxPortName");
    ASSERT_EQ(port->count(), 3);

    // The port this program holds open is no longer listed; entry 0 is selected.
    rig.Ports = {"/dev/ttyS1", "SIM"};
    port->setCurrentIndex(1);
    QTest::mouseClick(rig.Find<QLabel>("LabelPortName"), Qt::LeftButton);
    ASSERT_EQ(port->count(), 2);
    EXPECT_EQ(port->currentText(), QStringLiteral("/dev/ttyS1"));

    rig.Form.SetPortScanner([] { return std::vector<std::string>(); });
    rig.Button("ButtonEnd")->click();
    rig.Show();
    EXPECT_EQ(port->count(), 0);
    EXPECT_EQ(rig.Form.Settings().Line.PortName, "");
}

TEST(FormPort, ReplayFormLoadsTheLogsHeaderThroughChkP)
{
    const struct
    {
        int32_t Reference;
        bool Loaded;
    } cases[] = {{kNoReplayReference, false}, {-1, false}, {8, false}, {1, true}, {7, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Reference);
        PortDialogRig rig;
        rig.Flags.ReplayReference.store(c.Reference);
        rig.Form.SetReplayForm(true);
        rig.Show();
        EXPECT_EQ(rig.Button("ButtonRun")->text(), QStringLiteral("OK"));
        ASSERT_FALSE(rig.ChkP()->isHidden());
        EXPECT_EQ(rig.ChkP()->text().simplified(),
                  QStringLiteral("Refer to\"Header of NMEA cycle\" on Replay Log"));
        rig.Group("HDref")->Button(6)->click();

        rig.ChkP()->click();
        ASSERT_EQ(rig.Dialogs.Told.size(), 1u);
        const test::TTold& told = rig.Dialogs.Told[0];
        TRadioGroup* header = rig.Group("HDref");
        QComboBox* protocol = rig.Combo("ComboBoxProtocol");
        if (c.Loaded) {
            EXPECT_EQ(told.Icon, TMessageIcon::Information);
            EXPECT_EQ(told.Caption, QStringLiteral("Message"));
            EXPECT_EQ(told.Text, QStringLiteral("Reference has been loaded.     "));
            EXPECT_TRUE(rig.ChkP()->isChecked());
            EXPECT_EQ(header->ItemIndex(), c.Reference);
            EXPECT_FALSE(header->isEnabled());
            EXPECT_EQ(rig.Form.SelectedProtocol(), TProtocol::Nmea);
            EXPECT_FALSE(protocol->isEnabled());
            EXPECT_TRUE(rig.Group("LFref")->isEnabled());
        } else {
            EXPECT_EQ(told.Icon, TMessageIcon::Warning);
            EXPECT_EQ(told.Caption, QStringLiteral("Error"));
            EXPECT_EQ(told.Text, QStringLiteral("Log has no reference!! \n\n Please select "
                                                "from setting  yourself.     "));
            EXPECT_FALSE(rig.ChkP()->isChecked());
            EXPECT_EQ(header->ItemIndex(), 6);
            EXPECT_TRUE(header->isEnabled());
        }

        // Unticking gives the choice back to the user.
        if (rig.ChkP()->isChecked()) {
            rig.ChkP()->click();
        }
        EXPECT_TRUE(header->isEnabled());
        EXPECT_TRUE(protocol->isEnabled());

        rig.Form.SetReplayForm(false);
        EXPECT_EQ(rig.Button("ButtonRun")->text(), QStringLiteral("Connect"));
        EXPECT_TRUE(rig.ChkP()->isHidden());
    }
}

} // namespace
} // namespace zz
