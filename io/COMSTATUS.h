#pragma once

#include <cstdint>
#include <string>

namespace zz {

// Data bits of a character on the line.
enum class TDataBits : int32_t
{
    Seven = 7,
    Eight = 8,
};

enum class TParity : int32_t
{
    None = 0,
    Odd = 1,
    Even = 2,
};

// Stop bits of a character; a line that has no one and a half takes two.
enum class TStopBits : int32_t
{
    One = 0,
    OneAndHalf = 1,
    Two = 2,
};

// The settings of the serial line to a receiver: which port, how fast, how a character is
// framed, and whether XON/XOFF flow control runs in either direction.
struct COMSTATUS
{
    std::string PortName; // a device path such as /dev/ttyUSB0
    int32_t BaudRate = 9600;
    TDataBits DataBits = TDataBits::Eight;
    TParity Parity = TParity::None;
    TStopBits StopBits = TStopBits::One;
    bool XonXoffIn = false;  // send XOFF to the receiver when our input queue fills
    bool XonXoffOut = false; // obey the XOFF the receiver sends

    bool operator==(const COMSTATUS&) const = default;
};

} // namespace zz
