#pragma once

// The state behind the canvas's shape object, without any window: a shape file loaded
// through the file layer into a render model, its textures, and its world matrix. The window's
// sfShape and pictelle-cli both draw through this class, so they make the same pictures.
//
// Textures are looked up next to the shape file first, then through the texture path
// relative to the shape's folder, without regard to letter case (the file layer's rule); a
// name ending in ".dds" is also tried as ".ace". A texture that cannot be found or read
// draws neutral grey and is listed in missingTextures().
//
// A vehicle's freight shapes (its FreightAnim entries) are drawn in the same scene: each is
// read like the vehicle's shape, textures beside it first, and moved up by its height before
// the world matrix. One that cannot be read is left out and listed in freightProblems(); the
// vehicle is drawn without it.

#include "msts/Diagnostics.h"
#include "render/Math.h"
#include "render/Model.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace platform {
class FileSystem;
}

namespace preview {

enum class ShapeLoadStatus {
    NoFile,     // nothing loaded yet
    Loaded,     // the shape is drawn (it may still have no triangles)
    NotFound,   // no file of that name
    Unreadable, // the file exists but could not be read (permissions, too large)
    Invalid,    // the bytes are not a shape the reader accepts; see diagnostics()
};

// A freight shape to draw with the vehicle: its path text and its height in metres above the
// vehicle's origin.
struct FreightPlacement {
    QString path;
    float height = 0.0f;

    friend bool operator==(const FreightPlacement&, const FreightPlacement&) = default;
};

// A freight shape left out of the picture, and why.
struct FreightProblem {
    QString path;
    ShapeLoadStatus status = ShapeLoadStatus::NotFound;
};

class SceneShape;

// Every freight shape is read through here: the shape file with its textures, beside it first,
// then in `texturePath` relative to its folder. One place, so that a shape many vehicles carry
// can be read once and shared.
std::shared_ptr<const SceneShape> LoadFreightShape(const platform::FileSystem& fs,
                                                   const QString& path, const QString& texturePath);

class SceneShape {
public:
    explicit SceneShape(const platform::FileSystem* fileSystem = nullptr);

    void setFileSystem(const platform::FileSystem* fileSystem) { fileSystem_ = fileSystem; }

    // Folder text, relative to the shape's folder, where textures are looked for second.
    void setTexturePath(const QString& folder) { texturePath_ = folder; }
    const QString& texturePath() const { return texturePath_; }

    // Loads a shape file (a path text for the file layer). Any earlier shape and its freight
    // shapes are dropped first, so a file that cannot be read leaves the shape empty; the world
    // matrix is kept. Returns true when the shape was loaded.
    bool load(const QString& path);
    const QString& path() const { return path_; }
    ShapeLoadStatus status() const { return status_; }
    // What the reader reported for the last file: warnings when loaded, errors when Invalid.
    const msts::Diagnostics& diagnostics() const { return diagnostics_; }
    // Image names as written in the shape for which no texture could be had.
    const QStringList& missingTextures() const { return missingTextures_; }

    // The freight shapes drawn with the loaded shape, replacing earlier ones. Their missing
    // textures join missingTextures().
    void setFreightShapes(const QList<FreightPlacement>& freight);
    const QList<FreightPlacement>& freightShapes() const { return freight_; }
    // The freight shapes that could not be drawn, in the order given.
    const QList<FreightProblem>& freightProblems() const { return freightProblems_; }

    void setWorldMatrix(const render::Mat4& world) { world_ = world; }
    const render::Mat4& worldMatrix() const { return world_; }

    // The sphere around the drawn level of the shape alone (freight shapes left out) with the
    // world matrix applied; radius 0 when empty.
    render::BoundingSphere boundingSphere() const;
    // Length of the shape along its own Z axis, in metres; 0 when empty.
    float lengthAlongZ() const;

    // The shape alone, and the shape with its freight shapes (what is drawn).
    const render::Model& model() const { return model_; }
    const render::Model& sceneModel() const { return freight_.isEmpty() ? model_ : scene_; }

private:
    std::optional<QByteArray> readTexture(const QString& shapeFolder, const QString& name) const;

    const platform::FileSystem* fileSystem_ = nullptr;
    QString texturePath_;
    QString path_;
    ShapeLoadStatus status_ = ShapeLoadStatus::NoFile;
    msts::Diagnostics diagnostics_;
    QStringList missingTextures_;
    QStringList ownMissingTextures_; // the shape's own, without its freight shapes'
    render::Mat4 world_ = render::Mat4::identity();
    render::Model model_;
    QList<FreightPlacement> freight_;
    QList<FreightProblem> freightProblems_;
    render::Model scene_; // model_ and the freight shapes, when there are any
};

} // namespace preview
