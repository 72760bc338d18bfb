#pragma once

#include <string_view>

namespace zz {

// What the check characters of a received sentence or frame say about it. The decoders never
// test them (a sentence is decoded either way); the link statistics do.
enum class TCheckResult
{
    Good,
    Bad,     // wrong, or not two hexadecimal digits after the '*'
    Missing, // an NMEA sentence without '*'
};

// $GPGGA,...*hh: the exclusive-or of the characters between '$' and '*' against hh (either
// case). The text is the sentence without its CR LF.
TCheckResult CheckNmeaSentence(std::string_view text);

// The hexadecimal text of a binary frame (identifier, payload, check byte, end byte): the check
// byte against the exclusive-or of identifier and payload.
TCheckResult CheckBinaryFrameText(std::string_view hexText);

} // namespace zz
