#pragma once

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace zz {

enum class TMessageIcon
{
    Warning,
    Information,
    NoIcon, // a message box without an icon
};

// What a save dialog is shown with.
struct TSaveRequest
{
    QString Title;
    QString Filter;        // "Log File(*.log)"
    QString DefaultSuffix; // added when the user types a name without one
    QString FileName;      // proposed name
};

// What an open dialog is shown with.
struct TOpenRequest
{
    QString Title;
    QStringList Filters;   // "Log File(*.bin)", "All File(*.*)"
    QString DefaultSuffix; // tried when the typed name does not exist as it stands
};

// The modal boxes the main window and the receiver setting dialog show the user. The windows
// go through this class so that a test can answer in the user's place.
class TUserDialogs
{
public:
    virtual ~TUserDialogs();

    // A question with a question icon and Yes and No buttons; true for Yes.
    virtual bool Ask(QWidget* parent, const QString& caption, const QString& text);
    // A message with an OK button.
    virtual void Tell(QWidget* parent, TMessageIcon icon, const QString& caption,
                      const QString& text);
    // The default beep.
    virtual void Beep();
    // A file save dialog that asks before overwriting; the chosen path, empty when cancelled.
    virtual QString SaveFileName(QWidget* parent, const TSaveRequest& request);
    // A file open dialog; the chosen path, empty when cancelled.
    virtual QString OpenFileName(QWidget* parent, const TOpenRequest& request);
    // Shows a dialog of the program modally; its result.
    virtual int RunModal(QDialog& dialog);
};

} // namespace zz
