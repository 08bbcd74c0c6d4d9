#include "preview/VehicleScene.h"

#include "catalog/Catalog.h"
#include "inventory/ThumbnailFile.h"
#include "platform/FileSystem.h"
#include "render/Resample.h"
#include "shared/Messages.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

VehicleScene::VehicleScene(const platform::FileSystem* fs)
    : fs_(fs), shape_(fs), view_(SceneView::Preview()) {
    shape_.setTexturePath(QString::fromUtf16(PreviewTexturePath));
    shape_.setWorldMatrix(HalfTurnWorldMatrix());
    placeCamera();
}

void VehicleScene::setFileSystem(const platform::FileSystem* fs) {
    fs_ = fs;
    shape_.setFileSystem(fs);
}

ReferenceSphere VehicleScene::ownSphere() const {
    const render::BoundingSphere sphere = shape_.boundingSphere();
    return {sphere.centre, sphere.radius};
}

void VehicleScene::setReference(const ReferenceSphere& reference) {
    reference_ = reference;
    placeCamera();
}

const ReferenceSphere& VehicleScene::measureReference(const QStringList& candidates) {
    setReference(FirstUsableSphere(candidates, [this](const QString& path) {
        if (shape_.path() != path || shape_.status() == ShapeLoadStatus::NoFile)
            shape_.load(path);
        return ownSphere();
    }));
    return reference_;
}

void VehicleScene::setCameraFactor(float cameraFactor) {
    cameraFactor_ = cameraFactor;
    placeCamera();
}

float VehicleScene::cameraDistance() const {
    return CameraDistance(cameraFactor_, reference_);
}

void VehicleScene::placeCamera() {
    view_.setCamera(cameraDistance(), cameraTarget());
}

bool VehicleScene::show(const catalog::CatalogEntry& entry) {
    setLength(entry.Length);
    shape_.setContentRoot(entry.simulatorFolder());
    if (!loadShape(entry.shapePath()))
        return false;
    setFreight(FreightPlacements(entry));
    return true;
}

bool VehicleScene::loadShape(const QString& path) {
    return shape_.load(path);
}

render::RgbImage VehicleScene::render(int width, int height, render::RenderStats* stats) const {
    return view_.render(shape_, width, height, stats);
}

render::RgbImage VehicleScene::picture(render::RenderStats* stats) const {
    return render(placement_.pixelWidth(), placement_.pixelHeight(), stats);
}

namespace {

// The placement's size scaled so that its longer side is `longestSide`, by the rule textures
// are scaled by too.
std::pair<int, int> fittingSize(const CanvasPlacement& placement, int longestSide) {
    const render::PictureSize size =
        render::fitLongestSide(placement.pixelWidth(), placement.pixelHeight(), longestSide);
    return {size.width, size.height};
}

} // namespace

render::RgbImage VehicleScene::pictureFitting(int longestSide, render::RenderStats* stats) const {
    const auto [width, height] = fittingSize(placement_, longestSide);
    return render(width, height, stats);
}

CoveredImage VehicleScene::coveredPictureFitting(int longestSide) const {
    // Drawn over black and over white: where the vehicle covers a pixel fully both agree, where
    // it leaves the background the two differ by the whole range, and in between by the share
    // left uncovered.
    const auto [width, height] = fittingSize(placement_, longestSide);
    SceneView over = view_;
    over.setBackColor(0x00000000u);
    const render::RgbImage onBlack = over.render(shape_, width, height);
    over.setBackColor(0x00FFFFFFu);
    const render::RgbImage onWhite = over.render(shape_, width, height);
    CoveredImage covered;
    covered.picture = onBlack;
    covered.coverage.resize(std::size_t(width) * std::size_t(height));
    for (std::size_t i = 0; i < covered.coverage.size(); ++i) {
        int shown = 0;
        for (std::size_t c = 0; c < 3; ++c)
            shown = std::max(shown, int(onWhite.rgb[i * 3 + c]) - int(onBlack.rgb[i * 3 + c]));
        const int coverage = 255 - std::clamp(shown, 0, 255);
        covered.coverage[i] = std::uint8_t(coverage);
        for (std::size_t c = 0; c < 3; ++c) {
            // Over black a pixel holds the vehicle's colour times its coverage.
            const int value =
                coverage == 0 ? 0 : (onBlack.rgb[i * 3 + c] * 255 + coverage / 2) / coverage;
            covered.picture.rgb[i * 3 + c] = std::uint8_t(std::min(value, 255));
        }
    }
    return covered;
}

QString VehicleScene::takeScreenshot(const QString& location) {
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
    const QString written =
        fs_ ? inventory::ThumbnailFile::WriteTemporary(*fs_, location, image, &writeError_)
            : QString();
    problem_ = written.isEmpty() ? Problem::NotWritten : Problem::None;
    return written;
}

} // namespace preview
