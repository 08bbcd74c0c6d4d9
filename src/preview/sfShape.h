#pragma once

// The shape object drawn on the canvas. It keeps the operation names of the shape class of
// the 3D view control it stands for, as a face over the attached canvas's VehicleScene: the
// shape, its textures and its world matrix live there, where pictelle-cli draws them too.

#include "preview/SceneShape.h"

#include <QString>

#include <array>

namespace preview {

class sfCanvas;

class sfShape {
public:
    using Matrix = std::array<float, 16>;

    // The canvas device the shape draws on; its file layer reads the shape and textures,
    // which come from its texture cache. Nothing below does anything before.
    void AttachDevice(sfCanvas* device) { device_ = device; }

    // Folder, relative to the shape's folder, where textures are looked for after the
    // shape's own folder.
    void TexturePath(const QString& folder);
    QString TexturePath() const { return Scene().texturePath(); }
    // The folder the shape, its textures and freight shapes must lie in.
    void ContentRoot(const QString& folder);

    // Path of the shape file; putting one loads it (through the attached device's file
    // layer) and drops the freight shapes. The world matrix is kept. A file that cannot be
    // read leaves the shape empty; Scene().status() and Scene().diagnostics() say why.
    void ShapeFile(const QString& path);
    QString ShapeFile() const { return Scene().path(); }

    // Draws the shape into the attached canvas's current frame, at its most detailed level
    // whatever the arguments.
    void Draw(int& level, float& detail);

    // 16 singles row by row; points are row vectors (translation in the last row).
    void SetWorldMatrix(const Matrix& matrix);
    Matrix WorldMatrix() const { return Scene().worldMatrix().m; }

    // Centre and radius of the sphere around the drawn level with the world matrix applied;
    // zero when no shape is loaded.
    void GetBoundingSphere(float& x, float& y, float& z, float& radius) const;

    const SceneShape& Scene() const;

private:
    sfCanvas* device_ = nullptr;
    SceneShape detached_; // what Scene() shows before a device is attached
};

} // namespace preview
