#include "preview/sfShape.h"

#include "preview/sfCanvas.h"

namespace preview {

void sfShape::AttachDevice(sfCanvas* device) {
    device_ = device;
    scene_.setFileSystem(device ? &device->fileSystem() : nullptr);
    scene_.setTextureCache(device ? device->textureCache() : nullptr);
}

void sfShape::ShapeFile(const QString& path) {
    shapeFile_ = path;
    scene_.load(path);
}

void sfShape::Draw(int&, float&) {
    if (device_)
        device_->DrawShape(*this);
}

void sfShape::SetWorldMatrix(const Matrix& matrix) {
    render::Mat4 world;
    world.m = matrix;
    scene_.setWorldMatrix(world);
}

void sfShape::GetBoundingSphere(float& x, float& y, float& z, float& radius) const {
    const render::BoundingSphere sphere = scene_.boundingSphere();
    x = sphere.centre.x;
    y = sphere.centre.y;
    z = sphere.centre.z;
    radius = sphere.radius;
}

} // namespace preview
