#include "runtime/ResPicture.h"

#include "gdi/Picture.h"

#include <QImage>

static void initCursorResources() { Q_INIT_RESOURCE(cursors); }

namespace runtime {

StdPicture LoadResPicture(const QString &id, int type)
{
    static const bool linked = (initCursorResources(), true);
    Q_UNUSED(linked);
    if (type != vbResCursor || id.isEmpty())
        return {};
    const QImage image = gdi::ReadPicture(QStringLiteral(":/resources/cursor/") + id.toUpper());
    if (image.isNull())
        return {};
    return StdPicture::fromImage(image, StdPicture::vbPicTypeIcon);
}

} // namespace runtime
