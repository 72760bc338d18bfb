#!/usr/bin/env python3
"""Writes the sample receiver logs in samples/.

samples/sample-nmea.bin    raw NMEA log: the marker line naming GGA as the cycle header, then
                           three minutes of 1 Hz traffic from a receiver in a car
samples/sample-binary.bin  RIRBinary stream of the first ninety seconds of the same drive

Both logs tell the same story: the receiver runs without a fix, restarts (it reports its
program version), searches for a few more seconds, then fixes and follows the car along a road:
away from a parking place, a long right-hand bend, a stop at a light, a left turn, and on.

Deterministic: the same files on every run (python3 standard library only).

Usage: make_samples.py [OUTPUT_DIR]    (default: samples/ beside this script's folder)
"""
import math
import random
import sys
from datetime import datetime, timedelta, timezone
from pathlib import Path

SEED = 20250314
START_TIME = datetime(2025, 3, 14, 2, 15, 30, tzinfo=timezone.utc)
START_LATITUDE = 47.372140   # degrees, north positive
START_LONGITUDE = 8.541730   # degrees, east positive
START_ALTITUDE = 408.6       # metres above mean sea level
GEOID_SEPARATION = 47.9      # metres
MAGNETIC_VARIATION = 2.9     # degrees east
NMEA_EPOCHS = 180
BINARY_EPOCHS = 90
RESTART_EPOCH = 3            # the receiver reports its version at the start of this epoch
FIRST_FIX_EPOCH = 14         # first epoch with a fix
PROGRAM_VERSION = "010203"
NMEA_MARKER = b"@@Header of NMEA cycle -> GGA@@\r\n"

# The drive, as legs of (seconds, target speed in km/h, turn rate in degrees per second).
ROUTE = [
    (16, 0.0, 0.0),     # parked while the receiver searches
    (30, 48.0, 0.0),    # away along the street
    (28, 45.0, 1.1),    # long right-hand bend
    (10, 52.0, 0.0),
    (14, 0.0, 0.0),     # brake for the light and wait
    (5, 0.0, 0.0),
    (10, 18.0, -9.0),   # left turn at the crossing
    (40, 58.0, 0.0),
    (20, 55.0, -0.6),   # gentle left-hand curve
    (40, 50.0, 0.0),
]
START_HEADING = 72.0
ACCELERATION = 2.5          # km/h per second, both ways

# GPS satellites: PRN, elevation and azimuth at the start (degrees), their drift per second.
# A negative elevation is below the horizon: the satellite is not in view. Two rise and one
# sets during the drive, so the number in view moves between 10 and 12.
GPS_SATELLITES = [
    (2, 63.0, 41.0, 0.004, 0.011),
    (5, 38.0, 302.0, -0.006, 0.008),
    (7, 22.0, 118.0, 0.007, -0.005),
    (9, 71.0, 205.0, -0.003, 0.012),
    (13, 14.0, 251.0, -0.005, 0.006),
    (15, 2.0, 336.0, -0.014, 0.004),   # setting
    (18, 45.0, 164.0, 0.005, -0.009),
    (20, 9.0, 87.0, 0.008, 0.003),
    (24, 29.0, 13.0, -0.004, 0.010),
    (26, -0.3, 144.0, 0.015, 0.002),   # rising
    (29, 52.0, 271.0, 0.002, -0.007),
    (31, -1.1, 59.0, 0.011, 0.006),    # rising
]

# SBAS satellites of the wav sentence: PRN, elevation, azimuth, C/N0, first epoch in view.
SBAS_SATELLITES = [
    (129, 38, 211, 41, 0),
    (137, 31, 232, 39, 0),
    (133, 12, 120, 33, 90),
]


class Satellite:
    """One GPS satellite's slowly drifting position in the sky and signal level."""

    def __init__(self, prn, elevation, azimuth, elevationRate, azimuthRate, rng):
        self.prn = prn
        self.elevation = elevation
        self.azimuth = azimuth
        self.elevationRate = elevationRate
        self.azimuthRate = azimuthRate
        self.noise = 0.0
        self.rng = rng
        # The restart loses every satellite; each is found again a few seconds later.
        self.acquiredEpoch = RESTART_EPOCH + 1 + int(rng.random() * (FIRST_FIX_EPOCH - RESTART_EPOCH))

    def step(self):
        self.elevation += self.elevationRate
        self.azimuth = (self.azimuth + self.azimuthRate) % 360.0
        self.noise = 0.8 * self.noise + (self.rng.random() - 0.5) * 1.6

    def inView(self):
        return self.elevation >= 0.0

    def tracked(self, epoch):
        return epoch < RESTART_EPOCH or epoch >= self.acquiredEpoch

    def cn0(self):
        value = 29.0 + 0.28 * self.elevation + self.noise
        return int(round(min(51.0, max(18.0, value))))

    def accuracyIndex(self):
        """Smaller is better: high satellites with strong signals get the best classes."""
        index = 15 - int(self.elevation / 7.0) - max(0, self.cn0() - 30) // 4
        return min(15, max(0, index))


