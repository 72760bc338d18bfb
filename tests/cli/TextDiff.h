#pragma once

#include <string>
#include <string_view>

namespace zz::test {

// How actual differs from expected, for a person to read: the number of the first line that
// differs with both versions of it, then the differing stretches as unified-diff hunks
// (" " context, "-" expected only, "+" actual only), a few of them and each cut to a readable
// length. Empty when the texts are equal.
std::string DescribeTextDifference(std::string_view expected, std::string_view actual);

} // namespace zz::test
