#include "core/ReceiverSettings.h"

namespace zz {

std::string_view ProtocolName(TProtocol protocol)
{
    switch (protocol) {
    case TProtocol::Nmea:
        return "NMEA";
    case TProtocol::Binary:
        return "RIRBinary";
    }
    return {};
}

} // namespace zz
