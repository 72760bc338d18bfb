#!/usr/bin/env python3
"""Checks a track exported as CSV against the decoder's own JSON lines for the same log.

usage: check_csv_track.py TRACK.csv DECODE.jsonl nmea|binary

The decoder's snapshots are put together into cycles here, independently of the exporter: a
cycle ends at the snapshot that carries the cycle summary (CycleUpdated), whose own groups
already belong to the next cycle; a cycle's values are those reported during it. Every cycle
with a valid fix must be a row of the CSV, in order, with the same numbers. Prints what differs
and exits 1, or exits 0.
"""
import csv
import json
import math
import sys

NO_POSITION = 20000
NO_VALUE = 2147483648
NO_CODE = 128

HEADER = ["time", "latitude", "longitude", "altitude_m", "speed_kmh", "course_deg",
          "fix_quality", "satellites_used", "hdop"]


def degrees(ddmm):
    whole = math.trunc(ddmm / 100.0)
    return whole + (ddmm - 100.0 * whole) / 60.0


def plottable(lat, lon):
    def well_formed(v):
        magnitude = abs(v)
        return math.trunc(magnitude) - 100 * math.trunc(magnitude / 100.0) < 60
    return well_formed(lat) and well_formed(lon) and abs(lat) <= 9000 and abs(lon) <= 18000


def iso_time(c):
    y, mo, d, h, mi, s = (c.get(k) for k in ("Year", "Month", "Day", "Hour", "Minute", "Second"))
    if y is None or y == 32768 or not (1 <= mo <= 12) or not (1 <= d <= 31):
        return None
    if not (0 <= h <= 23 and 0 <= mi <= 59 and 0 <= s < 60):
        return None
    hundredths = round(s * 100)
    seconds = "%02d" % (hundredths // 100)
    if hundredths % 100:
        seconds += ".%02d" % (hundredths % 100)
    return "%04d-%02d-%02dT%02d:%02d:%sZ" % (y, mo, d, h, mi, seconds)


def cycles_of(lines):
    cycles = []
    current = {}
    ended = 0
    positions = 0
    for text in lines:
        snapshot = json.loads(text)
        updated = snapshot["updated"]
        if "CycleUpdated" in updated:
            cycle = dict(current)
            cycle["quality"] = snapshot["CycleFixQuality"]
            cycle["lat"] = snapshot["CycleLatitude"]
            cycle["lon"] = snapshot["CycleLongitude"]
            cycles.append(cycle)
            current = {}
            ended += 1
            positions = 0
        if "PositionUpdated" in updated:
            current["quality"] = snapshot["FixQuality"]
            current["lat"] = snapshot["Latitude"]
            current["lon"] = snapshot["Longitude"]
            positions += 1
        if "AltitudeUpdated" in updated:
            current["altitude"] = snapshot["Altitude"]
            current["satellites"] = snapshot["SatellitesUsed"]
        if "DopUpdated" in updated:
            current["hdop"] = snapshot["Hdop"]
        if "VelocityUpdated" in updated:
            current["speed"] = snapshot["Speed"]
            current["course"] = snapshot["Course"]
        if "DateTimeUpdated" in updated:
            for key in ("Year", "Month", "Day", "Hour", "Minute", "Second"):
                current[key] = snapshot[key]
    if positions > 0 and not (ended == 0 and positions > 1):
        cycles.append(current)
    return cycles


def close(text, expected, tolerance):
    if expected is None or expected == NO_VALUE:
        return text == ""
    return text != "" and abs(float(text) - expected) <= tolerance


def main():
    track, decoded, protocol = sys.argv[1:4]
    valid = (1, 2) if protocol == "binary" else (1, 2, 6)
    with open(decoded) as f:
        fixes = [c for c in cycles_of(f) if c.get("quality") in valid and plottable(c["lat"], c["lon"])]
    with open(track, newline="") as f:
        rows = list(csv.reader(f))
    problems = []
    if rows[0] != HEADER:
        problems.append("header %r" % rows[0])
    rows = rows[1:]
    if len(rows) != len(fixes):
        problems.append("%d rows for %d fixed cycles" % (len(rows), len(fixes)))
    for number, (row, fix) in enumerate(zip(rows, fixes), 1):
        record = dict(zip(HEADER, row))
        checks = [
            ("latitude", abs(float(record["latitude"]) - degrees(fix["lat"])) <= 5.1e-9),
            ("longitude", abs(float(record["longitude"]) - degrees(fix["lon"])) <= 5.1e-9),
            ("fix_quality", int(record["fix_quality"]) == fix["quality"]),
            ("altitude_m", close(record["altitude_m"], fix.get("altitude"), 0.0051)),
            ("speed_kmh", close(record["speed_kmh"], fix.get("speed"), 0.0051)),
            ("course_deg", close(record["course_deg"], fix.get("course"), 0.0051)),
            ("hdop", close(record["hdop"], fix.get("hdop"), 0.0051)),
            ("satellites_used",
             record["satellites_used"] == ("" if fix.get("satellites") in (None, NO_CODE)
                                           else str(fix["satellites"]))),
        ]
        expected_time = iso_time(fix)
        if expected_time is not None:
            checks.append(("time", record["time"] == expected_time))
        for name, good in checks:
            if not good:
                problems.append("row %d %s: %r, cycle %r" % (number, name, record[name], fix))
    for problem in problems[:20]:
        print(problem)
    print("%d rows checked, %d problems" % (len(rows), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
