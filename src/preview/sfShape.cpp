#include "preview/sfShape.h"

#include "preview/sfCanvas.h"

namespace preview {

const SceneShape& sfShape::Scene() const {
    return device_ ? device_->Scene().shape() : detached_;
}

void sfShape::TexturePath(const QString& folder) {
    if (device_)
        device_->Scene().shape().setTexturePath(folder);
}

void sfShape::ContentRoot(const QString& folder) {
    if (device_)
        device_->Scene().shape().setContentRoot(folder);
}

void sfShape::ShapeFile(const QString& path) {
    if (device_)
        device_->Scene().loadShape(path);
}

void sfShape::Draw(int&, float&) {
    if (device_)
        device_->DrawShape();
}

void sfShape::SetWorldMatrix(const Matrix& matrix) {
    render::Mat4 world;
    world.m = matrix;
    if (device_)
        device_->Scene().shape().setWorldMatrix(world);
}

void sfShape::GetBoundingSphere(float& x, float& y, float& z, float& radius) const {
    const render::BoundingSphere sphere = Scene().boundingSphere();
    x = sphere.centre.x;
    y = sphere.centre.y;
    z = sphere.centre.z;
    radius = sphere.radius;
}

} // namespace preview
