#include "chrome/ModShadow.h"

#include "components/SuiteControlsGlobalSettings.h"
#include "platform/ModDPI.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ShadowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SuiteControlsGlobalSettings::Global().FrameShadow()->setTranslucency(SuiteFrameShadow::Translucency::On);
        ModDPI::DPIScale = 1.0f;
        ModShadow::ShadowEnabled = false;
        for (auto &w : windows) {
            w = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
            w->resize(200, 100);
            w->show();
        }
        QApplication::processEvents();
    }
    void TearDown() override
    {
        for (auto &w : windows)
            SuiteControlsGlobalSettings::Global().FrameShadow()->Detach(w.get());
        SuiteControlsGlobalSettings::Global().FrameShadow()->setTranslucency(SuiteFrameShadow::Translucency::Auto);
    }
    SuiteFrameShadow &service() { return *SuiteControlsGlobalSettings::Global().FrameShadow(); }
    std::unique_ptr<QWidget> windows[2];
};

}

TEST_F(ShadowTest, InitScalesTheSizesByTheDpiFactor)
{
    struct Case {
        float dpi;
        int first;
        int second;
    };
    for (const Case c : {Case{1.0f, 10, 15}, Case{1.25f, 12, 19}, Case{1.5f, 15, 22}, Case{2.25f, 22, 34},
                         Case{3.0f, 30, 45}}) {
        ModDPI::DPIScale = c.dpi;
        ModShadow::InitShadow();
        EXPECT_EQ(service().CurrentLook().blur, c.first) << c.dpi;
        EXPECT_EQ(service().CurrentLook().extent, c.second) << c.dpi;
        EXPECT_EQ(service().CurrentLook().opacity, 255);
        EXPECT_EQ(service().CurrentLook().options, 24);
    }
}

TEST_F(ShadowTest, SwitchedOffAtStartThenOnForEveryWindowAtOnce)
{
    ModShadow::InitShadow();
    for (auto &w : windows)
        ModShadow::UpdateShadow(w.get(), 0x0000FF);
    for (auto &w : windows)
        EXPECT_FALSE(service().HasShadow(w.get()));

    ModShadow::ShadowEnabled = true;
    for (auto &w : windows)
        ModShadow::UpdateShadow(w.get(), 0x00FF00);
    for (auto &w : windows) {
        ASSERT_TRUE(service().HasShadow(w.get()));
        EXPECT_EQ(service().LookOf(w.get()).color, QColor(0, 255, 0));
    }

    ModShadow::ShadowEnabled = false;
    for (auto &w : windows)
        ModShadow::UpdateShadow(w.get(), 0x00FF00);
    for (auto &w : windows)
        EXPECT_FALSE(service().HasShadow(w.get()));
}

TEST_F(ShadowTest, SchemeChangeRecoloursWithoutReattaching)
{
    ModShadow::ShadowEnabled = true;
    ModShadow::UpdateShadow(windows[0].get(), 0x0000FF);
    ModShadow::UpdateShadow(windows[0].get(), 0x0000FF); // attached once
    QWidget *shadow = service().ShadowWindowOf(windows[0].get());
    ASSERT_NE(shadow, nullptr);
    ModShadow::UpdateShadow(windows[1].get(), 0x00FFFF); // the colour engine on the next window
    EXPECT_EQ(service().ShadowWindowOf(windows[0].get()), shadow);
    EXPECT_EQ(service().LookOf(windows[0].get()).color, QColor(255, 255, 0));
}

TEST_F(ShadowTest, UnavailableServiceLeavesWindowsAlone)
{
    service().setTranslucency(SuiteFrameShadow::Translucency::Off);
    ModShadow::InitShadow();
    ModShadow::ShadowEnabled = true;
    ModShadow::UpdateShadow(windows[0].get(), 0x0000FF);
    EXPECT_FALSE(service().HasShadow(windows[0].get()));
    ModShadow::UpdateShadow(nullptr, 0);
}
