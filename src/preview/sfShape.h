#pragma once

// The shape object drawn on the canvas. It keeps the operation names of the shape class of
// the 3D view control it stands for. So far it records what it is given; loading the shape
// file and drawing it come with the preview, through the render library.

#include <QString>

#include <array>

namespace preview {

class sfCanvas;

class sfShape {
public:
    using Matrix = std::array<float, 16>;

    // The canvas device the shape draws on.
    void AttachDevice(sfCanvas* device) { device_ = device; }
    sfCanvas* AttachedDevice() const { return device_; }

    // Folder the shape's textures are looked for in.
    void TexturePath(const QString& folder) { texturePath_ = folder; }
    QString TexturePath() const { return texturePath_; }

    // Path of the shape file; putting one loads it. The world matrix is kept.
    void ShapeFile(const QString& path);
    QString ShapeFile() const { return shapeFile_; }

    // Draws the shape into the canvas's current frame.
    void Draw(int& level, float& detail);

    void SetWorldMatrix(const Matrix& matrix) { world_ = matrix; }
    const Matrix& WorldMatrix() const { return world_; }

    // Centre and radius of the sphere around the loaded shape; zero when none is loaded.
    void GetBoundingSphere(float& x, float& y, float& z, float& radius) const;

    void Prepare();

private:
    sfCanvas* device_ = nullptr;
    QString texturePath_;
    QString shapeFile_;
    Matrix world_{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

} // namespace preview
