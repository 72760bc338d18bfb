#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

#include "core/RawLogMarker.h"

namespace zz {
namespace {

TEST(RawLogMarker, EveryHeaderHasA33ByteLineThatReadsBack)
{
    const char* names[kHeaderCount] = {"GGA", "RMC", "GLL", "ROT", "GSA", "VTG", "GSV", "ZDA"};
    for (int i = 0; i < kHeaderCount; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(HeaderName(i), nullptr);
        EXPECT_STREQ(HeaderName(i), names[i]);
        const std::string_view line = MarkerLine(i);
        ASSERT_EQ(line.size(), kMarkerLineSize);
        EXPECT_EQ(line, "@@Header of NMEA cycle -> " + std::string(names[i]) + "@@\r\n");

        EXPECT_EQ(ReplayReferenceFromHead(line.data(), line.size()), i);
        EXPECT_EQ(ReplayReferenceFromHead(line.data(), kMarkerTextSize), i);
        // A raw log goes on with the received bytes after its marker.
        const std::string file = std::string(line) + "$GPGGA,123519,4807.038,N";
        EXPECT_EQ(ReplayReferenceFromHead(file.data(), file.size()), i);
    }
}

TEST(RawLogMarker, NoMarkerForAnIndexOutsideTheHeaders)
{
    for (int index : {-1, kHeaderCount, kNoReplayReference}) {
        SCOPED_TRACE(index);
        EXPECT_TRUE(MarkerLine(index).empty());
        EXPECT_EQ(HeaderName(index), nullptr);
    }
}

TEST(RawLogMarker, AnythingButAnExactMarkerTextGivesNoReference)
{
    const std::string gsv(MarkerLine(6).substr(0, kMarkerTextSize));
    std::string lower = gsv;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    std::string oneOff = gsv;
    oneOff[kMarkerTextSize - 1] = '#';
    const std::string heads[] = {
        lower,
        oneOff,
        "@@Header of NMEA cycle -> XYZ@@\r\n",
        "@@Header of NMEA cycle -> GS@@\r\n",
        " " + gsv,
        "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n",
        "",
    };
    for (const std::string& head : heads) {
        SCOPED_TRACE(head);
        EXPECT_EQ(ReplayReferenceFromHead(head.data(), head.size()), kNoReplayReference);
    }
    // Fewer than 31 bytes: even a true beginning of a marker does not count.
    EXPECT_EQ(ReplayReferenceFromHead(gsv.data(), kMarkerTextSize - 1), kNoReplayReference);
}

} // namespace
} // namespace zz
