#include "render/Bitmap.h"
#include "render/Png.h"

// Both picture files are written here, so that stb_image_write is compiled once and kept
// private to this file: other targets may include it themselves.
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace render {

namespace {

void append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

} // namespace

std::vector<std::uint8_t> encodeBmp(const RgbImage& image) {
    std::vector<std::uint8_t> out;
    if (image.width < 1 || image.height < 1 ||
        image.rgb.size() != std::size_t(image.width) * std::size_t(image.height) * 3)
        return out;
    if (!stbi_write_bmp_to_func(append, &out, image.width, image.height, 3, image.rgb.data()))
        out.clear();
    return out;
}

std::vector<std::uint8_t> encodePng(const RgbaImage& image) {
    std::vector<std::uint8_t> out;
    if (!image.valid())
        return out;
    if (!stbi_write_png_to_func(append, &out, image.width, image.height, 4, image.rgba.data(),
                                image.width * 4))
        out.clear();
    return out;
}

} // namespace render
