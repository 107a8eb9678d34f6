#pragma once

#include "runtime/App.h"
#include "runtime/DoEvents.h"
#include "runtime/Forms.h"
#include "runtime/Screen.h"
#include "skin/FrmColors.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace skintest {

// Every test runs in a fresh program folder of its own at 96 dpi, and ends with no window loaded.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        runtime::App::setPath(folder.path());
        runtime::Screen::setLogicalDpi(96);
    }
    void TearDown() override
    {
        for (runtime::Form *form : runtime::Forms::All())
            runtime::Unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        runtime::Screen::setLogicalDpi(std::nullopt);
        runtime::App::setPath(QString());
    }
    QString settingsPath() const { return folder.path() + QStringLiteral("/settings.ini"); }
    QString presetPath(const QString &name) const { return folder.path() + QStringLiteral("/color_presets/") + name + QStringLiteral(".ini"); }

    // The text of a file written by the profile functions (UTF-16LE with its mark, or 8-bit).
    static QString fileText(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        if (bytes.startsWith("\xFF\xFE"))
            return QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2), (bytes.size() - 2) / 2);
        return QString::fromLatin1(bytes);
    }
    static void writeUtf16(const QString &path, const QString &text)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xFE");
        file.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    }

    FrmColors *loadColors() { return runtime::Forms::Get<FrmColors>(); }

    QTemporaryDir folder;
};

}