class Epoch:
    """What the receiver knows at one second."""

    def __init__(self):
        self.index = 0
        self.time = START_TIME
        self.fix = False
        self.threeDimensional = False
        self.differential = False
        self.latitude = 0.0
        self.longitude = 0.0
        self.altitude = 0.0
        self.speedKmh = 0.0
        self.course = 0.0
        self.rateOfTurn = 0.0     # degrees per minute
        self.inView = []          # satellites in view, in PRN order
        self.used = []            # PRNs used in the solution
        self.hdop = 0.0
        self.vdop = 0.0
        self.pdop = 0.0
        self.restart = False


class Drive:
    """Moves the car along the route and the satellites across the sky, one second a step."""

    def __init__(self):
        self.rng = random.Random(SEED)
        self.satellites = [Satellite(*entry, self.rng) for entry in GPS_SATELLITES]
        self.latitude = START_LATITUDE
        self.longitude = START_LONGITUDE
        self.altitude = START_ALTITUDE
        self.heading = START_HEADING
        self.speedKmh = 0.0
        self.legs = [(target, turn) for seconds, target, turn in ROUTE for _ in range(seconds)]

    def noise(self, size):
        return (self.rng.random() - 0.5) * 2.0 * size

    def epochs(self, count):
        for index in range(count):
            target, turn = self.legs[min(index, len(self.legs) - 1)]
            if self.speedKmh < target:
                self.speedKmh = min(target, self.speedKmh + ACCELERATION)
            else:
                self.speedKmh = max(target, self.speedKmh - ACCELERATION)
            turnRate = turn if self.speedKmh > 1.0 else 0.0
            self.heading = (self.heading + turnRate) % 360.0
            metres = self.speedKmh / 3.6
            self.latitude += metres * math.cos(math.radians(self.heading)) / 111320.0
            self.longitude += metres * math.sin(math.radians(self.heading)) / (
                111320.0 * math.cos(math.radians(self.latitude)))
            self.altitude += 0.04 * metres * math.sin(index / 23.0) + self.noise(0.15)
            for satellite in self.satellites:
                satellite.step()

            epoch = Epoch()
            epoch.index = index
            epoch.time = START_TIME + timedelta(seconds=index)
            epoch.restart = index == RESTART_EPOCH
            epoch.fix = index >= FIRST_FIX_EPOCH
            # The first fixes are two-dimensional until enough satellites are in the solution.
            epoch.threeDimensional = index >= FIRST_FIX_EPOCH + 3
            epoch.differential = epoch.fix and 60 <= index < 130
            epoch.latitude = self.latitude + self.noise(1.5e-6)
            epoch.longitude = self.longitude + self.noise(1.5e-6)
            epoch.altitude = self.altitude
            epoch.speedKmh = max(0.0, self.speedKmh + (self.noise(0.3) if self.speedKmh > 0 else 0.0))
            epoch.course = self.heading
            epoch.rateOfTurn = turnRate * 60.0 + self.noise(2.0)
            epoch.inView = [s for s in self.satellites if s.inView()]
            if epoch.fix:
                epoch.used = [s.prn for s in epoch.inView if s.elevation > 8.0 and s.cn0() > 30][:12]
                used = max(len(epoch.used), 4)
                epoch.hdop = max(0.6, 8.5 / used + self.noise(0.05))
                epoch.vdop = epoch.hdop * 1.45 + self.noise(0.05)
                epoch.pdop = math.hypot(epoch.hdop, epoch.vdop)
            yield epoch


# --- NMEA ---------------------------------------------------------------------------------

def sentence(body):
    checksum = 0
    for character in body.encode("ascii"):
        checksum ^= character
    return "$%s*%02X\r\n" % (body, checksum)


