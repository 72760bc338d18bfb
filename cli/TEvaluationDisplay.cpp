#include "cli/TEvaluationDisplay.h"

namespace zz::cli {

void TEvaluationDisplay::SetInfoText(TInfoLabel label, std::string_view text)
{
    if (label == TInfoLabel::ttff) {
        Ttff = text;
    }
}

void TEvaluationDisplay::BeginUpdate(const TReceiverState& snapshot)
{
    Sink(snapshot);
}

} // namespace zz::cli
