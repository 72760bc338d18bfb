#pragma once

#include <cstdint>
#include <string>

namespace zz {

// The port settings the receiver setting dialog hands to the main window.
struct COMSTATUS
{
    std::string PortName; // a device path such as /dev/ttyUSB0
    int32_t BaudRate = 9600;
    int32_t DataBits = 8;
    int32_t StopBits = 0;      // 0 one, 1 one and a half, 2 two
    int32_t Parity = 0;        // 0 none, 1 odd, 2 even
    int32_t BaudRateIndex = 2; // index in the dialog's baud rate list
};

} // namespace zz
