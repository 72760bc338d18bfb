#include <gtest/gtest.h>

#include <QComboBox>
#include <QRadioButton>
#include <string>

#include "FakeUserDialogs.h"
#include "core/TControlFlags.h"
#include "core/TKeptValues.h"
#include "ui/main/SettingsSummary.h"
#include "ui/main/TFormPort.h"
#include "ui/main/TRadioGroup.h"

namespace zz {
namespace {

// The NMEA block with the dialog's first item in each group.
const std::string kNmeaBlockAtDefaults = "\n"
                                         "Header of NMEA cycle\t\t: GGA\n"
                                         "\n"
                                         "Reference NMEA\n"
                                         "Latitude,Longitude,Fix status      \t: GGA\n"
                                         "Altitude,Using SVs(Total number)\t: GGA\n"
                                         "Date Time     \t\t\t: ZDA\n"
                                         "2D/3D status,DOP,Using SVs(PRN)\t: GSA\n"
                                         "PRN,Elevation,Azimuth,C/N0\t\t: GSV\n"
                                         "Velocity,Direction\t\t\t: RMC\n"
                                         "Rate of turn\t\t\t: ROT\n"
                                         "SV accuracy\t\t\t: acc\n"
                                         "Program ver.\t\t\t: tst";

const std::string kBinaryBlock = "\n"
                                 "Header of RIRBinary cycle\t\t: E0\n"
                                 "\n"
                                 "Reference RIRBinary\n"
                                 "Latitude,Longitude,Fix status      \t: E0\n"
                                 "Altitude,Using SVs(Total number)\t: E0\n"
                                 "Date Time     \t\t\t: E1\n"
                                 "2D/3D status\t\t\t: E0\n"
                                 "DOP\t\t\t\t: E3\n"
                                 "Using SVs(PRN)\t\t\t: E2\n"
                                 "PRN,Elevation,Azimuth,C/N0\t\t: E2\n"
                                 "Velocity,Direction\t\t\t: E0\n"
                                 "SV accuracy\t\t\t: E2\n"
                                 "Program ver.\t\t\t: D3";

// The receiver setting dialog with nothing around it.
class PortDialog
{
public:
    PortDialog()
        : Form(Flags, Dialogs,
               {[] { return false; }, [] { return std::vector<std::string>{"/dev/ttyUSB0"}; }})
    {
    }

