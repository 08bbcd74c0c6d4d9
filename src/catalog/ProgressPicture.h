#pragma once

// The picture behind the progress window: a goods train crossing the plain at dusk.
//
// The window takes whatever ProgressBackgroundPicture() answers, so another source (a
// picture rendered from a shape, a file) can take the place of the painted scene without
// touching the window.

#include <QImage>
#include <QSize>

namespace catalog {

// Size of the progress window's client area, which the picture fills.
inline constexpr QSize kProgressPictureSize{480, 136};

// The goods-train scene painted by code, at the given size.
QImage PaintGoodsTrainScene(QSize size);

// The picture the progress window shows, at kProgressPictureSize.
QImage ProgressBackgroundPicture();

} // namespace catalog
