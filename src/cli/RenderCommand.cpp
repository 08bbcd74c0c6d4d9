// pictelle-cli render: the thumbnail of one shape file, as the preview makes it when that
// shape is the reference one; or of a whole vehicle, given by its definition file (.eng,
// .wag): its shape with its freight shapes, as wide as its Size gives.

#include "catalog/Catalog.h"
#include "catalog/TrainsetWalk.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/FreightNotes.h"
#include "inventory/ThumbnailFile.h"
#include "msts/Diagnostics.h"
#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/ShapeReport.h"
#include "preview/VehicleScene.h"
#include "render/Bitmap.h"
#include "shared/Messages.h"

#include <QDir>
#include <QLocale>

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

// A definition file's vehicle as the catalog holds it; an error line when the file cannot be
// read or names no shape.
std::optional<catalog::CatalogEntry> readVehicle(const platform::FileSystem& fs,
                                                 const QString& path, QString& error) {
    const QString shown = platform::FileSystem::displayPath(path);
    catalog::CatalogEntry entry = catalog::EntryOfDefinitionFile(path);
    if (!catalog::ReadEntryValues(fs, entry)) {
        error = LoadMessage(MessageId::DefinitionUnreadable, {"|1", shown});
        return std::nullopt;
    }
    if (entry.Shape.isEmpty()) {
        error = LoadMessage(MessageId::NoWagonShape, {"|1", shown});
        return std::nullopt;
    }
    return entry;
}

} // namespace

int RunRenderCommand(const CommandOptions& options) {
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
    // reach at most the simulator's folder above it, as a listed vehicle's do.
    const QString contentRoot = catalog::EntryOfDefinitionFile(shapePath).simulatorFolder();
    std::optional<catalog::CatalogEntry> vehicle;
    if (isDefinitionFile(shapePath)) {
        QString error;
        vehicle = readVehicle(fs, shapePath, error);
        if (!vehicle) {
            printError(error);
            return 1;
        }
        if (!length) {
            // The file is named, the path last: no later marker is looked for in it.
            if (!preview::LengthIsAccepted(vehicle->Length)) {
                printError(LoadMessage(MessageId::LengthRefused,
                                       {"|1", vehicle->Length, "|2", preview::MaximumVehicleLength,
                                        "|3", platform::FileSystem::displayPath(shapePath)}));
                return 1;
            }
            length = vehicle->Length;
        }
        shapePath = vehicle->shapePath();
    }

    preview::VehicleScene scene(fs);
    scene.shape().setContentRoot(contentRoot);
    const QString shown = platform::FileSystem::displayPath(shapePath);
    if (!(vehicle ? scene.show(*vehicle) : scene.loadShape(shapePath))) {
        printError(loadFailure(scene.shape(), shown));
        return 1;
    }
    if (scene.shape().model().empty()) {
        printError(LoadMessage(MessageId::NoTriangles, {"|1", shown}));
        return 1;
    }
    if (vehicle) {
        // The vehicle is drawn without what is missing of its freight.
        for (const catalog::FreightAnimProblem& problem : vehicle->FreightAnimProblems)
            printError(FreightAnimProblemNote(problem));
        const QString missing = preview::FreightProblemText(scene.shape().freightProblems());
        if (!missing.isEmpty())
            printError(missing);
    }

    // A shape drawn for itself is its own reference.
    scene.setLength(length.value_or(double(scene.shape().lengthAlongZ())));
    scene.setReference(scene.ownSphere());
    scene.setCameraFactor(preview::CameraFactorForOffset(zoom));
    render::RenderStats stats;
    const render::RgbImage picture = scene.picture(&stats);
    // Texture problems are known once drawn: only the picture tells which files it decodes.
    for (const QString& line : preview::TextureProblems(scene.shape()))
        printError(line);
    if (stats.drawnSamples == 0) {
        printError(LoadMessage(MessageId::RenderNothingDrawn, {"|1", shown}));
        return 1;
    }

    const QByteArray bytes = inventory::ThumbnailFile::Encode(picture);
    if (bytes.isEmpty() || !fs.writeFileAtomically(outPath, bytes)) {
        printError(LoadMessage(MessageId::CannotWrite,
                               {"|1", platform::FileSystem::displayPath(outPath)}));
        return 1;
    }
    return 0;
}

} // namespace cli
