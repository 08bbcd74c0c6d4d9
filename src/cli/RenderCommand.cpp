// pictelle-cli render: the thumbnail of one shape file, as the preview makes it when that
// shape is the reference one; or of a whole vehicle, given by its definition file (.eng,
// .wag): its shape with its freight shapes, as wide as its Size gives.

#include "catalog/VehicleFile.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/FreightNotes.h"
#include "msts/Diagnostics.h"
#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"
#include "preview/ShapeReport.h"
#include "preview/ThumbnailMaker.h"
#include "render/Bitmap.h"
#include "shared/Messages.h"

#include <QDir>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <optional>

namespace cli {

using app::LoadMessage;
using app::MessageId;

namespace {

std::optional<double> parseNumber(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString loadFailure(const preview::SceneShape& shape, const QString& shown) {
    switch (shape.status()) {
    case preview::ShapeLoadStatus::NotFound:
        return LoadMessage(MessageId::RenderShapeNotFound, {"|1", shown});
    case preview::ShapeLoadStatus::Unreadable:
        return LoadMessage(MessageId::RenderShapeUnreadable, {"|1", shown});
    case preview::ShapeLoadStatus::OutsideFolder:
        return LoadMessage(MessageId::RenderShapeOutside, {"|1", shown});
    default:
        break;
    }
    return LoadMessage(MessageId::RenderShapeInvalid,
                       {"|2", preview::InvalidShapeReason(shape.diagnostics()), "|1", shown});
}

bool isDefinitionFile(const QString& path) {
    return path.endsWith(QLatin1String(".eng"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".wag"), Qt::CaseInsensitive);
}

// A definition file's folder, where its shapes are looked up; empty for a bare name.
QString folderOf(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return cut < 0 ? QString() : path.left(cut + 1);
}

// What a definition file gives to draw: its shape, its length, its freight shapes. An error
// line when it names no shape.
struct Vehicle {
    QString shapePath;
    double length = 0;
    QList<preview::FreightPlacement> freight;
    QList<catalog::FreightAnimProblem> problems;
};

std::optional<Vehicle> readVehicle(const platform::FileSystem& fs, const QString& path,
                                   QString& error) {
    const QString shown = platform::FileSystem::displayPath(path);
    const catalog::VehicleValues values = catalog::ReadVehicleFile(fs, path);
    if (!values.readable) {
        error = LoadMessage(MessageId::DefinitionUnreadable, {"|1", shown});
        return std::nullopt;
    }
    if (values.shape.isEmpty()) {
        error = LoadMessage(MessageId::NoWagonShape, {"|1", shown});
        return std::nullopt;
    }
    // Shapes beside the definition file, as the catalog looks them up.
    const QString folder = folderOf(path);
    Vehicle v;
    v.shapePath = folder + values.shape;
    v.length = values.length;
    for (const catalog::FreightAnim& anim : values.freight.Anims)
        v.freight.append({folder + anim.Shape, float(anim.Height)});
    v.problems = values.freight.Problems;
    return v;
}

} // namespace

int RunRenderCommand(const QStringList& arguments) {
    CommandOptions options({QStringLiteral("length"), QStringLiteral("zoom")},
                           CommandOptions::Positional::Any);
    if (const std::optional<int> status = options.parse(arguments))
        return *status;
    const QStringList files = options.positional();
    if (files.size() != 2) {
        printError(LoadMessage(MessageId::RenderArguments));
        return 2;
    }
    // Made absolute, so that the names the file holds can be held to the folders above it.
    QString shapePath = files[0];
    if (!shapePath.startsWith(u'/') && !shapePath.startsWith(u'\\') &&
        !platform::FileSystem::isDrivePath(shapePath))
        shapePath = QDir::currentPath() + u'/' + shapePath;
    const QString outPath = files[1];

    std::optional<double> length;
    if (const std::optional<QString> text = options.value(QStringLiteral("length"))) {
        length = parseNumber(*text);
        if (!length || *length < 0) {
            printError(LoadMessage(MessageId::BadLength, {"|1", *text}));
            return 2;
        }
    }
    double zoom = 0.0;
    if (const std::optional<QString> text = options.value(QStringLiteral("zoom"))) {
        const std::optional<double> value = parseNumber(*text);
        if (!value || *value < -2.0 || *value > 2.0) {
            printError(LoadMessage(MessageId::BadZoom, {"|1", *text}));
            return 2;
        }
        zoom = *value;
    }

    const platform::FileSystem fs;
    // The file given is taken to lie in a vehicle's folder of a trainset: the names it holds
    // reach at most the simulator's folder above it.
    const QString contentRoot = folderOf(shapePath) + QStringLiteral("..\\..\\..");
    std::optional<Vehicle> vehicle;
    if (isDefinitionFile(shapePath)) {
        QString error;
        vehicle = readVehicle(fs, shapePath, error);
        if (!vehicle) {
            printError(error);
            return 1;
        }
        if (!length) {
            // The file is named, the path last: no later marker is looked for in it.
            if (!preview::LengthIsAccepted(vehicle->length)) {
                printError(LoadMessage(MessageId::LengthRefused,
                                       {"|1", vehicle->length, "|2", preview::MaximumVehicleLength,
                                        "|3", platform::FileSystem::displayPath(shapePath)}));
                return 1;
            }
            length = vehicle->length;
        }
        shapePath = vehicle->shapePath;
    }

    preview::SceneShape shape(&fs);
    shape.setTexturePath(QString::fromUtf16(preview::PreviewTexturePath));
    shape.setWorldMatrix(preview::HalfTurnWorldMatrix());
    shape.setContentRoot(contentRoot);
    const QString shown = platform::FileSystem::displayPath(shapePath);
    if (!shape.load(shapePath)) {
        printError(loadFailure(shape, shown));
        return 1;
    }
    if (shape.model().empty()) {
        printError(LoadMessage(MessageId::NoTriangles, {"|1", shown}));
        return 1;
    }
    if (vehicle) {
        // The vehicle is drawn without what is missing of its freight.
        shape.setFreightShapes(vehicle->freight);
        for (const catalog::FreightAnimProblem& problem : vehicle->problems)
            printError(FreightAnimProblemNote(problem));
        const QString missing = preview::FreightProblemText(shape.freightProblems());
        if (!missing.isEmpty())
            printError(missing);
    }

    const preview::CanvasPlacement placement =
        preview::PlacementForLength(length.value_or(double(shape.lengthAlongZ())));
    const render::BoundingSphere sphere = shape.boundingSphere();
    preview::ReferenceSphere reference;
    reference.Centre = sphere.centre;
    reference.Radius = sphere.radius;

    preview::SceneView view;
    view.setBackColor(preview::PreviewBackColor);
    view.setFarPlane(preview::PreviewSceneValueA);
    view.setLightElevation(preview::PreviewSceneValueB);
    view.setCamera(preview::CameraDistance(preview::CameraFactorForOffset(zoom), reference),
                   reference.Centre);
    render::RenderStats stats;
    const render::RgbImage picture =
        view.render(shape, placement.pixelWidth(), placement.pixelHeight(), &stats);
    // Texture problems are known once drawn: only the picture tells which files it decodes.
    for (const QString& line : preview::TextureProblems(shape))
        printError(line);
    if (stats.drawnSamples == 0) {
        printError(LoadMessage(MessageId::RenderNothingDrawn, {"|1", shown}));
        return 1;
    }

    const std::vector<std::uint8_t> bmp = render::encodeBmp(picture);
    const QByteArray bytes(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size()));
    if (bmp.empty() || !fs.writeFileAtomically(outPath, bytes)) {
        printError(LoadMessage(MessageId::CannotWrite,
                               {"|1", platform::FileSystem::displayPath(outPath)}));
        return 1;
    }
    return 0;
}

} // namespace cli
