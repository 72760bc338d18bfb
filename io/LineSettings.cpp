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

bool DataBitsFlag(TDataBits dataBits, tcflag_t& flag)
{
    switch (dataBits) {
    case TDataBits::Seven:
        flag = CS7;
        return true;
    case TDataBits::Eight:
        flag = CS8;
        return true;
    }
    return false;
}

bool ParityFlags(TParity parity, tcflag_t& flags)
{
    switch (parity) {
    case TParity::None:
        flags = 0;
        return true;
    case TParity::Odd:
        flags = PARENB | PARODD;
        return true;
    case TParity::Even:
        flags = PARENB;
        return true;
    }
    return false;
}

bool StopBitsFlag(TStopBits stopBits, tcflag_t& flag)
{
    switch (stopBits) {
    case TStopBits::One:
        flag = 0;
        return true;
    case TStopBits::OneAndHalf:
    case TStopBits::Two:
        flag = CSTOPB;
        return true;
    }
    return false;
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

bool ApplyLineSettings(termios& settings, const COMSTATUS& line)
{
    speed_t speed = B0;
    tcflag_t sizeFlag = CS8;
    tcflag_t parityFlags = 0;
    tcflag_t stopFlag = 0;
    if (!BaudToSpeed(line.BaudRate, speed) || !DataBitsFlag(line.DataBits, sizeFlag) ||
        !ParityFlags(line.Parity, parityFlags) || !StopBitsFlag(line.StopBits, stopFlag)) {
        return false;
    }
    termios result = settings;
    cfmakeraw(&result);
    cfsetispeed(&result, speed);
    cfsetospeed(&result, speed);

    result.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
    result.c_cflag |= sizeFlag | parityFlags | stopFlag | CREAD | CLOCAL;

    // Output flow control obeys the XOFF the receiver sends; input flow control sends XOFF to
    // it when our input queue fills.
    result.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (line.XonXoffOut) {
        result.c_iflag |= IXON;
    }
    if (line.XonXoffIn) {
        result.c_iflag |= IXOFF;
    }

    // The port is read non-blocking after poll: a read returns whatever has arrived.
    result.c_cc[VMIN] = 1;
    result.c_cc[VTIME] = 0;
    settings = result;
    return true;
}

} // namespace zz
