#include "ui/windows/TTimePlotForm.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <algorithm>

#include "ui/charts/TChart.h"
#include "ui/windows/DarkScheme.h"
#include "ui/windows/TChildWindow.h"
#include "ui/windows/TUpDown.h"
#include "ui/windows/WindowFonts.h"

namespace zz {
namespace {

constexpr int kFontPixels = 11;
constexpr int kEditLength = 7;
const QRgb kPointColour = qRgb(255, 255, 255);

// The scale box below the chart and its controls, in the box's pixels.
constexpr int kScaleHeight = 66;
constexpr QRect kAutoRect{8, 18, 50, 18};
constexpr QRect kMaxCaptionRect{56, 16, 66, 20};
constexpr QRect kMaxEditRect{123, 16, 46, 20};
constexpr QRect kMaxUpDownRect{169, 16, 15, 20};
constexpr QRect kMinCaptionRect{56, 40, 66, 20};
constexpr QRect kMinEditRect{123, 40, 46, 20};
constexpr QRect kMinUpDownRect{169, 40, 15, 20};
constexpr QRect kJoinRect{8, 40, 40, 18};
constexpr QRect kHiddenPanelRect{8, 58, 40, 6};
constexpr QSize kMinimumClientSize{186, 150};

// What the chart draws beside its plot area (see TChart's axes).
constexpr int kTickLength = 3;
constexpr int kLabelGap = 2;
constexpr int kSpare = 3;

// Characters of a whole number's decimal text.
int DigitCount(int64_t value)
{
    int digits = 1;
    for (value = value < 0 ? -value : value; value >= 10; value /= 10) {
        ++digits;
    }
    return digits;
}

struct TKindTexts
{
    const char* ChartName;
    const char* LeftTitle;
    const char* ScaleCaption;
    const char* MaxCaption; // UTF-8: the colon is the full-width one
    const char* MinCaption;
};

constexpr TKindTexts kAltitudeTexts{"AltiChart", "Altitude  [m]", "Altitude Scale",
                                    "Max[m]\xEF\xBC\x9A", "Min[m]\xEF\xBC\x9A"};
constexpr TKindTexts kVelocityTexts{"VeloChart", "Velocity  [km/h]", "Velocity Scale",
                                    "Max[km/h]\xEF\xBC\x9A", "Min[km/h]\xEF\xBC\x9A"};

} // namespace

TTimePlotForm::TTimePlotForm(TTimePlotKind kind, TControlFlags& flags, QWidget* parent)
    : QWidget(parent), PlotModel(kind), Flags(flags)
{
    const TKindTexts& texts = kind == TTimePlotKind::Altitude ? kAltitudeTexts : kVelocityTexts;
    setMinimumSize(kMinimumClientSize);
    setFont(DisplayFont(kFontPixels));
    UseDarkScheme(*this);

    PlotChart = new TChart(this);
    PlotChart->setObjectName(QString::fromLatin1(texts.ChartName));
    PlotChart->setFont(DisplayFont(kFontPixels));
    PlotChart->SetBackgroundColour(kDarkBackground);
    PlotChart->AxisColour = Qt::white;
    PlotChart->TextColour = Qt::white;
    PlotChart->GridColour = QColor(0x80, 0x80, 0x80);
    TChartAxis& bottom = PlotChart->BottomAxis();
    bottom.Title = QStringLiteral("Time");
    bottom.Step = 1.0;
    bottom.Decimals = 0;
    TChartAxis& left = PlotChart->LeftAxis();
    left.Title = QString::fromLatin1(texts.LeftTitle);
    left.Step = 1.0;
    left.Decimals = 0;

    Series = &PlotChart->AddPointSeries(static_cast<size_t>(TTimePlotModel::kCapacity));
    Series->Shape = TMarkShape::Diamond;
    Series->MarkSize = 3;
    Series->MarkOutline = false;
    Series->JoinPoints = false;

    BuildScaleBox(texts.ScaleCaption, texts.MaxCaption, texts.MinCaption);
    if (kind == TTimePlotKind::Velocity) {
        JoinBox = new QCheckBox(QStringLiteral("   "), ScaleBox);
        JoinBox->setObjectName(QStringLiteral("CheckBox1"));
        JoinBox->setGeometry(kJoinRect);
        JoinBox->setEnabled(false);
        JoinBox->hide();
        connect(JoinBox, &QCheckBox::clicked, this, &TTimePlotForm::CheckBox1Click);
        HiddenPanel = new QFrame(ScaleBox);
        HiddenPanel->setObjectName(QStringLiteral("Panel1"));
        HiddenPanel->setGeometry(kHiddenPanelRect);
        HiddenPanel->hide();
    }
    ShowEdits();
    ShowEnabled();
    ShowModel();
}

TTimePlotForm::~TTimePlotForm() = default;

void TTimePlotForm::BuildScaleBox(const char* caption, const char* maxCaption,
                                  const char* minCaption)
{
    ScaleBox = new QGroupBox(QString::fromLatin1(caption), this);

    AutoBox = new QCheckBox(QStringLiteral("Auto"), ScaleBox);
    AutoBox->setObjectName(QStringLiteral("Autochk"));
    AutoBox->setGeometry(kAutoRect);
    AutoBox->setChecked(PlotModel.Autochk());
    connect(AutoBox, &QCheckBox::clicked, this, &TTimePlotForm::AutochkClick);

    const auto addEdit = [this](const char* name, const char* captionText, const QRect& captionRect,
                                const QRect& editRect) {
        auto* label = new QLabel(QString::fromUtf8(captionText), ScaleBox);
        label->setGeometry(captionRect);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = new QLineEdit(ScaleBox);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(editRect);
        edit->setMaxLength(kEditLength);
        return edit;
    };
    MaxBox = addEdit("MaxEdit", maxCaption, kMaxCaptionRect, kMaxEditRect);
    MinBox = addEdit("MinEdit", minCaption, kMinCaptionRect, kMinEditRect);
    // What the user types is the model's text at once; what the model writes is shown after
    // each step (ShowEdits).
    connect(MaxBox, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QByteArray bytes = text.toUtf8();
        PlotModel.SetMaxEdit(
            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        ShownMax = TShortText(PlotModel.MaxEdit());
    });
    connect(MinBox, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QByteArray bytes = text.toUtf8();
        PlotModel.SetMinEdit(
            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        ShownMin = TShortText(PlotModel.MinEdit());
    });

    MaxUpDown = new TUpDown(ScaleBox);
    MaxUpDown->setObjectName(QStringLiteral("UpDown2"));
    MaxUpDown->setGeometry(kMaxUpDownRect);
    connect(MaxUpDown, &TUpDown::Clicked, this, &TTimePlotForm::UpDown2Click);
    MinUpDown = new TUpDown(ScaleBox);
    MinUpDown->setObjectName(QStringLiteral("UpDown1"));
    MinUpDown->setGeometry(kMinUpDownRect);
    connect(MinUpDown, &TUpDown::Clicked, this, &TTimePlotForm::UpDown1Click);
}

void TTimePlotForm::UpdatePlot(const TReceiverState& snapshot)
{
    if (PlotModel.Kind() == TTimePlotKind::Altitude) {
        PlotModel.Plot(snapshot.AltitudeSampleCount, snapshot.Altitude, Flags.AltClearPending,
                       Flags.PlotClearRequest);
    } else {
        PlotModel.Plot(snapshot.VelocitySampleCount, snapshot.Speed, Flags.VeloClearPending,
                       Flags.PlotClearRequest);
    }
    ShowEdits();
    ShowModel();
}

void TTimePlotForm::ClearSeries()
{
    PlotModel.ClearSeries();
    ShowModel();
}

void TTimePlotForm::ResetDisplay()
{
    PlotModel.ResetDisplay();
    AutoBox->setChecked(PlotModel.Autochk());
    ShowEdits();
    ShowEnabled();
    ShowModel();
}

void TTimePlotForm::ClearDisplay()
{
    PlotModel.ClearDisplay();
    ShowModel();
}

void TTimePlotForm::UpDown1Click(TUpDownButton button)
{
    const std::optional<TShortText> text =
        zz::UpDown1Click(PlotModel.Kind(), button, PlotModel.MinEdit(), PlotModel.MaxEdit());
    if (text) {
        PlotModel.SetMinEdit(text->View());
        ShowEdits();
    }
}

void TTimePlotForm::UpDown2Click(TUpDownButton button)
{
    const std::optional<TShortText> text =
        zz::UpDown2Click(PlotModel.Kind(), button, PlotModel.MinEdit(), PlotModel.MaxEdit());
    if (text) {
        PlotModel.SetMaxEdit(text->View());
        ShowEdits();
    }
}

void TTimePlotForm::AutochkClick()
{
    PlotModel.SetAutochk(AutoBox->isChecked());
    ShowEnabled();
}

void TTimePlotForm::CheckBox1Click()
{
    if (JoinBox != nullptr) {
        Series->JoinPoints = JoinBox->isChecked();
        PlotChart->Changed();
    }
}

bool TTimePlotForm::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        if (auto* window = qobject_cast<TChildWindow*>(parentWidget())) {
            window->setMinimumSize(kMinimumOuterSize);
        }
    }
    return QWidget::event(event);
}

