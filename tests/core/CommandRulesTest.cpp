#include <gtest/gtest.h>

#include <string_view>

#include "core/CommandRules.h"
#include "core/ReceiverSettings.h"

namespace zz {
namespace {

TEST(CommandRules, ClearCommandsDependOnTheSelectedProtocol)
{
    // A value that names neither protocol.
    constexpr TProtocol kNoProtocol = static_cast<TProtocol>(2);
    const struct
    {
        TProtocol Protocol;
        const char* LastCommand;
        bool Expected;
    } cases[] = {
        {TProtocol::Nmea, "$DIRU,GPclr,1", true},     {TProtocol::Nmea, "$DIRU,GPclr,3", true},
        {TProtocol::Nmea, "$DIRU,GPclr,5", true},     {TProtocol::Nmea, "$DIRU,GPclr,0", false},
        {TProtocol::Nmea, "$DIRU,GPclr,6", false},    {TProtocol::Nmea, "$DIRU,GPclr,1,", false},
        {TProtocol::Nmea, "$DIRU,GPclr,1*2A", false}, {TProtocol::Nmea, "$diru,gpclr,1", false},
        {TProtocol::Nmea, "$DIRU,GPclr,", false},     {TProtocol::Nmea, "", false},
        {TProtocol::Nmea, "C18080C1CA", false},       {TProtocol::Binary, "C18080C1CA", true},
        {TProtocol::Binary, "C18180C0CA", true},      {TProtocol::Binary, "C18280C3CA", true},
        {TProtocol::Binary, "C18380C2CA", true},      {TProtocol::Binary, "C18080C1CA00FF", true},
        {TProtocol::Binary, "C18480C5CA", false},     {TProtocol::Binary, "C18080C1C", false},
        {TProtocol::Binary, "c18080c1ca", false},     {TProtocol::Binary, "$DIRU,GPclr,1", false},
        {kNoProtocol, "$DIRU,GPclr,1", false},        {kNoProtocol, "C18080C1CA", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << ChoiceIndex(c.Protocol) << " " << c.LastCommand);
        EXPECT_EQ(IsClearCommand(c.LastCommand, c.Protocol), c.Expected);
    }
}

TEST(CommandRules, PresetRestartsAreTheClearCommandsInTheirOrder)
{
    const struct
    {
        TProtocol Protocol;
        int Number;
        const char* Command; // null: no such preset
    } cases[] = {
        {TProtocol::Nmea, 1, "$DIRU,GPclr,1"}, {TProtocol::Nmea, 5, "$DIRU,GPclr,5"},
        {TProtocol::Nmea, 0, nullptr},         {TProtocol::Nmea, 6, nullptr},
        {TProtocol::Binary, 1, "C18080C1CA"},  {TProtocol::Binary, 3, "C18280C3CA"},
        {TProtocol::Binary, 4, "C18380C2CA"},  {TProtocol::Binary, 5, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << ChoiceIndex(c.Protocol) << " " << c.Number);
        const auto command = PresetRestartCommand(c.Protocol, c.Number);
        ASSERT_EQ(command.has_value(), c.Command != nullptr);
        if (command) {
            EXPECT_EQ(*command, c.Command);
            // Sent as it stands (binary) or with its checksum (NMEA), each arms the measurement.
            EXPECT_TRUE(IsClearCommand(*command, c.Protocol));
        }
    }
}

} // namespace
} // namespace zz
