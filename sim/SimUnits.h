#pragma once

#include <cstdint>
#include <string>

namespace zz {

// A coordinate in degrees as a whole number of ten-thousandths of a minute of arc, rounded to
// the nearest; negative for south and west.
int64_t MinuteTenThousandths(double degrees);

// Appends value as decimal digits, zero-padded to at least width digits after any sign.
void AppendInteger(std::string& out, int64_t value, int width);

// Appends value in fixed notation with the given number of decimals, the point always '.'.
void AppendFixedPoint(std::string& out, double value, int decimals);

} // namespace zz
