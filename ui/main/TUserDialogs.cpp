#include "ui/main/TUserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace zz {
namespace {

QMessageBox::Icon BoxIcon(TMessageIcon icon)
{
    switch (icon) {
    case TMessageIcon::Warning:
        return QMessageBox::Warning;
    case TMessageIcon::Information:
        return QMessageBox::Information;
    case TMessageIcon::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

TUserDialogs::~TUserDialogs() = default;

bool TUserDialogs::Ask(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void TUserDialogs::Tell(QWidget* parent, TMessageIcon icon, const QString& caption,
                        const QString& text)
{
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void TUserDialogs::Beep()
{
    QApplication::beep();
}

QString TUserDialogs::SaveFileName(QWidget* parent, const TSaveRequest& request)
{
    QFileDialog dialog(parent, request.Title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.Filter);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString TUserDialogs::OpenFileName(QWidget* parent, const TOpenRequest& request)
{
    QFileDialog dialog(parent, request.Title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(request.Filters);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

int TUserDialogs::RunModal(QDialog& dialog)
{
    return dialog.exec();
}

} // namespace zz
