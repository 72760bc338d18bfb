#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace zz {

// The Log window's content: the recent traffic with the receiver, one line per received
// sentence (or binary message) and one per sent command, in a read-only box that does not wrap.
class TLogForm : public QWidget
{
    Q_OBJECT

public:
    explicit TLogForm(QWidget* parent = nullptr);

    // A line from the receiver, shown as handed over; the view follows the newest line, and the
    // oldest lines go once the text has grown to the trim threshold.
    void AppendLogLine(std::string_view line);
    // A command the user sent, shown with a leading "/"; neither scrolls nor trims.
    void AppendSentLine(std::string_view command);
    void Clear();

    // The text the box holds, each line ended by '\n'.
    const std::string& Text() const { return Content; }
    QPlainTextEdit* MemoLog() const { return Memo; }

private:
    void AppendToBox(std::string_view text);
    void ScrollToNewest();

    QPlainTextEdit* Memo = nullptr;
    std::string Content;
};

} // namespace zz
