#include <gtest/gtest.h>

#include "core/CommandRules.h"
#include "core/TKeptValues.h"

namespace zz {
namespace {

TEST(CommandRules, ClearCommandsArmTheMeasurementByProtocol)
{
    struct Case
    {
        const char* LastCommand;
        int Protocol;
        bool Clear;
    };
    const Case cases[] = {
        {"$DIRU,GPclr,1", ProtocolNmea, true},
        {"$DIRU,GPclr,5", ProtocolNmea, true},
        {"$DIRU,GPclr,6", ProtocolNmea, false},
        {"$DIRU,GPclr,0", ProtocolNmea, false},
        {"$DIRU,GPclr,1 ", ProtocolNmea, false},
        {"$DIRU,GPclr,13", ProtocolNmea, false},
        {"$diru,gpclr,1", ProtocolNmea, false},
        {"$DIRU,GPclr,1", ProtocolBinary, false},
        {"C18080C1CA", ProtocolBinary, true},
        {"C18380C2CA", ProtocolBinary, true},
        {"C18280C3CAFF", ProtocolBinary, true}, // only the head counts
        {"C18480C5CA", ProtocolBinary, false},
        {"C18080C1C", ProtocolBinary, false},
        {"C18080C1CA", ProtocolNmea, false},
        {"", ProtocolNmea, false},
        {"", ProtocolBinary, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.LastCommand) + " protocol " + std::to_string(c.Protocol));
        EXPECT_EQ(IsClearCommand(c.LastCommand, c.Protocol), c.Clear);
    }
}

} // namespace
} // namespace zz
