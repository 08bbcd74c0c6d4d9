#pragma once

// Drawing the sample textures: an RGBA picture and a few plain drawing operations, with a
// small bitmap font of our own for the lettering.

#include <cstdint>
#include <string_view>
#include <vector>

namespace sample {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

Rgba mix(Rgba a, Rgba b, float t);
Rgba shade(Rgba c, float factor); // factor < 1 darker, > 1 lighter

class Picture {
public:
    Picture() = default;
    Picture(int width, int height, Rgba fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint8_t>& rgba() const { return pixels_; }
    bool hasTransparency() const;

    Rgba at(int x, int y) const;
    void set(int x, int y, Rgba c);
    // Rectangles are given by their top-left corner and size; anything outside is clipped.
    void fill(int x, int y, int w, int h, Rgba c);
    void frame(int x, int y, int w, int h, Rgba c);
    void verticalGradient(int x, int y, int w, int h, Rgba top, Rgba bottom);
    void disc(float cx, float cy, float radius, Rgba c);
    void ring(float cx, float cy, float r0, float r1, Rgba c);
    void line(float x0, float y0, float x1, float y1, float width, Rgba c);
    // Text in the 5x7 font, each font pixel drawn as a scale x scale square, one blank
    // column between letters. Returns the width drawn.
    int text(int x, int y, std::string_view s, int scale, Rgba c) {
        return text(x, y, s, scale, scale, c);
    }
    int text(int x, int y, std::string_view s, int scaleX, int scaleY, Rgba c);
    static int textWidth(std::string_view s, int scaleX);
    // Punches a fully transparent rectangle (alpha 0, colour kept dark).
    void clear(int x, int y, int w, int h);

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

} // namespace sample