    template <typename T> T* Find(const char* name)
    {
        T* widget = Form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    TControlFlags Flags;
    test::TFakeUserDialogs Dialogs;
    TFormPort Form;
};

TSummaryItems NmeaItemsAtDefaults()
{
    TSummaryItems items;
    items.BaudRate = "9600";
    items.DataBits = "8";
    items.StopBits = "1";
    items.Parity = "None";
    items.ProtocolIndex = 0;
    items.Protocol = "NMEA";
    items.Header = "GGA";
    items.LFref = "GGA";
    items.ASref = "GGA";
    items.UTref = "ZDA";
    items.DDref = "GSA";
    items.SAref = "GSV";
    items.VDref = "RMC";
    items.ROref = "ROT";
    items.ACref = "acc";
    items.TSref = "tst";
    return items;
}

TSummaryItems BinaryItems()
{
    TSummaryItems items = NmeaItemsAtDefaults();
    items.BaudRate = "115200";
    items.Parity = "Even";
    items.ProtocolIndex = 1;
    items.Protocol = "RIRBinary";
    return items;
}

TEST(SettingsSummary, LiveTextOfTheDialogAtItsDefaultsWhileDisconnected)
{
    PortDialog dialog;
    const std::optional<std::string> text =
        SettingsSummaryText(TSummaryVariant::Live, dialog.Form.SummaryItems(), {});
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, "Port setting\n"
                     "COM Port\t\t\t\t: Disconnect\n"
                     "Baud rate   \t\t\t: 9600\n"
                     "Data bits\t\t\t\t: 8\n"
                     "Stop bits\t\t\t\t: 1\n"
                     "Parity\t\t\t\t: None\n"
                     "Protocol\t\t\t\t: NMEA\n" +
                         kNmeaBlockAtDefaults);
}

TEST(SettingsSummary, TextsByVariantProtocolAndConnection)
{
    const TSummaryConnection disconnected;
    const struct
    {
        const char* What;
        TSummaryVariant Variant;
        TSummaryItems Items;
        TSummaryConnection Connection;
        std::string Expected;
    } cases[] = {
        {"live, RIRBinary, connected",
         TSummaryVariant::Live,
         BinaryItems(),
         {true, "/dev/ttyUSB1", "RIRBinary"},
         "Port setting\n"
         "COM Port\t\t\t\t: /dev/ttyUSB1\n"
         "Baud rate   \t\t\t: 115200\n"
         "Data bits\t\t\t\t: 8\n"
         "Stop bits\t\t\t\t: 1\n"
         "Parity\t\t\t\t: Even\n"
         "Protocol\t\t\t\t: RIRBinary\n" +
             kBinaryBlock},
        {"live, RIRBinary selected, disconnected: the port recorded last is not named",
         TSummaryVariant::Live,
         BinaryItems(),
         {false, "/dev/ttyUSB1", "NMEA"},
         "Port setting\n"
         "COM Port\t\t\t\t: Disconnect\n"
         "Baud rate   \t\t\t: 115200\n"
         "Data bits\t\t\t\t: 8\n"
         "Stop bits\t\t\t\t: 1\n"
         "Parity\t\t\t\t: Even\n"
         "Protocol\t\t\t\t: RIRBinary\n" +
             kBinaryBlock},
        {"live, port path holding the protocol names",
         TSummaryVariant::Live,
         NmeaItemsAtDefaults(),
         {true, "/dev/serial/by-id/usb-NMEA_Disconnect-if00 : x", "NMEA"},
         "Port setting\n"
         "COM Port\t\t\t\t: /dev/serial/by-id/usb-NMEA_Disconnect-if00 : x\n"
         "Baud rate   \t\t\t: 9600\n"
         "Data bits\t\t\t\t: 8\n"
         "Stop bits\t\t\t\t: 1\n"
         "Parity\t\t\t\t: None\n"
         "Protocol\t\t\t\t: NMEA\n" +
             kNmeaBlockAtDefaults},
        {"replay, NMEA", TSummaryVariant::Replay, NmeaItemsAtDefaults(), disconnected,
         "Protocol\t\t\t\t: NMEA\n" + kNmeaBlockAtDefaults},
        {"replay, RIRBinary, whatever the connection says",
         TSummaryVariant::Replay,
         BinaryItems(),
         {true, "/dev/ttyUSB1", "NMEA"},
         "Protocol\t\t\t\t: RIRBinary\n" + kBinaryBlock},
    };
    for (const auto& summary : cases) {
        SCOPED_TRACE(summary.What);
        const std::optional<std::string> text =
            SettingsSummaryText(summary.Variant, summary.Items, summary.Connection);
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, summary.Expected);
    }
}

TEST(SettingsSummary, BinaryBlockHasNoRateOfTurnAndEndsWithTheVersionCode)
{
    for (TSummaryVariant variant : {TSummaryVariant::Live, TSummaryVariant::Replay}) {
        const std::string text =
            SettingsSummaryText(variant, BinaryItems(), {true, "/dev/ttyS0", "RIRBinary"}).value();
        EXPECT_EQ(text.find("Rate of turn"), std::string::npos);
        const std::string last = "\nProgram ver.\t\t\t: D3";
        ASSERT_GE(text.size(), last.size());
        EXPECT_EQ(text.substr(text.size() - last.size()), last);
    }
}

TEST(SettingsSummary, NoTextWithoutAKnownProtocol)
{
    for (int index : {-1, 2}) {
        TSummaryItems items = NmeaItemsAtDefaults();
        items.ProtocolIndex = index;
        EXPECT_FALSE(SettingsSummaryText(TSummaryVariant::Live, items, {}).has_value()) << index;
        EXPECT_FALSE(SettingsSummaryText(TSummaryVariant::Replay, items, {}).has_value()) << index;
    }
}

TEST(SettingsSummary, DialogReportsItsSelectedItems)
{
    PortDialog dialog;
    dialog.Find<QComboBox>("ComboBoxBoudrate")->setCurrentIndex(6);
    dialog.Find<QComboBox>("ComboBoxBitlength")->setCurrentIndex(0);
    dialog.Find<QComboBox>("ComboBoxStopbit")->setCurrentIndex(1);
    dialog.Find<QComboBox>("ComboBoxParity")->setCurrentIndex(1);
    dialog.Find<QComboBox>("ComboBoxProtocol")->setCurrentIndex(1);
    dialog.Find<TRadioGroup>("HDref")->Button(6)->click();
    dialog.Find<TRadioGroup>("LFref")->Button(2)->click();
    dialog.Find<TRadioGroup>("SAref")->Button(1)->click();
    dialog.Find<TRadioGroup>("VDref")->Button(1)->click();

    const TSummaryItems items = dialog.Form.SummaryItems();
    EXPECT_EQ(items.BaudRate, "115200");
    EXPECT_EQ(items.DataBits, "7");
    EXPECT_EQ(items.StopBits, "1.5");
    EXPECT_EQ(items.Parity, "Odd");
    EXPECT_EQ(items.ProtocolIndex, 1);
    EXPECT_EQ(items.Protocol, "RIRBinary");
    EXPECT_EQ(items.Header, "GSV");
    EXPECT_EQ(items.LFref, "RMC");
    EXPECT_EQ(items.ASref, "GGA");
    EXPECT_EQ(items.UTref, "ZDA");
    EXPECT_EQ(items.DDref, "GSA");
    EXPECT_EQ(items.SAref, "GSV+wav");
    EXPECT_EQ(items.VDref, "VTG");
    EXPECT_EQ(items.ROref, "ROT");
    EXPECT_EQ(items.ACref, "acc");
    EXPECT_EQ(items.TSref, "tst");
}

} // namespace
} // namespace zz