def latitudeText(degrees):
    value = abs(degrees)
    whole = int(value)
    return "%02d%07.4f" % (whole, (value - whole) * 60.0), "N" if degrees >= 0 else "S"


def longitudeText(degrees):
    value = abs(degrees)
    whole = int(value)
    return "%03d%07.4f" % (whole, (value - whole) * 60.0), "E" if degrees >= 0 else "W"


def nmeaEpoch(epoch):
    out = []
    t = epoch.time
    utc = "%02d%02d%02d.00" % (t.hour, t.minute, t.second)
    date = "%02d%02d%02d" % (t.day, t.month, t.year % 100)
    latitude, north = latitudeText(epoch.latitude)
    longitude, east = longitudeText(epoch.longitude)
    knots = epoch.speedKmh / 1.852
    magnetic = (epoch.course - MAGNETIC_VARIATION) % 360.0
    mode = "D" if epoch.differential else "A"

    if epoch.restart:
        out.append(sentence("DIRU,GPtst,00,%s" % PROGRAM_VERSION))

    if epoch.fix:
        out.append(sentence("GPGGA,%s,%s,%s,%s,%s,%d,%02d,%.1f,%.1f,M,%.1f,M,%s" % (
            utc, latitude, north, longitude, east, 2 if epoch.differential else 1,
            len(epoch.used), epoch.hdop, epoch.altitude, GEOID_SEPARATION,
            "1.4,0136" if epoch.differential else ",")))
        out.append(sentence("GPGLL,%s,%s,%s,%s,%s,A,%s" % (
            latitude, north, longitude, east, utc, mode)))
        prns = ["%02d" % prn for prn in epoch.used] + [""] * (12 - len(epoch.used))
        out.append(sentence("GPGSA,A,%d,%s,%.1f,%.1f,%.1f" % (
            3 if epoch.threeDimensional else 2, ",".join(prns), epoch.pdop, epoch.hdop, epoch.vdop)))
    else:
        out.append(sentence("GPGGA,%s,,,,,0,00,,,M,,M,," % utc))
        out.append(sentence("GPGLL,,,,,%s,V,N" % utc))
        out.append(sentence("GPGSA,A,1,,,,,,,,,,,,,,,"))

    satellites = epoch.inView
    count = (len(satellites) + 3) // 4
    for number in range(count):
        blocks = []
        for satellite in satellites[4 * number:4 * number + 4]:
            cn0 = "%02d" % satellite.cn0() if satellite.tracked(epoch.index) else ""
            blocks.append("%02d,%02d,%03d,%s" % (satellite.prn, int(satellite.elevation),
                                                 int(satellite.azimuth), cn0))
        out.append(sentence("GPGSV,%d,%d,%02d,%s" % (count, number + 1, len(satellites),
                                                      ",".join(blocks))))

    if epoch.fix:
        out.append(sentence("GPRMC,%s,A,%s,%s,%s,%s,%.1f,%.1f,%s,%.1f,E,%s" % (
            utc, latitude, north, longitude, east, knots, epoch.course, date,
            MAGNETIC_VARIATION, mode)))
        out.append(sentence("GPVTG,%.1f,T,%.1f,M,%.1f,N,%.1f,K,%s" % (
            epoch.course, magnetic, knots, epoch.speedKmh, mode)))
    else:
        out.append(sentence("GPRMC,%s,V,,,,,,,%s,,,N" % (utc, date)))
        out.append(sentence("GPVTG,,T,,M,,N,,K,N"))

    out.append(sentence("GPZDA,%s,%02d,%02d,%04d,00,00" % (utc, t.day, t.month, t.year)))

    # The heading sensor reports on every third second.
    if epoch.index % 3 == 0:
        if epoch.fix:
            out.append(sentence("GPROT,%.1f,A" % epoch.rateOfTurn))
        else:
            out.append(sentence("GPROT,,V"))

    accuracy = ["X"] * 32
    for satellite in satellites:
        if satellite.tracked(epoch.index) and satellite.prn <= 32:
            accuracy[satellite.prn - 1] = "0123456789ABCDEF"[satellite.accuracyIndex()]
    out.append(sentence("DIRU,GPacc,%s" % "".join(accuracy)))

    if epoch.index % 5 == 0:
        blocks = []
        for prn, elevation, azimuth, cn0, firstEpoch in SBAS_SATELLITES:
            if epoch.index >= firstEpoch:
                level = cn0 + (epoch.index // 5 + prn) % 3 - 1
                blocks.append("%d,%02d,%03d,%02d" % (prn, elevation, azimuth, level))
        out.append(sentence("DIRU,GPwav,%d,%s" % (len(blocks), ",".join(blocks))))
    return out


def makeNmea():
    drive = Drive()
    text = "".join(line for epoch in drive.epochs(NMEA_EPOCHS) for line in nmeaEpoch(epoch))
    return NMEA_MARKER + text.encode("ascii")


# --- RIRBinary ----------------------------------------------------------------------------

def field(value, size):
    """A non-negative number as big-endian groups of 7 bits."""
    assert 0 <= value < 1 << (7 * size), (value, size)
    return [(value >> (7 * (size - 1 - i))) & 0x7F for i in range(size)]


def signedField(value):
    """A signed number as a 4-byte field holding 28-bit two's complement."""
    assert -(1 << 27) <= value < 1 << 27, value
    return field(value & ((1 << 28) - 1), 4)


def frame(identifier, payload):
    assert all(0 <= byte <= 0x7F for byte in payload)
    body = [identifier] + payload
    check = 0
    for byte in body:
        check ^= byte
    end = 0xEA if identifier & 0xF0 == 0xE0 else 0xDA
    return bytes(body + [check, end])


def positionFrame(epoch):
    status = (0x03 if epoch.threeDimensional else 0x01) if epoch.fix else 0x00
    if epoch.fix:
        latitude = int(round(epoch.latitude * 600000.0))
        longitude = int(round(epoch.longitude * 600000.0))
        altitude = int(round(epoch.altitude * 10.0))
    else:
        latitude = longitude = altitude = 0
    speed = int(round(epoch.speedKmh * 10.0)) if epoch.fix else 0
    course = int(round(epoch.course * 10.0)) % 3600 if epoch.fix else 0
    payload = ([status, 0] + signedField(latitude) + signedField(longitude) +
               signedField(altitude) + field(speed, 3) + field(course, 2) + [len(epoch.used)])
    data = frame(0xE0, payload)
    assert len(data) == 23
    return data


def dateTimeFrame(epoch):
    t = epoch.time
    data = frame(0xE1, [0, t.year - 2000, t.month, t.day, t.hour, t.minute, t.second])
    assert len(data) == 10
    return data


def satelliteFrame(epoch):
    payload = [0]
    for slot in range(12):
        if slot < len(epoch.inView):
            satellite = epoch.inView[slot]
            tracked = satellite.tracked(epoch.index)
            state = 2 if satellite.prn in epoch.used else (1 if tracked else 0)
            state |= (satellite.accuracyIndex() if tracked else 15) << 3
            payload += [satellite.prn] + field(int(satellite.azimuth), 2) + [
                int(satellite.elevation), state, satellite.cn0() if tracked else 0]
        else:
            payload += [0] * 6
    data = frame(0xE2, payload)
    assert len(data) == 76
    return data


def dopFrame(epoch):
    if epoch.fix:
        hdop, vdop, pdop = (int(round(value * 10.0)) for value in (epoch.hdop, epoch.vdop, epoch.pdop))
    else:
        hdop = vdop = pdop = 999
    payload = field(hdop, 2) + field(vdop, 2) + field(pdop, 2) + [0] * 6
    data = frame(0xE3, payload)
    assert len(data) == 15
    return data


def versionFrame():
    data = frame(0xD3, [0] + [ord(digit) for digit in PROGRAM_VERSION] + [0, 0])
    assert len(data) == 12
    return data


def receiverStatusFrame(epoch):
    """A frame the monitor shows but does not decode: a few receiver counters."""
    payload = [epoch.index & 0x7F, len(epoch.inView), len(epoch.used)] + field(epoch.index * 37, 3)
    return frame(0xD0, payload + [0] * 8)


def makeBinary():
    drive = Drive()
    out = bytearray()
    for epoch in drive.epochs(BINARY_EPOCHS):
        if epoch.restart:
            out += versionFrame()
        out += positionFrame(epoch)
        out += dateTimeFrame(epoch)
        out += satelliteFrame(epoch)
        out += dopFrame(epoch)
        if epoch.index % 10 == 7:
            out += receiverStatusFrame(epoch)
    return bytes(out)


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "samples"
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in (("sample-nmea.bin", makeNmea()), ("sample-binary.bin", makeBinary())):
        (folder / name).write_bytes(data)
        print("%s: %d bytes" % (folder / name, len(data)))


if __name__ == "__main__":
    main()
