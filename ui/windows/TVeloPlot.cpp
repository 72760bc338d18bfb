#include "ui/windows/TVeloPlot.h"

namespace zz {

TVeloPlot::TVeloPlot(TControlFlags& flags, QWidget* parent)
    : TTimePlotForm(TTimePlotKind::Velocity, flags, parent)
{
}

} // namespace zz
