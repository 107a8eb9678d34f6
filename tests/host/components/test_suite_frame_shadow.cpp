#include "components/SuiteFrameShadow.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include "support/TestOutput.h"

#include <memory>

namespace {

int alphaAt(const QImage &image, int x, int y)
{
    return qAlpha(image.pixel(x, y));
}

std::unique_ptr<QWidget> shownWindow(QRect geometry)
{
    auto w = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    w->setGeometry(geometry);
    w->show();
    QApplication::processEvents();
    return w;
}

}

TEST(SuiteFrameShadowRender, FadesOutwardAndLeavesTheWindowClear)
{
    SuiteFrameShadow::Look look;
    look.color = QColor(0x10, 0x20, 0xC0);
    const QImage image = SuiteFrameShadow::RenderShadow(QSize(100, 60), look);
    testsupport::writeTestPng("SuiteFrameShadow", "shadow_100x60", image);
    ASSERT_EQ(image.size(), QSize(130, 90));
    EXPECT_EQ(alphaAt(image, 15 + 50, 15 + 30), 0); // the window's own area
    const int right = 15 + 100;                      // first column right of the window
    EXPECT_GT(alphaAt(image, right, 45), alphaAt(image, right + 5, 45));
    EXPECT_GT(alphaAt(image, right + 5, 45), alphaAt(image, right + 12, 45));
    EXPECT_EQ(alphaAt(image, 129, 45), 0);            // the far edge: nothing left
    EXPECT_LE(alphaAt(image, right, 45), 128);        // at most half strength at full opacity
    EXPECT_EQ(alphaAt(image, 7, 45), alphaAt(image, right + 7, 45)); // the same on the left
    EXPECT_GT(alphaAt(image, 14, 14), 0);             // rounded corner still shaded
    const QColor c = QColor::fromRgba(qUnpremultiply(image.pixel(right, 45)));
    EXPECT_NEAR(c.blue(), 0xC0, 2);
    EXPECT_NEAR(c.red(), 0x10, 2);
}

TEST(SuiteFrameShadowRender, OptionsOffsetsAndOpacity)
{
    SuiteFrameShadow::Look look;
    look.options = SuiteFrameShadow::OptionSoft; // right and bottom only
    QImage image = SuiteFrameShadow::RenderShadow(QSize(50, 50), look);
    EXPECT_EQ(alphaAt(image, 5, 40), 0);
    EXPECT_GT(alphaAt(image, 70, 40), 0);

    look.options = SuiteFrameShadow::OptionAllSides;
    look.offsetX = 5;
    image = SuiteFrameShadow::RenderShadow(QSize(50, 50), look);
    EXPECT_GT(alphaAt(image, 15 + 50 + 4, 40), alphaAt(image, 10, 40)); // moved to the right

    look.offsetX = 0;
    look.opacity = 0;
    image = SuiteFrameShadow::RenderShadow(QSize(50, 50), look);
    EXPECT_EQ(alphaAt(image, 66, 40), 0);

    look.extent = 0;
    EXPECT_EQ(SuiteFrameShadow::RenderShadow(QSize(50, 50), look).size(), QSize(50, 50));
    EXPECT_EQ(SuiteFrameShadow::RenderShadow(QSize(-5, 0), look).size(), QSize(0, 0).expandedTo(QSize(0, 0)));
}

TEST(SuiteFrameShadowService, WithoutTranslucencyNothingIsAttached)
{
    SuiteFrameShadow service(SuiteFrameShadow::Translucency::Off);
    auto window = shownWindow({10, 10, 80, 60});
    EXPECT_FALSE(service.IsAvailable());
    service.Attach(window.get(), -1, 0, 0, 0, 0, 0);
    EXPECT_FALSE(service.HasShadow(window.get()));
    service.Detach(window.get()); // harmless
    window->move(40, 40);         // the window works on
    EXPECT_EQ(window->pos(), QPoint(40, 40));
}

TEST(SuiteFrameShadowService, OffscreenAutoDetectionFindsNoTranslucency)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        GTEST_SKIP() << "only meaningful on the offscreen platform";
    EXPECT_FALSE(SuiteFrameShadow(SuiteFrameShadow::Translucency::Auto).IsAvailable());
}

TEST(SuiteFrameShadowService, AttachedShadowFollowsItsWindow)
{
    SuiteFrameShadow service(SuiteFrameShadow::Translucency::On);
    service.SetSecondSize(15);
    auto window = shownWindow({100, 100, 200, 120});
    service.Attach(window.get(), -1, 0, 0, 0, 0, 0);
    service.Attach(window.get(), -1, 0, 0, 0, 0, 0); // once only
    ASSERT_TRUE(service.HasShadow(window.get()));
    QWidget *shadow = service.ShadowWindowOf(window.get());
    ASSERT_NE(shadow, nullptr);
    EXPECT_TRUE(shadow->isVisible());
    EXPECT_EQ(shadow->geometry(), QRect(85, 85, 230, 150));
    EXPECT_TRUE(shadow->windowFlags() & Qt::WindowTransparentForInput);

    window->setGeometry(300, 200, 100, 80);
    EXPECT_EQ(shadow->geometry(), QRect(285, 185, 130, 110));
    window->hide();
    EXPECT_FALSE(shadow->isVisible());
    window->show();
    EXPECT_TRUE(shadow->isVisible());

    service.Detach(window.get());
    EXPECT_FALSE(service.HasShadow(window.get()));
}

TEST(SuiteFrameShadowService, GlobalColourRecoloursAttachedShadowsAndBatchesRepaint)
{
    SuiteFrameShadow service(SuiteFrameShadow::Translucency::On);
    auto a = shownWindow({0, 0, 50, 50});
    auto b = shownWindow({100, 0, 50, 50});
    service.SetColor(0x0000FF);
    service.Attach(a.get(), -1, 0, 0, 0, 0, 0);
    service.Attach(b.get(), 0x00FF00, 0, 0, 0, 0, 0); // its own colour
    EXPECT_EQ(service.LookOf(a.get()).color, QColor(255, 0, 0));
    EXPECT_EQ(service.LookOf(b.get()).color, QColor(0, 255, 0));

    service.SetBatchUpdate(true);
    service.SetColor(0x123456);                  // new shadows only
    EXPECT_EQ(service.LookOf(a.get()).color, QColor(255, 0, 0));
    service.SetGlobalColor(0xFF0000);            // every shadow
    service.SetBatchUpdate(false);
    EXPECT_EQ(service.LookOf(a.get()).color, QColor(0, 0, 255));
    EXPECT_EQ(service.LookOf(b.get()).color, QColor(0, 0, 255));
}

TEST(SuiteFrameShadowService, DestroyedWindowDropsItsShadow)
{
    SuiteFrameShadow service(SuiteFrameShadow::Translucency::On);
    auto window = shownWindow({0, 0, 50, 50});
    const QWidget *raw = window.get();
    service.Attach(window.get(), -1, 0, 0, 0, 0, 0);
    window.reset();
    EXPECT_FALSE(service.HasShadow(raw));
    EXPECT_EQ(service.ShadowWindowOf(raw), nullptr);
}

TEST(SuiteFrameShadowService, ChildWidgetsGetNoShadow)
{
    SuiteFrameShadow service(SuiteFrameShadow::Translucency::On);
    auto window = shownWindow({0, 0, 50, 50});
    QWidget child(window.get());
    service.Attach(&child, -1, 0, 0, 0, 0, 0);
    service.Attach(nullptr, -1, 0, 0, 0, 0, 0);
    EXPECT_FALSE(service.HasShadow(&child));
}
