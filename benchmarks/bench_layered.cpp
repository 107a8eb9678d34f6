// What the colour key costs a window that is busy with small repaints: a shown window with a
// title bar and 40 status labels whose captions change one at a time, each change followed by one
// turn of the message loop (as a scan does per device). The same run without the colour key
// shows what the key adds; composing the window once and taking its mask are timed alone.
#include "chrome/TitelBar.h"
#include "os/LayeredWindow.h"
#include "platform/ModSkin.h"
#include "runtime/DoEvents.h"
#include "runtime/Form.h"
#include "runtime/Label.h"
#include "runtime/PropertyBag.h"
#include "runtime/Screen.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int kLabels = 40;
constexpr int kChanges = 1000;

class StatusWindow {
public:
    explicit StatusWindow(bool colourKey)
    {
        runtime::Screen::setLogicalDpi(96);
        form = std::make_unique<runtime::Form>(QStringLiteral("FrmBench"));
        form->setGeometry(100, 80, 640, 480);
        form->setBackColor(0x00404040);
        bar = new TitelBar(form.get());
        bar->setGeometry(0, 0, 640, 32);
        bar->ReadProperties(runtime::PropertyBag{{"Caption", "Kestrova"},
                                                 {"BackColor", 0xF7B8F8u},
                                                 {"BackColorV1Begin", 0xFF9933u},
                                                 {"BackColorV1End", 0u}});
        for (int i = 0; i < kLabels; ++i) {
            auto *label = new runtime::Label(form.get(), QStringLiteral("LabelStatus"), i);
            label->setGeometry(8 + (i % 2) * 316, 40 + (i / 2) * 20, 300, 18);
            label->setCaption(QStringLiteral("Ready"));
            labels.push_back(label);
        }
        if (colourKey)
            ModSkin::SetTransparentColor(form.get(), bar->BackColor());
        form->show();
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
    }
    ~StatusWindow() { runtime::Screen::setLogicalDpi(std::nullopt); }

    std::unique_ptr<runtime::Form> form;
    TitelBar *bar = nullptr;
    std::vector<runtime::Label *> labels;
};

void scanOfStatusChanges(benchmark::State &state, bool colourKey)
{
    StatusWindow window(colourKey);
    int device = 0;
    for (auto _ : state) {
        for (int i = 0; i < kChanges; ++i, ++device) {
            window.labels[device % kLabels]->setCaption(QStringLiteral("Device %1").arg(device));
            runtime::DoEvents();
        }
    }
    state.counters["per_change"] = benchmark::Counter(double(state.iterations()) * kChanges,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_StatusChanges_WithColourKey(benchmark::State &state) { scanOfStatusChanges(state, true); }
BENCHMARK(BM_StatusChanges_WithColourKey)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StatusChanges_WithoutColourKey(benchmark::State &state) { scanOfStatusChanges(state, false); }
BENCHMARK(BM_StatusChanges_WithoutColourKey)->Unit(benchmark::kMillisecond)->UseRealTime();

// The full recomputation a change of the key's pixels still costs.
void BM_ComposeAndMask(benchmark::State &state)
{
    StatusWindow window(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(os::RegionWithoutColor(os::ComposeWindowImage(window.form.get()), 0x00F7B8F8));
}
BENCHMARK(BM_ComposeAndMask)->Unit(benchmark::kMicrosecond)->UseRealTime();

}
