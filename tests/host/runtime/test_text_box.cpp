#include "runtime/TextBox.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(TextBox, LinesAreSeparatedByCrLfBothWays)
{
    QWidget host;
    runtime::TextBox box(&host, QStringLiteral("TextID"));
    box.setMultiLine(true);
    box.setText(QStringLiteral("PCI\\VEN_1\r\nPCI\\VEN_2\r\n"));
    EXPECT_EQ(box.Text(), QStringLiteral("PCI\\VEN_1\r\nPCI\\VEN_2\r\n"));
    EXPECT_EQ(box.Text().split(QStringLiteral("\r\n")).size(), 3);
    box.setText(QStringLiteral("one line"));
    EXPECT_EQ(box.Text(), QStringLiteral("one line"));
}

}
