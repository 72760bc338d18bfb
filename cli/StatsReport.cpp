#include "cli/StatsReport.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "cli/JsonWriter.h"

namespace zz::cli {
namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

double Share(uint64_t part, uint64_t whole)
{
    return whole == 0 ? 0.0 : static_cast<double>(part) / static_cast<double>(whole);
}

std::string Metres(const std::optional<double>& value)
{
    return value ? Format("%.3f m", *value) : std::string("--");
}

std::string Value(const std::optional<double>& value, const char* format)
{
    return value ? Format(format, *value) : std::string("--");
}

std::optional<double> SentencesPerSecond(const TStatsSummary& s)
{
    if (!s.DurationSeconds || *s.DurationSeconds <= 0.0) {
        return std::nullopt;
    }
    return static_cast<double>(s.Link.Framed) / *s.DurationSeconds;
}

std::optional<double> LineShare(const TStatsSummary& s)
{
    if (!s.DurationSeconds || *s.DurationSeconds <= 0.0) {
        return std::nullopt;
    }
    return LineUse(s.Link.Bytes, *s.DurationSeconds, s.BaudRate);
}

const char* OutcomeText(TTtffOutcome outcome)
{
    switch (outcome) {
    case TTtffOutcome::Fixed:
        return "fixed";
    case TTtffOutcome::FixedWithoutTime:
        return "fixed, not timed: no receiver time before the command";
    case TTtffOutcome::NoFix:
        break;
    }
    return "no fix";
}

const char* OutcomeKey(TTtffOutcome outcome)
{
    switch (outcome) {
    case TTtffOutcome::Fixed:
        return "fixed";
    case TTtffOutcome::FixedWithoutTime:
        return "fixed_without_time";
    case TTtffOutcome::NoFix:
        break;
    }
    return "no_fix";
}

std::string DopLine(const char* name, const TDopQuantiles& dop)
{
    return Format("  %-17smedian %s, 95 %% %s, max %s\n", name, Value(dop.Median, "%.2f").c_str(),
                  Value(dop.P95, "%.2f").c_str(), Value(dop.Max, "%.2f").c_str());
}

void AppendAccuracyText(const TStatsSummary& s, std::string& text)
{
    const TAccuracyReport& a = s.Evaluation.Accuracy;
    if (a.Fixes == 0) {
        text += "Accuracy           no fix to measure\n";
        return;
    }
    if (a.AroundReference) {
        const TGeodetic& r = s.Reference->Place;
        text += Format("Accuracy           %llu fixes, errors from the reference %.7f, %.7f",
                       static_cast<unsigned long long>(a.Fixes), r.LatitudeDeg, r.LongitudeDeg);
        text += s.Reference->HasAltitude ? Format(", %.2f m\n", r.HeightM) : "\n";
    } else {
        text += Format("Accuracy           %llu fixes, errors from their mean\n",
                       static_cast<unsigned long long>(a.Fixes));
    }
    text += Format("  mean position    %.7f, %.7f", a.Mean->LatitudeDeg, a.Mean->LongitudeDeg);
    text += a.MeanHasHeight ? Format(", %.2f m\n", a.Mean->HeightM) : "\n";
    if (a.MeanOffset) {
        text += Format("  mean offset      east %.3f m, north %.3f m", a.MeanOffset->East,
                       a.MeanOffset->North);
        text += a.MeanHasHeight && s.Reference->HasAltitude
                    ? Format(", up %.3f m\n", a.MeanOffset->Up)
                    : "\n";
    }
    text += "  CEP50            " + Metres(a.Cep50M) + "\n";
    text += "  CEP95            " + Metres(a.Cep95M) + "\n";
    if (!a.PercentilesExact) {
        text += Format("                   (percentiles from a sample of %llu fixes)\n",
                       static_cast<unsigned long long>(a.SampleSize));
    }
    text += "  2DRMS            " + Metres(a.TwoDrmsM) + "\n";
    text += "  horizontal sd    " + Metres(a.HorizontalSdM) + "\n";
    text +=
        "  vertical sd      " + Metres(a.VerticalSdM) +
        Format(" (%llu fixes with altitude)\n", static_cast<unsigned long long>(a.FixesWithHeight));
    text += "  largest error    " + Metres(a.MaxHorizontalErrorM) + "\n";
}

void AppendTtffText(const TTtffReport& t, std::string& text)
{
    if (t.Restarts == 0) {
        text += "TTFF               no restart\n";
        return;
    }
    text += Format("TTFF               %llu restart%s: %llu fixed, %llu without a fix\n",
                   static_cast<unsigned long long>(t.Restarts), t.Restarts == 1 ? "" : "s",
                   static_cast<unsigned long long>(t.Fixed),
                   static_cast<unsigned long long>(t.NotFixed));
    for (const TTtffEntry& entry : t.Listed) {
        text += Format("  %-16s %s\n", entry.Command.c_str(),
                       entry.Seconds ? Format("%.2f s", *entry.Seconds).c_str()
                                     : OutcomeText(entry.Outcome));
    }
    if (t.Listed.size() < t.Restarts) {
        text += Format("  (the first %zu listed)\n", t.Listed.size());
    }
    if (t.Min) {
        text += Format("  min/median/95 %%/max  %.2f / %.2f / %.2f / %.2f s\n", *t.Min, *t.Median,
                       *t.P95, *t.Max);
    }
}

void AppendDop(JsonWriter& json, const char* name, const TDopQuantiles& dop)
{
    json.Key(name);
    json.BeginObject();
    json.Key("median");
    json.Number(dop.Median, 2);
    json.Key("p95");
    json.Number(dop.P95, 2);
    json.Key("max");
    json.Number(dop.Max, 2);
    json.EndObject();
}

void AppendAccuracyJson(const TStatsSummary& s, JsonWriter& json)
{
    const TAccuracyReport& a = s.Evaluation.Accuracy;
    json.Key("accuracy");
    json.BeginObject();
    json.Key("fixes");
    json.Integer(a.Fixes);
    json.Key("fixes_with_altitude");
    json.Integer(a.FixesWithHeight);
    json.Key("centre");
    json.String(a.AroundReference ? "reference" : "mean");
    json.Key("reference");
    if (s.Reference) {
        json.BeginObject();
        json.Key("latitude");
        json.Number(s.Reference->Place.LatitudeDeg, 9);
        json.Key("longitude");
        json.Number(s.Reference->Place.LongitudeDeg, 9);
        json.Key("altitude_m");
        json.Number(s.Reference->HasAltitude ? std::optional<double>(s.Reference->Place.HeightM)
                                             : std::nullopt,
                    3);
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("mean");
    if (a.Mean) {
        json.BeginObject();
        json.Key("latitude");
        json.Number(a.Mean->LatitudeDeg, 9);
        json.Key("longitude");
        json.Number(a.Mean->LongitudeDeg, 9);
        json.Key("altitude_m");
        json.Number(a.MeanHasHeight ? std::optional<double>(a.Mean->HeightM) : std::nullopt, 3);
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("mean_offset_m");
    if (a.MeanOffset) {
        json.BeginObject();
        json.Key("east");
        json.Number(a.MeanOffset->East, 4);
        json.Key("north");
        json.Number(a.MeanOffset->North, 4);
        json.Key("up");
        json.Number(a.MeanHasHeight && s.Reference->HasAltitude
                        ? std::optional<double>(a.MeanOffset->Up)
                        : std::nullopt,
                    4);
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("cep50_m");
    json.Number(a.Cep50M, 4);
    json.Key("cep95_m");
    json.Number(a.Cep95M, 4);
    json.Key("twodrms_m");
    json.Number(a.TwoDrmsM, 4);
    json.Key("horizontal_sd_m");
    json.Number(a.HorizontalSdM, 4);
    json.Key("vertical_sd_m");
    json.Number(a.VerticalSdM, 4);
    json.Key("max_horizontal_error_m");
    json.Number(a.MaxHorizontalErrorM, 4);
    json.Key("percentiles_exact");
    json.Bool(a.PercentilesExact);
    json.Key("percentile_sample");
    json.Integer(a.SampleSize);
    json.EndObject();
}

void AppendAvailabilityJson(const TAvailabilityReport& c, JsonWriter& json)
{
    json.Key("availability");
    json.BeginObject();
    json.Key("cycles");
    json.Integer(c.Cycles);
    json.Key("fixed_cycles");
    json.Integer(c.FixedCycles);
    json.Key("fix_share");
    json.Number(Share(c.FixedCycles, c.Cycles), 6);
    json.Key("by_quality");
    json.BeginObject();
    json.Key("no_fix");
    json.Integer(c.NoFix);
    json.Key("gps");
    json.Integer(c.Gps);
    json.Key("dgps");
    json.Integer(c.Dgps);
    json.Key("dead_reckoning");
    json.Integer(c.DeadReckoning);
    json.Key("other");
    json.Integer(c.OtherQuality);
    json.EndObject();
    json.Key("fixed_by_mode");
    json.BeginObject();
    json.Key("2d");
    json.Integer(c.Fixed2D);
    json.Key("3d");
    json.Integer(c.Fixed3D);
    json.Key("unknown");
    json.Integer(c.FixedModeUnknown);
    json.EndObject();
    json.Key("longest_gap_cycles");
    json.Integer(c.LongestGapCycles);
    json.Key("longest_gap_s");
    json.Number(c.LongestGapSeconds, 3);
    json.EndObject();
}

void AppendSatellitesJson(const TSatelliteReport& sky, JsonWriter& json)
{
    json.Key("satellites");
    json.BeginObject();
    json.Key("sky_reports");
    json.Integer(sky.SkyReports);
    json.Key("mean_used");
    json.Number(sky.MeanSatellitesUsed, 3);
    AppendDop(json, "pdop", sky.Pdop);
    AppendDop(json, "hdop", sky.Hdop);
    AppendDop(json, "vdop", sky.Vdop);
    json.Key("prns");
    json.BeginArray();
    for (const TPrnReport& prn : sky.Prns) {
        json.BeginObject();
        json.Key("prn");
        json.Integer(static_cast<int64_t>(prn.Prn));
        json.Key("seen");
        json.Integer(prn.Seen);
        json.Key("used");
        json.Integer(prn.Used);
        json.Key("cn0_mean");
        json.Number(prn.MeanCn0, 2);
        json.Key("cn0_min");
        json.Integer(prn.MinCn0);
        json.EndObject();
    }
    json.EndArray();
    json.Key("other_prn_sightings");
    json.Integer(sky.OtherPrnSightings);
    json.EndObject();
}

void AppendLinkJson(const TStatsSummary& s, JsonWriter& json)
{
    const TLinkReport& l = s.Link;
    json.Key("link");
    json.BeginObject();
    json.Key("bytes");
    json.Integer(l.Bytes);
    json.Key(s.Protocol == TProtocol::Binary ? "frames" : "sentences");
    json.Integer(l.Framed);
    json.Key("checksum_failures");
    json.Integer(l.ChecksumFailures);
    json.Key("without_checksum");
    json.Integer(l.WithoutChecksum);
    json.Key("discarded_bytes");
    json.Integer(l.DiscardedBytes());
    json.Key("command_lines");
    json.Integer(l.Commands);
    json.Key("duration_s");
    json.Number(s.DurationSeconds, 3);
    json.Key("per_second");
    json.Number(SentencesPerSecond(s), 3);
    json.Key("baud");
    json.Integer(static_cast<int64_t>(s.BaudRate));
    json.Key("line_use");
    json.Number(LineShare(s), 6);
    json.EndObject();
}

void AppendTtffJson(const TTtffReport& t, JsonWriter& json)
{
    json.Key("ttff");
    json.BeginObject();
    json.Key("restarts");
    json.Integer(t.Restarts);
    json.Key("fixed");
    json.Integer(t.Fixed);
    json.Key("not_fixed");
    json.Integer(t.NotFixed);
    json.Key("min_s");
    json.Number(t.Min, 3);
    json.Key("median_s");
    json.Number(t.Median, 3);
    json.Key("p95_s");
    json.Number(t.P95, 3);
    json.Key("max_s");
    json.Number(t.Max, 3);
    json.Key("each");
    json.BeginArray();
    for (const TTtffEntry& entry : t.Listed) {
        json.BeginObject();
        json.Key("command");
        json.String(entry.Command);
        json.Key("outcome");
        json.String(OutcomeKey(entry.Outcome));
        json.Key("ttff_s");
        json.Number(entry.Seconds, 3);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

} // namespace

std::string StatsText(const TStatsSummary& s)
{
    const TAvailabilityReport& c = s.Evaluation.Availability;
    const TSatelliteReport& sky = s.Evaluation.Satellites;
    const TLinkReport& l = s.Link;
    const bool binary = s.Protocol == TProtocol::Binary;
    std::string text;
    text += Format("Source             %s (%s%s)\n", s.Source.c_str(), binary ? "binary" : "NMEA",
                   s.Live ? ", live" : "");
    if (s.Evaluation.PositionsWithoutCycles) {
        text += "Cycles             none: positions came, but never the sentence that opens a\n"
                "                   cycle (choose it with --header)\n";
    }
    text += Format("Cycles             %llu, with a fix %llu (%.1f %%)\n",
                   static_cast<unsigned long long>(c.Cycles),
                   static_cast<unsigned long long>(c.FixedCycles),
                   100.0 * Share(c.FixedCycles, c.Cycles));
    text += Format("  by fix quality   no fix %llu, GPS %llu, DGPS %llu, DR %llu, other %llu\n",
                   static_cast<unsigned long long>(c.NoFix), static_cast<unsigned long long>(c.Gps),
                   static_cast<unsigned long long>(c.Dgps),
                   static_cast<unsigned long long>(c.DeadReckoning),
                   static_cast<unsigned long long>(c.OtherQuality));
    text += Format("  fixed 2D / 3D    %llu / %llu (mode not reported %llu)\n",
                   static_cast<unsigned long long>(c.Fixed2D),
                   static_cast<unsigned long long>(c.Fixed3D),
                   static_cast<unsigned long long>(c.FixedModeUnknown));
    text += Format("  longest gap      %llu cycles%s\n",
                   static_cast<unsigned long long>(c.LongestGapCycles),
                   c.LongestGapSeconds ? Format(", %.1f s", *c.LongestGapSeconds).c_str() : "");
    AppendAccuracyText(s, text);
    text += Format("Satellites         %llu sky reports, mean used in a fix %s\n",
                   static_cast<unsigned long long>(sky.SkyReports),
                   Value(sky.MeanSatellitesUsed, "%.2f").c_str());
    text += DopLine("PDOP", sky.Pdop);
    text += DopLine("HDOP", sky.Hdop);
    text += DopLine("VDOP", sky.Vdop);
    if (!sky.Prns.empty()) {
        text += "  PRN     seen     used  C/N0 mean   min\n";
        for (const TPrnReport& prn : sky.Prns) {
            text += Format(
                "  %3d %8llu %8llu  %9s %5s\n", prn.Prn, static_cast<unsigned long long>(prn.Seen),
                static_cast<unsigned long long>(prn.Used), Value(prn.MeanCn0, "%.1f").c_str(),
                prn.MinCn0 ? std::to_string(*prn.MinCn0).c_str() : "--");
        }
    }
    text += Format("Link               %llu bytes, %llu %s, %llu bytes discarded\n",
                   static_cast<unsigned long long>(l.Bytes),
                   static_cast<unsigned long long>(l.Framed), binary ? "frames" : "sentences",
                   static_cast<unsigned long long>(l.DiscardedBytes()));
    text += Format("  checks           %llu failed, %llu without\n",
                   static_cast<unsigned long long>(l.ChecksumFailures),
                   static_cast<unsigned long long>(l.WithoutChecksum));
    if (l.Commands > 0) {
        text += Format("  sent commands    %llu\n", static_cast<unsigned long long>(l.Commands));
    }
    if (const auto rate = SentencesPerSecond(s)) {
        text += Format("  rate             %.2f %s/s over %.1f s, %.1f %% of %d baud\n", *rate,
                       binary ? "frames" : "sentences", *s.DurationSeconds, 100.0 * *LineShare(s),
                       s.BaudRate);
    } else {
        text += "  rate             -- (no receiver time in the log)\n";
    }
    AppendTtffText(s.Evaluation.Ttff, text);
    return text;
}

std::string StatsJson(const TStatsSummary& s)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("source");
    json.String(s.Source);
    json.Key("live");
    json.Bool(s.Live);
    json.Key("protocol");
    json.String(s.Protocol == TProtocol::Binary ? "binary" : "nmea");
    json.Key("header_missing");
    json.Bool(s.Evaluation.PositionsWithoutCycles);
    AppendAvailabilityJson(s.Evaluation.Availability, json);
    AppendAccuracyJson(s, json);
    AppendSatellitesJson(s.Evaluation.Satellites, json);
    AppendLinkJson(s, json);
    AppendTtffJson(s.Evaluation.Ttff, json);
    json.EndObject();
    return json.Text() + "\n";
}

} // namespace zz::cli
