// The rule table against the controls the program has: every property that a rule names for a
// kind of control exists on it under that name, and the ones added for the table change what
// the control draws.
#include "chrome/TitelBar.h"
#include "components/SuiteCheckBox.h"
#include "components/SuiteColorPicker.h"
#include "components/SuiteGroupBox.h"
#include "components/SuiteLabel.h"
#include "components/SuiteListView.h"
#include "components/SuitePushButton.h"
#include "components/SuiteTabControl.h"
#include "controls/AnimationBar.h"
#include "controls/PanelFx.h"
#include "controls/QuordanePB.h"
#include "controls/dcButton.h"
#include "runtime/ComboBox.h"
#include "runtime/Label.h"
#include "runtime/PictureBox.h"
#include "runtime/TextBox.h"
#include "skin/ModColorsRules.h"

#include <QApplication>
#include <QMetaProperty>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The paths the table sets on a control of that name, in table order.
QStringList pathsFor(const QString &name)
{
    QStringList paths;
    const QString lower = name.toLower();
    for (const ModColorsRules::Step &step : ModColorsRules::Steps()) {
        for (const ModColorsRules::Rule &rule : step.rules) {
            const bool match = std::any_of(rule.prefixes.begin(), rule.prefixes.end(),
                                           [&](const char *prefix) { return lower.startsWith(QLatin1String(prefix)); });
            if (match)
                for (const ModColorsRules::Assignment &set : rule.sets)
                    paths << QString::fromLatin1(set.property);
        }
    }
    return paths;
}

bool writable(QObject *object, const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('.'));
    for (qsizetype i = 0; object && i + 1 < parts.size(); ++i)
        object = runtime::getPropertyByName(object, parts[i].toLatin1().constData()).value<QObject *>();
    if (!object)
        return false;
    const int index = object->metaObject()->indexOfProperty(parts.last().toLatin1().constData());
    return index >= 0 && object->metaObject()->property(index).isWritable();
}

struct Kind {
    const char *name;
    std::function<runtime::Control *(QWidget *)> make;
};

template <class T>
std::function<runtime::Control *(QWidget *)> plain(const char *name)
{
    return [name](QWidget *host) { return new T(host, QString::fromLatin1(name)); };
}

template <class T>
std::function<runtime::Control *(QWidget *)> user(const char *name)
{
    return [name](QWidget *host) {
        auto *control = new T(host, QString::fromLatin1(name));
        control->InitNew();
        return control;
    };
}

const std::vector<Kind> &kinds()
{
    static const std::vector<Kind> all = {
        {"PanelProgress", user<PanelFx>("PanelProgress")},
        {"CommandScan", user<dcButton>("CommandScan")},
        {"dcButton1", user<dcButton>("dcButton1")},
        {"b2CommandGo", user<dcButton>("b2CommandGo")},
        {"PBarExample", user<QuordanePB>("PBarExample")},
        {"MBarExample", user<QuordanePB>("MBarExample")},
        {"PB1", user<QuordanePB>("PB1")},
        {"DB1", plain<AnimationBar>("DB1")},
        {"LabelStatus", plain<SuiteLabel>("LabelStatus")},
        {"lblVersion", plain<runtime::Label>("lblVersion")},
        {"InfoLabelRate", plain<runtime::Label>("InfoLabelRate")},
        {"ImportantLabel1", plain<SuiteLabel>("ImportantLabel1")},
        {"FrameNormal", plain<SuiteGroupBox>("FrameNormal")},
        {"ColorPicker", plain<SuiteColorPicker>("ColorPicker")},
        {"CheckDisableShadow", plain<SuiteCheckBox>("CheckDisableShadow")},
        {"ListView1", plain<SuiteListView>("ListView1")},
        {"TabControl1", plain<SuiteTabControl>("TabControl1")},
        {"Picture1", plain<runtime::PictureBox>("Picture1")},
        {"LogoPictureBox", plain<runtime::PictureBox>("LogoPictureBox")},
        {"ImportantPictureBestMacthColor", plain<runtime::PictureBox>("ImportantPictureBestMacthColor")},
        {"Text1", plain<runtime::TextBox>("Text1")},
        {"Combo2", plain<runtime::ComboBox>("Combo2")},
        {"Command2", plain<SuitePushButton>("Command2")},
    };
    return all;
}

}