void TTimePlotForm::resizeEvent(QResizeEvent*)
{
    const int chartHeight = std::max(0, height() - kScaleHeight);
    PlotChart->setGeometry(0, 0, width(), chartHeight);
    ScaleBox->setGeometry(0, chartHeight, width(), kScaleHeight);
}

void TTimePlotForm::ShowModel()
{
    Series->Clear();
    for (int32_t index = 0; index < PlotModel.PointCount(); ++index) {
        const TTimePoint& point = PlotModel.Point(index);
        Series->Add(point.X, point.Y, kPointColour);
    }
    const TTimeAxis& time = PlotModel.TimeAxis();
    TChartAxis& bottom = PlotChart->BottomAxis();
    bottom.Range = TAxisRange{static_cast<double>(time.Min), static_cast<double>(time.Max)};
    bottom.AutomaticMaximum = time.AutomaticMaximum;
    const TValueAxis& value = PlotModel.ValueAxis();
    PlotChart->LeftAxis().Range =
        TAxisRange{static_cast<double>(value.Min), static_cast<double>(value.Max)};
    FitMargins();
    PlotChart->Changed();
}

void TTimePlotForm::ShowEdits()
{
    // Only a changed text is written, so a steady display cycle makes no strings.
    if (ShownMax.View() != PlotModel.MaxEdit()) {
        ShownMax = TShortText(PlotModel.MaxEdit());
        MaxBox->setText(
            QString::fromUtf8(ShownMax.View().data(), static_cast<qsizetype>(ShownMax.Size())));
    }
    if (ShownMin.View() != PlotModel.MinEdit()) {
        ShownMin = TShortText(PlotModel.MinEdit());
        MinBox->setText(
            QString::fromUtf8(ShownMin.View().data(), static_cast<qsizetype>(ShownMin.Size())));
    }
}

