#include "chrome/TitelBar.h"
#include "components/SuiteCheckBox.h"
#include "components/SuiteColorPicker.h"
#include "components/SuiteLabel.h"
#include "components/SuiteTabControl.h"
#include "controls/PanelFx.h"
#include "controls/QuordanePB.h"
#include "controls/dcButton.h"
#include "core/Modini.h"
#include "runtime/Label.h"
#include "runtime/PictureBox.h"
#include "skin/ModColors.h"
#include "skin/ModColorsRules.h"
#include "skin/SchemeTable.h"

#include "support_recording.h"
#include "support_skin.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

using skintest::RecordingControl;

namespace {

// Every swatch holds its own colour, so a value names the key it came from.
qint32 colourOf(int swatch) { return (swatch + 1) * 1000; }
QString c(int swatch) { return QString::number(colourOf(swatch)); }

class TestForm : public runtime::Form {
public:
    TestForm() : runtime::Form(QStringLiteral("FrmTest"))
    {
        Move(0, 0, 6000, 4500);
        setBackColor(0x00FF00);
        setDrawWidth(3);
        setAutoRedraw(true);
    }
    RecordingControl *add(const QString &name) { return new RecordingControl(this, name); }
};

class Engine : public skintest::ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        colors = loadColors();
        for (const SchemeTable::SchemeColor &row : SchemeTable::Colors())
            colors->ColorPicker(row.swatch)->setColor(runtime::OleColor(colourOf(row.swatch)));
        colors->CheckPBarSmooth()->setValue(1);
        colors->CheckMBarSmooth()->setValue(0);
        form = new TestForm();
        runtime::Load(form);
    }
    RecordingControl *recorded(const QString &name) const
    {
        return qobject_cast<RecordingControl *>(form->findControl(name));
    }

    FrmColors *colors = nullptr;
    QPointer<TestForm> form;
};

struct Expectation {
    const char *control;
    QStringList sets;
};

QStringList gridSets(const char *cell, int swatch, std::initializer_list<const char *> properties)
{
    QStringList sets{QStringLiteral("Redraw=false")};
    for (const char *property : properties)
        sets << QString::fromLatin1(property) + QLatin1Char('=') + c(swatch);
    for (int r = 0; r < 2; ++r)
        for (int col = 0; col < 2; ++col)
            sets << QStringLiteral("%1(%2,%3)=%4").arg(QLatin1String(cell)).arg(r).arg(col).arg(c(swatch));
    sets << QStringLiteral("Redraw=true");
    return sets;
}

