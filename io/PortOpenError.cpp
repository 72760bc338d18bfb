#include "io/PortOpenError.h"

#include <cerrno>
#include <cstring>

namespace zz {

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
        return "no such device (is the receiver plugged in?)";
    case TPortOpenFailure::Busy:
        return "the port is in use by another program";
    case TPortOpenFailure::NotConfigurable:
        return "not a serial port, or it refused the line settings";
    case TPortOpenFailure::Other:
        break;
    }
    return error.Errno != 0 ? std::strerror(error.Errno) : "unknown error";
}

} // namespace zz
