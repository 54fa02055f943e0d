// Time to produce each pattern's whole frame, beside a plain fill of an image of the same size (the
// memory-bandwidth floor), measured in the same loop so that the ratio holds up on a loaded machine.
//
// One frame is what a resize does up to a picture ready to blit: the surface starts again from the bare
// background, the pattern is laid out or drawn (Form_Resize), and the frame is composed (render()). The
// drawn patterns' deliberate 0.1 s wait is left out: they run Form_Resize's drawing, drawPattern(), without
// it. The window is created but not shown, so nothing is blitted; the sizes are device pixels at 15 twips
// per pixel.
//
// "warm" is the steady state: the window keeps its buffers at that size (every later re-layout). "first"
// is the first frame of a newly created window at that size, buffers allocated on the way, beside a fill
// of a newly allocated image.
#include "patterns/frmBoxesFS.h"
#include "patterns/frmCirclesFS.h"
#include "patterns/frmColorFS.h"
#include "patterns/frmCrosshairsFS.h"
#include "patterns/frmDiagonalLines.h"
#include "patterns/frmGreysFS.h"
#include "patterns/frmOneColor.h"
#include "patterns/frmVerticalLines.h"
#include "platform/Screen.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr QSize Sizes[] = { { 1920, 1080 }, { 3840, 2160 }, { 7680, 4320 } };
constexpr double FrameBudgetMs = 1000.0 / 60.0;
constexpr double FloorRatioTarget = 2.0;
constexpr quint32 GreyColor = 0x00808080;

enum class Kind { Shapes, Drawn, OneColor };

// A pattern window with a way in to what its resize does.
template <class P, Kind K> class Producer : public P
{
public:
    Producer()
    {
        if constexpr (K == Kind::OneColor)
            this->setBackColor(GreyColor);
    }

    // From the bare background to a frame drawn into the window's buffer (kept from frame to frame, as the
    // window's backing store is); returns the frame's first byte so that nothing can be optimised away.
    const uchar *produce()
    {
        this->clearSurface();
        if constexpr (K == Kind::Shapes) {
            this->Form_Resize();
        } else if constexpr (K == Kind::Drawn) {
            this->drawPattern(); // Form_Resize without its wait
        }
        if (m_buffer.size() != this->deviceSize())
            m_buffer = QImage(this->deviceSize(), QImage::Format_RGB32);
        this->render(m_buffer);
        return m_buffer.constBits();
    }

private:
    QImage m_buffer;
};

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Pattern and floor alternate within one loop, each going first every other time; the manual time is
// the pattern's, the counters the medians of both.
template <class Frame, class Floor> void measure(benchmark::State &state, Frame frame, Floor floor)
{
    std::vector<double> patternMs;
    std::vector<double> floorMs;
    bool patternFirst = true;
    for (auto _ : state) {
        double p = 0;
        double f = 0;
        for (int i = 0; i < 2; ++i) {
            const auto start = Clock::now();
            if ((i == 0) == patternFirst) {
                benchmark::DoNotOptimize(frame());
                p = msSince(start);
            } else {
                benchmark::DoNotOptimize(floor());
                f = msSince(start);
            }
        }
        patternFirst = !patternFirst;
        patternMs.push_back(p);
        floorMs.push_back(f);
        state.SetIterationTime(p / 1000);
    }
    const double mp = median(patternMs);
    const double mf = median(floorMs);
    state.counters["ms"] = mp;
    state.counters["floor_ms"] = mf;
    state.counters["ratio"] = mf > 0 ? mp / mf : 0;
}

template <class P, Kind K> void warmFrame(benchmark::State &state, QSize size)
{
    Screen::setWidthOverride(float(size.width()) * Screen::TwipsPerPixelX());
    Producer<P, K> window;
    window.winId(); // a real window, as a shown one has, but never shown
    window.resize(size);
    window.produce();
    if (window.deviceSize() != size) {
        state.SkipWithError("the window did not take the size asked for");
        return;
    }
    QImage floorImage(size, QImage::Format_RGB32);
    quint32 shade = 0;
    measure(
        state, [&] { return window.produce(); },
        [&] {
            floorImage.fill(0xFF000000u | (shade += 0x010101u));
            return floorImage.constBits();
        });
}

template <class P, Kind K> void firstFrame(benchmark::State &state, QSize size)
{
    Screen::setWidthOverride(float(size.width()) * Screen::TwipsPerPixelX());
    measure(
        state,
        [&] {
            auto window = std::make_unique<Producer<P, K>>();
            window->winId();
            window->resize(size);
            return window->produce() != nullptr;
        },
        [&] {
            QImage image(size, QImage::Format_RGB32);
            image.fill(0xFFFFFFFFu);
            return image.constBits() != nullptr;
        });
}

struct Entry
{
    const char *name;
    void (*warm)(benchmark::State &, QSize);
    void (*first)(benchmark::State &, QSize);
};

