#include "ui/windows/TLogForm.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
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

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo);
}

void TLogForm::AppendLogLine(std::string_view line)
{
    Content.append(line);
    Content.push_back('\n');
    AppendToBox(line);
    ScrollToNewest();

    if (const size_t cut = LogTrimLength(Content); cut > 0) {
        Content.erase(0, cut);
        Memo->setPlainText(Latin1(Content));
        ScrollToNewest();
    }
}

void TLogForm::AppendSentLine(std::string_view command)
{
    std::string line = "/";
    line.append(command);
    Content.append(line);
    Content.push_back('\n');
    AppendToBox(line);
}

void TLogForm::Clear()
{
    Content.clear();
    Memo->clear();
}

void TLogForm::AppendToBox(std::string_view text)
{
    QTextCursor cursor(Memo->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(Latin1(text) + QLatin1Char('\n'));
}

void TLogForm::ScrollToNewest()
{
    QScrollBar* bar = Memo->verticalScrollBar();
    bar->setValue(bar->maximum());
}

} // namespace zz
