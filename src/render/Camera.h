#pragma once

// A perspective camera in the simulator's left-handed frame (+Y up).

#include "render/Math.h"

namespace render {

struct Camera {
    Vec3 eye{0, 0, -10};
    Vec3 target{0, 0, 0};
    Vec3 up{0, 1, 0};
    float fovYRadians = 30.0f * 3.14159265f / 180.0f;
    float nearPlane = 0.1f;
    float farPlane = 600.0f;

    // The thumbnail view: looking horizontally at the target from `distance` metres along +X.
    // With the half-turn world matrix a vehicle's front (+Z in its own axes) then lies at the
    // left of the picture and the lettering on its side reads the right way round.
    static Camera sideView(Vec3 target, float distance, Vec3 up = {0, 1, 0});
};

// World to view: the camera at the origin looking down +Z, +Y up, +X to the right.
Mat4 viewMatrix(const Camera& camera);
// View to clip space; depth maps to 0 at the near plane and 1 at the far plane.
Mat4 projectionMatrix(const Camera& camera, float aspect);

// Where a world point lands in a picture of the given size, in pixels (x right, y down, the
// picture's top-left corner at 0, 0); z is the depth in 0..1. Used by tests and callers that
// place overlays; the rasterizer uses the same mapping.
Vec3 projectToPixels(Vec3 world, const Camera& camera, int width, int height);

} // namespace render
