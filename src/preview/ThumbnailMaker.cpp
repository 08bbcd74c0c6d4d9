#include "preview/ThumbnailMaker.h"

#include "catalog/Catalog.h"
#include "platform/FileSystem.h"
#include "shared/Messages.h"

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

QList<FreightPlacement> FreightPlacements(const catalog::CatalogEntry& entry) {
    QList<FreightPlacement> placements;
    for (const catalog::FreightAnim& anim : entry.FreightAnims)
        placements.append({entry.freightShapePath(anim), float(anim.Height)});
    return placements;
}

QString FreightProblemText(const QList<FreightProblem>& problems) {
    QStringList missing, unreadable, outside;
    for (const FreightProblem& problem : problems) {
        const QString shown = platform::FileSystem::displayPath(problem.path);
        const QString name = shown.mid(shown.lastIndexOf(u'/') + 1);
        (problem.status == ShapeLoadStatus::NotFound        ? missing
         : problem.status == ShapeLoadStatus::OutsideFolder ? outside
                                                            : unreadable)
            .append(name);
    }
    QStringList lines;
    if (!missing.isEmpty())
        lines.append(app::LoadMessage(app::MessageId::FreightNotFound, {"|1", missing.join(", ")}));
    if (!unreadable.isEmpty())
        lines.append(
            app::LoadMessage(app::MessageId::FreightUnreadable, {"|1", unreadable.join(", ")}));
    if (!outside.isEmpty())
        lines.append(app::LoadMessage(app::MessageId::FreightOutside, {"|1", outside.join(", ")}));
    return lines.join(u'\n');
}

ThumbnailMaker::ThumbnailMaker(const platform::FileSystem& fs) : fs_(fs), shape_(&fs) {}

void ThumbnailMaker::setUpScene() {
    view_.setFarPlane(PreviewSceneValueA);
    view_.setLightElevation(PreviewSceneValueB);
    view_.setBackColor(PreviewBackColor);
    shape_.setTexturePath(QString::fromUtf16(PreviewTexturePath));
    shape_.setWorldMatrix(HalfTurnWorldMatrix());
}

void ThumbnailMaker::setUp(const QStringList& referenceCandidates) {
    setUpScene();
    reference_ = FirstUsableSphere(referenceCandidates, [this](const QString& path) {
        shape_.load(path);
        const render::BoundingSphere sphere = shape_.boundingSphere();
        return ReferenceSphere{sphere.centre, sphere.radius};
    });
    placeCamera();
}

void ThumbnailMaker::setUp(const ReferenceSphere& reference) {
    setUpScene();
    reference_ = reference;
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
    shape_.setContentRoot(entry.simulatorFolder());
    if (!shape_.load(entry.shapePath()))
        return false;
    shape_.setFreightShapes(FreightPlacements(entry));
    return true;
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
