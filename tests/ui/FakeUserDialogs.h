#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "ui/main/TUserDialogs.h"

namespace zz::test {

struct TAsked
{
    QString Caption;
    QString Text;
};

struct TTold
{
    TMessageIcon Icon;
    QString Caption;
    QString Text;
};

// Answers the windows' boxes in the user's place and remembers what they showed.
class TFakeUserDialogs : public TUserDialogs
{
public:
    bool Ask(QWidget* /*parent*/, const QString& caption, const QString& text) override
    {
        Asked.push_back({caption, text});
        return Answer;
    }

    void Tell(QWidget* /*parent*/, TMessageIcon icon, const QString& caption,
              const QString& text) override
    {
        Told.push_back({icon, caption, text});
    }

    void Beep() override { ++Beeps; }

    QString SaveFileName(QWidget* /*parent*/, const TSaveRequest& request) override
    {
        SaveRequests.push_back(request);
        if (SaveAnswers.empty()) {
            return {};
        }
        QString answer = SaveAnswers.front();
        SaveAnswers.pop_front();
        return answer;
    }

    QString OpenFileName(QWidget* /*parent*/, const TOpenRequest& request) override
    {
        OpenRequests.push_back(request);
        return OpenAnswer;
    }

    // The dialog's result without showing it, or what OnModal decides while it is shown.
    int RunModal(QDialog& dialog) override
    {
        ++ModalRuns;
        if (OnModal) {
            return OnModal(dialog);
        }
        return ModalResult;
    }

    bool Answer = true;              // to every question
    std::deque<QString> SaveAnswers; // empty: the user cancels
    std::vector<TAsked> Asked;
    std::vector<TTold> Told;
    std::vector<TSaveRequest> SaveRequests;
    QString OpenAnswer; // empty: the user cancels
    std::vector<TOpenRequest> OpenRequests;
    int ModalResult = 0;
    std::function<int(QDialog&)> OnModal;
    int ModalRuns = 0;
    int Beeps = 0;
};

} // namespace zz::test
