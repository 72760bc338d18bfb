#pragma once

#include <QFrame>
#include <QImage>
#include <QString>
#include <cstdint>

#include "ui/main/TReplayBarScale.h"

class QGroupBox;
class QLabel;
class QScrollBar;
class QToolButton;

namespace zz {

class TRadioGroup;

// The replay panel of the main window: the replayed file's name, the speed choice, the play
// and pause button and the position bar over the file. It only shows and reports; the main
// window decides what a click does.
class TReplayPanel : public QFrame
{
    Q_OBJECT

public:
    static constexpr int kHeight = 42;
    // Items of TrackBar1.
    static constexpr int kSpeedSlow = 0;
    static constexpr int kSpeedMid = 1;
    static constexpr int kSpeedFast = 2;

    explicit TReplayPanel(QWidget* parent = nullptr);

    // Label1 shows the file name without its folder; both hints show the full path.
    void ShowFile(const QString& fullPath);
    // The bar spans the file, its position at 0.
    void SetFileSize(int64_t bytes);
    int64_t FileSize() const;
    // Moves the bar to the offset read so far; ignored while the user is scrolling the bar, so
    // that the reader does not pull the thumb out of the user's hand.
    void SetPosition(int64_t offset);
    // The byte offset the bar shows.
    int64_t Position() const;
    bool AtEnd() const;
    // True between the user's press on the bar and the release that ends the scroll action.
    bool UserScrolling() const;

    void SetSpeedIndex(int index);
    int SpeedIndex() const;

    // Presses or releases SpeedButton1 without reporting it.
    void SetPlayButtonDown(bool down);
    bool PlayButtonDown() const;

    void DrawPlayPicture();
    void DrawPausePicture();
    // The button's pictures, drawn on a white square from (0,0) to (23,23).
    static QImage PlayPicture();
    static QImage PausePicture();

signals:
    // The user toggled SpeedButton1; down is its new state.
    void PlayClicked(bool down);
    // The user ended a scroll action on the bar (thumb let go, arrow or page click released);
    // offset is where the bar then stands.
    void SeekRequested(int64_t offset);
    // TrackBar1's choice changed, by the user or by SetSpeedIndex.
    void SpeedChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowPicture(const QImage& picture);
    void ScrollEnded();

    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    TRadioGroup* TrackBar1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    TReplayBarScale Scale;
    // The offset the bar shows; kept exact while the bar's value is the one it maps to.
    int64_t ShownOffset = 0;
};

} // namespace zz
