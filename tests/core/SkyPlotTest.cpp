#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/SatelliteClass.h"
#include "core/SkyPlot.h"
#include "core/TReceiverState.h"
#include "tests/core/SatelliteTable.h"

namespace zz {
namespace {

using test::EmptyState;

struct TSlot
{
    int32_t Prn;
    int32_t Elevation;
    int32_t Azimuth;
    int32_t Cn0;
};

void SetSlot(TReceiverState& state, int slot, const TSlot& values)
{
    state.SatPrn[slot] = values.Prn;
    state.SatElevation[slot] = values.Elevation;
    state.SatAzimuth[slot] = values.Azimuth;
    state.SatCn0[slot] = values.Cn0;
}

TSlot Slot(const TReceiverState& state, int slot)
{
    return {state.SatPrn[slot], state.SatElevation[slot], state.SatAzimuth[slot],
            state.SatCn0[slot]};
}

std::string Describe(const TSlot& slot)
{
    return std::to_string(slot.Prn) + "/" + std::to_string(slot.Elevation) + "/" +
           std::to_string(slot.Azimuth) + "/" + std::to_string(slot.Cn0);
}

TEST(SkyPlot, PositionPutsZenithInTheCentreAndNorthUp)
{
    const struct
    {
        int32_t Elevation;
        int32_t Azimuth;
        double X;
        double Y;
    } cases[] = {
        {90, 0, 90.0, 90.0},
        {90, 217, 90.0, 90.0},
        {0, 0, 90.0, 180.0},
        {0, 90, 180.0, 90.0},
        {0, 180, 90.0, 0.0},
        {0, 270, 0.0, 90.0},
        {45, 90, 135.0, 90.0},
        {30, 30, 120.0, 90.0 + 60.0 * 0.86602540378443865},
        {60, 225, 90.0 - 30.0 * 0.70710678118654752, 90.0 - 30.0 * 0.70710678118654752},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "e=" << c.Elevation << " a=" << c.Azimuth);
        const TSkyPosition position = SkyPosition(c.Elevation, c.Azimuth);
        EXPECT_NEAR(position.X, c.X, 1e-9);
        EXPECT_NEAR(position.Y, c.Y, 1e-9);
    }
}

TEST(SkyPlot, DrawableWithinHorizonAndWholeCircle)
{
    const struct
    {
        int32_t Elevation;
        int32_t Azimuth;
        bool Drawable;
    } cases[] = {
        {0, 0, true},   {90, 359, true}, {45, 180, true}, {-1, 0, false},
        {91, 0, false}, {0, 360, false}, {0, -1, false},  {NoCode, 10, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "e=" << c.Elevation << " a=" << c.Azimuth);
        EXPECT_EQ(SkyDrawable(c.Elevation, c.Azimuth), c.Drawable);
    }
}

TEST(SkyPlot, ClassesAndColoursOfSlots)
{
    int32_t used[kSatSlots] = {5, 40, 0, 7};
    const struct
    {
        int32_t Prn;
        int32_t Cn0;
        bool HasClass;
        uint32_t Colour;
    } cases[] = {
        {5, 1, true, 0x00F020},   {5, 99, true, 0x00F020},  {6, 30, true, 0xFFE000},
        {6, 0, true, 0xFF3000},   {5, 0, true, 0xFF3000},   {40, 30, true, 0xB0FFB0},
        {41, 30, true, 0xFFFF90}, {41, 0, true, 0xFF8080},  {32, 20, true, 0xFFE000},
        {33, 20, true, 0xFFFF90}, {51, 20, true, 0xFFFF90}, {5, 100, false, 0},
        {5, -1, false, 0},        {0, 30, false, 0},        {52, 30, false, 0},
        {-5, 30, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "prn=" << c.Prn << " cn0=" << c.Cn0);
        const auto satClass = SatelliteClass(c.Prn, c.Cn0, used);
        ASSERT_EQ(satClass.has_value(), c.HasClass);
        if (satClass) {
            EXPECT_EQ(SatClassColour(*satClass), c.Colour);
        }
    }
    // An empty used-list entry (0) never makes PRN 0 "used".
    EXPECT_EQ(UsedPrnMatches(0, used), 0);
}

TEST(SkyPlot, MarksFollowTheSlotsOfTheTable)
{
    struct Expected
    {
        const char* Label;
        uint32_t Colour;
        TSatKind Kind;
    };
    const struct
    {
        const char* What;
        TSlot Slot;
        std::vector<int32_t> Used;
        std::vector<Expected> Marks;
    } cases[] = {
        {"used GPS", {5, 45, 90, 40}, {5}, {{"5", 0x00F020, TSatKind::Gps}}},
        {"heard GPS", {12, 45, 90, 40}, {5}, {{"12", 0xFFE000, TSatKind::Gps}}},
        {"silent GPS", {12, 45, 90, 0}, {12}, {{"12", 0xFF3000, TSatKind::Gps}}},
        {"used SBAS 33", {33, 45, 90, 40}, {33}, {{"120", 0xB0FFB0, TSatKind::Sbas}}},
        {"heard SBAS 51", {51, 45, 90, 40}, {}, {{"138", 0xFFFF90, TSatKind::Sbas}}},
        {"silent SBAS", {40, 45, 90, 0}, {}, {{"127", 0xFF8080, TSatKind::Sbas}}},
        {"listed twice",
         {7, 45, 90, 40},
         {7, 3, 7},
         {{"7", 0x00F020, TSatKind::Gps}, {"7", 0x00F020, TSatKind::Gps}}},
        {"PRN 0", {0, 45, 90, 40}, {0}, {}},
        {"PRN 52", {52, 45, 90, 40}, {52}, {}},
        {"negative PRN", {-3, 45, 90, 40}, {}, {}},
        {"C/N0 100", {5, 45, 90, 100}, {5}, {}},
        {"C/N0 -1", {5, 45, 90, -1}, {5}, {}},
        {"elevation -1", {5, -1, 90, 40}, {5}, {}},
        {"elevation 91", {5, 91, 90, 40}, {5}, {}},
        {"azimuth 360", {5, 45, 360, 40}, {5}, {}},
        {"silent below the horizon", {5, -1, 90, 0}, {5}, {}},
    };
    TSkyMarks marks;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        auto state = EmptyState();
        SetSlot(*state, 3, c.Slot);
        for (size_t i = 0; i < c.Used.size(); ++i) {
            state->UsedPrn[i] = c.Used[i];
        }
        ComputeSkyMarks(*state, marks);
        ASSERT_EQ(marks.Size(), c.Marks.size());
        const TSkyPosition position = SkyPosition(c.Slot.Elevation, c.Slot.Azimuth);
        for (size_t i = 0; i < marks.Size(); ++i) {
            EXPECT_EQ(marks[i].Label.View(), c.Marks[i].Label);
            EXPECT_EQ(marks[i].Colour, c.Marks[i].Colour);
            EXPECT_EQ(marks[i].Kind, c.Marks[i].Kind);
            EXPECT_DOUBLE_EQ(marks[i].X, position.X);
            EXPECT_DOUBLE_EQ(marks[i].Y, position.Y);
        }
    }
}

