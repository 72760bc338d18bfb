// Every real capture runs through the NMEA engine; after each framed sentence the snapshot is
// checked against values computed here independently, with the C library's conversions, from
// the sentence text itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/TNmeaEngine.h"

namespace zz {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> SplitFields(const std::string& text)
{
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        fields.push_back(
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::string FieldOf(const std::vector<std::string>& fields, size_t n)
{
    return n < fields.size() ? fields[n] : std::string();
}

double Real(const std::string& text)
{
    return std::strtod(text.c_str(), nullptr);
}

int Int(const std::string& text)
{
    return std::atoi(text.c_str());
}

// Latitude or longitude as the receiver state keeps it, or nullopt when the text lacks it.
std::optional<double> Coordinate(const std::string& value, const std::string& hemisphere,
                                 size_t copyLength, char positive, char negative)
{
    if (value.empty() || hemisphere.empty()) {
        return std::nullopt;
    }
    const double magnitude = Real(value.substr(0, copyLength));
    if (hemisphere[0] == positive) {
        return magnitude;
    }
    if (hemisphere[0] == negative) {
        return -magnitude;
    }
    return std::nullopt;
}

// Collects every sentence with the snapshot taken right after it.
class CheckingHooks : public TProtocolHooks
{
public:
    void LinePut(const char* text, size_t count) override
    {
        Line.assign(text, count);
        Taken = Engine->TakeSnapshot(Snapshot);
        Check();
    }

    TProtocolEngine* Engine = nullptr;
    TPositionRef LFref = TPositionRef::GGA;
    int Checked = 0;

private:
    void Check()
    {
        const auto fields = SplitFields(Line);
        const std::string address = fields[0];
        SCOPED_TRACE(Line);
        if (address == "$GPGGA") {
            CheckGGA(fields);
        } else if (address == "$GPRMC") {
            CheckRMC(fields);
        } else if (address == "$GPGSA") {
            CheckGSA(fields);
        } else if (address == "$GPGSV") {
            CheckGSV(fields);
        }
    }

    void CheckPosition(const std::vector<std::string>& fields, size_t latitudeField)
    {
        const auto latitude = Coordinate(FieldOf(fields, latitudeField),
                                         FieldOf(fields, latitudeField + 1), 9, 'N', 'S');
        const auto longitude = Coordinate(FieldOf(fields, latitudeField + 2),
                                          FieldOf(fields, latitudeField + 3), 10, 'E', 'W');
        ASSERT_TRUE(Taken && Snapshot.PositionUpdated);
        if (latitude && longitude) {
            EXPECT_EQ(Snapshot.Latitude, *latitude);
            EXPECT_EQ(Snapshot.Longitude, *longitude);
            ++Checked;
        }
    }

    void CheckGGA(const std::vector<std::string>& fields)
    {
        if (fields.size() < 10) {
            return;
        }
        ASSERT_TRUE(Taken && Snapshot.AltitudeUpdated);
        if (!fields[9].empty()) {
            EXPECT_EQ(Snapshot.Altitude, Real(fields[9].substr(0, 8)));
        }
        if (!fields[7].empty()) {
            EXPECT_EQ(Snapshot.SatellitesUsed, Int(fields[7]));
        }
        if (LFref != TPositionRef::GGA) {
            EXPECT_FALSE(Snapshot.PositionUpdated);
            return;
        }
        CheckPosition(fields, 2);
        const char quality = fields[6].empty() ? '\0' : fields[6][0];
        const int expected = quality == '0'   ? 0
                             : quality == '1' ? 1
                             : quality == '2' ? 2
                             : quality == '6' ? 6
                                              : 128;
        EXPECT_EQ(Snapshot.FixQuality, expected);
    }

    void CheckRMC(const std::vector<std::string>& fields)
    {
        if (fields.size() < 10) {
            return;
        }
        ASSERT_TRUE(Taken && Snapshot.VelocityUpdated);
        EXPECT_EQ(Snapshot.Speed, fields[7].empty() ? NoValue : Real(fields[7]) * 1.852);
        EXPECT_EQ(Snapshot.Course, fields[8].empty() ? NoValue : Real(fields[8]));
        EXPECT_EQ(Snapshot.CourseReference, 0);
        if (LFref == TPositionRef::RMC) {
            CheckPosition(fields, 3);
            const char status = fields[2].empty() ? '\0' : fields[2][0];
            const int expected = status == 'V'   ? 0
                                 : status == 'A' ? 1
                                 : status == 'D' ? 2
                                 : status == 'E' ? 6
                                                 : 128;
            EXPECT_EQ(Snapshot.FixQuality, expected);
        }
    }

    void CheckGSA(const std::vector<std::string>& fields)
    {
        if (fields.size() < 18) {
            return;
        }
        ASSERT_TRUE(Taken && Snapshot.FixModeUpdated && Snapshot.DopUpdated &&
                    Snapshot.UsedPrnUpdated);
        const char mode = fields[2].empty() ? '\0' : fields[2][0];
        EXPECT_EQ(Snapshot.FixMode, mode >= '1' && mode <= '3' ? mode - '0' : 128);
        for (size_t i = 0; i < 12; ++i) {
            EXPECT_EQ(Snapshot.UsedPrn[i], fields[3 + i].empty() ? 0 : Int(fields[3 + i]));
        }
        const auto dop = [](const std::string& text) {
            return text.empty() || text[0] == '*' ? NoValue : Real(text.substr(0, 5));
        };
        EXPECT_EQ(Snapshot.Pdop, dop(fields[15]));
        EXPECT_EQ(Snapshot.Hdop, dop(fields[16]));
        EXPECT_EQ(Snapshot.Vdop, dop(fields[17].substr(0, fields[17].find('*'))));
        ++Checked;
    }

    // Follows a set from its first sentence; a set whose first sentence was not seen is skipped.
    void CheckGSV(const std::vector<std::string>& fields)
    {
        if (fields.size() < 4) {
            return;
        }
        const int number = Int(fields[2]);
        if (number == 1) {
            SetCount = Int(fields[1]);
            SetTotal = Int(fields[3]);
            SetPrns.clear();
            InSet = true;
        } else if (!InSet) {
            return;
        }
        for (int k = 0; k < 4 && (number - 1) * 4 + k < SetTotal; ++k) {
            if (SetCount == 0) {
                break;
            }
            SetPrns.push_back(Int(FieldOf(fields, static_cast<size_t>(4 + 4 * k))));
        }
        if (number != SetCount) {
            return;
        }
        InSet = false;
        ASSERT_TRUE(Taken && Snapshot.SatellitesUpdated);
        EXPECT_EQ(Snapshot.SatellitesInView, SetTotal);
        const size_t stored = std::min<size_t>(SetPrns.size(), kSatSlots);
        for (size_t i = 0; i < stored; ++i) {
            EXPECT_EQ(Snapshot.SatPrn[i], SetPrns[i]) << "entry " << i;
        }
        ++Checked;
    }

    std::string Line;
    TReceiverState Snapshot{};
    bool Taken = false;
    bool InSet = false;
    int SetCount = 0;
    int SetTotal = 0;
    std::vector<int> SetPrns;
};

std::vector<fs::path> Captures()
{
    std::vector<fs::path> files;
    const fs::path dir = fs::path(ZZ_TEST_DATA_DIR) / "captures";
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.path().extension() == ".nmea") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(RealCaptures, EveryGpSentenceYieldsTheValuesOfItsText)
{
    const auto files = Captures();
    ASSERT_GE(files.size(), 30u);
    int checkedInAll = 0;
    for (const TPositionRef lfref : {TPositionRef::GGA, TPositionRef::RMC}) {
        for (const auto& path : files) {
            SCOPED_TRACE(path.filename().string() + " LFref " + std::to_string(ChoiceIndex(lfref)));
            TControlFlags flags;
            TKeptValues kept;
            kept.LFref = lfref;
            CheckingHooks hooks;
            hooks.LFref = lfref;
            auto engine = std::make_unique<TNmeaEngine>(flags, kept, hooks);
            hooks.Engine = engine.get();
            const std::string bytes = ReadFile(path);
            // Uneven chunks, as a serial port hands them over.
            size_t offset = 0;
            for (size_t step = 1; offset < bytes.size(); step = step % 97 + 13) {
                const size_t count = std::min(step, bytes.size() - offset);
                engine->ReceiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()) + offset,
                                     count);
                offset += count;
            }
            checkedInAll += hooks.Checked;
        }
    }
    EXPECT_GT(checkedInAll, 3000) << checkedInAll;
}

} // namespace
} // namespace zz