void TTimePlotForm::ShowEnabled()
{
    const bool manual = !AutoBox->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(MinBox), static_cast<QWidget*>(MaxBox),
                             static_cast<QWidget*>(MinUpDown), static_cast<QWidget*>(MaxUpDown)}) {
        control->setEnabled(manual);
    }
}

void TTimePlotForm::FitMargins()
{
    const QFontMetrics metrics(PlotChart->font());
    const int digit = metrics.horizontalAdvance(QLatin1Char('0'));
    const int minus = metrics.horizontalAdvance(QLatin1Char('-'));
    const auto labelWidth = [digit, minus](int64_t value) {
        return DigitCount(value) * digit + (value < 0 ? minus : 0);
    };
    const TValueAxis& value = PlotModel.ValueAxis();
    const int widestValue = std::max(labelWidth(value.Min), labelWidth(value.Max));
    // The time labels run up to the largest sample number shown.
    int64_t largestTime = PlotModel.TimeAxis().Max;
    if (PlotModel.PointCount() > 0) {
        largestTime = std::max<int64_t>(largestTime, PlotModel.Point(PlotModel.PointCount() - 1).X);
    }
    const int left = kTickLength + kLabelGap + widestValue + kLabelGap + metrics.height() + kSpare;
    const int top = metrics.ascent() / 2 + kSpare;
    const int right = labelWidth(largestTime) / 2 + kSpare;
    const int bottom = kTickLength + 2 * metrics.height() + kSpare;
    PlotChart->SetMargins(QMargins(left, top, right, bottom));
}

} // namespace zz
