#pragma once

// The preview's picture without a window: the same scene values, background, half-turn,
// reference sphere, camera rule and canvas size as the main window's preview, drawn by the
// same scene classes, so that pictelle-cli writes thumbnails byte for byte as the window does.

#include "platform/FileError.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"

#include <QString>
#include <QStringList>

#include <functional>

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

class ThumbnailMaker {
public:
    explicit ThumbnailMaker(const platform::FileSystem& fs);

    // As the preview's set-up: scene values, background, texture path, the half-turn, and the
    // reference sphere from the first candidate that gives one.
    void setUp(const QStringList& referenceCandidates);
    // The same with a sphere measured elsewhere: the window's, so that pictures drawn away
    // from the canvas match what it shows.
    void setUp(const ReferenceSphere& reference);
    const ReferenceSphere& reference() const { return reference_; }

    // The decoded textures, the maker's own by default; makers working side by side may
    // share one.
    void setTextureCache(std::shared_ptr<render::TextureCache> cache) {
        shape_.setTextureCache(std::move(cache));
    }
    // The same for the freight shapes' files.
    void setFreightShapeCache(std::shared_ptr<ShapeFileCache> cache) {
        shape_.setFreightShapeCache(std::move(cache));
    }

    // The zoom: CameraFactor × ReferenceRadius from the reference centre.
    void setCameraFactor(float cameraFactor);

    // As showing a vehicle: loads its shape and freight shapes and sizes the picture from its
    // length. False when the vehicle's shape could not be loaded (see shape().status()); a
    // freight shape that could not is only left out (see shape().freightProblems()).
    bool show(const catalog::CatalogEntry& entry);
    const SceneShape& shape() const { return shape_; }
    const CanvasPlacement& placement() const { return placement_; }

    // The picture the canvas would show for the current vehicle.
    render::RgbImage picture(render::RenderStats* stats = nullptr) const;

    // Why takeScreenshot wrote nothing.
    enum class Problem {
        None,
        NotLoaded,    // the shape could not be loaded
        NothingDrawn, // nothing of the vehicle reached the picture: a blank is no thumbnail
        NotWritten,   // the file could not be written; see writeError()
    };
    // Writes that picture as the canvas's screenshot under `location`; the path written, or
    // the empty text when the shape was not loaded, nothing of it was drawn or nothing could
    // be written (problem() says which).
    QString takeScreenshot(const QString& location);
    Problem problem() const { return problem_; }
    const platform::FileError& writeError() const { return writeError_; }

private:
    void setUpScene();
    void placeCamera();

    const platform::FileSystem& fs_;
    SceneShape shape_;
    SceneView view_;
    ReferenceSphere reference_;
    float cameraFactor_ = BaseCameraFactor;
    CanvasPlacement placement_ = PlacementForLength(0);
    Problem problem_ = Problem::None;
    platform::FileError writeError_;
};

} // namespace preview
