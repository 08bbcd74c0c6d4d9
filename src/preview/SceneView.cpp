#include "preview/SceneView.h"

#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "render/Renderer.h"

#include <algorithm>

namespace preview {

SceneView SceneView::Preview() {
    SceneView view;
    view.setBackColor(PreviewBackColor);
    view.setFarPlane(PreviewSceneValueA);
    view.setLightElevation(PreviewSceneValueB);
    return view;
}

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

render::RgbImage SceneView::render(const SceneShape& shape, int width, int height,
                                   render::RenderStats* stats) const {
    render::RenderSettings settings;
    settings.width = width;
    settings.height = height;
    settings.background = background();
    settings.samplesPerAxis = 4;
    settings.lightElevationDegrees = float(lightElevation_);
    const std::vector<float> footprints =
        render::textureFootprints(shape.sceneModel(), shape.worldMatrix(), camera_, settings);
    shape.prepareTextures(footprints);
    return render::renderModel(shape.sceneModel(), shape.worldMatrix(), camera_, settings,
                               {&footprints, &samples_}, stats);
}

} // namespace preview
