#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zz::test {

// "$" + body + "*hh\r\n" with the checksum of the body.
inline std::string Sentence(const std::string& body)
{
    unsigned sum = 0;
    for (const char c : body) {
        sum ^= static_cast<unsigned char>(c);
    }
    char check[8];
    std::snprintf(check, sizeof check, "*%02X\r\n", sum);
    return "$" + body + check;
}

// hhmmss.ss of a second count from midnight.
inline std::string TimeOfDay(int seconds)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d.00", seconds / 3600 % 24, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

// One 1 Hz cycle of a receiver at rest: GGA (the header) with the given position fields
// ("lat,N,lon,E", or ",,," for none) and quality, GSA, ZDA on 2024-03-01.
inline std::string Cycle(int second, const std::string& position, int quality, double altitude)
{
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, ",%d,08,0.9,%.1f,M,47.3,M,,", quality, altitude);
    const std::string time = TimeOfDay(second);
    return Sentence("GPGGA," + time + "," + position + numbers) +
           Sentence(std::string("GPGSA,A,") + (quality == 0 ? "1" : "3") +
                    ",02,05,07,09,13,18,20,24,,,,,1.8,0.9,1.5") +
           Sentence("GPZDA," + time + ",01,03,2024,00,00");
}

} // namespace zz::test
