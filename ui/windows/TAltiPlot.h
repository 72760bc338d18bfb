#pragma once

#include "ui/windows/TTimePlotForm.h"

namespace zz {

// The content of the "Altitude plot" window: the altitude of each navigation cycle over the last
// 600 cycles.
class TAltiPlot : public TTimePlotForm
{
    Q_OBJECT

public:
    explicit TAltiPlot(TControlFlags& flags, QWidget* parent = nullptr);
};

} // namespace zz
