// Draws every sample vehicle at the thumbnail geometry straight from its design, four times
// larger too, and writes its texture, as PNG files into a folder: for looking at the designs
// while making them.

#include "RenderModel.h"
#include "Vehicles.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstdio>
#include <string>

namespace {

void writePng(const std::string& path, const render::RgbImage& picture) {
    stbi_write_png(path.c_str(), picture.width, picture.height, 3, picture.rgb.data(),
                   picture.width * 3);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const auto vehicles = sample::sampleVehicles();
    const float reference = sample::thumbnailRadius(vehicles[0].model, vehicles[0].picture);
    for (const auto& v : vehicles) {
        writePng(folder + "/" + v.name + ".png",
                 sample::thumbnail(sample::drawnParts(v), v.length, reference));
        writePng(folder + "/" + v.name + "_x4.png",
                 sample::thumbnail(sample::drawnParts(v), v.length, reference, 4));
        stbi_write_png((folder + "/" + v.name + "_texture.png").c_str(), v.picture.width(),
                       v.picture.height(), 4, v.picture.rgba().data(), v.picture.width() * 4);
        std::printf("%s: %zu triangles, %.1f m\n", v.name.c_str(), v.model.triangleCount(),
                    static_cast<double>(v.length));
    }
    return 0;
}
