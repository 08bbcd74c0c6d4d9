#include "render/Bitmap.h"

// Kept private to this file so that other targets may include stb_image_write themselves.
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

} // namespace render
