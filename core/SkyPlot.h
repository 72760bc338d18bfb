#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/NumberFormat.h"
#include "core/SatelliteClass.h"
#include "core/TReceiverState.h"

namespace zz {

// Where a satellite stands on the sky chart, whose axes both span 0..180: the zenith at
// (90, 90), the horizon a circle of radius 90, north up (y grows upward) and east right.
struct TSkyPosition
{
    double X;
    double Y;
};

TSkyPosition SkyPosition(int32_t elevation, int32_t azimuth);

// Whether a satellite at this elevation and azimuth gets a mark: 0..90 and 0..359 degrees.
bool SkyDrawable(int32_t elevation, int32_t azimuth);

// One mark of the sky chart: a circle (GPS) or a square (SBAS) labelled with the PRN the
// satellite is known by.
struct TSkyMark
{
    double X = 0.0;
    double Y = 0.0;
    TShortText Label;
    uint32_t Colour = 0;
    TSatKind Kind = TSatKind::Gps;
};

// Every slot can be marked once for each of the 16 used-list entries naming it.
inline constexpr size_t kMaxSkyMarks = static_cast<size_t>(kSatSlots) * kSatSlots;

// The marks of one satellite table, in slot order, held in place.
struct TSkyMarks
{
    std::array<TSkyMark, kMaxSkyMarks> Marks{};
    size_t Count = 0;

    void Clear() { Count = 0; }
    const TSkyMark* begin() const { return Marks.data(); }
    const TSkyMark* end() const { return Marks.data() + Count; }
    size_t Size() const { return Count; }
    const TSkyMark& operator[](size_t index) const { return Marks[index]; }
};

// Replaces out with the marks of the (merged) satellite table of state. A slot is marked when
// its PRN is 1..51, its C/N0 0..99 and its position drawable: once in the C/N0 = 0 or the
// not-used colour, or once for every used-list entry equal to its PRN in the used colour.
void ComputeSkyMarks(const TReceiverState& state, TSkyMarks& out);

// The SBAS part of the satellite table as last reported, kept by the display side so that a
// GPS table arriving alone still shows the SBAS satellites behind it.
struct TSbasSaved
{
    int32_t Prn[kSatSlots]{};
    int32_t Elevation[kSatSlots]{};
    int32_t Azimuth[kSatSlots]{};
    int32_t Cn0[kSatSlots]{};
    bool Valid = false;
};

// Puts the SBAS entries behind the GPS entries of snapshot's satellite table before the
// windows read it. A GPS table (SatellitesUpdated) sets gpsSatCount to its count; an SBAS table
// (WavSatellitesUpdated) is saved from slot gpsSatCount on; a GPS table alone gets the saved
// entries back from slot SatellitesInView on. Counts of 16 or more copy nothing; negative
// counts are taken as 0.
void MergeSbasSatellites(TReceiverState& snapshot, int32_t& gpsSatCount, TSbasSaved& saved);

} // namespace zz
