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
//
// A vehicle's freight shapes (its FreightAnim entries) are drawn in the same scene: each is
// read like the vehicle's shape, textures beside it first, and moved up by its height before
// the world matrix. One that cannot be read is left out and listed in freightProblems(); the
// vehicle is drawn without it.
//
// Texture files are found when the shape loads but decoded only when a picture is drawn,
// since only the picture tells which of their mip levels it can use; they come from a
// texture cache (by default the shape's own; give it the one shared by the run so that a
// file is decoded once for every vehicle). One picture may use at most textureBudget()
// bytes of decoded textures; the textures past it are drawn grey and listed in
// overBudgetTextures(). A SceneShape is used by one thread at a time.
//
// Names read from a shape's content (its textures) and a vehicle's freight shapes may hold
// "..": once a content root is set (the simulator's folder), a file outside it is never
// opened nor looked at, and is listed instead (outsideTextures(), OutsideFolder).

#include "msts/Diagnostics.h"
#include "preview/ShapeFileCache.h"
#include "render/Math.h"
#include "render/Model.h"
#include "render/ShapeModel.h"
#include "render/TextureCache.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace platform {
class FileSystem;
}

namespace preview {

enum class ShapeLoadStatus {
    NoFile,        // nothing loaded yet
    Loaded,        // the shape is drawn (it may still have no triangles)
    NotFound,      // no file of that name
    Unreadable,    // the file exists but could not be read (permissions, too large)
    Invalid,       // the bytes are not a shape the reader accepts; see diagnostics()
    OutsideFolder, // the file lies outside the content root: never opened
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
// then in `texturePath` relative to its folder, decoded through the vehicle's texture cache. One
// place, so that a shape many vehicles carry can be read once and shared.
// Its model comes from `shapes`, so that a file is read once for every vehicle carrying it.
// Its textures are held to `contentRoot` as the vehicle's are.
std::shared_ptr<const SceneShape> LoadFreightShape(const platform::FileSystem& fs,
                                                   const QString& path, const QString& texturePath,
                                                   std::shared_ptr<render::TextureCache> cache,
                                                   const std::shared_ptr<ShapeFileCache>& shapes,
                                                   const QString& contentRoot = QString());

class SceneShape {
public:
    explicit SceneShape(const platform::FileSystem* fileSystem = nullptr);

    void setFileSystem(const platform::FileSystem* fileSystem) { fileSystem_ = fileSystem; }

    // Folder text, relative to the shape's folder, where textures are looked for second.
    void setTexturePath(const QString& folder) { texturePath_ = folder; }
    const QString& texturePath() const { return texturePath_; }

    // Folder that the shape, its textures and its freight shapes must lie in (a path text);
    // empty: anywhere, for a shape drawn on its own. Taken into account by the next load.
    void setContentRoot(const QString& root) { contentRoot_ = root; }
    const QString& contentRoot() const { return contentRoot_; }

    // Loads a shape file (a path text for the file layer). Any earlier shape and its freight
    // shapes are dropped first, so a file that cannot be read leaves the shape empty; the world
    // matrix is kept. Returns true when the shape was loaded.
    bool load(const QString& path);
    // The same through a cache of read shape files: the file is read only when it lacks it.
    bool load(const QString& path, ShapeFileCache& shapes);
    const QString& path() const { return path_; }
    ShapeLoadStatus status() const { return status_; }
    // What the reader reported for the last file: warnings when loaded, errors when Invalid.
    const msts::Diagnostics& diagnostics() const { return diagnostics_; }
    // Image names as written in the shape for which no texture file was found.
    const QStringList& missingTextures() const { return missingTextures_; }
    // Image names whose file exists but could not be read (permissions), known once drawn.
    const QStringList& unreadableTextures() const { return unreadableTextures_; }
    // Image names whose file could not be decoded, known once drawn.
    const QStringList& corruptTextures() const { return corruptTextures_; }
    // Image names that lead out of the content root: drawn grey, never opened.
    const QStringList& outsideTextures() const { return outsideTextures_; }
    // Image names drawn grey in the last picture because its texture budget was spent.
    const QStringList& overBudgetTextures() const { return overBudgetTextures_; }

    void setTextureCache(std::shared_ptr<render::TextureCache> cache);
    const std::shared_ptr<render::TextureCache>& textureCache() const { return cache_; }
    // The freight shapes' files, read through this cache (by default the shape's own; give it
    // the one shared by the run so that a file is read once for every vehicle).
    void setFreightShapeCache(std::shared_ptr<ShapeFileCache> cache);
    const std::shared_ptr<ShapeFileCache>& freightShapeCache() const { return shapeCache_; }
    void setTextureBudget(std::size_t bytes) { textureBudget_ = bytes; }
    std::size_t textureBudget() const { return textureBudget_; }

    // Puts in the scene model the textures a picture with these footprints needs (one per
    // texture slot of sceneModel(), from render::textureFootprints), decoding what the cache
    // lacks. SceneView calls it before each picture.
    void prepareTextures(const std::vector<float>& footprints) const;

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

    // The shape's own model, with the textures of the last picture drawn (none before).
    const render::Model& model() const { return shape_.model; }
    // The shape and its freight shapes, as drawn: texture slots are the shape's own first,
    // then each drawn freight shape's in turn.
    const render::Model& sceneModel() const;

private:
    // The path text of the texture file an image name finds; empty when none. `outside` tells
    // that a candidate was passed over for leaving the content root.
    QString findTexture(const QString& shapeFolder, const QString& name, bool& outside) const;
    // True when no content root is set or the path text stays inside it.
    bool inside(const QString& path) const;

    bool loadFrom(const QString& path, ShapeFileCache* shapes);
    // Puts textures into the slots given, from `first` on, sharing one budget.
    void prepareOwnTextures(const std::vector<float>& footprints, std::size_t first,
                            render::TextureBudget& budget) const;

    struct DrawnFreight {
        std::shared_ptr<const SceneShape> shape;
        float height = 0.0f;
    };

    struct TextureFile {
        QString path;    // empty: no file found
        std::string key; // the file's identity, the cache's key
    };

    const platform::FileSystem* fileSystem_ = nullptr;
    QString texturePath_;
    QString contentRoot_;
    QString path_;
    ShapeLoadStatus status_ = ShapeLoadStatus::NoFile;
    msts::Diagnostics diagnostics_;
    QStringList notFoundTextures_;
    QStringList ownOutsideTextures_;
    QStringList outsideTextures_; // the shape's own, then its freight shapes'
    QList<FreightPlacement> freight_;
    QList<FreightProblem> freightProblems_;
    std::vector<DrawnFreight> drawnFreight_;
    mutable render::Model scene_;           // the shape and its freight shapes, when there are any
    mutable bool sceneBuilt_ = false;       // scene_ holds their geometry, built once per load
    std::vector<TextureFile> textureFiles_; // one per texture slot
    std::shared_ptr<render::TextureCache> cache_ = std::make_shared<render::TextureCache>();
    std::shared_ptr<ShapeFileCache> shapeCache_ = std::make_shared<ShapeFileCache>();
    std::size_t textureBudget_ = render::TextureBudget::defaultBytes;
    render::Mat4 world_ = render::Mat4::identity();
    // Textures and what is said of them change with each picture drawn.
    mutable render::ShapeModel shape_;
    mutable QStringList missingTextures_;
    mutable QStringList overBudgetTextures_;
    mutable QStringList unreadableTextures_;
    mutable QStringList corruptTextures_;
};

} // namespace preview
