#pragma once

#include <QFont>

namespace zz {

// The windows' proportional font at a pixel height: "Tahoma" where installed, else the
// platform's sans-serif.
QFont DisplayFont(int pixelSize);

// The platform's fixed-pitch font at a pixel height (for the traffic and the command line).
QFont FixedPitchFont(int pixelSize);

} // namespace zz
