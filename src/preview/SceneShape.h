#pragma once

// The state behind the canvas's shape object, without any window: a shape file loaded
// through the file layer into a render model, its textures, and its world matrix. The window's
// sfShape and pictelle-cli both draw through this class, so they make the same pictures.
//
// Textures are looked up next to the shape file first, then through the texture path
// relative to the shape's folder, without regard to letter case (the file layer's rule); a
// name ending in ".dds" is also tried as ".ace". A texture that cannot be found or read
// draws neutral grey and is listed: in missingTextures() when no file of that name exists, in
// unreadableTextures() when the file exists but cannot be read, in corruptTextures() when its
// bytes are no texture the reader decodes.

#include "msts/Diagnostics.h"
#include "render/Math.h"
#include "render/Model.h"

#include <QString>
#include <QStringList>

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

class SceneShape {
public:
    explicit SceneShape(const platform::FileSystem* fileSystem = nullptr);

    void setFileSystem(const platform::FileSystem* fileSystem) { fileSystem_ = fileSystem; }

    // Folder text, relative to the shape's folder, where textures are looked for second.
    void setTexturePath(const QString& folder) { texturePath_ = folder; }
    const QString& texturePath() const { return texturePath_; }

    // Loads a shape file (a path text for the file layer). Any earlier shape is dropped first,
    // so a file that cannot be read leaves the shape empty; the world matrix is kept.
    // Returns true when the shape was loaded.
    bool load(const QString& path);
    const QString& path() const { return path_; }
    ShapeLoadStatus status() const { return status_; }
    // What the reader reported for the last file: warnings when loaded, errors when Invalid.
    const msts::Diagnostics& diagnostics() const { return diagnostics_; }
    // Image names as written in the shape for which no texture file was found.
    const QStringList& missingTextures() const { return missingTextures_; }
    // Image names whose file exists but could not be read (permissions).
    const QStringList& unreadableTextures() const { return unreadableTextures_; }
    // Image names whose file could not be decoded.
    const QStringList& corruptTextures() const { return corruptTextures_; }

    void setWorldMatrix(const render::Mat4& world) { world_ = world; }
    const render::Mat4& worldMatrix() const { return world_; }

    // The sphere around the drawn level with the world matrix applied; radius 0 when empty.
    render::BoundingSphere boundingSphere() const;
    // Length of the shape along its own Z axis, in metres; 0 when empty.
    float lengthAlongZ() const;

    const render::Model& model() const { return model_; }

private:
    // The bytes of a texture; nothing when none could be read, with `found` telling whether a
    // file of that name exists.
    std::optional<QByteArray> readTexture(const QString& shapeFolder, const QString& name,
                                          bool* found = nullptr) const;

    const platform::FileSystem* fileSystem_ = nullptr;
    QString texturePath_;
    QString path_;
    ShapeLoadStatus status_ = ShapeLoadStatus::NoFile;
    msts::Diagnostics diagnostics_;
    QStringList missingTextures_;
    QStringList unreadableTextures_;
    QStringList corruptTextures_;
    render::Mat4 world_ = render::Mat4::identity();
    render::Model model_;
};

} // namespace preview
