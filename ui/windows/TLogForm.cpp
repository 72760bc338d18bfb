#include "ui/windows/TLogForm.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/windows/LogTrim.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 12;

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TLogForm::TLogForm(QWidget* parent) : QWidget(parent)
{
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("MemoLog"));
    Memo->setReadOnly(true);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setUndoRedoEnabled(false);
    Memo->setFont(FixedPitchFont(kFontPixels));
    // Read-only traffic: reachable by the mouse for selecting and copying, never by Tab.
    Memo->setFocusPolicy(Qt::ClickFocus);
    Memo->setAttribute(Qt::WA_InputMethodEnabled, false);

    RefreshTimer = new QTimer(this);
    RefreshTimer->setSingleShot(true);
    RefreshTimer->setInterval(kRefreshMs);
    connect(RefreshTimer, &QTimer::timeout, this, &TLogForm::FlushToBox);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo);
}

void TLogForm::AppendLogLine(std::string_view line)
{
    Content.append(line);
    Content.push_back('\n');
    if (const size_t cut = LogTrimLength(Content); cut > 0) {
        Content.erase(0, cut);
        BoxStale = true;
        Pending.clear();
    } else {
        AddPending(line);
    }
    ScrollPending = true;
    if (!RefreshTimer->isActive()) {
        RefreshTimer->start();
    }
}

void TLogForm::AppendSentLine(std::string_view command)
{
    std::string line = "/";
    line.append(command);
    Content.append(line);
    Content.push_back('\n');
    AddPending(line);
    if (!RefreshTimer->isActive()) {
        RefreshTimer->start();
    }
}

void TLogForm::Clear()
{
    RefreshTimer->stop();
    Content.clear();
    Pending.clear();
    BoxStale = false;
    ScrollPending = false;
    Memo->clear();
}

void TLogForm::AddPending(std::string_view text)
{
    if (!BoxStale) {
        Pending.append(text);
        Pending.push_back('\n');
    }
}

void TLogForm::FlushToBox()
{
    RefreshTimer->stop();
    if (BoxStale) {
        Memo->setPlainText(Latin1(Content));
    } else if (!Pending.empty()) {
        QTextCursor cursor(Memo->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(Latin1(Pending));
    }
    Pending.clear();
    BoxStale = false;
    if (ScrollPending) {
        ScrollToNewest();
        ScrollPending = false;
    }
}

void TLogForm::ScrollToNewest()
{
    QScrollBar* bar = Memo->verticalScrollBar();
    bar->setValue(bar->maximum());
}

} // namespace zz
