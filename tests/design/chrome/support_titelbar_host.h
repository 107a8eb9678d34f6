#pragma once

#include "chrome/SkinnedWindow.h"
#include "chrome/TitelBar.h"
#include "runtime/Form.h"
#include "runtime/Forms.h"
#include "runtime/PropertyBag.h"
#include "runtime/Screen.h"

#include <QApplication>
#include <QPointer>

#include <gtest/gtest.h>

namespace chrometest {

// A borderless host window with a title bar along its top, loaded and shown at 96 dpi.
class HostForm : public runtime::Form {
public:
    explicit HostForm(const QString &name = QStringLiteral("FrmTest"))
        : runtime::Form(name)
    {
    }
    TitelBar *bar = nullptr;
    int resizes = 0;
    bool sawMaximizedDuringResize = false;
    bool sawNormalDuringResize = false;

protected:
    void Form_Resize() override
    {
        ++resizes;
        if (bar) {
            (bar->bDidMaximize ? sawMaximizedDuringResize : sawNormalDuringResize) = true;
            bar->setWidth(Width());
        }
    }
};

// The bag a window stores for its title bar (the main window's values).
inline runtime::PropertyBag WindowBag() { return SkinnedWindow::TitleBarBag(QStringLiteral("Quordane - Kestrova")); }

class TitelBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        runtime::Screen::setLogicalDpi(96);
        form = new HostForm();
        form->setGeometry(100, 80, 600, 400);
        bar = new TitelBar(form);
        form->bar = bar;
        bar->setGeometry(0, 0, 600, 32);
        bar->ReadProperties(WindowBag());
        runtime::Load(form);
        form->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (form) {
            form->bar = nullptr;
            delete form.data();
        }
        runtime::Screen::setLogicalDpi(std::nullopt);
        QApplication::processEvents();
    }
    QPointer<HostForm> form;
    TitelBar *bar = nullptr;
};

inline gdi::ColorRef pixel(const QImage &image, int x, int y)
{
    return gdi::fromPixel(image.pixel(x, y));
}

}