const std::vector<Expectation> &expectations()
{
    static const std::vector<Expectation> rows = {
        {"MyPanel", {}},
        {"Panel7",
         {"gCTitleStart=" + c(6), "gCTitleEnd=" + c(7), "TitleForeColor=" + c(10), "PanelBackColor=" + c(0),
          "gCPanelEnd=" + c(0), "gCPanelStart=" + c(0), "PanelBorderColor=" + c(7), "TileBackColor=" + c(2)}},
        {"pb10", {"BackColor=" + c(18), "ForeColor=" + c(19), "BarColor=" + c(20), "Segments=1", "BarForeColor=" + c(21)}},
        {"PB1Download", {"BackColor=" + c(18), "ForeColor=" + c(19), "BarColor=" + c(20), "Segments=1", "BarForeColor=" + c(21)}},
        {"MBarX", {"BackColor=" + c(22), "ForeColor=" + c(23), "BarColor=" + c(24), "Segments=0", "BarForeColor=" + c(25)}},
        {"pb", {}},
        {"ImportantPicX", {"BackColor=" + c(0), "ForeColor=" + c(12), "BackColor=" + c(12)}},
        {"FrameX", {"BackColor=" + c(0), "Appearance=2", "ForeColor=" + c(1), "Appearance=2"}},
        {"ColorPickerX", {"BackColor=" + c(0), "Appearance=2"}},
        {"LabelX", {"BackColor=" + c(0), "ForeColor=" + c(1)}},
        {"InfoLabelX", {"BackColor=" + c(0), "ForeColor=" + c(13)}},
        {"ResizerX", {"BackColor=" + c(0), "ForeColor=" + c(13)}},
        {"LogoPictureBox", {"BackColor=" + c(14)}},
        {"DB1", {"BackGroundColor=" + c(0), "ApplyBackGroundColor()", "LeftColorBarColor=" + c(1), "RightColorBarColor=" + c(1)}},
        {"CommandCancel", {"BackColor=" + c(2), "BackStartColor=" + c(2), "ForeColor=" + c(3)}},
        {"b2CommandGo", {"BackColor=" + c(16), "BackStartColor=" + c(16), "ForeColor=" + c(17)}},
        {"ComboX", {"ForeColor=" + c(5), "BackColor=" + c(4)}},
        {"ImageListX", {"BackColor=" + c(4)}},
        {"TreeX", {"ForeColor=" + c(5), "SelectionBackColor=" + c(5), "BackColor=" + c(4), "SelectionForeColor=" + c(4)}},
        {"ScrollX",
         {"BarBackColor=" + c(0), "ButtonsBackColor=" + c(0), "ScrollerBackColor=" + c(0), "ScrollerGripColor=" + c(0),
          "ButtonsArrowColor=" + c(1), "BarBorderColor=" + c(7), "ButtonsBorderColor=" + c(7), "ScrollerBorderColor=" + c(7)}},
        {"AlphaShapeX", {"BackColor=" + c(0), "FillColor=" + c(1), "BorderColor=" + c(7)}},
        {"PictureShapeX", {"BackColor=" + c(0), "BorderColor=" + c(7)}},
        {"BarPicX", {"BackColor=" + c(7)}},
        {"XTabX",
         {"ActiveTabBackStartColor=" + c(0), "ActiveTabBackEndColor=" + c(0), "TabStripBackColor=" + c(0), "HoverColor=" + c(0),
          "FocusedColor=" + c(0), "ActiveTabForeColor=" + c(1), "OuterBorderColor=" + c(2), "InActiveTabBackStartColor=" + c(2),
          "InActiveTabBackEndColor=" + c(2), "InActiveTabForeColor=" + c(3)}},
        {"TaskbarX",
         {"BackColor=" + c(0), "ForeColor=" + c(7), "SelectingBackColor=" + c(2), "SunkenBackColor=" + c(2), "ButtonForeColor=" + c(3)}},
        {"CtxX", {"FormatControl.BorderColor=" + c(7), "FormatControl.BackGradient.Color=" + c(2), "FormatControl.ForeColor=" + c(3)}},
        {"TabControlX",
         {"BackColor=" + c(0), "PaintManager.ColorSet.ButtonSelected=" + c(0), "PaintManager.ColorSet.ButtonHighlighted=" + c(0),
          "PaintManager.ColorSet.HeaderFaceDark=" + c(0), "PaintManager.ColorSet.HeaderFaceLight=" + c(0),
          "PaintManager.ColorSet.PaneFace=" + c(0), "PaintManager.ColorSet.ControlFace=" + c(0),
          "PaintManager.ColorSet.SelectedText=" + c(1), "PaintManager.ColorSet.HighlightText=" + c(1),
          "PaintManager.ColorSet.FrameBorder=" + c(7), "PaintManager.ColorSet.ButtonNormal=" + c(2),
          "PaintManager.ColorSet.BorderHighlight=" + c(2), "PaintManager.ColorSet.NormalText=" + c(3)}},
        {"LynxX",
         gridSets("CellForeColor", 5, {"ForeColor", "ForeColorEdit", "ForeColorHdr", "BackColorSel", "FocusRectColor", "GridColor"})
             + gridSets("CellBackColor", 4,
                        {"BackColor", "BackColorBkg", "BackColorEdit", "BackColorEvenRows", "ForeColorSel", "ThemeCustomColorFrom",
                         "ThemeCustomColorTo"})},
    };
    return rows;
}

}

TEST_F(Engine, EachControlGetsExactlyTheSetsOfItsRulesInTableOrder)
{
    for (const Expectation &row : expectations())
        form->add(QString::fromLatin1(row.control));
    ModColors::ApplyColorsToForm(form);
    for (const Expectation &row : expectations()) {
        RecordingControl *control = recorded(QString::fromLatin1(row.control));
        ASSERT_TRUE(control);
        EXPECT_EQ(control->sets(), row.sets) << row.control;
        EXPECT_EQ(control->log.count(QStringLiteral("Refresh()")), 1) << row.control; // step 24 only
    }
}

