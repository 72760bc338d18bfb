#include "tests/cli/TextDiff.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace zz::test {
namespace {

// Lines of context shown around a hunk.
constexpr size_t kContextLines = 3;
// Lines that must agree again for a hunk to end; at least the context after it.
constexpr size_t kResyncLines = 3;
static_assert(kContextLines <= kResyncLines);
// How far past the start of a hunk its end is looked for, on each side.
constexpr size_t kSearchLines = 400;
constexpr size_t kMaxHunks = 5;
// Lines shown of one side of a hunk.
constexpr size_t kMaxSideLines = 12;

struct TLine
{
    std::string_view Text;
    bool Newline = true; // false only for a last line without a line feed

    bool operator==(const TLine&) const = default;
};

using TLines = std::vector<TLine>;

TLines SplitLines(std::string_view text)
{
    TLines lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back({text.substr(start), false});
            break;
        }
        lines.push_back({text.substr(start, end - start), true});
        start = end + 1;
    }
    return lines;
}

// Whether the texts agree for kResyncLines lines from (i, j), or both end there together.
bool AgreeFrom(const TLines& expected, size_t i, const TLines& actual, size_t j)
{
    for (size_t k = 0; k < kResyncLines; ++k) {
        const bool expectedEnds = i + k >= expected.size();
        const bool actualEnds = j + k >= actual.size();
        if (expectedEnds || actualEnds) {
            return expectedEnds && actualEnds;
        }
        if (!(expected[i + k] == actual[j + k])) {
            return false;
        }
    }
    return true;
}

struct THunkEnd
{
    size_t Expected;
    size_t Actual;
};

// Where the texts agree again after differing at (i, j): the first such pair with the fewest
// lines skipped on both sides together; the two ends when they do not agree within the search.
THunkEnd FindHunkEnd(const TLines& expected, size_t i, const TLines& actual, size_t j)
{
    for (size_t skipped = 1; skipped <= 2 * kSearchLines; ++skipped) {
        for (size_t expectedSkip = 0; expectedSkip <= skipped; ++expectedSkip) {
            const size_t actualSkip = skipped - expectedSkip;
            if (expectedSkip > kSearchLines || actualSkip > kSearchLines ||
                i + expectedSkip > expected.size() || j + actualSkip > actual.size()) {
                continue;
            }
            if (AgreeFrom(expected, i + expectedSkip, actual, j + actualSkip)) {
                return {i + expectedSkip, j + actualSkip};
            }
        }
    }
    return {expected.size(), actual.size()};
}

std::string LineText(const TLines& lines, size_t index)
{
    if (index >= lines.size()) {
        return "(end of text)";
    }
    const TLine& line = lines[index];
    return std::string(line.Text) + (line.Newline ? "" : " (no newline at end)");
}

void AppendLine(std::string& out, char mark, const TLine& line)
{
    out += mark;
    out += line.Text;
    out += '\n';
    if (!line.Newline) {
        out += "\\ no newline at end\n";
    }
}

void AppendLines(std::string& out, char mark, const TLines& lines, size_t from, size_t to)
{
    const size_t shown = std::min(to - from, kMaxSideLines);
    for (size_t k = 0; k < shown; ++k) {
        AppendLine(out, mark, lines[from + k]);
    }
    if (to - from > shown) {
        out += std::string(1, mark) + "... " + std::to_string(to - from - shown) + " more lines\n";
    }
}

// A hunk range as unified diffs write it: the first line (1-based) and the count; an empty
// range names the line before it.
std::string Range(size_t begin, size_t count)
{
    return std::to_string(count == 0 ? begin : begin + 1) + "," + std::to_string(count);
}

} // namespace

std::string DescribeTextDifference(std::string_view expected, std::string_view actual)
{
    if (expected == actual) {
        return {};
    }
    const TLines expectedLines = SplitLines(expected);
    const TLines actualLines = SplitLines(actual);
    size_t i = 0;
    size_t j = 0;
    // Steps over lines both texts share; the count of them.
    const auto skipCommon = [&] {
        const size_t from = i;
        while (i < expectedLines.size() && j < actualLines.size() &&
               expectedLines[i] == actualLines[j]) {
            ++i;
            ++j;
        }
        return i - from;
    };

    size_t common = skipCommon();
    std::string out = "first difference at line " + std::to_string(i + 1) + " (expected has " +
                      std::to_string(expectedLines.size()) + " lines, actual " +
                      std::to_string(actualLines.size()) + ")\n";
    out += "  expected: " + LineText(expectedLines, i) + "\n";
    out += "  actual:   " + LineText(actualLines, j) + "\n";
    for (size_t hunks = 0; i < expectedLines.size() || j < actualLines.size(); ++hunks) {
        if (hunks == kMaxHunks) {
            out += "(further differences not shown)\n";
            break;
        }
        const THunkEnd end = FindHunkEnd(expectedLines, i, actualLines, j);
        const size_t before = std::min(common, kContextLines);
        const size_t after = std::min(kContextLines, expectedLines.size() - end.Expected);
        out += "@@ -" + Range(i - before, before + (end.Expected - i) + after) + " +" +
               Range(j - before, before + (end.Actual - j) + after) + " @@\n";
        for (size_t k = i - before; k < i; ++k) {
            AppendLine(out, ' ', expectedLines[k]);
        }
        AppendLines(out, '-', expectedLines, i, end.Expected);
        AppendLines(out, '+', actualLines, j, end.Actual);
        for (size_t k = end.Expected; k < end.Expected + after; ++k) {
            AppendLine(out, ' ', expectedLines[k]);
        }
        i = end.Expected;
        j = end.Actual;
        common = skipCommon();
    }
    return out;
}

} // namespace zz::test
