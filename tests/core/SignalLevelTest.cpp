#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/SatelliteClass.h"
#include "core/SignalLevel.h"
#include "core/TReceiverState.h"
#include "core/TSignalLevelModel.h"
#include "tests/core/SatelliteTable.h"

namespace zz {
namespace {

using test::EmptyState;
using test::SetSlot;

TEST(SignalLevel, BarValueAndLabel)
{
    const struct
    {
        int32_t Prn;
        int32_t Cn0;
        int32_t Value;
        const char* Label;
    } cases[] = {
        {5, 0, 0, "0"},     {5, 1, 1, "1"},    {5, 50, 50, "50"},    {5, 51, 51, "51"},
        {5, 99, 51, "99"},  {5, 100, 0, "--"}, {5, -1, 0, "--"},     {40, 42, 42, "42"},
        {51, 60, 51, "60"}, {0, 40, 0, "--"},  {65, 40, 0, "--"},    {52, 40, 0, "--"},
        {-1, 40, 0, "--"},  {0, 99, 0, "--"},  {5, NoCode, 0, "--"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "prn=" << c.Prn << " cn0=" << c.Cn0);
        const TBarView bar = SignalBar(c.Prn, c.Cn0);
        EXPECT_EQ(bar.Value, c.Value);
        EXPECT_EQ(bar.Label.View(), c.Label);
    }
}

TEST(SignalLevel, GridCellsOfASlot)
{
    const struct
    {
        int32_t Prn;
        int32_t Elevation;
        int32_t Azimuth;
        const char* Cells[3];
    } cases[] = {
        {5, 45, 123, {"5", "123", "45"}},
        {32, 0, 0, {"32", "0", "0"}},
        {35, 90, 359, {"122", "359", "90"}},
        {33, 10, 20, {"120", "20", "10"}},
        {51, 10, 20, {"138", "20", "10"}},
        {7, 45, 360, {"7", "--", "45"}},
        {7, 91, -1, {"7", "--", "--"}},
        {7, -1, 10, {"7", "10", "--"}},
        {0, 45, 123, {"--   ", "--   ", "--   "}},
        {52, 45, 123, {"--   ", "--   ", "--   "}},
        {65, 45, 123, {"--   ", "--   ", "--   "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "prn=" << c.Prn);
        const TSlotCells cells = SlotCells(c.Prn, c.Elevation, c.Azimuth);
        EXPECT_EQ(cells.Prn.View(), c.Cells[0]);
        EXPECT_EQ(cells.Azimuth.View(), c.Cells[1]);
        EXPECT_EQ(cells.Elevation.View(), c.Cells[2]);
    }
}

TEST(SignalLevel, AccuracyOnlyForGpsPrns)
{
    int32_t accuracy[kAccuracySlots];
    for (int i = 0; i < kAccuracySlots; ++i) {
        accuracy[i] = NoCode;
    }
    accuracy[0] = 0;  // PRN 1
    accuracy[4] = 15; // PRN 5
    accuracy[5] = 16; // PRN 6
    accuracy[6] = -1; // PRN 7
    accuracy[31] = 9; // PRN 32
    const struct
    {
        int32_t ShownPrn;
        const char* Cell;
    } cases[] = {
        {1, "0"},  {5, "15"},    {6, "--   "},  {7, "--   "},   {8, "--   "},
        {32, "9"}, {0, "--   "}, {33, "--   "}, {120, "--   "}, {138, "--   "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ShownPrn);
        EXPECT_EQ(AccuracyCell(c.ShownPrn, accuracy).View(), c.Cell);
    }
}

TEST(SignalLevel, ValuesCentredHeadersAndEmptyCellsRight)
{
    const struct
    {
        int Column;
        const char* Text;
        TCellAlign Align;
    } cases[] = {
        {0, "PRN ", TCellAlign::Right},   {0, "acc  ", TCellAlign::Right},
        {1, "--   ", TCellAlign::Right},  {16, "--   ", TCellAlign::Right},
        {1, "--", TCellAlign::Centred},   {3, "12", TCellAlign::Centred},
        {16, "138", TCellAlign::Centred},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Column << " '" << c.Text << "'");
        EXPECT_EQ(CellAlignment(c.Column, c.Text), c.Align);
    }
}

// The window's model over one or more updates.
class SignalLevelModel : public testing::Test
{
protected:
    void SetUp() override { State = EmptyState(); }

    void ExpectColumn(int slot, const char* prn, const char* azimuth, const char* elevation,
                      const char* accuracy)
    {
        SCOPED_TRACE(testing::Message() << "slot " << slot);
        EXPECT_EQ(Model.CellText(slot + 1, kPrnRow), prn);
        EXPECT_EQ(Model.CellText(slot + 1, kAzimuthRow), azimuth);
        EXPECT_EQ(Model.CellText(slot + 1, kElevationRow), elevation);
        EXPECT_EQ(Model.CellText(slot + 1, kAccuracyRow), accuracy);
    }

