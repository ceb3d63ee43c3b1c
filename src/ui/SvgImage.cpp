#include "ui/SvgImage.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace SvgImage {

QPixmap Render(const QString& resourcePath, QSize size) {
    QSvgRenderer renderer(resourcePath);
    if (size.isEmpty())
        size = renderer.defaultSize();
    const qreal ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

QIcon Icon(const QString& resourcePath, std::initializer_list<int> sizes) {
    QIcon icon;
    for (int side : sizes)
        icon.addPixmap(Render(resourcePath, QSize(side, side)));
    return icon;
}

} // namespace SvgImage