// Every prefix of the table reaches a control that begins with it, whichever rule names it.
TEST_F(Engine, EveryPrefixOfTheTableMatchesInAnyLetterCase)
{
    QStringList prefixes;
    for (const ModColorsRules::Step &step : ModColorsRules::Steps())
        for (const ModColorsRules::Rule &rule : step.rules)
            for (const char *prefix : rule.prefixes)
                if (!prefixes.contains(QString::fromLatin1(prefix)))
                    prefixes << QString::fromLatin1(prefix);
    EXPECT_EQ(prefixes.size(), 46);
    for (const QString &prefix : prefixes)
        form->add(prefix.toUpper() + QStringLiteral("Z"));
    // A name shorter than a prefix never matches it.
    form->add(QStringLiteral("pan"));
    ModColors::ApplyColorsToForm(form);
    for (const QString &prefix : prefixes) {
        RecordingControl *control = recorded(prefix.toUpper() + QStringLiteral("Z"));
        EXPECT_FALSE(control->sets().isEmpty()) << prefix.toStdString();
    }
    EXPECT_TRUE(recorded(QStringLiteral("pan"))->sets().isEmpty());
}

// A control the window places inside panels, at any depth, is the window's and takes its rules
// once; what a user control makes for itself stays that control's and takes nothing.
TEST_F(Engine, ControlsInsidePanelsTakeTheirRulesOnceAndConstituentsAreLeftAlone)
{
    auto *outer = new PanelFx(form, QStringLiteral("PanelOuter"));
    outer->InitNew();
    auto *inner = new PanelFx(outer, QStringLiteral("PanelInner"));
    inner->InitNew();
    RecordingControl *deep = new RecordingControl(inner, QStringLiteral("LabelDeep"));
    RecordingControl *button = new RecordingControl(outer, QStringLiteral("CommandInPanel"));
    auto *picture = new runtime::PictureBox(form, QStringLiteral("Picture1"));
    RecordingControl *onPicture = new RecordingControl(picture, QStringLiteral("InfoLabelOnPicture"));
    auto *owner = new runtime::UserControl(form, QStringLiteral("ZOwner"));
    RecordingControl *constituent = new RecordingControl(owner, QStringLiteral("LabelOwn"));

    const QList<runtime::Control *> controls = form->Controls();
    for (runtime::Control *control : {static_cast<runtime::Control *>(deep), static_cast<runtime::Control *>(button),
                                      static_cast<runtime::Control *>(onPicture), static_cast<runtime::Control *>(inner)})
        EXPECT_EQ(controls.count(control), 1) << control->Name().toStdString();
    EXPECT_FALSE(controls.contains(constituent));
    EXPECT_EQ(owner->Controls(), QList<runtime::Control *>{constituent});
    EXPECT_TRUE(outer->Controls().isEmpty());

    ModColors::ApplyColorsToForm(form);
    EXPECT_EQ(deep->sets(), (QStringList{"BackColor=" + c(0), "ForeColor=" + c(1)}));
    EXPECT_EQ(button->sets(), (QStringList{"BackColor=" + c(2), "BackStartColor=" + c(2), "ForeColor=" + c(3)}));
    EXPECT_EQ(onPicture->sets(), (QStringList{"BackColor=" + c(0), "ForeColor=" + c(13)}));
    EXPECT_EQ(inner->gCTitleStart(), colourOf(6));
    EXPECT_EQ(inner->PanelBorderColor(), colourOf(7));
    for (RecordingControl *control : {deep, button, onPicture})
        EXPECT_EQ(control->log.count(QStringLiteral("Refresh()")), 1) << control->Name().toStdString();
    EXPECT_TRUE(constituent->log.isEmpty());
}

