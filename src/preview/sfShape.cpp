#include "preview/sfShape.h"

namespace preview {

void sfShape::ShapeFile(const QString& path) {
    // Reading the file comes with the preview.
    shapeFile_ = path;
}

void sfShape::Draw(int&, float&) {
    // Drawing comes with the preview; a frame shows the background until then.
}

void sfShape::GetBoundingSphere(float& x, float& y, float& z, float& radius) const {
    x = y = z = radius = 0.0f;
}

void sfShape::Prepare() {}

} // namespace preview