TEST(SkyPlot, MarksKeepSlotOrderAndReplaceEarlierMarks)
{
    auto state = EmptyState();
    SetSlot(*state, 0, {9, 90, 0, 35});
    SetSlot(*state, 1, {35, 0, 90, 30});
    SetSlot(*state, 15, {2, 10, 270, 0});
    state->UsedPrn[15] = 35;
    TSkyMarks marks;
    ComputeSkyMarks(*state, marks);
    ComputeSkyMarks(*state, marks);
    ASSERT_EQ(marks.Size(), 3u);
    EXPECT_EQ(marks[0].Label.View(), "9");
    EXPECT_DOUBLE_EQ(marks[0].X, 90.0);
    EXPECT_DOUBLE_EQ(marks[0].Y, 90.0);
    EXPECT_EQ(marks[1].Label.View(), "122");
    EXPECT_EQ(marks[1].Colour, kSbasUsedColour);
    EXPECT_NEAR(marks[1].X, 180.0, 1e-9);
    EXPECT_EQ(marks[2].Label.View(), "2");
}

TEST(SkyPlot, EveryUsedEntryOfEverySlotFitsTheMarks)
{
    auto state = EmptyState();
    for (int slot = 0; slot < kSatSlots; ++slot) {
        SetSlot(*state, slot, {4, 30, 30, 40});
        state->UsedPrn[slot] = 4;
    }
    TSkyMarks marks;
    ComputeSkyMarks(*state, marks);
    EXPECT_EQ(marks.Size(), kMaxSkyMarks);
}

