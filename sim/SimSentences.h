#pragma once

#include <string>
#include <string_view>

#include "sim/TSimEpoch.h"

namespace zz {

// Appends one sentence: "$", the body, "*", the two upper-case hexadecimal digits of the
// exclusive-or of the body's bytes, CR LF.
void AppendSentence(std::string_view body, std::string& out);

// Each appends the sentence (for GSV, the whole set) the receiver sends for the epoch.
void AppendGGA(const TSimEpoch& epoch, std::string& out);
void AppendGLL(const TSimEpoch& epoch, std::string& out);
void AppendGSA(const TSimEpoch& epoch, std::string& out);
void AppendGSV(const TSimEpoch& epoch, std::string& out);
void AppendRMC(const TSimEpoch& epoch, std::string& out);
void AppendVTG(const TSimEpoch& epoch, std::string& out);
void AppendZDA(const TSimEpoch& epoch, std::string& out);
void AppendROT(const TSimEpoch& epoch, std::string& out);
void AppendGPacc(const TSimEpoch& epoch, std::string& out);
void AppendGPwav(const TSimEpoch& epoch, std::string& out);
// The version report the receiver sends when it restarts.
void AppendGPtst(std::string& out);

} // namespace zz
