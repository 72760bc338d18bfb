#include "monitor/TDisplay.h"

namespace zz {

void TDisplay::BeginUpdate(const TReceiverState&)
{
}
void TDisplay::EndUpdate()
{
}
void TDisplay::PlotPosition(const TReceiverState&, bool&)
{
}
void TDisplay::PlotAltitude(const TReceiverState&)
{
}
void TDisplay::PlotCourse(const TReceiverState&)
{
}
void TDisplay::ShowSatellites(const TReceiverState&)
{
}
void TDisplay::ShowAccuracy(const TReceiverState&)
{
}

} // namespace zz
