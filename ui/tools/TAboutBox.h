#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

namespace zz {

// Hands an address to the platform to show in the user's browser; true when it was handed on.
using TPageOpener = std::function<bool(const QUrl&)>;

// The "About this software" box: the product title, the version, the rights notice and a
// picture whose lower left corner opens the project's page. OK and Escape close it.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    static constexpr QSize kPictureSize{349, 89};
    // The spot over the picture's lower left corner that opens the project's page.
    static constexpr QSize kSpotSize{89, 13};

    // openPage shows the page; without it the desktop's browser does.
    explicit TAboutBox(QWidget* parent = nullptr, TPageOpener openPage = {});

    // The project's page: an address, or a file on this machine, chosen when building; a chosen
    // file this machine lacks gives way to the README installed with the program.
    static QUrl PageAddress();

    // The spot's click: the page is opened; a failure is not reported.
    void Label1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape closes the box as OK does.
    void reject() override;

private:
    void BuildPanel();
    QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& bounds);

    TPageOpener OpenPage;
    QLabel* ProgramIcon = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* OKButton = nullptr;
};

} // namespace zz