template <class P, Kind K> Entry entry(const char *name)
{
    return { name, &warmFrame<P, K>, &firstFrame<P, K> };
}

const std::vector<Entry> &patterns()
{
    static const std::vector<Entry> all = {
        entry<frmOneColor, Kind::OneColor>("frmOneColor"),
        entry<frmBoxesFS, Kind::Shapes>("frmBoxesFS"),
        entry<frmCirclesFS, Kind::Shapes>("frmCirclesFS"),
        entry<frmColorFS, Kind::Shapes>("frmColorFS"),
        entry<frmCrosshairsFS, Kind::Shapes>("frmCrosshairsFS"),
        entry<frmGreysFS, Kind::Drawn>("frmGreysFS"),
        entry<frmVerticalLines, Kind::Drawn>("frmVerticalLines"),
        entry<frmDiagonalLines, Kind::Drawn>("frmDiagonalLines"),
    };
    return all;
}

std::string sizeName(QSize s)
{
    return std::to_string(s.width()) + "x" + std::to_string(s.height());
}

struct Result
{
    double ms = 0;
    double floorMs = 0;
    double ratio = 0;
};

// The usual console output, plus the counters kept for the summary table.
class TableReporter : public benchmark::ConsoleReporter
{
public:
    TableReporter()
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular)
    { }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            const auto value = [&run](const char *key) {
                const auto it = run.counters.find(key);
                return it == run.counters.end() ? 0.0 : double(it->second.value);
            };
            m_results[run.run_name.function_name] = { value("ms"), value("floor_ms"), value("ratio") };
        }
    }

    // One table per variant: time and ratio to the floor at each size; then the verdict at 4K.
    bool printTables() const
    {
        bool met = true;
        bool any = false;
        for (const char *variant : { "warm", "first" }) {
            if (!hasVariant(variant))
                continue;
            any = true;
            std::printf("\n%s frame (median ms, and x the fill of an image of the same size)\n",
                std::string(variant) == "warm" ? "Steady-state" : "First");
            std::printf("%-18s", "pattern");
            for (QSize s : Sizes)
                std::printf(" %21s", sizeName(s).c_str());
            std::printf("\n");
            printRow(variant, "floor (fill)", nullptr);
            for (const Entry &e : patterns())
                printRow(variant, e.name, e.name);
        }
        if (!any)
            return true;
        const std::string target = "warm/%s/" + sizeName(Sizes[1]);
        std::printf("\nTargets at %s: within %.0fx the fill and under %.1f ms\n", sizeName(Sizes[1]).c_str(),
            FloorRatioTarget, FrameBudgetMs);
        for (const Entry &e : patterns()) {
            const auto it = m_results.find("warm/" + std::string(e.name) + "/" + sizeName(Sizes[1]));
            if (it == m_results.end())
                continue;
            const bool ok = it->second.ratio <= FloorRatioTarget && it->second.ms <= FrameBudgetMs;
            met = met && ok;
            std::printf("  %-18s %7.2f ms %5.2fx  %s\n", e.name, it->second.ms, it->second.ratio,
                ok ? "met" : "MISSED");
        }
        return met;
    }

private:
    bool hasVariant(const char *variant) const
    {
        const std::string prefix = std::string(variant) + "/";
        return std::any_of(m_results.begin(), m_results.end(),
            [&prefix](const auto &r) { return r.first.compare(0, prefix.size(), prefix) == 0; });
    }

    void printRow(const char *variant, const char *label, const char *pattern) const
    {
        std::printf("%-18s", label);
        for (QSize s : Sizes) {
            // The floor row shows the median fill over all the patterns' loops at that size.
            std::vector<double> floors;
            const Result *found = nullptr;
            for (const auto &[name, r] : m_results) {
                const std::string prefix = std::string(variant) + "/";
                const std::string suffix = "/" + sizeName(s);
                if (name.compare(0, prefix.size(), prefix) != 0 || name.size() < suffix.size()
                    || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
                    continue;
                floors.push_back(r.floorMs);
                if (pattern && name == prefix + pattern + suffix)
                    found = &r;
            }
            if (!pattern && !floors.empty())
                std::printf(" %12.2f ms %5.2fx", median(floors), 1.0);
            else if (found)
                std::printf(" %12.2f ms %5.2fx", found->ms, found->ratio);
            else
                std::printf(" %21s", "-");
        }
        std::printf("\n");
    }

    std::map<std::string, Result> m_results;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    for (const char *variant : { "warm", "first" })
        for (QSize size : Sizes)
            for (const Entry &e : patterns()) {
                const std::string name = std::string(variant) + "/" + e.name + "/" + sizeName(size);
                auto *fn = std::string(variant) == "warm" ? e.warm : e.first;
                benchmark::RegisterBenchmark(name.c_str(), [fn, size](benchmark::State &s) { fn(s, size); })
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond)
                    ->MinTime(size.width() > 4000 ? 1.0 : 0.4);
            }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.printTables();
    return 0;
}
