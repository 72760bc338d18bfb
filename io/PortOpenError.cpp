#include "io/PortOpenError.h"

#include <cerrno>

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

} // namespace zz
