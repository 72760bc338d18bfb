#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "BinaryFrames.h"

namespace zz::test {
namespace {

class BinarySend : public BinaryEngineTest
{
protected:
    void SetUp() override { Engine->SetPort(&Port); }

    bool Send(std::string_view text, bool withChecksum)
    {
        return withChecksum ? Engine->SendWithChecksum(text.data(), text.size())
                            : Engine->SendText(text.data(), text.size());
    }

    std::string LastCommand()
    {
        static char buffer[kLastCommandSize];
        Engine->CopyLastCommand(buffer);
        return buffer;
    }

    RecordingSink Port;
};

std::string Wire(std::initializer_list<uint8_t> bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(BinarySend, HexTextBecomesBytesWithOptionalCheckAndEndByte)
{
    struct Case
    {
        const char* text;
        bool withChecksum;
        std::string wire;
        const char* lastCommand;
    };
    const Case cases[] = {
        {"C18080", true, Wire({0xC1, 0x80, 0x80, 0xC1, 0xCA}), "C18080C1CA"},
        {"C18080C1CA", false, Wire({0xC1, 0x80, 0x80, 0xC1, 0xCA}), "C18080C1CA"},
        {"c18080c1ca", false, Wire({0xC1, 0x80, 0x80, 0xC1, 0xCA}), "C18080C1CA"},
        // The end byte comes from the first character, whatever its case.
        {"d0", true, Wire({0xD0, 0xD0, 0xDA}), "D0D0DA"},
        {"e1Ff", true, Wire({0xE1, 0xFF, 0x1E, 0xEA}), "E1FF1EEA"},
        {"A5", true, Wire({0xA5, 0xA5, 0xAA}), "A5A5AA"},
        // For a digit the rule is the same: character code * 16 - 102, in 8 bits.
        {"00", true, Wire({0x00, 0x00, 0x9A}), "00009A"},
        {"9f", true, Wire({0x9F, 0x9F, 0x2A}), "9F9F2A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Port.Bytes.clear();
        EXPECT_TRUE(Send(c.text, c.withChecksum));
        EXPECT_EQ(Port.Bytes, c.wire);
        EXPECT_EQ(LastCommand(), c.lastCommand);
    }
}

TEST_F(BinarySend, TextsThatAreNotWholeHexBytesAreRefusedUnsent)
{
    struct Case
    {
        const char* what;
        const char* text;
        bool withChecksum;
    };
    const Case cases[] = {
        {"odd length", "C1808", false},
        {"odd length, with checksum", "C1808", true},
        {"letter beyond F", "C1G0", false},
        {"letter beyond f, with checksum", "c1g0", true},
        {"space", "C1 80", false},
        {"character just past 9", "C1:0", true},
        {"character just before A", "@1", false},
        {"empty, with checksum", "", true},
    };
    ASSERT_TRUE(Send("C18080", true));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Port.Bytes.clear();
        EXPECT_FALSE(Send(c.text, c.withChecksum));
        EXPECT_EQ(Port.Bytes, "");
        EXPECT_EQ(LastCommand(), "C18080C1CA");
    }
}

TEST_F(BinarySend, EmptyTextSendsNothingButIsKept)
{
    ASSERT_TRUE(Send("C18080", true));
    Port.Bytes.clear();
    EXPECT_TRUE(Send("", false));
    EXPECT_EQ(Port.Bytes, "");
    EXPECT_EQ(LastCommand(), "");
}

TEST_F(BinarySend, WithoutAPortTheCommandIsStillKept)
{
    Engine->SetPort(nullptr);
    EXPECT_TRUE(Send("c18180c0ca", false));
    EXPECT_EQ(LastCommand(), "C18180C0CA");
    EXPECT_EQ(Port.Bytes, "");
}

TEST_F(BinarySend, LongCommandIsSentWholeAndKeptCut)
{
    const std::string text(2 * (kLastCommandSize / 2), 'a');
    EXPECT_TRUE(Send(text, true));
    EXPECT_EQ(Port.Bytes.size(), text.size() / 2 + 2);
    EXPECT_EQ(LastCommand(), std::string(kLastCommandSize - 1, 'A'));
}

} // namespace
} // namespace zz::test