// The SBAS merge over a sequence of tables, as the display cycle feeds them.
class SkyPlotMerge : public testing::Test
{
protected:
    void SetUp() override { State = EmptyState(); }

    // A GPS table of count satellites with PRNs 1.. and everything else empty.
    void GpsTable(int count)
    {
        ResetReceiverState(*State);
        for (int slot = 0; slot < count && slot < kSatSlots; ++slot) {
            SetSlot(*State, slot, {slot + 1, 20 + slot, 10 * slot, 30});
        }
        State->SatellitesInView = count;
        State->SatellitesUpdated = true;
    }

    // The GPS table of the last set with SBAS satellites appended behind gpsCount.
    void WavTable(int gpsCount, const std::vector<TSlot>& sbas)
    {
        State->SatellitesUpdated = false;
        for (int slot = gpsCount; slot < kSatSlots; ++slot) {
            SetSlot(*State, slot, {0, 0, 0, 0});
        }
        int slot = gpsCount;
        for (const TSlot& entry : sbas) {
            SetSlot(*State, slot++, entry);
        }
        State->SatellitesInView = 16;
        State->WavSatellitesUpdated = true;
    }

    void Merge() { MergeSbasSatellites(*State, GpsSatCount, Saved); }

    void ExpectSlot(int slot, const TSlot& expected)
    {
        EXPECT_EQ(Describe(Slot(*State, slot)), Describe(expected)) << "slot " << slot;
    }

    std::unique_ptr<TReceiverState> State;
    int32_t GpsSatCount = 0;
    TSbasSaved Saved;
};

TEST_F(SkyPlotMerge, GpsAloneKeepsSbasBehindTheNewCount)
{
    GpsTable(5);
    Merge();
    EXPECT_EQ(GpsSatCount, 5);
    EXPECT_FALSE(Saved.Valid);
    WavTable(5, {{42, 40, 200, 33}, {50, 35, 150, 0}});
    Merge();
    EXPECT_TRUE(Saved.Valid);
    EXPECT_EQ(GpsSatCount, 5) << "an SBAS table leaves the GPS count alone";
    ExpectSlot(5, {42, 40, 200, 33});

    GpsTable(3);
    Merge();
    EXPECT_EQ(GpsSatCount, 3);
    ExpectSlot(2, {3, 22, 20, 30});
    ExpectSlot(3, {42, 40, 200, 33});
    ExpectSlot(4, {50, 35, 150, 0});
    ExpectSlot(5, {0, 0, 0, 0});
}

TEST_F(SkyPlotMerge, ResetForgetsTheSbasEntries)
{
    GpsTable(4);
    Merge();
    WavTable(4, {{42, 40, 200, 33}});
    Merge();
    Saved.Valid = false;
    GpsSatCount = 0;
    GpsTable(4);
    Merge();
    ExpectSlot(4, {0, 0, 0, 0});
}

TEST_F(SkyPlotMerge, SixteenOrMoreGpsSatellitesLeaveNoRoomForSbas)
{
    for (const int count : {16, 17, NoCode}) {
        SCOPED_TRACE(count);
        Saved = TSbasSaved{};
        Saved.Prn[0] = 99;
        GpsTable(count);
        const TSlot last = Slot(*State, 15);
        Merge();
        WavTable(kSatSlots, {});
        Merge();
        EXPECT_TRUE(Saved.Valid);
        EXPECT_EQ(Saved.Prn[0], 99) << "nothing saved";
        GpsTable(count);
        Merge();
        ExpectSlot(15, last);
    }
}

TEST_F(SkyPlotMerge, NegativeCountsStartAtTheFirstSlot)
{
    GpsSatCount = -4;
    WavTable(0, {{35, 10, 20, 30}});
    Merge();
    EXPECT_EQ(Saved.Prn[0], 35);
    GpsTable(0);
    State->SatellitesInView = -2;
    State->SatellitesUpdated = false;
    Merge();
    ExpectSlot(0, {35, 10, 20, 30});
}

TEST_F(SkyPlotMerge, GpsAndSbasInOneSnapshotSaveBehindTheNewCount)
{
    GpsTable(2);
    State->SatellitesUpdated = true;
    SetSlot(*State, 2, {38, 50, 60, 20});
    State->WavSatellitesUpdated = true;
    Merge();
    EXPECT_EQ(GpsSatCount, 2);
    EXPECT_EQ(Saved.Prn[0], 38);
    ExpectSlot(2, {38, 50, 60, 20});
}

} // namespace
} // namespace zz
