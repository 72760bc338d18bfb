#include <gtest/gtest.h>

#include <string>

#include "tests/core/NmeaEngineFixture.h"

namespace zz::test {
namespace {

class NmeaSend : public NmeaEngineFixture
{
public:
    NmeaSend() { Engine->SetPort(&Port); }

    bool SendText(const std::string& text) { return Engine->SendText(text.data(), text.size()); }
    bool SendWithChecksum(const std::string& text)
    {
        return Engine->SendWithChecksum(text.data(), text.size());
    }
    std::string LastCommand()
    {
        std::string buffer(kLastCommandSize, '\0');
        Engine->CopyLastCommand(buffer.data());
        return buffer.c_str();
    }

    RecordingSink Port;
};

TEST_F(NmeaSend, WithChecksumAddsStarDigitsAndLineEnd)
{
    EXPECT_TRUE(SendWithChecksum("$DIRU,GPclr,1"));
    EXPECT_EQ(Port.Bytes, "$DIRU,GPclr,1*51\r\n");
    EXPECT_EQ(LastCommand(), "$DIRU,GPclr,1");

    // The checksum digits are upper case.
    EXPECT_TRUE(SendWithChecksum("$DIRU,GPhot,1"));
    EXPECT_EQ(Port.Bytes.substr(Port.Bytes.size() - 5), "*5F\r\n");
}

TEST_F(NmeaSend, WithChecksumOfAnEmptyTextSendsAZeroChecksum)
{
    SendText("$DIRU,GPclr,1");
    Port.Bytes.clear();
    EXPECT_TRUE(SendWithChecksum(""));
    EXPECT_EQ(Port.Bytes, "*00\r\n");
    EXPECT_EQ(LastCommand(), "");
}

TEST_F(NmeaSend, TextGoesAsTypedAndItsStartIsKept)
{
    struct Case
    {
        std::string Text;
        std::string Kept;
    };
    const Case cases[] = {
        {"$PXYZ,0123456789ABCD", "$PXYZ,01234567"},
        {"$DIRU,GPclr,1", "$DIRU,GPclr,1"},
        {"$DIRU,GPclr,12", "$DIRU,GPclr,12"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        Port.Bytes.clear();
        EXPECT_TRUE(SendText(c.Text));
        EXPECT_EQ(Port.Bytes, c.Text + "\r\n");
        EXPECT_EQ(LastCommand(), c.Kept);
    }
}

TEST_F(NmeaSend, WithoutAPortNothingIsWrittenButTheCommandIsKept)
{
    Engine->SetPort(nullptr);
    EXPECT_TRUE(SendText("$DIRU,GPclr,1"));
    EXPECT_EQ(LastCommand(), "$DIRU,GPclr,1");
    EXPECT_TRUE(SendWithChecksum("$DIRU,GPhot,1"));
    EXPECT_EQ(LastCommand(), "$DIRU,GPhot,1");
    EXPECT_TRUE(Port.Bytes.empty());
}

} // namespace
} // namespace zz::test
