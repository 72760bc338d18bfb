#include "io/LineSettings.h"

#include <iterator>

#include "core/BaudRates.h"

namespace zz {
namespace {

// The termios constant of each rate of kLineBaudRates, in the same order.
#define ZZ_BAUD_SPEED(rate) B##rate
constexpr speed_t kLineSpeeds[] = {ZZ_LINE_BAUD_RATES(ZZ_BAUD_SPEED)};
#undef ZZ_BAUD_SPEED
static_assert(std::size(kLineSpeeds) == kLineBaudRates.size());

bool ByteSizeFlag(int byteSize, tcflag_t& flag)
{
    switch (byteSize) {
    case 5:
        flag = CS5;
        return true;
    case 6:
        flag = CS6;
        return true;
    case 7:
        flag = CS7;
        return true;
    case 8:
        flag = CS8;
        return true;
    default:
        return false;
    }
}

} // namespace

bool BaudToSpeed(int baud, speed_t& speed)
{
    const int index = LineBaudRateIndex(baud);
    if (index < 0) {
        return false;
    }
    speed = kLineSpeeds[index];
    return true;
}

bool ApplyLineSettings(termios& settings, int baud, bool xonXoffIn, bool xonXoffOut, int parity,
                       int stopBits, int byteSize)
{
    speed_t speed = B0;
    tcflag_t sizeFlag = CS8;
    if (!BaudToSpeed(baud, speed) || !ByteSizeFlag(byteSize, sizeFlag) || parity < kParityNone ||
        parity > kParityEven || stopBits < kStopBitsOne || stopBits > kStopBitsTwo) {
        return false;
    }
    termios result = settings;
    cfmakeraw(&result);
    cfsetispeed(&result, speed);
    cfsetospeed(&result, speed);

    result.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
    result.c_cflag |= sizeFlag | CREAD | CLOCAL;
    if (parity == kParityOdd) {
        result.c_cflag |= PARENB | PARODD;
    } else if (parity == kParityEven) {
        result.c_cflag |= PARENB;
    }
    if (stopBits != kStopBitsOne) {
        result.c_cflag |= CSTOPB;
    }

    // Output flow control obeys the XOFF the receiver sends; input flow control sends XOFF to
    // it when our input queue fills.
    result.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (xonXoffOut) {
        result.c_iflag |= IXON;
    }
    if (xonXoffIn) {
        result.c_iflag |= IXOFF;
    }

    // The port is read non-blocking after poll: a read returns whatever has arrived.
    result.c_cc[VMIN] = 1;
    result.c_cc[VTIME] = 0;
    settings = result;
    return true;
}

} // namespace zz
