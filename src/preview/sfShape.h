#pragma once

// The shape object drawn on the canvas. It keeps the operation names of the shape class of
// the 3D view control it stands for. Loading, texture lookup and the world matrix live in
// SceneShape, which pictelle-cli uses too; this class adds the canvas it draws on.

#include "preview/SceneShape.h"

#include <QString>

#include <array>

namespace preview {

class sfCanvas;

class sfShape {
public:
    using Matrix = std::array<float, 16>;

    // The canvas device the shape draws on; its file layer reads the shape and textures,
    // which come from its texture cache.
    void AttachDevice(sfCanvas* device);

    // Folder, relative to the shape's folder, where textures are looked for after the
    // shape's own folder.
    void TexturePath(const QString& folder) { scene_.setTexturePath(folder); }
    QString TexturePath() const { return scene_.texturePath(); }
    // The folder the shape, its textures and freight shapes must lie in (SceneShape).
    void ContentRoot(const QString& folder) { scene_.setContentRoot(folder); }

    // Path of the shape file; putting one loads it (through the attached device's file
    // layer). The world matrix is kept. A file that cannot be read leaves the shape empty;
    // Scene().status() and Scene().diagnostics() say why.
    void ShapeFile(const QString& path);
    QString ShapeFile() const { return shapeFile_; }

    // The vehicle's freight shapes, drawn with the shape under its world matrix; set after
    // each ShapeFile (putting a file drops them). Scene().freightProblems() lists those left
    // out.
    void FreightShapes(const QList<FreightPlacement>& freight) { scene_.setFreightShapes(freight); }

    // Draws the shape into the attached canvas's current frame, at its most detailed level
    // whatever the arguments.
    void Draw(int& level, float& detail);

    // 16 singles row by row; points are row vectors (translation in the last row).
    void SetWorldMatrix(const Matrix& matrix);
    Matrix WorldMatrix() const { return scene_.worldMatrix().m; }

    // Centre and radius of the sphere around the drawn level with the world matrix applied;
    // zero when no shape is loaded.
    void GetBoundingSphere(float& x, float& y, float& z, float& radius) const;

    // Textures are decoded as each frame needs them, so nothing is left to prepare.
    void Prepare() {}

    const SceneShape& Scene() const { return scene_; }

private:
    sfCanvas* device_ = nullptr;
    QString shapeFile_;
    SceneShape scene_;
};

} // namespace preview
