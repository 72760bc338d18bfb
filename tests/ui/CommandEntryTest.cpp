#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/TKeptValues.h"
#include "ui/main/CommandEntry.h"
#include "ui/main/TCommandHistory.h"

namespace zz {
namespace {

TEST(CommandEntry, HexCommandsNeedPairsOfHexDigits)
{
    const struct
    {
        const char* Text;
        bool Expected;
    } cases[] = {
        {"", true},       {"C18080C1CA", true}, {"c18080", true}, {"0123456789abcdefABCDEF", true},
        {"C1808", false}, {"C18G", false},      {"C1 80", false}, {"$DIRU", false},
        {"0x", false},    {"ff\r", false},      {"g0", false},    {"@0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(IsHexCommand(c.Text), c.Expected);
    }
}

TEST(CommandEntry, BinaryProtocolLetsOnlyHexDigitsAndEditingKeysThrough)
{
    const struct
    {
        char16_t Character;
        bool KeptInBinary;
    } cases[] = {
        {u'0', true},  {u'9', true},  {u'a', true},  {u'f', true},  {u'A', true},  {u'F', true},
        {8, true},     {26, true},    {24, true},    {3, true},     {22, true},    {u'g', false},
        {u'G', false}, {u'Z', false}, {u'$', false}, {u' ', false}, {u',', false}, {1, false},
        {27, false},   {u'/', false}, {u':', false}, {u'@', false}, {u'`', false}, {0xff10, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "character " << static_cast<int>(c.Character));
        EXPECT_EQ(KeepsTypedCharacter(c.Character, TProtocol::Binary), c.KeptInBinary);
        EXPECT_TRUE(KeepsTypedCharacter(c.Character, TProtocol::Nmea));
    }
}

// The history as the command line shows it: slots 1 upwards, up to the first empty one.
std::vector<std::string> Entries(const TCommandHistory& history)
{
    std::vector<std::string> entries;
    for (int32_t slot = 1; slot <= TCommandHistory::kDepth && !history.Slot(slot).empty(); ++slot) {
        entries.push_back(history.Slot(slot));
    }
    return entries;
}

TEST(CommandHistory, PushMovesToFrontWithoutDuplicates)
{
    const struct
    {
        const char* What;
        std::vector<std::string> Pushed;
        std::vector<std::string> Expected;
    } cases[] = {
        {"newest first", {"A", "B", "C"}, {"C", "B", "A"}},
        {"repeat moves to front", {"A", "B", "A"}, {"A", "B"}},
        {"repeat of newest", {"A", "B", "B"}, {"B", "A"}},
        {"repeat from the middle", {"A", "B", "C", "D", "B"}, {"B", "D", "C", "A"}},
        {"case counts", {"a", "A"}, {"A", "a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TCommandHistory history;
        for (const std::string& text : c.Pushed) {
            history.PushHistory(text);
        }
        EXPECT_EQ(Entries(history), c.Expected);
    }
}

TEST(CommandHistory, KeepsTheNewestThirtyAndTellsWhetherATextWasNew)
{
    TCommandHistory history;
    for (int command = 1; command <= 31; ++command) {
        EXPECT_TRUE(history.PushHistory("cmd" + std::to_string(command)));
    }
    const std::vector<std::string> entries = Entries(history);
    ASSERT_EQ(entries.size(), 30u);
    EXPECT_EQ(entries.front(), "cmd31");
    EXPECT_EQ(entries.back(), "cmd2");

    // The oldest one kept comes back to the front and nothing drops out.
    EXPECT_FALSE(history.PushHistory("cmd2"));
    EXPECT_EQ(history.Slot(1), "cmd2");
    EXPECT_EQ(history.Slot(30), "cmd3");
    EXPECT_EQ(Entries(history).size(), 30u);
}

TEST(CommandHistory, BrowsingWalksOlderAndBackToTheTypedText)
{
    // Each step: 'u' (older) or 'd' (newer), with the text it must show, or none for no change.
    constexpr std::nullopt_t kStays = std::nullopt;
    const struct
    {
        const char* What;
        std::vector<std::string> Pushed;
        std::string Typing;
        std::vector<std::pair<char, std::optional<std::string>>> Steps;
        int32_t FinalIndex;
    } cases[] = {
        {"empty history", {}, "typing", {{'u', kStays}, {'d', kStays}}, 0},
        {"up then down returns the typing", {"A"}, "typing", {{'u', "A"}, {'d', "typing"}}, 0},
        {"stops at the oldest", {"A", "B"}, "x", {{'u', "B"}, {'u', "A"}, {'u', kStays}}, 2},
        {"down at the typing does nothing", {"A"}, "x", {{'d', kStays}, {'u', "A"}}, 1},
        {"walks both ways",
         {"A", "B", "C"},
         "",
         {{'u', "C"},
          {'u', "B"},
          {'d', "C"},
          {'u', "B"},
          {'u', "A"},
          {'d', "B"},
          {'d', "C"},
          {'d', ""},
          {'d', kStays}},
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TCommandHistory history;
        for (const std::string& text : c.Pushed) {
            history.PushHistory(text);
        }
        for (size_t step = 0; step < c.Steps.size(); ++step) {
            SCOPED_TRACE(testing::Message() << "step " << step);
            const auto& [direction, expected] = c.Steps[step];
            const std::optional<std::string> shown =
                direction == 'u' ? history.BrowseOlder(c.Typing) : history.BrowseNewer();
            EXPECT_EQ(shown, expected);
        }
        EXPECT_EQ(history.Index(), c.FinalIndex);
    }
}

TEST(CommandHistory, ThirtySlotsCanBeBrowsed)
{
    TCommandHistory history;
    for (int command = 1; command <= 35; ++command) {
        history.PushHistory("cmd" + std::to_string(command));
    }
    std::optional<std::string> shown;
    for (int step = 0; step < TCommandHistory::kDepth; ++step) {
        shown = history.BrowseOlder("");
        ASSERT_TRUE(shown.has_value()) << "step " << step;
    }
    EXPECT_EQ(shown, "cmd6");
    EXPECT_EQ(history.Index(), TCommandHistory::kDepth);
    EXPECT_EQ(history.BrowseOlder(""), std::nullopt);
}

TEST(CommandHistory, TypedTextIsTakenOnlyWhenBrowsingStarts)
{
    TCommandHistory history;
    history.PushHistory("A");
    history.PushHistory("B");
    ASSERT_EQ(history.BrowseOlder("first"), "B");
    // Text handed over while already browsing is what the line shows, not the user's own.
    ASSERT_EQ(history.BrowseOlder("B"), "A");
    ASSERT_EQ(history.BrowseNewer(), "B");
    EXPECT_EQ(history.BrowseNewer(), "first");
}

} // namespace
} // namespace zz
