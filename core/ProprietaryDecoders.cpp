#include <algorithm>
#include <array>

#include "core/NmeaFields.h"
#include "core/TNmeaEngine.h"

namespace zz {
namespace {

constexpr size_t kVersionLength = 11;
constexpr int kWavSatellitesPerSentence = 4;

// HexDigitValue of every character, looked up per accuracy digit.
const std::array<int32_t, 256> kHexDigitValues = [] {
    std::array<int32_t, 256> values{};
    for (size_t code = 0; code < values.size(); ++code) {
        values[code] = HexDigitValue(static_cast<char>(code));
    }
    return values;
}();

// SBAS PRNs 120..138 sit in the satellite table as 33..51, behind the GPS PRNs 1..32.
int32_t SbasTablePrn(int32_t prn)
{
    return prn >= 120 && prn <= 138 ? prn - 87 : 0;
}

} // namespace

void TNmeaEngine::DecodeGPacc(std::string_view text)
{
    // $DIRU,GPacc,0123456789ABCDEF0123456789ABCDEF*7C
    //  2: one accuracy digit (0-F) per GPS PRN, PRN 1 first
    if (Kept.ACref.load() != TAccuracyRef::Acc) {
        return;
    }
    const size_t start = FieldAt(text, 2);
    auto lock = LockState();
    bool fieldEnded = false;
    for (size_t i = 0; i < static_cast<size_t>(kAccuracySlots); ++i) {
        const size_t position = start + i;
        // A short field must not lend its '*' and checksum digits as accuracies.
        fieldEnded =
            fieldEnded || position >= text.size() || text[position] == ',' || text[position] == '*';
        State.SatAccuracy[i] =
            fieldEnded ? NoCode : kHexDigitValues[static_cast<uint8_t>(text[position])];
    }
    State.AccuracyUpdated = true;
    MarkDisplayPending();
}

void TNmeaEngine::DecodeGPtst(std::string_view text)
{
    // $DIRU,GPtst,OK,1.05*5C
    //  2: not read   3: program version
    if (Kept.TSref.load() != TVersionRef::Tst) {
        return;
    }
    const std::string_view version = BoundedField(text, FieldAt(text, 3), kVersionLength);
    auto lock = LockState();
    State.ProgramVersion = version.empty() ? NoVersion : ParseReal(version);
    State.VersionUpdated = true;
    NoteRestartReport();
    MarkDisplayPending();
}

void TNmeaEngine::DecodeGPwav(std::string_view text)
{
    // $DIRU,GPwav,3,129,45,120,40,137,30,200,38,200,10,90,35*71
    //  2: satellites in this sentence
    //  then per satellite k = 0..3: 3+4k PRN, 4+4k elevation, 5+4k azimuth, 6+4k C/N0
    if (Kept.SAref.load() != TSatellitesRef::GSVWav) {
        return;
    }
    size_t field = FieldAt(text, 2);
    const int32_t count = ReadIntField(text, field);
    auto lock = LockState();
    if (TControlFlags::TakeRequest(Flags.SbasResetRequest)) {
        GsvTotal = 0;
    }
    // The SBAS entries go behind the GPS satellites of the current set; a negative count from
    // a corrupt GSV sentence must not place them before the table.
    int32_t slot = std::max(GsvTotal, 0);
    for (int32_t i = slot; i < kSatSlots; ++i) {
        State.SatPrn[i] = 0;
        State.SatElevation[i] = 0;
        State.SatAzimuth[i] = 0;
        State.SatCn0[i] = 0;
    }
    for (int k = 0; k < kWavSatellitesPerSentence && k < count; ++k) {
        const int32_t prn = ReadIntField(text, field);
        const int32_t elevation = ReadIntField(text, field);
        const int32_t azimuth = ReadIntField(text, field);
        const int32_t cn0 = ReadIntField(text, field);
        if (slot < kSatSlots) {
            State.SatPrn[slot] = SbasTablePrn(prn);
            State.SatElevation[slot] = elevation;
            State.SatAzimuth[slot] = azimuth;
            State.SatCn0[slot] = cn0;
            ++slot;
        }
    }
    State.SatellitesInView = kSatSlots;
    State.WavSatellitesUpdated = true;
    MarkDisplayPending();
}

} // namespace zz
