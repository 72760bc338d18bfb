#pragma once

#include "ui/windows/TTimePlotForm.h"

namespace zz {

// The content of the "Velocity plot" window: the speed of each navigation cycle over the last 600
// cycles.
class TVeloPlot : public TTimePlotForm
{
    Q_OBJECT

public:
    explicit TVeloPlot(TControlFlags& flags, QWidget* parent = nullptr);
};

} // namespace zz
