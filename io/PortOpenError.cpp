#include "io/PortOpenError.h"

#include <cerrno>
#include <cstring>

namespace zz {
namespace {

// "gpsd (pid 812)", several joined by "and"; "another program" when nobody could be seen.
std::string HoldersText(const TPortOpenError& error)
{
    if (error.Holders.empty()) {
        return "another program";
    }
    std::string text;
    for (size_t i = 0; i < error.Holders.size(); ++i) {
        text += i == 0 ? "" : (i + 1 == error.Holders.size() ? " and " : ", ");
        text += error.Holders[i].Name + " (pid " + std::to_string(error.Holders[i].Pid) + ")";
    }
    return text;
}

std::string PresentPortsText(const TPortOpenError& error)
{
    if (error.PresentPorts.empty()) {
        return "No serial port can be opened here";
    }
    std::string text = "Serial ports that can be opened: ";
    for (size_t i = 0; i < error.PresentPorts.size(); ++i) {
        text += i == 0 ? "" : ", ";
        text += error.PresentPorts[i];
    }
    return text;
}

} // namespace

TPortOpenFailure ClassifyOpenErrno(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return TPortOpenFailure::PermissionDenied;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return TPortOpenFailure::Missing;
    case EBUSY:
    case EWOULDBLOCK:
        return TPortOpenFailure::Busy;
    default:
        return TPortOpenFailure::Other;
    }
}

std::string DescribeOpenFailure(const TPortOpenError& error)
{
    switch (error.Reason) {
    case TPortOpenFailure::None:
        return "the port is open";
    case TPortOpenFailure::PermissionDenied:
        return "permission denied. Serial devices usually belong to the group 'dialout': "
               "add your user to it (sudo usermod -aG dialout $USER) and log in again";
    case TPortOpenFailure::Missing:
        return "no such device (is the receiver plugged in?). " + PresentPortsText(error);
    case TPortOpenFailure::Busy:
        return "the port is in use by " + HoldersText(error);
    case TPortOpenFailure::NotConfigurable:
        return "not a serial port, or it refused the line settings";
    case TPortOpenFailure::Other:
        break;
    }
    return error.Errno != 0 ? std::strerror(error.Errno) : "unknown error";
}

} // namespace zz
