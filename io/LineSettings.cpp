#include "io/LineSettings.h"

namespace zz {
namespace {

struct TBaudSpeed
{
    int Baud;
    speed_t Speed;
};

constexpr TBaudSpeed kBaudSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

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
    for (const TBaudSpeed& entry : kBaudSpeeds) {
        if (entry.Baud == baud) {
            speed = entry.Speed;
            return true;
        }
    }
    return false;
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
