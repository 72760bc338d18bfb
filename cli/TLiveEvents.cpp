#include "cli/TLiveEvents.h"

namespace zz::cli {

void TLiveEvents::ShowTtffText(TTtffText text)
{
    Display.SetTtffText(text == TTtffText::Counting ? "counting" : "--");
}

} // namespace zz::cli
