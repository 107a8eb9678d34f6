#include "os/WindowRegion.h"

#include <QVariant>
#include <QWidget>

namespace os {

namespace {
constexpr char regionProperty[] = "kestrova_windowRegion";
} // namespace

int SetWindowRgn(QWidget *window, std::optional<gdi::Region> region, bool redraw)
{
    if (!window)
        return 0;
    if (!region) {
        window->setProperty(regionProperty, QVariant());
        window->clearMask();
    } else {
        window->setProperty(regionProperty, QVariant::fromValue(region->region()));
        // QWidget takes an empty mask as "no mask"; a mask outside the window hides all of it.
        window->setMask(region->region().isEmpty() ? QRegion(-1, -1, 1, 1) : region->region());
    }
    if (redraw)
        window->update();
    return 1;
}

std::optional<gdi::Region> GetWindowRgn(const QWidget *window)
{
    if (!window)
        return std::nullopt;
    const QVariant stored = window->property(regionProperty);
    if (!stored.isValid())
        return std::nullopt;
    return gdi::Region(stored.value<QRegion>());
}

} // namespace os
