#pragma once

#include "cli/CliOptions.h"
#include "core/TControlFlags.h"
#include "core/TKeptValues.h"

namespace zz::cli {

// What the decoders follow, from the command's options: the protocol, the header of the NMEA
// cycle (header; a live run without --header takes GGA) and the references given, with the
// mirrors the raw-log marker and the display cycle read.
void ApplyDecoderChoices(const TCliOptions& options, THeader header, TKeptValues& kept,
                         TControlFlags& flags);

} // namespace zz::cli