class RuleContract : public ::testing::TestWithParam<Kind> {};

TEST_P(RuleContract, EveryPropertyTheTableNamesExists)
{
    QWidget host;
    runtime::Control *control = GetParam().make(&host);
    const QStringList paths = pathsFor(control->Name());
    EXPECT_FALSE(paths.isEmpty());
    for (const QString &path : paths)
        EXPECT_TRUE(writable(control, path)) << control->metaObject()->className() << " " << path.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Controls, RuleContract, ::testing::ValuesIn(kinds()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(RuleContract, TheTitleBarHasEveryTitleBarProperty)
{
    QWidget host;
    TitelBar bar(&host);
    for (const ModColorsRules::Step &step : ModColorsRules::Steps())
        for (const char *property : step.titleBar)
            EXPECT_TRUE(writable(&bar, QString::fromLatin1(property))) << property;
}

namespace {

QImage render(QWidget *widget)
{
    QApplication::processEvents(); // the tab control restyles once a group of sets is done
    return widget->grab().toImage();
}

}

TEST(RuleContract, TheTabControlDrawsItsBackColourAndEveryMemberOfItsColourSet)
{
    QWidget host;
    host.resize(300, 200);
    SuiteTabControl tabs(&host, QStringLiteral("TabControl1"));
    tabs.setGeometry(0, 0, 300, 200);
    tabs.InsertItem(QStringLiteral("All Hardware"), new SuiteTabControlPage(&tabs, QStringLiteral("TabControlPage1")));
    tabs.InsertItem(QStringLiteral("No Drivers"), new SuiteTabControlPage(&tabs, QStringLiteral("TabControlPage2")));
    host.show();
    QStringList members;
    const QMetaObject *meta = tabs.PaintManager().ColorSet()->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        members << QString::fromLatin1(meta->property(i).name());
    EXPECT_EQ(members.size(), 12);
    // Hover and its text show only under the mouse: the set still stores them.
    const QStringList unseen{QStringLiteral("ButtonHighlighted"), QStringLiteral("HighlightText")};
    for (const QString &member : members) {
        const QImage before = render(&tabs);
        ASSERT_TRUE(runtime::setPropertyByName(tabs.PaintManager().ColorSet(), member.toLatin1().constData(), 0x00FF00FFu));
        if (!unseen.contains(member)) {
            EXPECT_NE(render(&tabs), before) << member.toStdString();
        }
    }
    const QImage before = render(&host);
    EXPECT_TRUE(runtime::setPropertyByName(&tabs, "BackColor", 0x0000FF00u));
    EXPECT_TRUE(runtime::setPropertyByName(tabs.Item(0)->Page(), "BackColor", 0x00FF0000u));
    EXPECT_NE(render(&host), before);
    EXPECT_EQ(render(tabs.Item(0)->Page()).pixelColor(5, 5), QColor(0, 0, 0xFF));
}

TEST(RuleContract, ThePushButtonDrawsItsStartColour)
{
    QWidget host;
    SuitePushButton button(&host, QStringLiteral("Command2"));
    button.setGeometry(0, 0, 120, 30);
    button.setBackColor(0x808080);
    const QImage flat = button.Render();
    button.setBackStartColor(0xFFFFFF);
    const QImage gradient = button.Render();
    // Light at the top, running down to the back colour.
    EXPECT_NE(gradient.pixelColor(60, 2), flat.pixelColor(60, 2));
    EXPECT_GT(gradient.pixelColor(60, 2).red(), gradient.pixelColor(60, 27).red());
}
