#pragma once

#include <optional>
#include <string>

namespace zz {

// The live summary starts with the serial line settings; the replay one, shown while a log is
// replayed, starts at the protocol.
enum class TSummaryVariant
{
    Live,
    Replay,
};

// The texts of the items selected in the receiver setting dialog's controls.
struct TSummaryItems
{
    std::string BaudRate, DataBits, StopBits, Parity;
    int ProtocolIndex = 0; // of ComboBoxProtocol: 0 NMEA, 1 RIRBinary
    std::string Protocol;  // its item text
    std::string Header;    // HDref
    std::string LFref, ASref, UTref, DDref, SAref, VDref, ROref, ACref, TSref;
};

// The port and protocol the live summary names, taken from the run itself. Connected: the
// port's name and the protocol in use ("NMEA" or "RIRBinary"); not connected, the port is named
// "Disconnect" and the protocol is the one selected in the dialog.
struct TSummaryConnection
{
    bool Connected = false;
    std::string Port;
    std::string Protocol;
};

// The tab-aligned text of "Show setting": lines joined by a line feed, none after the last.
// Nothing when the selected protocol index is neither NMEA nor RIRBinary.
std::optional<std::string> SettingsSummaryText(TSummaryVariant variant, const TSummaryItems& items,
                                               const TSummaryConnection& connection);

} // namespace zz
