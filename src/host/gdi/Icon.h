#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace gdi {

// An icon handle: a QIcon (or one picture) with its own size.
class Icon {
public:
    Icon() = default;
    explicit Icon(const QIcon &icon, QSize size = QSize(32, 32));
    explicit Icon(const QPixmap &pixmap);
    explicit Icon(const QImage &image);

    bool isNull() const { return m_icon.isNull(); }
    QSize size() const { return m_size; }
    // The icon at the given size (its own size for a zero side) with its alpha.
    QImage image(QSize size = QSize()) const;

private:
    QIcon m_icon;
    QSize m_size;
};

} // namespace gdi
