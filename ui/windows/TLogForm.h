#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QPlainTextEdit;
class QTimer;

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

    // Lines reach the box together once per kRefreshMs rather than one repaint per line, which
    // at ten cycles a second would be most of the program's work. Text() is always current.
    static constexpr int kRefreshMs = 250;
    // Brings the box up to Text() now.
    void FlushToBox();

    // The text the box holds, each line ended by '\n'.
    const std::string& Text() const { return Content; }
    QPlainTextEdit* MemoLog() const { return Memo; }

private:
    void AddPending(std::string_view text);
    void ScrollToNewest();

    QPlainTextEdit* Memo = nullptr;
    QTimer* RefreshTimer = nullptr;
    std::string Content;
    // Text appended since the last flush; BoxStale: the front was trimmed, the box is refilled.
    std::string Pending;
    bool BoxStale = false;
    bool ScrollPending = false;
};

} // namespace zz