TEST_F(Engine, TheRealControlsTakeTheirColoursAndTheWindowItsFrame)
{
    auto *bar = new TitelBar(form);
    bar->Move(0, 0, 6000, 540);
    bar->InitNew();
    auto *frame = new SuiteLabel(form, QStringLiteral("FrameX")); // no Appearance: only its colours
    auto *label = new runtime::Label(form, QStringLiteral("LabelStatus"));
    auto *panel = new PanelFx(form, QStringLiteral("PanelProgress"));
    panel->InitNew();
    auto *button = new dcButton(form, QStringLiteral("CommandCancel"));
    button->InitNew();
    auto *progress = new QuordanePB(form, QStringLiteral("PB1"));
    progress->InitNew();
    auto *tabs = new SuiteTabControl(form, QStringLiteral("TabControl1"));
    auto *emptyTabs = new SuiteTabControl(form, QStringLiteral("TabControl2"));
    tabs->InsertItem(QStringLiteral("All"), new SuiteTabControlPage(tabs, QStringLiteral("TabControlPage1")));

    ModColors::ApplyColorsToForm(form);

    EXPECT_EQ(bar->BackColorV1Begin(), colourOf(6));
    EXPECT_EQ(bar->BackColorV1End(), colourOf(7));
    EXPECT_EQ(bar->BackColorV2Begin(), colourOf(8));
    EXPECT_EQ(bar->BackColorV2End(), colourOf(9));
    EXPECT_EQ(bar->CaptionColor(), colourOf(10));
    EXPECT_EQ(bar->ButtonBackColor(), colourOf(26));
    EXPECT_EQ(bar->ButtonForeColor(), colourOf(27));
    EXPECT_EQ(bar->ButtonXBackColor(), colourOf(28));
    EXPECT_EQ(bar->ButtonXForeColor(), colourOf(29));
    EXPECT_EQ(frame->BackColor(), colourOf(0));
    EXPECT_EQ(frame->ForeColor(), colourOf(1));
    EXPECT_EQ(label->BackColor(), colourOf(0));
    EXPECT_EQ(label->ForeColor(), colourOf(1));
    EXPECT_EQ(panel->gCTitleStart(), colourOf(6));
    EXPECT_EQ(panel->PanelBorderColor(), colourOf(7));
    EXPECT_EQ(panel->TileBackColor(), colourOf(2));
    EXPECT_EQ(button->BackColor(), colourOf(2));
    EXPECT_EQ(button->BackStartColor(), colourOf(2));
    EXPECT_EQ(button->ForeColor(), colourOf(3));
    EXPECT_EQ(progress->BarColor(), colourOf(20));
    EXPECT_TRUE(progress->Segments());
    EXPECT_EQ(tabs->BackColor(), colourOf(0));
    EXPECT_EQ(tabs->PaintManager().ColorSet()->NormalText, runtime::OleColor(colourOf(3)));
    EXPECT_EQ(tabs->Item(0)->Caption(), QStringLiteral("All")); // the redraw puts the caption back
    EXPECT_EQ(emptyTabs->PaintManager().ColorSet()->FrameBorder, runtime::OleColor(colourOf(7)));
    EXPECT_EQ(form->BackColor(), colourOf(0));
    EXPECT_EQ(form->ForeColor(), colourOf(7));

    // The frame: left, right and bottom edges 3 pixels wide in the border colour, no top edge.
    const QImage &image = form->image();
    const gdi::ColorRef border = runtime::TranslateOrBlack(runtime::OleColor(colourOf(7)));
    EXPECT_EQ(gdi::fromPixel(image.pixel(0, image.height() / 2)), border);
    EXPECT_EQ(gdi::fromPixel(image.pixel(image.width() - 1, image.height() / 2)), border);
    EXPECT_EQ(gdi::fromPixel(image.pixel(image.width() / 2, image.height() - 2)), border);
    EXPECT_NE(gdi::fromPixel(image.pixel(image.width() / 2, 0)), border);
    EXPECT_EQ(gdi::fromPixel(image.pixel(image.width() / 2, image.height() / 2)), runtime::TranslateOrBlack(colourOf(0)));
}

TEST_F(Engine, APictureBaseTakesTheFrameInsteadOfTheWindow)
{
    auto *base = new runtime::PictureBox(form, QStringLiteral("PictureBase1"));
    base->Move(300, 600, 3000, 1500);
    base->setDrawWidth(2);
    base->setAutoRedraw(true);
    ModColors::ApplyColorsToForm(form);
    EXPECT_EQ(base->ForeColor(), colourOf(7));
    const gdi::ColorRef border = runtime::TranslateOrBlack(colourOf(7));
    EXPECT_EQ(gdi::fromPixel(form->image().pixel(0, form->image().height() / 2)), runtime::TranslateOrBlack(colourOf(0)));
    EXPECT_EQ(gdi::fromPixel(base->image().pixel(0, 50)), border);
    EXPECT_EQ(gdi::fromPixel(base->image().pixel(base->image().width() - 1, 50)), border);
}

