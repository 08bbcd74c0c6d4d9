#include "preview/SceneView.h"

#include "platform/FileSystem.h"
#include "preview/SceneShape.h"
#include "render/Bitmap.h"
#include "render/Renderer.h"

#include <QDateTime>

#include <algorithm>

namespace preview {

void SceneView::setBackColor(std::uint32_t bgr) {
    backColor_ = bgr & 0x00FFFFFFu;
}

render::Rgb SceneView::background() const {
    return {std::uint8_t(backColor_ & 0xFF), std::uint8_t((backColor_ >> 8) & 0xFF),
            std::uint8_t((backColor_ >> 16) & 0xFF)};
}

void SceneView::setFarPlane(int metres) {
    camera_.farPlane = std::max(float(metres), camera_.nearPlane * 2);
}

void SceneView::setCamera(float distance, render::Vec3 target, render::Vec3 up) {
    const render::Camera placed = render::Camera::sideView(target, distance, up);
    camera_.eye = placed.eye;
    camera_.target = placed.target;
    camera_.up = placed.up;
}

render::RgbImage SceneView::render(const SceneShape& shape, int width, int height) const {
    render::RenderSettings settings;
    settings.width = width;
    settings.height = height;
    settings.background = background();
    settings.samplesPerAxis = 4;
    settings.lightElevationDegrees = float(lightElevation_);
    shape.prepareTextures(
        render::textureFootprints(shape.sceneModel(), shape.worldMatrix(), camera_, settings));
    return render::renderModel(shape.sceneModel(), shape.worldMatrix(), camera_, settings);
}

QString writeScreenshot(const platform::FileSystem& fileSystem, const QString& location,
                        const render::RgbImage& picture) {
    const std::vector<std::uint8_t> bmp = render::encodeBmp(picture);
    if (bmp.empty())
        return {};
    const QByteArray bytes(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size()));
    // A time stamp keeps names in creation order; a counter settles names taken already.
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmsszzz"));
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QString path = location + stamp +
                             (attempt ? QStringLiteral("_%1").arg(attempt) : QString()) +
                             QStringLiteral(".bmp");
        if (!fileSystem.resolve(path).isEmpty())
            continue;
        if (fileSystem.writeFileAtomically(path, bytes))
            return path;
        return {};
    }
    return {};
}

} // namespace preview
