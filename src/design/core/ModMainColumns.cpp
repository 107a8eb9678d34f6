#include "core/ModMainColumns.h"

#include "components/SuiteListView.h"
#include "runtime/DoEvents.h"
#include "runtime/Screen.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPointer>

namespace ModMain {

namespace {

double measureHeader(const QString &text)
{
    if (HeaderTextWidth)
        return HeaderTextWidth(text);
    return runtime::ToTwips(QFontMetrics(QApplication::font()).horizontalAdvance(text), runtime::Axis::Horizontal);
}

} // namespace

void AutoSizeListColumns(SuiteListView *list)
{
    const QPointer<SuiteListView> guard(list);
    if (!guard)
        return;
    double iconWidth = guard->IconSize();
    if (iconWidth != 0)
        iconWidth = runtime::Round(runtime::ToTwips(iconWidth, runtime::Axis::Horizontal), runtime::Rounding::HalfEven);
    const int count = guard->ColumnHeaders().Count();
    for (int i = 1; i <= count && guard; ++i) {
        guard->AutoFitColumn(i - 1);
        runtime::DoEvents();
        if (!guard)
            return;
        std::optional<SuiteColumnHeader> header = guard->ColumnHeaders().Item(i);
        if (!header)
            continue;
        if (i == 1)
            header->setWidth(header->Width() + iconWidth);
        const float minimum = float(measureHeader(header->Text())) + 600.0f;
        if (header->Width() < minimum)
            header->setWidth(minimum);
        runtime::DoEvents();
    }
    if (guard)
        guard->Refresh();
}

void AutoSizeColumnsExceptLast(SuiteListView *list)
{
    const QPointer<SuiteListView> guard(list);
    if (!guard)
        return;
    const int count = guard->ColumnHeaders().Count();
    for (int column = 0; column <= count - 2 && guard; ++column) {
        guard->AutoFitColumn(column);
        runtime::DoEvents();
    }
    if (!guard)
        return;
    guard->Refresh();
    runtime::DoEvents();
}

} // namespace ModMain
