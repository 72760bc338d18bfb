#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace zz {

// Every rate a serial line can be set to here, ascending. Each has a termios speed constant
// named B followed by the rate (B9600), so the layers that set a line build their table of
// constants from this one list: ZZ_LINE_BAUD_RATES(X) is X(rate) for each rate, with commas.
#define ZZ_LINE_BAUD_RATES(X)                                                                      \
    X(50), X(75), X(110), X(134), X(150), X(200), X(300), X(600), X(1200), X(1800), X(2400),       \
        X(4800), X(9600), X(19200), X(38400), X(57600), X(115200), X(230400), X(460800),           \
        X(500000), X(576000), X(921600), X(1000000), X(1152000), X(1500000), X(2000000),           \
        X(2500000), X(3000000), X(3500000), X(4000000)

#define ZZ_BAUD_RATE_ITEM(rate) rate
inline constexpr auto kLineBaudRates =
    std::to_array<int32_t>({ZZ_LINE_BAUD_RATES(ZZ_BAUD_RATE_ITEM)});
#undef ZZ_BAUD_RATE_ITEM

// The highest rate a line can be set to.
inline constexpr int32_t kMaxLineBaudRate = kLineBaudRates.back();

// The rates the receiver setting dialog offers, by the index of its baud rate list.
inline constexpr std::array<int32_t, 7> kDialogBaudRates = {2400,  4800,  9600,  19200,
                                                            38400, 57600, 115200};

// The rates the simulated receiver serves its line at.
inline constexpr std::array<int32_t, 9> kSimulatorBaudRates = {1200,  2400,  4800,   9600,  19200,
                                                               38400, 57600, 115200, 230400};

// The position of rate in kLineBaudRates; -1 when a line cannot be set to it.
int LineBaudRateIndex(int32_t rate);

// Whether rate is one of rates.
bool IsListedBaudRate(std::span<const int32_t> rates, int32_t rate);

// The rates as a person reads them in a message: "1200, 2400, 4800".
std::string BaudRateListText(std::span<const int32_t> rates);

} // namespace zz
