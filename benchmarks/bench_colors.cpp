// Speed of the colour engine: one pass over the colour window, and the all-windows pass over the
// colour window and five windows of 40 controls (with the save of the scheme), and how often a
// control is painted on screen during one pass; and the choice of a preset far larger than a real
// one.
#include "chrome/TitelBar.h"
#include "components/SuiteCheckBox.h"
#include "components/SuiteColorPicker.h"
#include "components/SuiteLabel.h"
#include "controls/PanelFx.h"
#include "controls/QuordanePB.h"
#include "controls/dcButton.h"
#include "os/ProfileFile.h"
#include "runtime/App.h"
#include "runtime/ComboBox.h"
#include "runtime/Forms.h"
#include "runtime/Label.h"
#include "runtime/PictureBox.h"
#include "runtime/Screen.h"
#include "runtime/TextBox.h"
#include "skin/FrmColors.h"
#include "skin/ModColors.h"
#include "skin/SchemeTable.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Counts the screen paints of every control it watches.
class PaintCounter : public QObject {
public:
    void watch(runtime::Form *form)
    {
        for (runtime::Control *control : form->Controls())
            control->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
    int most() const
    {
        int m = 0;
        for (int n : paints)
            m = std::max(m, n);
        return m;
    }
    double average(int controls) const
    {
        int sum = 0;
        for (int n : paints)
            sum += n;
        return controls ? double(sum) / controls : 0.0;
    }
    QHash<QObject *, int> paints;
};

// A window of 40 controls of the kinds the program's windows hold, named for the engine's rules.
runtime::Form *windowOf40(int number)
{
    auto *form = new runtime::Form(QStringLiteral("FrmBench%1").arg(number));
    form->Move(0, 0, 9000, 6000);
    auto *bar = new TitelBar(form);
    bar->Move(0, 0, 9000, 540);
    bar->InitNew();
    int made = 1;
    auto place = [&](runtime::Control *control) {
        control->setGeometry(8 + (made % 8) * 74, 40 + (made / 8) * 60, 70, 50);
        ++made;
    };
    for (int i = 0; made < 40; ++i) {
        switch (i % 8) {
        case 0: place(new runtime::Label(form, QStringLiteral("Label%1").arg(i))); break;
        case 1: place(new SuiteLabel(form, QStringLiteral("InfoLabel%1").arg(i))); break;
        case 2: { auto *p = new PanelFx(form, QStringLiteral("Panel%1").arg(i)); p->InitNew(); place(p); break; }
        case 3: { auto *b = new dcButton(form, QStringLiteral("Command%1").arg(i)); b->InitNew(); place(b); break; }
        case 4: { auto *pb = new QuordanePB(form, QStringLiteral("PBar%1").arg(i)); pb->InitNew(); place(pb); break; }
        case 5: place(new SuiteCheckBox(form, QStringLiteral("Check%1").arg(i))); break;
        case 6: place(new runtime::TextBox(form, QStringLiteral("Text%1").arg(i))); break;
        case 7: place(new runtime::PictureBox(form, QStringLiteral("Picture%1").arg(i))); break;
        }
    }
    runtime::Load(form);
    form->show();
    return form;
}

// Lets the windows finish what showing them started (the title-bar buttons' first spin), so the
// paints counted are the pass's own.
void settle()
{
    QEventLoop loop;
    QTimer::singleShot(1500, &loop, &QEventLoop::quit);
    loop.exec();
}

class Program {
public:
    Program()
    {
        runtime::App::setPath(m_folder.path());
        runtime::Screen::setLogicalDpi(96);
        colors = runtime::Forms::Get<FrmColors>();
        colors->show();
        QApplication::processEvents();
    }
    ~Program()
    {
        for (runtime::Form *form : runtime::Forms::All())
            delete form;
        runtime::App::setPath(QString());
    }
    FrmColors *colors = nullptr;

private:
    QTemporaryDir m_folder;
};

void BM_ApplyColorsToForm_ColourWindow(benchmark::State &state)
{
    Program program;
    PaintCounter counter;
    counter.watch(program.colors);
    settle();
    counter.paints.clear();
    int passes = 0;
    for (auto _ : state) {
        ModColors::ApplyColorsToForm(program.colors);
        QApplication::processEvents();
        ++passes;
    }
    const int controls = int(program.colors->Controls().size());
    state.counters["controls"] = controls;
    state.counters["paints_max_per_control_per_pass"] = double(counter.most()) / passes;
    state.counters["paints_avg_per_control_per_pass"] = counter.average(controls) / passes;
}
BENCHMARK(BM_ApplyColorsToForm_ColourWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ApplyColorsToAllForms_ColourWindowAndFiveWindowsOf40(benchmark::State &state)
{
    Program program;
    PaintCounter counter;
    counter.watch(program.colors);
    int controls = int(program.colors->Controls().size());
    for (int i = 0; i < 5; ++i) {
        runtime::Form *form = windowOf40(i);
        counter.watch(form);
        controls += int(form->Controls().size());
    }
    settle();
    counter.paints.clear();
    int passes = 0;
    for (auto _ : state) {
        // As after the user's pick: one swatch differs from the stored scheme.
        program.colors->ColorPicker(SchemeTable::programback)->setColor(passes % 2 ? 0x404040 : 0x303030);
        ModColors::ApplyColorsToAllForms();
        QApplication::processEvents();
        ++passes;
    }
    state.counters["windows"] = runtime::Forms::Count();
    state.counters["controls"] = controls;
    state.counters["seconds_per_window"] = benchmark::Counter(double(passes * runtime::Forms::Count()),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["paints_max_per_control_per_pass"] = double(counter.most()) / passes;
    state.counters["paints_avg_per_control_per_pass"] = counter.average(controls) / passes;
}
BENCHMARK(BM_ApplyColorsToAllForms_ColourWindowAndFiveWindowsOf40)->Unit(benchmark::kMillisecond)->UseRealTime();

// The part of the all-windows pass that writes the scheme into settings.ini: after one pick
// (one key differs) and after a preset choice (every key differs).
void BM_SaveColorSettings(benchmark::State &state)
{
    Program program;
    const bool allKeys = state.range(0) != 0;
    int saves = 0;
    for (auto _ : state) {
        for (const SchemeTable::SchemeColor &row : SchemeTable::Colors()) {
            if (allKeys || row.swatch == SchemeTable::programback)
                program.colors->ColorPicker(row.swatch)->setColor(saves % 2 ? row.initial : row.initial ^ 0x010101);
        }
        ModColors::SaveColorSettings();
        ++saves;
    }
}
BENCHMARK(BM_SaveColorSettings)->ArgName("all_keys_changed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A preset of the given size in bytes: the 28 colour keys, then further valid keys to fill it.
void writePreset(const QString &path, qsizetype size, runtime::OleColor colour)
{
    QByteArray text("[colors]\r\n");
    for (const SchemeTable::SchemeColor &row : SchemeTable::Colors())
        text += QByteArray(row.key) + '=' + QByteArray::number(colour) + "\r\n";
    for (int i = 0; text.size() < size; ++i)
        text += "filler" + QByteArray::number(i) + '=' + QByteArray::number(colour) + "\r\n";
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.left(size - 2) + "\r\n");
}

// The user's choice of a preset in the colour window, from the choice to the saved scheme; two
// presets by turns, so that every choice changes all 28 colours. 1 MB lies within the files'
// size bound and applies; 12 MB lies beyond it and leaves the scheme as it was.
void BM_ChooseALargePreset(benchmark::State &state)
{
    Program program;
    const qsizetype size = qsizetype(state.range(0)) * 1000 * 1000;
    QDir().mkpath(ModColors::PresetFolder());
    writePreset(ModColors::PresetFile(QStringLiteral("Dark")), size, 0x202020);
    writePreset(ModColors::PresetFile(QStringLiteral("Light")), size, 0xE0E0E0);
    ModColors::FillPresetList(program.colors->Combo2());
    QComboBox *list = program.colors->Combo2()->view();
    settle();
    int choices = 0;
    for (auto _ : state) {
        const int index = list->findText(choices % 2 ? QStringLiteral("Light") : QStringLiteral("Dark"));
        list->setCurrentIndex(index);
        emit list->activated(index);
        ++choices;
    }
    state.counters["preset_bytes"] = double(size);
    state.counters["within_bound"] = size <= os::kMaxProfileFileBytes;
    state.counters["applied"] = program.colors->ColorPicker(SchemeTable::programback)->Color() != 0x404040;
}
BENCHMARK(BM_ChooseALargePreset)->ArgName("megabytes")->Arg(1)->Arg(12)->Unit(benchmark::kMillisecond)->UseRealTime();

}