    std::unique_ptr<TReceiverState> State;
    TSignalLevelModel Model;
};

TEST_F(SignalLevelModel, StartsWithHeadersAndEmptyCells)
{
    EXPECT_EQ(Model.CellText(0, 0), "PRN ");
    EXPECT_EQ(Model.CellText(0, 1), "Azi  ");
    EXPECT_EQ(Model.CellText(0, 2), "Elv  ");
    EXPECT_EQ(Model.CellText(0, 3), "acc  ");
    for (int slot = 0; slot < kSatSlots; ++slot) {
        ExpectColumn(slot, "--   ", "--   ", "--   ", "--   ");
        EXPECT_EQ(Model.Bar(slot).Value, 0);
        EXPECT_EQ(Model.Bar(slot).Label.View(), "--");
        EXPECT_FALSE(Model.Bar(slot).HasColour);
    }
}

TEST_F(SignalLevelModel, SatellitesSetBarsColoursAndGrid)
{
    SetSlot(*State, 0, 5, 45, 123, 40);
    SetSlot(*State, 1, 12, 30, 360, 99);
    SetSlot(*State, 2, 35, 20, 100, 0);
    SetSlot(*State, 3, 40, 20, 100, 45);
    State->UsedPrn[7] = 5;
    State->UsedPrn[8] = 40;
    Model.UpdateSatellites(*State);

    ExpectColumn(0, "5", "123", "45", "--   ");
    ExpectColumn(1, "12", "--", "30", "--   ");
    ExpectColumn(2, "122", "100", "20", "--   ");
    ExpectColumn(4, "--   ", "--   ", "--   ", "--   ");
    const struct
    {
        int Slot;
        int32_t Value;
        const char* Label;
        uint32_t Colour;
    } bars[] = {
        {0, 40, "40", kGpsUsedColour},
        {1, 51, "99", kGpsNotUsedColour},
        {2, 0, "0", kSbasNoSignalColour},
        {3, 45, "45", kSbasUsedColour},
    };
    for (const auto& b : bars) {
        SCOPED_TRACE(b.Slot);
        EXPECT_EQ(Model.Bar(b.Slot).Value, b.Value);
        EXPECT_EQ(Model.Bar(b.Slot).Label.View(), b.Label);
        EXPECT_TRUE(Model.Bar(b.Slot).HasColour);
        EXPECT_EQ(Model.Bar(b.Slot).Colour, b.Colour);
    }
    EXPECT_FALSE(Model.Bar(4).HasColour);
}

TEST_F(SignalLevelModel, UncolourableSlotsKeepTheirBarColour)
{
    SetSlot(*State, 0, 5, 45, 123, 40);
    SetSlot(*State, 1, 6, 45, 123, 0);
    SetSlot(*State, 2, 7, 45, 123, 30);
    Model.UpdateSatellites(*State);

    SetSlot(*State, 0, 0, 45, 123, 40);  // PRN 0
    SetSlot(*State, 1, 65, 45, 123, 40); // PRN beyond SBAS
    SetSlot(*State, 2, 7, 45, 123, 100); // C/N0 out of range
    Model.UpdateSatellites(*State);
    const uint32_t kept[] = {kGpsNotUsedColour, kGpsNoSignalColour, kGpsNotUsedColour};
    for (int slot = 0; slot < 3; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(Model.Bar(slot).Value, 0);
        EXPECT_EQ(Model.Bar(slot).Label.View(), "--");
        EXPECT_EQ(Model.Bar(slot).Colour, kept[slot]);
    }
    ExpectColumn(0, "--   ", "--   ", "--   ", "--   ");
    ExpectColumn(1, "--   ", "--   ", "--   ", "--   ");
    ExpectColumn(2, "7", "123", "45", "--   ");
}

TEST_F(SignalLevelModel, AccuracyFollowsThePrnsShownNow)
{
    for (int i = 0; i < kAccuracySlots; ++i) {
        State->SatAccuracy[i] = i % 17;
    }
    State->SatAccuracy[19] = NoCode;    // PRN 20
    SetSlot(*State, 0, 1, 10, 10, 30);  // accuracy 0
    SetSlot(*State, 1, 16, 10, 10, 30); // 15
    SetSlot(*State, 2, 17, 10, 10, 30); // 16
    SetSlot(*State, 3, 20, 10, 10, 30); // 128
    SetSlot(*State, 4, 33, 10, 10, 30); // SBAS 120
    SetSlot(*State, 5, 1, 10, 10, 30);  // the same PRN twice
    Model.UpdateSatellites(*State);
    Model.UpdateAccuracy(*State);
    ExpectColumn(0, "1", "10", "10", "0");
    ExpectColumn(1, "16", "10", "10", "15");
    ExpectColumn(2, "17", "10", "10", "--   ");
    ExpectColumn(3, "20", "10", "10", "--   ");
    ExpectColumn(4, "120", "10", "10", "--   ");
    ExpectColumn(5, "1", "10", "10", "0");
    ExpectColumn(6, "--   ", "--   ", "--   ", "--   ");

    // A new table moves the PRNs; the old accuracy row stays until the next accuracy update.
    SetSlot(*State, 0, 16, 10, 10, 30);
    Model.UpdateSatellites(*State);
    EXPECT_EQ(Model.CellText(1, kAccuracyRow), "0");
    Model.UpdateAccuracy(*State);
    EXPECT_EQ(Model.CellText(1, kAccuracyRow), "15");
}

TEST_F(SignalLevelModel, ClearEmptiesCellsAndBarsButKeepsColours)
{
    SetSlot(*State, 0, 5, 45, 123, 40);
    Model.UpdateSatellites(*State);
    State->SatAccuracy[4] = 3;
    Model.UpdateAccuracy(*State);
    ExpectColumn(0, "5", "123", "45", "3");
    Model.Clear();
    ExpectColumn(0, "--   ", "--   ", "--   ", "--   ");
    EXPECT_EQ(Model.CellText(0, 0), "PRN ");
    EXPECT_EQ(Model.Bar(0).Value, 0);
    EXPECT_EQ(Model.Bar(0).Label.View(), "--");
    EXPECT_EQ(Model.Bar(0).Colour, kGpsNotUsedColour);
    Model.UpdateAccuracy(*State);
    EXPECT_EQ(Model.CellText(1, kAccuracyRow), "--   ") << "no PRN shown after a clear";
}

} // namespace
} // namespace zz
