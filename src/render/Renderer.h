#pragma once

// Renders a model into an RGB picture of exactly the requested size.

#include "render/Camera.h"
#include "render/Image.h"
#include "render/Model.h"

#include <vector>

namespace render {

struct Framebuffer;

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
    // Opaque surfaces are shaded once per 2 × 2 square of samples, each sample keeping its
    // own coverage and depth. Set, every sample is shaded on its own (slower): the reference
    // the shared shading's tolerance is measured against.
    bool shadeEverySample = false;
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
// What a caller drawing many pictures can hand over to spare work: the footprints
// textureFootprints() gave for the same arguments, and a sample grid to draw into again.
struct RenderReuse {
    const std::vector<float>* footprints = nullptr;
    Framebuffer* samples = nullptr;
};
RgbImage renderModel(const Model& model, const Mat4& world, const Camera& camera,
                     const RenderSettings& settings, const RenderReuse& reuse,
                     RenderStats* stats = nullptr);

// How finely the picture renderModel() would draw samples each texture slot of the model,
// known before any texture is decoded: per slot, the smallest step in texture coordinates
// (0..1 across the texture) from one sample to the next over the corners of every triangle
// drawn with it. Infinity for a slot no drawn triangle uses; 0 when a triangle crosses the
// near plane (nothing can be told there).
std::vector<float> textureFootprints(const Model& model, const Mat4& world, const Camera& camera,
                                     const RenderSettings& settings);

// The finest mip level of a width × height texture that a picture with this footprint
// samples: the level the rasterizer picks at the footprint, one finer again as a margin for
// the perspective inside triangles. No level at all (-1) for an infinite footprint.
int finestMipLevel(float footprint, int width, int height);

} // namespace render
