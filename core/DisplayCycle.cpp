#include "core/DisplayCycle.h"

namespace zz {

std::string_view InfoLabelName(TInfoLabel label)
{
    switch (label) {
    case TInfoLabel::utc:
        return "utc";
    case TInfoLabel::fix:
        return "fix";
    case TInfoLabel::dim:
        return "dim";
    case TInfoLabel::rot:
        return "rot";
    case TInfoLabel::usat:
        return "usat";
    case TInfoLabel::lat:
        return "lat";
    case TInfoLabel::lon:
        return "lon";
    case TInfoLabel::alt:
        return "alt";
    case TInfoLabel::vel:
        return "vel";
    case TInfoLabel::dir:
        return "dir";
    case TInfoLabel::MT:
        return "MT";
    case TInfoLabel::pdop:
        return "pdop";
    case TInfoLabel::hdop:
        return "hdop";
    case TInfoLabel::vdop:
        return "vdop";
    case TInfoLabel::ttff:
        return "ttff";
    case TInfoLabel::fver:
        return "fver";
    }
    return {};
}

std::string_view DrLabelName(TDrLabel label)
{
    switch (label) {
    case TDrLabel::rot:
        return "rot";
    case TDrLabel::rotst:
        return "rotst";
    case TDrLabel::rotcnt:
        return "rotcnt";
    }
    return {};
}

} // namespace zz
