#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <initializer_list>

// The program's images, drawn from SVG resources.
namespace SvgImage {

// The image at resource path drawn at size (its own size when size is empty), sharp on the
// screen's device pixel ratio.
QPixmap Render(const QString& resourcePath, QSize size = QSize());

// An icon holding the image at each of sizes (square, in pixels).
QIcon Icon(const QString& resourcePath, std::initializer_list<int> sizes);

} // namespace SvgImage
