// Cost of one display cycle with every window open and every series full: the monitor's cycle
// over a snapshot in which every group changed (the window updates), then each window painted
// into an image of its own (what the window system's repaint would cost). Runs offscreen.
//
// The series are filled first: 3600 track points, 600 altitude and 600 velocity points, 16
// satellites in view with SBAS among them.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "core/TControlFlags.h"
#include "core/TReceiverState.h"
#include "monitor/TMonitorThread.h"
#include "ui/main/TQtDisplay.h"
#include "ui/main/TWindowQueue.h"
#include "ui/windows/TAltiPlot.h"
#include "ui/windows/TCN.h"
#include "ui/windows/TInfoForm.h"
#include "ui/windows/TLogForm.h"
#include "ui/windows/TPosPlot.h"
#include "ui/windows/TROTForm.h"
#include "ui/windows/TSky.h"
#include "ui/windows/TTtrack.h"
#include "ui/windows/TVeloPlot.h"

namespace zz {
namespace {

constexpr int kFillCycles = 3700;

// The sentences of one cycle of a receiver reporting every group.
constexpr const char* kCycleLines[] = {
    "$GPGGA,120000.00,3540.0000,N,13945.0000,E,1,09,0.9,40.0,M,39.5,M,,*4F",
    "$GPGSA,A,3,01,03,05,07,09,11,13,15,17,,,,1.8,0.9,1.5*3A",
    "$GPGSV,4,1,13,01,40,083,41,03,17,308,44,05,07,344,39,07,22,145,44*7F",
    "$GPGSV,4,2,13,09,60,215,45,11,09,033,40,13,35,120,42,15,50,270,46*70",
    "$GPGSV,4,3,13,17,12,300,37,19,25,060,35,21,33,180,38,23,45,090,40*7C",
    "$GPGSV,4,4,13,25,05,010,30*4B",
    "$GPRMC,120000.00,A,3540.0000,N,13945.0000,E,19.4,90.0,101226,,,A*6B",
    "$GPVTG,90.0,T,,M,19.4,N,36.0,K,A*0A",
    "$GPZDA,120000.00,10,12,2026,00,00*6E",
    "$GPROT,0.0,A*31",
    "$DIRU,GPacc,01,1,03,2,05,3,07,4*00",
    "$DIRU,GPwav,3,33,30,200,40,35,25,150,38,38,20,100,36*00",
};

constexpr std::array<const char*, 9> kNames = {"Information",   "Position plot", "Altitude plot",
                                               "Velocity plot", "Sky plot",      "Signal level",
                                               "Direction",     "Log",           "DR"};

// Every window with its default size, the display and an idle monitor thread that runs the
// cycle on this thread.
class TAllWindows
{
public:
    TAllWindows()
        : PosPlot(Flags), AltiPlot(Flags), VeloPlot(Flags),
          Display(Queue, TQtDisplay::TWindows{Info, Log, Rot, PosPlot, AltiPlot, VeloPlot, Ttrack,
                                              CN, Sky}),
          Monitor(Flags, Display)
    {
        Flags.Running.store(1);
        const std::array<std::pair<QWidget*, QSize>, 9> windows = {{
            {&Info, {243, 355}},
            {&PosPlot, {355, 355}},
            {&AltiPlot, {207, 355}},
            {&VeloPlot, {207, 355}},
            {&Sky, {254, 321}},
            {&CN, {496, 321}},
            {&Ttrack, {262, 321}},
            {&Log, {500, 250}},
            {&Rot, {207, 95}},
        }};
        static_assert(windows.size() == kNames.size());
        for (const auto& [window, size] : windows) {
            window->resize(size);
            Windows.push_back(window);
            Images.emplace_back(window->size(), QImage::Format_RGB32);
        }
    }

    // One cycle: a dozen sentences for the Log window, then every group changed.
    void Cycle(int index)
    {
        for (const char* line : kCycleLines) {
            Log.AppendLogLine(line);
        }
        FillState(index);
        Monitor.RunDisplayCycle(State);
    }

    void PaintAll()
    {
        FlushLog();
        for (size_t index = 0; index < Windows.size(); ++index) {
            Paint(index);
        }
    }

