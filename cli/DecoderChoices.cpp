#include "cli/DecoderChoices.h"

namespace zz::cli {

void ApplyDecoderChoices(const TCliOptions& options, THeader header, TKeptValues& kept,
                         TControlFlags& flags)
{
    kept.HeaderIndex = header;
    kept.LFref = options.LFref;
    kept.SAref = options.SAref;
    kept.VDref = options.VDref;
    kept.ProtocolIndex = options.Protocol;
    flags.ProtocolSelection = options.Protocol;
    flags.HeaderSelection = header;
}

} // namespace zz::cli
