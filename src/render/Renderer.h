#pragma once

// Renders a model into an RGB picture of exactly the requested size.

#include "render/Camera.h"
#include "render/Image.h"
#include "render/Model.h"

namespace render {

struct RenderSettings {
    int width = 0;
    int height = 0;
    Rgb background{0, 0, 0};
    // Samples per pixel along each axis; the picture averages samplesPerAxis² samples.
    int samplesPerAxis = 4;
    // The light comes from the camera's side of the model at this elevation above the
    // horizon, plus an even ambient light.
    float lightElevationDegrees = 55.0f;
    float ambient = 0.5f;
    float diffuse = 0.7f;
};

// What a rendering drew.
struct RenderStats {
    // Samples of the supersampled picture that some triangle wrote; 0 when nothing of the
    // model reached the picture (no triangle, every point invalid, all outside the view).
    std::size_t drawnSamples = 0;
};

// Draws the model with `world` applied, opaque and alpha-tested primitives first, then the
// blended triangles from the farthest to the nearest. A width or height below 1 gives an empty
// picture. Deterministic: the same input gives the same bytes. A triangle whose points are
// not finite is left out; one whose texture coordinates are not finite is drawn untextured,
// in its material's colour (neutral grey).
RgbImage renderModel(const Model& model, const Mat4& world, const Camera& camera,
                     const RenderSettings& settings, RenderStats* stats = nullptr);

} // namespace render
