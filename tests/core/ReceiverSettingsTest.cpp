#include <gtest/gtest.h>

#include <optional>

#include "core/ReceiverSettings.h"
#include "core/TKeptValues.h"

namespace zz {
namespace {

TEST(ReceiverSettings, ControlIndexesOutsideTheItemsNameNoChoice)
{
    EXPECT_EQ(ChoiceAt<TProtocol>(0), TProtocol::Nmea);
    EXPECT_EQ(ChoiceAt<TProtocol>(1), TProtocol::Binary);
    EXPECT_EQ(ChoiceAt<THeader>(7), THeader::ZDA);
    EXPECT_EQ(ChoiceAt<TPositionRef>(2), TPositionRef::RMC);
    EXPECT_EQ(ChoiceAt<TSatellitesRef>(1), TSatellitesRef::GSVWav);
    EXPECT_EQ(ChoiceAt<TVelocityRef>(1), TVelocityRef::VTG);
    EXPECT_EQ(ChoiceAt<TAccuracyRef>(0), TAccuracyRef::Acc);
    // -1 is a control with nothing selected; the count is one past the last item.
    for (const int32_t index : {-1, 2, 10}) {
        EXPECT_EQ(ChoiceAt<TProtocol>(index), std::nullopt) << index;
    }
    EXPECT_EQ(ChoiceAt<THeader>(8), std::nullopt);
    EXPECT_EQ(ChoiceAt<TPositionRef>(3), std::nullopt);
    EXPECT_EQ(ChoiceAt<TTimeRef>(1), std::nullopt);
    EXPECT_EQ(ChoiceIndex(THeader::VTG), 5);

    EXPECT_EQ(ProtocolName(TProtocol::Nmea), "NMEA");
    EXPECT_EQ(ProtocolName(TProtocol::Binary), "RIRBinary");
    EXPECT_EQ(ProtocolName(static_cast<TProtocol>(2)), "");
}

TEST(ReceiverSettings, KeptValuesTakeAndGiveBackEveryField)
{
    TKeptValues kept;
    EXPECT_EQ(kept.Load(), TReceiverSettings{});

    // Every field away from its default, each to a value no other field of its type has, so a
    // field stored in the wrong place shows.
    TReceiverSettings settings;
    settings.Protocol = TProtocol::Binary;
    settings.Header = THeader::GSV;
    TReferences& references = settings.References;
    references.LFref = TPositionRef::GLL;
    references.ASref = static_cast<TAltitudeRef>(11);
    references.UTref = static_cast<TTimeRef>(12);
    references.DDref = static_cast<TFixModeRef>(13);
    references.SAref = TSatellitesRef::GSVWav;
    references.VDref = TVelocityRef::VTG;
    references.ROref = static_cast<TRateOfTurnRef>(14);
    references.ACref = static_cast<TAccuracyRef>(15);
    references.TSref = static_cast<TVersionRef>(16);
    kept.Apply(settings);

    EXPECT_EQ(kept.Load(), settings);
    EXPECT_EQ(kept.ProtocolIndex.load(), TProtocol::Binary);
    EXPECT_EQ(kept.HeaderIndex.load(), THeader::GSV);
    EXPECT_EQ(kept.LFref.load(), TPositionRef::GLL);
    EXPECT_EQ(ChoiceIndex(kept.ASref.load()), 11);
    EXPECT_EQ(ChoiceIndex(kept.UTref.load()), 12);
    EXPECT_EQ(ChoiceIndex(kept.DDref.load()), 13);
    EXPECT_EQ(kept.SAref.load(), TSatellitesRef::GSVWav);
    EXPECT_EQ(kept.VDref.load(), TVelocityRef::VTG);
    EXPECT_EQ(ChoiceIndex(kept.ROref.load()), 14);
    EXPECT_EQ(ChoiceIndex(kept.ACref.load()), 15);
    EXPECT_EQ(ChoiceIndex(kept.TSref.load()), 16);

    kept.Apply(TReceiverSettings{});
    EXPECT_EQ(kept.Load(), TReceiverSettings{});
}

} // namespace
} // namespace zz
