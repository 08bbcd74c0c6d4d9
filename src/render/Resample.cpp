#include "render/Resample.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

// One target pixel along an axis: the source pixels it takes and their weights.
struct Tap {
    int index;
    float weight;
};

// For each of `to` target pixels along an axis of `from` source pixels, the taps that make it.
std::vector<std::vector<Tap>> tapsAlong(int from, int to) {
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
    const double ratio = double(from) / double(to);
    for (int d = 0; d < to; ++d) {
        std::vector<Tap>& t = taps[std::size_t(d)];
        if (ratio > 1.0) {
            // The source span [start, end) the target pixel covers, edges weighted by overlap.
            const double start = d * ratio, end = (d + 1) * ratio;
            for (int s = int(std::floor(start)); s < int(std::ceil(end)) && s < from; ++s) {
                const double overlap = std::min(end, s + 1.0) - std::max(start, double(s));
                if (overlap > 0)
                    t.push_back({s, float(overlap / ratio)});
            }
        } else {
            const double centre = (d + 0.5) * ratio - 0.5;
            const int left = int(std::floor(centre));
            const float right = float(centre - left);
            t.push_back({std::clamp(left, 0, from - 1), 1.0f - right});
            t.push_back({std::clamp(left + 1, 0, from - 1), right});
        }
    }
    return taps;
}

} // namespace

PictureSize fitLongestSide(int width, int height, int longest) {
    if (width < 1 || height < 1 || longest < 1)
        return {};
    if (width >= height)
        return {longest, std::max(1, int(std::lround(double(height) * longest / width)))};
    return {std::max(1, int(std::lround(double(width) * longest / height))), longest};
}

RgbaImage resizeToFit(const RgbaImage& source, int longest) {
    RgbaImage out;
    const PictureSize size = fitLongestSide(source.width, source.height, longest);
    if (!source.valid() || size.width < 1)
        return out;
    // Premultiplied floats, rows first, then columns.
    const auto sw = std::size_t(source.width), sh = std::size_t(source.height);
    const auto tw = std::size_t(size.width), th = std::size_t(size.height);
    const std::vector<std::vector<Tap>> across = tapsAlong(source.width, size.width);
    const std::vector<std::vector<Tap>> down = tapsAlong(source.height, size.height);
    std::vector<float> rows(tw * sh * 4);
    for (std::size_t y = 0; y < sh; ++y)
        for (std::size_t x = 0; x < tw; ++x) {
            float* p = &rows[(y * tw + x) * 4];
            for (const Tap& tap : across[x]) {
                const std::uint8_t* s = &source.rgba[(y * sw + std::size_t(tap.index)) * 4];
                const float a = float(s[3]) * tap.weight;
                p[0] += float(s[0]) * a;
                p[1] += float(s[1]) * a;
                p[2] += float(s[2]) * a;
                p[3] += a;
            }
        }
    out.width = size.width;
    out.height = size.height;
    out.rgba.resize(tw * th * 4);
    for (std::size_t y = 0; y < th; ++y)
        for (std::size_t x = 0; x < tw; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (const Tap& tap : down[y]) {
                const float* r = &rows[(std::size_t(tap.index) * tw + x) * 4];
                for (int c = 0; c < 4; ++c)
                    sum[c] += r[c] * tap.weight;
            }
            std::uint8_t* p = &out.rgba[(y * tw + x) * 4];
            p[3] = std::uint8_t(std::clamp(std::lround(sum[3]), 0L, 255L));
            for (int c = 0; c < 3; ++c)
                p[c] = sum[3] > 0 ? std::uint8_t(std::clamp(std::lround(sum[c] / sum[3]), 0L, 255L))
                                  : 0;
        }
    return out;
}

} // namespace render
