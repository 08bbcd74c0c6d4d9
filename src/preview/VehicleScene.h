#pragma once

// Everything a picture of one vehicle needs, in one place: its shape and freight shapes (with
// their textures, through the run's caches), the canvas placement its length gives, the
// reference sphere every vehicle is seen against, the camera and its zoom, the preview's
// scene values (background, far plane, light, texture folder, the half-turn), and drawing at
// any size. The window's canvas is a face over one VehicleScene; pictelle-cli's render and
// make, the creation of a selection and the file-manager thumbnails draw through their own.
// That way every picture of a vehicle comes from one set of rules.
//
// A VehicleScene is used by one thread at a time; scenes on several threads may share the
// caches.

#include "platform/FileError.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"
#include "render/Image.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace catalog {
class Catalog;
struct CatalogEntry;
} // namespace catalog
namespace platform {
class FileSystem;
}

namespace preview {

// The reference sphere of the first shape in `shapePaths` that gives a usable one (finite,
// radius above 0 and within MaximumReferenceRadius): a reference shape that cannot be read
// would put the camera inside every vehicle, and one with a stray far point would leave every
// picture blank.
// `measure` loads a shape and answers its sphere. A zero sphere when none gives one.
ReferenceSphere FirstUsableSphere(const QStringList& shapePaths,
                                  const std::function<ReferenceSphere(const QString&)>& measure);

// Shape paths of the listed vehicles (those with a shape), in list order, starting with the
// entry at `first` when it is one of them; the default shape when none is listed.
QStringList ReferenceCandidates(const catalog::Catalog& catalog, qsizetype first);

// The freight shapes of a catalog entry as the scene draws them: each beside the vehicle's
// shape, at its height.
QList<FreightPlacement> FreightPlacements(const catalog::CatalogEntry& entry);

// What the preview's problem label and a make line say of freight shapes left out of the
// picture: their names, one line for those not found and one for those that could not be
// read; empty when none.
QString FreightProblemText(const QList<FreightProblem>& problems);

// An RGB picture with how much of each pixel the vehicle covers: 255 fully, 0 not at all (the
// background alone). Colours are those of the vehicle where it covers the pixel at all.
struct CoveredImage {
    render::RgbImage picture;
    std::vector<std::uint8_t> coverage; // one byte a pixel, rows top to bottom
};

class VehicleScene {
public:
    // `fs` must outlive the scene; null reads nothing until setFileSystem.
    explicit VehicleScene(const platform::FileSystem* fs);
    explicit VehicleScene(const platform::FileSystem& fs) : VehicleScene(&fs) {}

    void setFileSystem(const platform::FileSystem* fs);

    // The decoded textures, the scene's own by default; scenes working side by side may
    // share one.
    void setTextureCache(std::shared_ptr<render::TextureCache> cache) {
        shape_.setTextureCache(std::move(cache));
    }
    // The same for the freight shapes' files.
    void setFreightShapeCache(std::shared_ptr<ShapeFileCache> cache) {
        shape_.setFreightShapeCache(std::move(cache));
    }

    // The reference sphere every vehicle is seen against. measureReference takes it from the
    // first candidate shape that gives one (loading them in turn: the scene is left holding
    // the last one loaded) and answers it.
    void setReference(const ReferenceSphere& reference);
    const ReferenceSphere& measureReference(const QStringList& candidates);
    const ReferenceSphere& reference() const { return reference_; }
    // The sphere of the loaded shape alone, freight left out: a shape drawn for itself is its
    // own reference.
    ReferenceSphere ownSphere() const;

    // The zoom: the camera stands CameraFactor × the reference radius from its centre.
    void setCameraFactor(float cameraFactor);
    float cameraFactor() const { return cameraFactor_; }
    // Where the camera stands from the reference centre, and what it looks at.
    float cameraDistance() const;
    render::Vec3 cameraTarget() const { return reference_.Centre; }

    // A catalog entry's vehicle: its shape, its freight shapes and the canvas its length
    // gives. False when the vehicle's shape could not be loaded (see shape().status()); a
    // freight shape that could not is only left out (see shape().freightProblems()).
    bool show(const catalog::CatalogEntry& entry);
    // A shape file alone; earlier freight shapes are dropped and the placement kept.
    bool loadShape(const QString& path);
    // The freight shapes drawn with the loaded shape.
    void setFreight(const QList<FreightPlacement>& freight) { shape_.setFreightShapes(freight); }
    // The canvas for a vehicle of `length` metres.
    // A length no vehicle has (a slip in its file) is drawn as an unknown one, at the least
    // width, rather than as a picture thousands of pixels wide.
    void setLength(double length) {
        placement_ = PlacementForLength(LengthIsAccepted(length) ? length : 0.0);
    }
    const CanvasPlacement& placement() const { return placement_; }

    const SceneShape& shape() const { return shape_; }
    SceneShape& shape() { return shape_; }
    // Background, far plane, light and camera as the picture is drawn.
    const SceneView& view() const { return view_; }
    SceneView& view() { return view_; }

    // The picture at any size: the scene with its textures at width × height pixels; the
    // background alone when no shape is loaded, empty for a size below 1.
    render::RgbImage render(int width, int height, render::RenderStats* stats = nullptr) const;
    // The picture the canvas shows for the vehicle: at its placement's size.
    render::RgbImage picture(render::RenderStats* stats = nullptr) const;
    // The placement's picture scaled so that its longer side is `longestSide` pixels (the
    // shorter one at least 1), framed the same.
    render::RgbImage pictureFitting(int longestSide, render::RenderStats* stats = nullptr) const;
    // The same with the vehicle's coverage of each pixel, for pictures on a transparent
    // background.
    CoveredImage coveredPictureFitting(int longestSide) const;

    // Why takeScreenshot wrote nothing.
    enum class Problem {
        None,
        NotLoaded,    // the shape could not be loaded
        NothingDrawn, // nothing of the vehicle reached the picture: a blank is no thumbnail
        NotWritten,   // the file could not be written; see writeError()
    };
    // Writes picture() as the canvas's screenshot under `location`; the path written, or the
    // empty text when the shape was not loaded, nothing of it was drawn or nothing could be
    // written (problem() says which).
    QString takeScreenshot(const QString& location);
    Problem problem() const { return problem_; }
    const platform::FileError& writeError() const { return writeError_; }

private:
    void placeCamera();

    const platform::FileSystem* fs_ = nullptr;
    SceneShape shape_;
    SceneView view_;
    ReferenceSphere reference_;
    float cameraFactor_ = BaseCameraFactor;
    CanvasPlacement placement_ = PlacementForLength(0);
    Problem problem_ = Problem::None;
    platform::FileError writeError_;
};

} // namespace preview
