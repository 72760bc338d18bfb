#pragma once

#include <string>
#include <vector>

namespace zz {

// The port name that stands for the built-in simulated receiver.
inline constexpr const char* kSimulatedPortName = "SIM";

// The serial devices under deviceDirectory (ttyS, ttyUSB, ttyACM, ttyAMA and rfcomm, each
// family in natural order: ttyS2 before ttyS10) that can be opened and are not held by another
// program, as full paths, followed by kSimulatedPortName. A device is opened non-blocking,
// checked and closed; its line settings are left as they were.
std::vector<std::string> ScanPorts(const std::string& deviceDirectory = "/dev");

} // namespace zz
