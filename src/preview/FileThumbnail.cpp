#include "preview/FileThumbnail.h"

#include "catalog/Catalog.h"
#include "catalog/TrainsetWalk.h"
#include "msts/Ace.h"
#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/ShapeReport.h"
#include "preview/VehicleScene.h"
#include "render/Resample.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace preview {

namespace {

// A texture file larger than this is no texture a vehicle uses: a 4096 × 4096 picture with
// its mip levels takes 90 MiB at most, even stored planar.
constexpr qint64 MaximumTextureFileBytes = 96 * 1024 * 1024;

FileThumbnail failure(ThumbnailProblem problem, const QString& file, const QString& reason = {}) {
    FileThumbnail result;
    result.problem = problem;
    result.file = file;
    result.reason = reason;
    return result;
}

// The largest level decoded: the smallest one still at least `side` along its longest side,
// so that shrinking it averages real texels and a large texture is never decoded whole.
std::uint32_t levelFor(const msts::AceInfo& info, int side) {
    const std::uint32_t longest = std::max(info.width, info.height);
    std::uint32_t level = 0;
    while (level + 1 < info.storedLevels && (longest >> (level + 1)) >= std::uint32_t(side))
        ++level;
    return level;
}

FileThumbnail textureThumbnail(const platform::FileSystem& fs, const QString& path, int side) {
    if (fs.resolve(path).isEmpty())
        return failure(ThumbnailProblem::NotFound, path);
    const std::optional<QByteArray> bytes = fs.readFile(path, MaximumTextureFileBytes);
    if (!bytes)
        return failure(ThumbnailProblem::Unreadable, path);
    msts::AceOptions options;
    options.firstLevelOnly = true;
    options.chooseFirstLevel = [side](const msts::AceInfo& info) {
        return levelFor(info, side);
    };
    const msts::AceResult ace = msts::readAce(
        std::as_bytes(std::span(bytes->constData(), std::size_t(bytes->size()))), options);
    if (!ace.ok() || ace.image.levels.empty())
        return failure(ThumbnailProblem::Invalid, path);

    const msts::AceLevel& level = ace.image.levels.front();
    render::RgbaImage source{int(level.width), int(level.height), level.rgba};
    // A texture that declares no transparency is drawn opaque, whatever its DXT blocks hold.
    if (!ace.image.hasAlpha)
        for (std::size_t i = 3; i < source.rgba.size(); i += 4)
            source.rgba[i] = 255;
    FileThumbnail result;
    result.picture = render::resizeToFit(source, side);
    if (result.picture.blank())
        return failure(ThumbnailProblem::Blank, path);
    return result;
}

// The reference sphere a vehicle is seen against here: centred on the vehicle, of the radius
// at which the picture keeps the thumbnail's scale, PixelsPerMetre at its CanvasHeight, with
// the base zoom. The picture's width, from the vehicle's length, then holds the whole vehicle
// however short it is; framing on its own sphere would cut a short one's ends.
ReferenceSphere framingSphere(const VehicleScene& scene) {
    const float shownHeight = float(CanvasHeight / PixelsPerMetre);
    const float distance = shownHeight / (2.0f * std::tan(render::Camera{}.fovYRadians / 2.0f));
    return {scene.ownSphere().Centre, distance / BaseCameraFactor};
}

FileThumbnail loadFailure(const SceneShape& shape) {
    switch (shape.status()) {
    case ShapeLoadStatus::NotFound:
        return failure(ThumbnailProblem::NotFound, shape.path());
    case ShapeLoadStatus::Unreadable:
        return failure(ThumbnailProblem::Unreadable, shape.path());
    default:
        return failure(ThumbnailProblem::Invalid, shape.path(),
                       InvalidShapeReason(shape.diagnostics()));
    }
}

// A vehicle, or a shape drawn for itself, as its thumbnail is drawn, scaled to `side`, the
// background left transparent.
FileThumbnail sceneThumbnail(const platform::FileSystem& fs, const QString& path,
                             ThumbnailKind kind, int side) {
    VehicleScene scene(fs);
    // Names a shape holds reach no further than a listed vehicle's: the simulator's folder.
    scene.shape().setContentRoot(catalog::EntryOfDefinitionFile(path).simulatorFolder());
    double length = 0;
    if (kind == ThumbnailKind::Vehicle) {
        catalog::CatalogEntry entry = catalog::EntryOfDefinitionFile(path);
        if (!catalog::ReadEntryValues(fs, entry))
            return failure(ThumbnailProblem::DefinitionUnreadable, path);
        if (entry.Shape.isEmpty())
            return failure(ThumbnailProblem::NoShape, path);
        if (!scene.show(entry))
            return loadFailure(scene.shape());
        length = entry.Length;
    } else if (!scene.loadShape(path)) {
        return loadFailure(scene.shape());
    }
    if (scene.shape().model().empty())
        return failure(ThumbnailProblem::NoTriangles, scene.shape().path());
    // A vehicle whose Size is unknown is as long as its shape.
    scene.setLength(length > 0 ? length : double(scene.shape().lengthAlongZ()));
    scene.setReference(framingSphere(scene));

    const CoveredImage covered = scene.coveredPictureFitting(side);
    FileThumbnail result;
    render::RgbaImage& picture = result.picture;
    picture.width = covered.picture.width;
    picture.height = covered.picture.height;
    picture.rgba.reserve(covered.coverage.size() * 4);
    for (std::size_t i = 0; i < covered.coverage.size(); ++i) {
        const std::uint8_t* rgb = &covered.picture.rgb[i * 3];
        picture.rgba.insert(picture.rgba.end(), {rgb[0], rgb[1], rgb[2], covered.coverage[i]});
    }
    if (picture.blank())
        return failure(ThumbnailProblem::Blank, scene.shape().path());
    result.notes = TextureProblems(scene.shape());
    const QString freight = FreightProblemText(scene.shape().freightProblems());
    if (!freight.isEmpty())
        result.notes.append(freight);
    return result;
}

} // namespace

std::optional<ThumbnailKind> ThumbnailKindOf(const QString& path) {
    const auto endsWith = [&](const char* extension) {
        return path.endsWith(QLatin1String(extension), Qt::CaseInsensitive);
    };
    if (endsWith(".eng") || endsWith(".wag"))
        return ThumbnailKind::Vehicle;
    if (endsWith(".s"))
        return ThumbnailKind::Shape;
    if (endsWith(".ace"))
        return ThumbnailKind::Texture;
    return std::nullopt;
}

FileThumbnail MakeFileThumbnail(const platform::FileSystem& fs, const QString& path, int side) {
    const std::optional<ThumbnailKind> kind = ThumbnailKindOf(path);
    if (!kind)
        return failure(ThumbnailProblem::UnknownKind, path);
    if (side < 1 || side > MaximumThumbnailSide)
        return failure(ThumbnailProblem::Blank, path);
    switch (*kind) {
    case ThumbnailKind::Texture:
        return textureThumbnail(fs, path, side);
    case ThumbnailKind::Shape:
    case ThumbnailKind::Vehicle:
        break;
    }
    return sceneThumbnail(fs, path, *kind, side);
}

} // namespace preview
