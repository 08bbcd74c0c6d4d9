#include "preview/ThumbnailMaker.h"

#include "catalog/Catalog.h"
#include "platform/FileSystem.h"

namespace preview {

ReferenceSphere FirstUsableSphere(const QStringList& shapePaths,
                                  const std::function<ReferenceSphere(const QString&)>& measure) {
    for (const QString& path : shapePaths) {
        const ReferenceSphere sphere = measure(path);
        if (sphere.isUsable())
            return sphere;
    }
    return {};
}

QStringList ReferenceCandidates(const catalog::Catalog& catalog, qsizetype first) {
    QStringList paths;
    if (catalog.isValidIndex(first) && !catalog[first].Shape.isEmpty())
        paths.append(catalog[first].shapePath());
    for (qsizetype i = 0; i < catalog.count(); ++i)
        if (i != first && !catalog[i].Shape.isEmpty())
            paths.append(catalog[i].shapePath());
    if (paths.isEmpty())
        paths.append(QString::fromUtf16(DefaultShapePath));
    return paths;
}

ThumbnailMaker::ThumbnailMaker(const platform::FileSystem& fs) : fs_(fs), shape_(&fs) {}

void ThumbnailMaker::setUp(const QStringList& referenceCandidates) {
    view_.setFarPlane(PreviewSceneValueA);
    view_.setLightElevation(PreviewSceneValueB);
    view_.setBackColor(PreviewBackColor);
    shape_.setTexturePath(QString::fromUtf16(PreviewTexturePath));
    shape_.setWorldMatrix(HalfTurnWorldMatrix());
    reference_ = FirstUsableSphere(referenceCandidates, [this](const QString& path) {
        shape_.load(path);
        const render::BoundingSphere sphere = shape_.boundingSphere();
        return ReferenceSphere{sphere.centre, sphere.radius};
    });
    placeCamera();
}

void ThumbnailMaker::setCameraFactor(float cameraFactor) {
    cameraFactor_ = cameraFactor;
    placeCamera();
}

void ThumbnailMaker::placeCamera() {
    view_.setCamera(CameraDistance(cameraFactor_, reference_), reference_.Centre);
}

bool ThumbnailMaker::show(const catalog::CatalogEntry& entry) {
    placement_ = PlacementForLength(entry.Length);
    return shape_.load(entry.shapePath());
}

render::RgbImage ThumbnailMaker::picture(render::RenderStats* stats) const {
    return view_.render(shape_, placement_.pixelWidth(), placement_.pixelHeight(), stats);
}

QString ThumbnailMaker::takeScreenshot(const QString& location) {
    writeError_ = {};
    if (shape_.status() != ShapeLoadStatus::Loaded) {
        problem_ = Problem::NotLoaded;
        return {};
    }
    render::RenderStats stats;
    const render::RgbImage image = picture(&stats);
    if (stats.drawnSamples == 0) {
        problem_ = Problem::NothingDrawn;
        return {};
    }
    const QString written = writeScreenshot(fs_, location, image, &writeError_);
    problem_ = written.isEmpty() ? Problem::NotWritten : Problem::None;
    return written;
}

} // namespace preview