    void Paint(size_t index) { Windows[index]->render(&Images[index]); }
    // Brings the Log box up to the lines given to it, as its refresh timer would.
    void FlushLog() { Log.FlushToBox(); }
    // Shows each window as a top-level window of the offscreen platform and lets it paint once.
    void ShowAll()
    {
        for (QWidget* window : Windows) {
            window->show();
        }
        QCoreApplication::processEvents();
    }
    const char* Name(size_t index) const { return kNames[index]; }
    size_t Count() const { return Windows.size(); }

private:
    void FillState(int index)
    {
        ResetReceiverState(State);
        const double angle = index * 0.01;
        State.FixQuality = 1;
        // A circle of about 300 m around 35 40' N 139 45' E, in ddmm.mmmm.
        State.Latitude = 3540.0 + 0.16 * std::sin(angle);
        State.Longitude = 13945.0 + 0.2 * std::cos(angle);
        State.CycleFixQuality = 1;
        State.CycleFixMode = 3;
        State.CycleLatitude = State.Latitude;
        State.CycleLongitude = State.Longitude;
        State.CycleRotStatus = 0.0;
        State.Altitude = 40.0 + 10.0 * std::sin(angle * 3);
        State.AltitudeSampleCount = index + 1;
        State.SatellitesUsed = 9;
        State.Year = 2026;
        State.Month = 12;
        State.Day = 10;
        State.Hour = 12;
        State.Minute = index / 60 % 60;
        State.Second = index % 60;
        State.FixMode = 3;
        State.Pdop = 1.8;
        State.Hdop = 0.9;
        State.Vdop = 1.5;
        State.Course = std::fmod(angle * 57.3 + 90.0, 360.0);
        State.CourseReference = 0;
        State.Speed = 36.0 + 5.0 * std::sin(angle);
        State.VelocitySampleCount = index + 1;
        State.SatellitesInView = 13;
        for (int slot = 0; slot < kSatSlots; ++slot) {
            State.SatPrn[slot] = slot < 13 ? slot * 2 + 1 : 33 + slot;
            State.SatElevation[slot] = (slot * 37 + index / 100) % 90;
            State.SatAzimuth[slot] = (slot * 53 + index / 50) % 360;
            State.SatCn0[slot] = slot == 5 ? 0 : 25 + slot * 2;
            State.UsedPrn[slot] = slot < 9 ? slot * 2 + 1 : 0;
        }
        for (int prn = 0; prn < kAccuracySlots; ++prn) {
            State.SatAccuracy[prn] = prn % 16;
        }
        State.RotStatus = 0;
        State.RateOfTurn = 0.0;
        State.ProgramVersion = 1234;
        for (int flag = 0; flag < kStateFlagCount; ++flag) {
            StateFlag(State, static_cast<TStateFlag>(flag)) = true;
        }
    }

    TControlFlags Flags;
    TWindowQueue Queue;
    TInfoForm Info;
    TLogForm Log;
    TROTForm Rot;
    TPosPlot PosPlot;
    TAltiPlot AltiPlot;
    TVeloPlot VeloPlot;
    TTtrack Ttrack;
    TCN CN;
    TSky Sky;
    TQtDisplay Display;
    TMonitorThread Monitor;
    TReceiverState State{};
    std::vector<QWidget*> Windows;
    std::vector<QImage> Images;
};

TAllWindows& FilledWindows()
{
    static TAllWindows* windows = [] {
        auto* made = new TAllWindows;
        for (int index = 0; index < kFillCycles; ++index) {
            made->Cycle(index);
        }
        return made;
    }();
    return *windows;
}

// What one cycle costs the window thread: the cycle, then the toolkit repaints what the cycle
// changed into the windows' offscreen backing stores, as it would before showing them.
void DisplayCycleAndRepaint(benchmark::State& state)
{
    TAllWindows& windows = FilledWindows();
    windows.ShowAll();
    int index = kFillCycles;
    for (auto _ : state) {
        windows.Cycle(index++);
        windows.FlushLog();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(DisplayCycleAndRepaint)->Unit(benchmark::kMicrosecond);

// The same cycle with every window painted whole, as after an expose of the whole desktop.
void DisplayCycleAndFullPaint(benchmark::State& state)
{
    TAllWindows& windows = FilledWindows();
    int index = kFillCycles;
    for (auto _ : state) {
        windows.Cycle(index++);
        windows.PaintAll();
    }
}
BENCHMARK(DisplayCycleAndFullPaint)->Unit(benchmark::kMicrosecond);

void DisplayCycleOnly(benchmark::State& state)
{
    TAllWindows& windows = FilledWindows();
    int index = kFillCycles;
    for (auto _ : state) {
        windows.Cycle(index++);
    }
}
BENCHMARK(DisplayCycleOnly)->Unit(benchmark::kMicrosecond);

void PaintOnly(benchmark::State& state)
{
    TAllWindows& windows = FilledWindows();
    for (auto _ : state) {
        windows.PaintAll();
    }
}
BENCHMARK(PaintOnly)->Unit(benchmark::kMicrosecond);

// Each window's share of the painting.
void PaintOneWindow(benchmark::State& state)
{
    TAllWindows& windows = FilledWindows();
    const auto index = static_cast<size_t>(state.range(0));
    state.SetLabel(windows.Name(index));
    for (auto _ : state) {
        windows.Paint(index);
    }
}
BENCHMARK(PaintOneWindow)->DenseRange(0, 8)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace zz

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
