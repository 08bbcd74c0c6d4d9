// Renders the progress window's background picture: the sample diesel hauling a rake of
// cattle vans across the plain at dusk, drawn by our own renderer from the sample designs.
// The sky is a far unlit panel of the scene, so that every pixel comes from the renderer.

#include "RenderModel.h"
#include "Vehicles.h"

#include "render/Renderer.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using sample::Builder;
using sample::Model;
using sample::Picture;
using sample::Region;
using sample::Rgba;
using sample::V3;

constexpr int Size = 256;

Region area(float x, float y, float w, float h) {
    return {x, y, x + w, y + h, Size};
}

// Sky, hills and ground in one texture: rows 0-127 the sky with the hills' outline at its
// foot, then plain areas for the ground, the ballast, the sleepers and the rails.
Picture sceneryPicture() {
    Picture p(Size, Size, {0, 0, 0});
    p.verticalGradient(0, 0, Size, 40, {12, 16, 48}, {44, 36, 86});
    p.verticalGradient(0, 40, Size, 50, {44, 36, 86}, {160, 82, 84});
    p.verticalGradient(0, 90, Size, 38, {160, 82, 84}, {238, 156, 76});
    const int stars[][2] = {{9, 5},   {31, 17},  {58, 3},  {90, 22},  {117, 9}, {141, 30},
                            {170, 6}, {196, 19}, {223, 4}, {247, 26}, {70, 34}, {205, 36}};
    for (const auto& s : stars)
        p.set(s[0], s[1], {226, 226, 236});
    p.disc(184, 123, 9, {252, 214, 130}); // the sun going down behind the hills
    // Hills: a dark outline along the foot of the sky.
    for (int x = 0; x < Size; ++x) {
        const float h = 10 + 6 * std::sin(x * 0.045f) + 4 * std::sin(x * 0.13f + 1.3f);
        p.fill(x, 128 - static_cast<int>(h), 1, static_cast<int>(h), {40, 34, 52});
    }
    p.fill(0, 128, 64, 64, {44, 52, 34});      // grass
    p.fill(64, 128, 64, 64, {96, 88, 80});     // ballast
    p.fill(128, 128, 64, 64, {74, 56, 40});    // sleepers
    p.fill(192, 128, 64, 64, {150, 146, 140}); // rails
    return p;
}

Model scenery(const Picture&) {
    Model m;
    Builder b(m);
    const int lit = b.material("scenery");
    const int sky = b.material("scenery", "Tex");
    const int part = b.part("SCENE", -1, {});
    b.use(part, lit);
    const Region grass = area(8, 136, 48, 48), ballast = area(72, 136, 48, 48),
                 sleeper = area(136, 136, 48, 48), rail = area(200, 136, 48, 48);
    b.quad({-400, -0.32f, 300}, {400, -0.32f, 300}, {400, -0.32f, -500}, {-400, -0.32f, -500},
           {0, 1, 0}, grass);
    b.box({-1.9f, -0.32f, -300}, {1.9f, -0.2f, 60}, ballast);
    for (float z = -140; z < 40; z += 0.7f)
        b.box({-1.3f, -0.2f, z}, {1.3f, -0.14f, z + 0.25f}, sleeper);
    for (float x : {-0.75f, 0.75f})
        b.box({x - 0.035f, -0.14f, -300}, {x + 0.035f, 0, 60}, rail);
    // The sky: a far panel facing the camera, drawn unlit so that it keeps its colours.
    b.use(part, sky);
    b.quadUv({380, 160, 260}, {380, 160, -560}, {380, -6, -560}, {380, -6, 260}, {-1, 0, 0},
             {0, 0.004f}, {1, 0.004f}, {1, 0.496f}, {0, 0.496f});
    b.quadUv({380, 160, -560}, {-700, 160, -560}, {-700, -6, -560}, {380, -6, -560}, {0, 0, 1},
             {0, 0.004f}, {1.3f, 0.004f}, {1.3f, 0.496f}, {0, 0.496f});
    return m;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    const std::vector<sample::Vehicle> vehicles = sample::sampleVehicles();
    const sample::Vehicle& diesel = vehicles[0];
    const sample::Vehicle& van = *std::find_if(
        vehicles.begin(), vehicles.end(), [](const auto& v) { return v.name == "CRVan_Cattle"; });
    const Picture sky = sceneryPicture();
    const Model land = scenery(sky);

    std::vector<sample::Placed> scene{{&land, &sky, {}}};
    float z = 4;
    scene.push_back({&diesel.model, &diesel.picture, {0, 0, z}});
    z -= diesel.length / 2;
    for (int k = 0; k < 6; ++k) {
        z -= van.length / 2;
        scene.push_back({&van.model, &van.picture, {0, 0, z}});
        z -= van.length / 2;
    }
    render::Model model = sample::toRenderModel(scene);
    // The sky panel is the scenery's second material: full brightness, no shading.
    model.materials[1].lit = false;

    render::Camera camera;
    camera.eye = {-19, 3.4f, 21};
    camera.target = {1, 1.6f, -6};
    camera.farPlane = 2000; // the sky panels meet about 700 m away
    render::RenderSettings settings;
    settings.width = 480;
    settings.height = 136;
    settings.background = {44, 36, 86};
    settings.ambient = 0.45f;
    settings.diffuse = 0.6f;
    const render::RgbImage picture =
        render::renderModel(model, render::Mat4::identity(), camera, settings);
    if (!stbi_write_png(argv[1], picture.width, picture.height, 3, picture.rgb.data(),
                        picture.width * 3)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
