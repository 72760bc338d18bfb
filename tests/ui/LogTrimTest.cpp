#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <string>

#include "ui/windows/LogTrim.h"
#include "ui/windows/TLogForm.h"

namespace zz {
namespace {

// The box shows exactly the window's text once its refresh has run, without being asked.
bool BoxCatchesUp(const TLogForm& form)
{
    return QTest::qWaitFor(
        [&] { return form.MemoLog()->toPlainText().toStdString() == form.Text(); }, 5000);
}

// count lines of length characters each, the last of them the line break.
std::string Lines(size_t count, size_t length)
{
    std::string text;
    for (size_t line = 0; line < count; ++line) {
        text.append(length - 1, static_cast<char>('a' + line % 26));
        text.push_back('\n');
    }
    return text;
}

TEST(LogTrim, NothingGoesBelowTheThreshold)
{
    const std::string justBelow = std::string(7998, 'x') + "\n";
    ASSERT_EQ(justBelow.size(), 7999u);
    EXPECT_EQ(LogTrimLength(justBelow), 0u);
    EXPECT_EQ(LogTrimLength(""), 0u);

    const std::string atThreshold = std::string(7999, 'x') + "\n";
    EXPECT_GT(LogTrimLength(atThreshold), 0u);
}

TEST(LogTrim, CutEndsTwoLinesAfterTheFiveThousandthCharacter)
{
    // With lines of equal length L, the lines wholly inside the first 5000 characters go, then
    // two more: the one the cut fell into (or that starts at it) and the one after it.
    for (const size_t length : {2u, 50u, 79u, 81u, 100u, 333u, 2500u, 4999u, 5000u, 5001u}) {
        SCOPED_TRACE(testing::Message() << "line length " << length);
        const size_t count = (kLogTrimThreshold + length - 1) / length;
        const std::string text = Lines(count, length);
        ASSERT_GE(text.size(), kLogTrimThreshold);

        const size_t expected = std::min((kLogTrimCut / length + 2) * length, text.size());
        const size_t cut = LogTrimLength(text);
        EXPECT_EQ(cut, expected);
        // What stays starts with a whole line.
        EXPECT_EQ(text[cut - 1], '\n');
    }
}

TEST(LogForm, ReceivedLinesScrollInAndTheOldestGoAtTheThreshold)
{
    TLogForm form;
    std::string lastLine;
    size_t appended = 0;
    // 80-character lines: the text reaches 8000 with the hundredth.
    for (; appended < 150; ++appended) {
        lastLine = "$GPGGA," + std::string(68, 'x') + std::to_string(1000 + appended);
        ASSERT_EQ(lastLine.size() + 1, 80u);
        form.AppendLogLine(lastLine);
        ASSERT_LT(form.Text().size(), kLogTrimThreshold) << "after line " << appended;
    }
    const std::string& text = form.Text();
    EXPECT_EQ(text.rfind(lastLine + "\n"), text.size() - lastLine.size() - 1);
    EXPECT_EQ(text.compare(0, 7, "$GPGGA,"), 0) << "the cut-off remainder of a line shows";
    EXPECT_EQ(text.size() % 80, 0u);
    EXPECT_TRUE(BoxCatchesUp(form));
}

TEST(LogForm, SentCommandsCarryASlashAndWaitForTheNextReceivedLineToTrim)
{
    TLogForm form;
    const std::string received(79, 'r');
    while (form.Text().size() + 80 < kLogTrimThreshold) {
        form.AppendLogLine(received);
    }
    const std::string command = "$DIRU,GPout," + std::string(28, '1');
    form.AppendSentLine(command);
    form.AppendSentLine(command);
    ASSERT_GE(form.Text().size(), kLogTrimThreshold);
    EXPECT_EQ(form.Text().substr(form.Text().size() - 2 * (command.size() + 2)),
              "/" + command + "\n/" + command + "\n");

    form.AppendLogLine("$GPRMC,next");
    EXPECT_LT(form.Text().size(), kLogTrimThreshold);
    EXPECT_EQ(form.Text().compare(0, received.size(), received), 0);
    EXPECT_NE(form.Text().find("/" + command + "\n/" + command + "\n$GPRMC,next\n"),
              std::string::npos);
    EXPECT_TRUE(BoxCatchesUp(form));
}

TEST(LogForm, ClearEmptiesTheBoxAndTheNextLineComesFirst)
{
    TLogForm form;
    form.AppendLogLine("$GPGGA,1");
    form.FlushToBox();
    form.AppendSentLine("abc");
    form.Clear();
    EXPECT_TRUE(form.Text().empty());
    EXPECT_TRUE(form.MemoLog()->toPlainText().isEmpty());

    form.AppendLogLine("$GPZDA,2");
    EXPECT_EQ(form.Text(), "$GPZDA,2\n");
    EXPECT_TRUE(BoxCatchesUp(form));
    EXPECT_EQ(form.MemoLog()->toPlainText(), QStringLiteral("$GPZDA,2\n"));
}

TEST(LogForm, BoxIsReadOnlyAndDoesNotWrap)
{
    TLogForm form;
    EXPECT_TRUE(form.MemoLog()->isReadOnly());
    EXPECT_EQ(form.MemoLog()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(form.MemoLog()->focusPolicy() & Qt::TabFocus, 0);
    const QFontMetrics metrics(form.MemoLog()->font());
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')),
              metrics.horizontalAdvance(QLatin1Char('W')));
}

} // namespace
} // namespace zz
