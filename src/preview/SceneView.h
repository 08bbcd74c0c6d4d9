#pragma once

// The state behind the canvas, without any window: background, far plane, light, camera, and
// the rendering of a SceneShape into a picture of a given size. The window's sfCanvas and
// pictelle-cli both render through this class.

#include "render/Camera.h"
#include "render/Image.h"
#include "render/Rasterizer.h"
#include "render/Renderer.h"

#include <cstdint>

namespace preview {

class SceneShape;

class SceneView {
public:
    // A view with the preview's background, far plane and light, as every picture of a
    // vehicle is drawn; its camera is left to place.
    static SceneView Preview();

    // Background as the canvas takes it: 0x00BBGGRR.
    void setBackColor(std::uint32_t bgr);
    std::uint32_t backColor() const { return backColor_; }
    render::Rgb background() const;

    // Far plane distance in metres; values below the near plane are raised above it.
    void setFarPlane(int metres);
    // Light elevation above the horizon, in degrees.
    void setLightElevation(int degrees) { lightElevation_ = degrees; }

    // Looks horizontally at the target from `distance` along +X, `up` as the picture's up.
    void setCamera(float distance, render::Vec3 target, render::Vec3 up = {0, 1, 0});
    const render::Camera& camera() const { return camera_; }

    // The shape and its freight shapes with its world matrix at width × height pixels, 4×4
    // samples a pixel, their textures first decoded as far as this picture needs. The
    // background alone when the shape is empty; an empty picture for a size below 1. `stats`
    // says how much of the shape was drawn.
    render::RgbImage render(const SceneShape& shape, int width, int height,
                            render::RenderStats* stats = nullptr) const;

private:
    std::uint32_t backColor_ = 0x00E0E0E0;
    int lightElevation_ = 55;
    render::Camera camera_;
    // The last picture's samples, drawn into again by the next one; a view draws on one
    // thread at a time.
    mutable render::Framebuffer samples_{0, 0, {}};
};

} // namespace preview
