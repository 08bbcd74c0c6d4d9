#include "PictureCompare.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb_image.h>
#include <stb_image_write.h>
#pragma GCC diagnostic pop

#include <cstdlib>
#include <filesystem>

namespace testscene {

bool writePng(const render::RgbImage& image, const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    return stbi_write_png(path.c_str(), image.width, image.height, 3, image.rgb.data(),
                          image.width * 3) != 0;
}

Comparison compareWithGolden(const render::RgbImage& actual, const std::string& name, int tolerance,
                             int maxDifferentPixels) {
    const std::string goldenPath = std::string(PICTELLE_RENDER_GOLDEN_DIR) + "/" + name + ".png";
    const std::string outDir = std::string(PICTELLE_RENDER_OUTPUT_DIR) + "/";
    const char* update = std::getenv("PICTELLE_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        writePng(actual, goldenPath);
        return {true, "golden rewritten"};
    }

    int w = 0, h = 0, n = 0;
    unsigned char* data = stbi_load(goldenPath.c_str(), &w, &h, &n, 3);
    if (!data) {
        writePng(actual, outDir + name + ".actual.png");
        return {false, "no golden picture " + goldenPath + "; actual written to " + outDir + name +
                           ".actual.png"};
    }
    render::RgbImage golden;
    golden.width = w;
    golden.height = h;
    golden.rgb.assign(data, data + std::size_t(w) * std::size_t(h) * 3);
    stbi_image_free(data);

    if (golden.width != actual.width || golden.height != actual.height) {
        writePng(actual, outDir + name + ".actual.png");
        return {false, "size " + std::to_string(actual.width) + "x" +
                           std::to_string(actual.height) + " differs from the golden's " +
                           std::to_string(w) + "x" + std::to_string(h)};
    }
    render::RgbImage diff(w, h, {0, 0, 0});
    int different = 0, worst = 0;
    for (std::size_t i = 0; i < golden.rgb.size(); i += 3) {
        int d = 0;
        for (std::size_t c = 0; c < 3; ++c)
            d = std::max(d, std::abs(int(golden.rgb[i + c]) - int(actual.rgb[i + c])));
        worst = std::max(worst, d);
        if (d > 0)
            ++different;
        // Differences show bright: red beyond the tolerance, grey within it.
        const auto v = std::uint8_t(std::min(255, d * 8));
        diff.rgb[i] = v;
        diff.rgb[i + 1] = d > tolerance ? 0 : v;
        diff.rgb[i + 2] = d > tolerance ? 0 : v;
    }
    if (worst <= tolerance && different <= maxDifferentPixels)
        return {true, {}};
    writePng(actual, outDir + name + ".actual.png");
    writePng(diff, outDir + name + ".diff.png");
    return {false, name + ": " + std::to_string(different) + " pixels differ, worst by " +
                       std::to_string(worst) + "; see " + outDir + name + ".actual.png and " +
                       outDir + name + ".diff.png"};
}

render::RgbaImage readPng(const unsigned char* bytes, std::size_t size, int* channels) {
    render::RgbaImage image;
    int n = 0;
    unsigned char* data =
        stbi_load_from_memory(bytes, int(size), &image.width, &image.height, &n, 4);
    if (!data)
        return {};
    image.rgba.assign(data, data + std::size_t(image.width) * std::size_t(image.height) * 4);
    stbi_image_free(data);
    if (channels)
        *channels = n;
    return image;
}

} // namespace testscene
