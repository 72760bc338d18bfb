#include <gtest/gtest.h>

#include <string_view>

#include "core/CommandRules.h"
#include "core/TKeptValues.h"

namespace zz {
namespace {

TEST(CommandRules, ClearCommandsDependOnTheSelectedProtocol)
{
    const struct
    {
        int Protocol;
        const char* LastCommand;
        bool Expected;
    } cases[] = {
        {ProtocolNmea, "$DIRU,GPclr,1", true},
        {ProtocolNmea, "$DIRU,GPclr,3", true},
        {ProtocolNmea, "$DIRU,GPclr,5", true},
        {ProtocolNmea, "$DIRU,GPclr,0", false},
        {ProtocolNmea, "$DIRU,GPclr,6", false},
        {ProtocolNmea, "$DIRU,GPclr,1,", false},
        {ProtocolNmea, "$DIRU,GPclr,1*2A", false},
        {ProtocolNmea, "$diru,gpclr,1", false},
        {ProtocolNmea, "$DIRU,GPclr,", false},
        {ProtocolNmea, "", false},
        {ProtocolNmea, "C18080C1CA", false},
        {ProtocolBinary, "C18080C1CA", true},
        {ProtocolBinary, "C18180C0CA", true},
        {ProtocolBinary, "C18280C3CA", true},
        {ProtocolBinary, "C18380C2CA", true},
        {ProtocolBinary, "C18080C1CA00FF", true},
        {ProtocolBinary, "C18480C5CA", false},
        {ProtocolBinary, "C18080C1C", false},
        {ProtocolBinary, "c18080c1ca", false},
        {ProtocolBinary, "$DIRU,GPclr,1", false},
        {2, "$DIRU,GPclr,1", false},
        {2, "C18080C1CA", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Protocol << " " << c.LastCommand);
        EXPECT_EQ(IsClearCommand(c.LastCommand, c.Protocol), c.Expected);
    }
}

} // namespace
} // namespace zz
