// pictelle-cli render: the thumbnail of one shape file, as the preview makes it when that
// shape is the reference one.

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"
#include "preview/ShapeReport.h"
#include "render/Bitmap.h"

#include <QLocale>

#include <cmath>
#include <optional>

namespace cli {

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
        return QStringLiteral("forme introuvable : %1").arg(shown);
    case preview::ShapeLoadStatus::Unreadable:
        return QStringLiteral("forme illisible : %1").arg(shown);
    default:
        break;
    }
    return QStringLiteral("forme invalide : %1 : %2")
        .arg(shown, preview::InvalidShapeReason(shape.diagnostics()));
}

} // namespace

int RunRenderCommand(const QStringList& arguments) {
    OptionParser options({QStringLiteral("length"), QStringLiteral("zoom")});
    options.allowPositional(true);
    if (!options.parse(arguments)) {
        printError(options.error());
        return 2;
    }
    if (options.positional().size() != 2) {
        printError(QStringLiteral("il faut une forme et un fichier de sortie"));
        return 2;
    }
    const QString shapePath = options.positional()[0];
    const QString outPath = options.positional()[1];

    std::optional<double> length;
    if (const std::optional<QString> text = options.value(QStringLiteral("length"))) {
        length = parseNumber(*text);
        if (!length || *length < 0) {
            printError(QStringLiteral("longueur invalide : %1").arg(*text));
            return 2;
        }
    }
    double zoom = 0.0;
    if (const std::optional<QString> text = options.value(QStringLiteral("zoom"))) {
        const std::optional<double> value = parseNumber(*text);
        if (!value || *value < -2.0 || *value > 2.0) {
            printError(QStringLiteral("zoom invalide (de -2 à 2) : %1").arg(*text));
            return 2;
        }
        zoom = *value;
    }

    const platform::FileSystem fs;
    preview::SceneShape shape(&fs);
    shape.setTexturePath(QString::fromUtf16(preview::PreviewTexturePath));
    shape.setWorldMatrix(preview::HalfTurnWorldMatrix());
    const QString shown = platform::FileSystem::displayPath(shapePath);
    if (!shape.load(shapePath)) {
        printError(loadFailure(shape, shown));
        return 1;
    }
    if (shape.model().empty()) {
        printError(QStringLiteral("la forme ne contient aucun triangle : %1").arg(shown));
        return 1;
    }
    for (const QString& line : preview::TextureProblems(shape))
        printError(line);

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
    if (stats.drawnSamples == 0) {
        printError(QStringLiteral("rien de la forme n'est dessiné : %1").arg(shown));
        return 1;
    }

    const std::vector<std::uint8_t> bmp = render::encodeBmp(picture);
    const QByteArray bytes(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size()));
    if (bmp.empty() || !fs.writeFileAtomically(outPath, bytes)) {
        printError(QStringLiteral("impossible d'écrire %1")
                       .arg(platform::FileSystem::displayPath(outPath)));
        return 1;
    }
    return 0;
}

} // namespace cli
