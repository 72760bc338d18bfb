#include "io/PortDiagnosis.h"

#include <vector>

#include "io/PortHolders.h"
#include "io/PortScan.h"

namespace zz {

void AddOpenFailureDetails(const std::string& devicePath, TPortOpenError& error,
                           const std::string& deviceDirectory)
{
    if (error.Reason == TPortOpenFailure::Busy) {
        error.Holders = FindPortHolders(devicePath);
    } else if (error.Reason == TPortOpenFailure::Missing) {
        error.PresentPorts = ScanPorts(deviceDirectory);
        std::erase(error.PresentPorts, std::string(kSimulatedPortName));
    }
}

} // namespace zz
