#include "preview/FileThumbnail.h"

#include "catalog/VehicleFile.h"
#include "msts/Ace.h"
#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"
#include "preview/ShapeReport.h"
#include "preview/ThumbnailMaker.h"
#include "render/Matte.h"
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

// A definition file's folder, where its shapes are looked up, with its separator.
QString folderOf(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return cut < 0 ? QStringLiteral("./") : path.left(cut + 1);
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
    options.chooseFirstLevel = [side](const msts::AceInfo& info) { return levelFor(info, side); };
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

// What to draw for a vehicle or a shape file.
struct Scene {
    QString shapePath;
    double length = 0; // 0: the shape's own extent
    QList<FreightPlacement> freight;
};

std::optional<Scene> vehicleScene(const platform::FileSystem& fs, const QString& path,
                                  FileThumbnail& failed) {
    const catalog::VehicleValues values = catalog::ReadVehicleFile(fs, path);
    if (!values.readable) {
        failed = failure(ThumbnailProblem::DefinitionUnreadable, path);
        return std::nullopt;
    }
    if (values.shape.isEmpty()) {
        failed = failure(ThumbnailProblem::NoShape, path);
        return std::nullopt;
    }
    // The shapes lie beside the definition file, as the catalog looks them up.
    const QString folder = folderOf(path);
    Scene scene{folder + values.shape, values.length, {}};
    for (const catalog::FreightAnim& anim : values.freight.Anims)
        scene.freight.append({folder + anim.Shape, float(anim.Height)});
    return scene;
}

// The camera's distance at which the picture holds the thumbnail's scale, PixelsPerMetre at
// its CanvasHeight: the picture's width, from the vehicle's length, then shows the whole
// vehicle, however short. (Framing on the vehicle's own sphere would cut a short one's ends.)
float FramingDistance() {
    const float shownHeight = float(CanvasHeight / PixelsPerMetre);
    return shownHeight / (2.0f * std::tan(render::Camera{}.fovYRadians / 2.0f));
}

// Draws the scene as the thumbnail does, scaled to `side`, over black and over white: the
// two pictures give its transparency.
FileThumbnail drawScene(const platform::FileSystem& fs, const Scene& scene, int side) {
    SceneShape shape(&fs);
    shape.setTexturePath(QString::fromUtf16(PreviewTexturePath));
    shape.setWorldMatrix(HalfTurnWorldMatrix());
    if (!shape.load(scene.shapePath)) {
        switch (shape.status()) {
        case ShapeLoadStatus::NotFound:
            return failure(ThumbnailProblem::NotFound, scene.shapePath);
        case ShapeLoadStatus::Unreadable:
            return failure(ThumbnailProblem::Unreadable, scene.shapePath);
        default:
            return failure(ThumbnailProblem::Invalid, scene.shapePath,
                           InvalidShapeReason(shape.diagnostics()));
        }
    }
    if (shape.model().empty())
        return failure(ThumbnailProblem::NoTriangles, scene.shapePath);
    shape.setFreightShapes(scene.freight);

    const CanvasPlacement placement = PlacementForLength(
        scene.length > 0 ? scene.length : double(shape.lengthAlongZ()));
    SceneView view;
    view.setFarPlane(PreviewSceneValueA);
    view.setLightElevation(PreviewSceneValueB);
    view.setCamera(FramingDistance(), shape.boundingSphere().centre);
    const render::PictureSize size =
        render::fitLongestSide(placement.pixelWidth(), placement.pixelHeight(), side);

    view.setBackColor(0x000000);
    render::RenderStats stats;
    const render::RgbImage overBlack = view.render(shape, size.width, size.height, &stats);
    if (stats.drawnSamples == 0)
        return failure(ThumbnailProblem::Blank, scene.shapePath);
    view.setBackColor(0xFFFFFF);
    const render::RgbImage overWhite = view.render(shape, size.width, size.height);

    FileThumbnail result;
    result.picture = render::matteFromBackgrounds(overBlack, overWhite);
    if (result.picture.blank())
        return failure(ThumbnailProblem::Blank, scene.shapePath);
    result.notes = TextureProblems(shape);
    const QString freight = FreightProblemText(shape.freightProblems());
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
        return drawScene(fs, Scene{path, 0, {}}, side);
    case ThumbnailKind::Vehicle:
        break;
    }
    FileThumbnail failed;
    const std::optional<Scene> scene = vehicleScene(fs, path, failed);
    return scene ? drawScene(fs, *scene, side) : failed;
}

} // namespace preview
