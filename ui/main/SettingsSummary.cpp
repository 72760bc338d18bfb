#include "ui/main/SettingsSummary.h"

#include <string_view>
#include <vector>

#include "core/TKeptValues.h"

namespace zz {
namespace {

constexpr std::string_view kDisconnectedPort = "Disconnect";

// Lines of the summary; a label that ends in a colon carries the blank after it.
class TLines
{
public:
    void Add(std::string_view label, std::string_view value = {})
    {
        std::string line(label);
        line += value;
        Lines.push_back(std::move(line));
    }

    std::string Joined() const
    {
        std::string text;
        for (const std::string& line : Lines) {
            if (&line != &Lines.front()) {
                text += '\n';
            }
            text += line;
        }
        return text;
    }

private:
    std::vector<std::string> Lines;
};

void AddNmeaBlock(TLines& lines, const TSummaryItems& items)
{
    lines.Add("");
    lines.Add("Header of NMEA cycle\t\t: ", items.Header);
    lines.Add("");
    lines.Add("Reference NMEA");
    lines.Add("Latitude,Longitude,Fix status      \t: ", items.LFref);
    lines.Add("Altitude,Using SVs(Total number)\t: ", items.ASref);
    lines.Add("Date Time     \t\t\t: ", items.UTref);
    lines.Add("2D/3D status,DOP,Using SVs(PRN)\t: ", items.DDref);
    lines.Add("PRN,Elevation,Azimuth,C/N0\t\t: ", items.SAref);
    lines.Add("Velocity,Direction\t\t\t: ", items.VDref);
    lines.Add("Rate of turn\t\t\t: ", items.ROref);
    lines.Add("SV accuracy\t\t\t: ", items.ACref);
    lines.Add("Program ver.\t\t\t: ", items.TSref);
}

// The message codes that feed each group of values; the binary protocol has no rate of turn.
void AddBinaryBlock(TLines& lines)
{
    lines.Add("");
    lines.Add("Header of RIRBinary cycle\t\t: ", "E0");
    lines.Add("");
    lines.Add("Reference RIRBinary");
    lines.Add("Latitude,Longitude,Fix status      \t: ", "E0");
    lines.Add("Altitude,Using SVs(Total number)\t: ", "E0");
    lines.Add("Date Time     \t\t\t: ", "E1");
    lines.Add("2D/3D status\t\t\t: ", "E0");
    lines.Add("DOP\t\t\t\t: ", "E3");
    lines.Add("Using SVs(PRN)\t\t\t: ", "E2");
    lines.Add("PRN,Elevation,Azimuth,C/N0\t\t: ", "E2");
    lines.Add("Velocity,Direction\t\t\t: ", "E0");
    lines.Add("SV accuracy\t\t\t: ", "E2");
    lines.Add("Program ver.\t\t\t: ", "D3");
}

} // namespace

std::optional<std::string> SettingsSummaryText(TSummaryVariant variant, const TSummaryItems& items,
                                               const TSummaryConnection& connection)
{
    if (items.ProtocolIndex != ChoiceIndex(TProtocol::Nmea) &&
        items.ProtocolIndex != ChoiceIndex(TProtocol::Binary)) {
        return std::nullopt;
    }
    TLines lines;
    if (variant == TSummaryVariant::Live) {
        lines.Add("Port setting");
        lines.Add("COM Port\t\t\t\t: ", connection.Connected ? connection.Port : kDisconnectedPort);
        lines.Add("Baud rate   \t\t\t: ", items.BaudRate);
        lines.Add("Data bits\t\t\t\t: ", items.DataBits);
        lines.Add("Stop bits\t\t\t\t: ", items.StopBits);
        lines.Add("Parity\t\t\t\t: ", items.Parity);
        lines.Add("Protocol\t\t\t\t: ",
                  connection.Connected ? connection.Protocol : items.Protocol);
    } else {
        lines.Add("Protocol\t\t\t\t: ", items.Protocol);
    }
    if (items.ProtocolIndex == ChoiceIndex(TProtocol::Nmea)) {
        AddNmeaBlock(lines, items);
    } else {
        AddBinaryBlock(lines);
    }
    return lines.Joined();
}

} // namespace zz
