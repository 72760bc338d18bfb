#pragma once

#include <QSize>
#include <QWidget>

#include "core/TControlFlags.h"
#include "core/TReceiverState.h"
#include "core/TTimePlotModel.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;

namespace zz {

class TChart;
class TPointSeries;
class TUpDown;

// The content of the altitude or the velocity plot window: the last 600 samples against their
// sample count, and below them the scale controls ("Auto", the two edits and their up/down
// buttons). The model decides everything; the widget copies it to the chart and the controls.
class TTimePlotForm : public QWidget
{
    Q_OBJECT

public:
    // The window's smallest outer size, applied to the child window that takes this form.
    static constexpr QSize kMinimumOuterSize{207, 250};

    TTimePlotForm(TTimePlotKind kind, TControlFlags& flags, QWidget* parent = nullptr);
    ~TTimePlotForm() override;

    // The plot step of one display cycle: the kind's sample count and value of the snapshot.
    void UpdatePlot(const TReceiverState& snapshot);
    // The protocol thread restarted the sample counters: the series is emptied.
    void ClearSeries();
    // Full reset: data emptied, scale back to 0..10 with "Auto" ticked.
    void ResetDisplay();
    // Clear: data emptied, scale settings kept.
    void ClearDisplay();

    // The control handlers, as a click runs them.
    void UpDown1Click(TUpDownButton button);
    void UpDown2Click(TUpDownButton button);
    void AutochkClick();
    void CheckBox1Click();

    const TTimePlotModel& Model() const { return PlotModel; }
    TChart* Chart() const { return PlotChart; }
    const TPointSeries& Series1() const { return *Series; }
    QCheckBox* Autochk() const { return AutoBox; }
    QLineEdit* MinEdit() const { return MinBox; }
    QLineEdit* MaxEdit() const { return MaxBox; }
    TUpDown* UpDown1() const { return MinUpDown; }
    TUpDown* UpDown2() const { return MaxUpDown; }
    // Velocity plot only (null in the altitude plot).
    QCheckBox* CheckBox1() const { return JoinBox; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildScaleBox(const char* caption, const char* maxCaption, const char* minCaption);
    // Copies the model's series, axes and scale texts to the chart and the controls.
    void ShowModel();
    void ShowEdits();
    void ShowEnabled();
    // Plot margins that leave room for the axes' labels and titles.
    void FitMargins();

    TTimePlotModel PlotModel;
    TControlFlags& Flags;
    // The scale texts the edits show, to write only what changed.
    TShortText ShownMin;
    TShortText ShownMax;
    TChart* PlotChart = nullptr;
    TPointSeries* Series = nullptr;
    QGroupBox* ScaleBox = nullptr;
    QCheckBox* AutoBox = nullptr;
    QLineEdit* MaxBox = nullptr;
    QLineEdit* MinBox = nullptr;
    TUpDown* MaxUpDown = nullptr;
    TUpDown* MinUpDown = nullptr;
    QCheckBox* JoinBox = nullptr;
    QFrame* HiddenPanel = nullptr;
};

} // namespace zz
