#include "ui/windows/TAltiPlot.h"

namespace zz {

TAltiPlot::TAltiPlot(TControlFlags& flags, QWidget* parent)
    : TTimePlotForm(TTimePlotKind::Altitude, flags, parent)
{
}

} // namespace zz