TEST_F(Engine, AllFormsPassRecoloursEveryWindowThenSavesTheScheme)
{
    RecordingControl *first = form->add(QStringLiteral("LabelA"));
    auto *second = new TestForm();
    RecordingControl *other = second->add(QStringLiteral("LabelB"));
    runtime::Load(second);
    ModColors::ApplyColorsToAllForms();
    EXPECT_EQ(first->value(QStringLiteral("ForeColor")).toInt(), colourOf(1));
    EXPECT_EQ(other->value(QStringLiteral("ForeColor")).toInt(), colourOf(1));
    EXPECT_EQ(colors->ColorPicker(0)->BackColor(), colourOf(0)); // the colour window skins itself too
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("titlebuttonxfore")), c(29));
}

// The user picks a colour while a pass is yielding: the nested pass runs to its end inside the
// outer one, which then goes on with the colours current at each later step.
TEST_F(Engine, ASwatchChangedDuringAPassEndsWithEveryWindowInTheFinalColours)
{
    RecordingControl *label = form->add(QStringLiteral("LabelA"));
    RecordingControl *button = form->add(QStringLiteral("CommandA"));
    bool picked = false;
    auto pickOnce = [&] {
        if (picked)
            return;
        picked = true;
        // Real input: a click on the swatch, handled while the pass yields.
        QTimer::singleShot(0, colors, [this] {
            colors->ColorPicker(SchemeTable::programtext)->setColor(0x0A0B0C);
            emit colors->ColorPicker(SchemeTable::programtext)->Change();
            colors->ColorPicker(SchemeTable::buttontopback)->setColor(0x0D0E0F);
            emit colors->ColorPicker(SchemeTable::buttontopback)->Change();
        });
    };
    QTimer::singleShot(0, form, pickOnce);
    ModColors::ApplyColorsToAllForms();
    EXPECT_TRUE(picked);
    EXPECT_EQ(label->value(QStringLiteral("ForeColor")).toInt(), 0x0A0B0C);
    EXPECT_EQ(button->value(QStringLiteral("BackColor")).toInt(), 0x0D0E0F);
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("programtext")), QString::number(0x0A0B0C));
    EXPECT_EQ(Modini::ReadIni(QStringLiteral("colors"), QStringLiteral("buttontopback")), QString::number(0x0D0E0F));
    EXPECT_GE(label->log.count(QStringLiteral("Refresh()")), 2);
}

TEST_F(Engine, AWindowUnloadedDuringItsPassIsLeftAlone)
{
    form->add(QStringLiteral("LabelA"));
    const QPointer<RecordingControl> last = form->add(QStringLiteral("LabelZ"));
    QTimer::singleShot(0, form, [this] { runtime::Unload(form); });
    ModColors::ApplyColorsToForm(form);
    EXPECT_TRUE(!form || !form->IsLoaded());
    if (last) {
        EXPECT_EQ(last->log.count(QStringLiteral("Refresh()")), 0);
    }
}

// Screen paints of a window wait until the pass ends: no control paints more than twice in one
// pass, however many of its properties change.
TEST_F(Engine, NoControlPaintsMoreThanTwiceInOnePass)
{
    auto *bar = new TitelBar(form);
    bar->Move(0, 0, 6000, 540);
    bar->InitNew();
    for (int i = 0; i < 8; ++i) {
        new runtime::Label(form, QStringLiteral("Label%1").arg(i));
        (new PanelFx(form, QStringLiteral("Panel%1").arg(i)))->InitNew();
        (new dcButton(form, QStringLiteral("Command%1").arg(i)))->InitNew();
        (new QuordanePB(form, QStringLiteral("PBar%1").arg(i)))->InitNew();
        new SuiteLabel(form, QStringLiteral("InfoLabel%1").arg(i));
    }
    int slot = 0;
    for (runtime::Control *control : form->Controls()) {
        if (control == bar)
            continue;
        control->setGeometry((slot % 10) * 38, 40 + (slot / 10) * 40, 36, 36);
        ++slot;
    }
    form->show();
    QApplication::processEvents();
    struct Counter : QObject {
        QHash<QObject *, int> paints;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                ++paints[watched];
            return false;
        }
    } counter;
    for (runtime::Control *control : form->Controls())
        control->installEventFilter(&counter);
    ModColors::ApplyColorsToForm(form);
    // The window paints at its next frame.
    const auto most = [&] {
        int paints = 0;
        for (runtime::Control *control : form->Controls())
            paints = std::max(paints, counter.paints.value(control));
        return paints;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return most() >= 1; }, 5000));
    QApplication::processEvents();
    EXPECT_LE(most(), 2);
}
