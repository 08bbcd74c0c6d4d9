#include "Paint.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sample {

namespace {

// 5x7 glyphs, rows top to bottom, '#' set. Upper case only; lower case is drawn as upper.
struct Glyph {
    char c;
    const char* rows; // 35 characters
};

constexpr Glyph glyphs[] = {
    {'A', " ### #   ##   #######   ##   ##   #"},  {'B', "#### #   ##   ##### #   ##   ##### "},
    {'C', " ### #   ##    #    #    #   # ### "},  {'D', "#### #   ##   ##   ##   ##   ##### "},
    {'E', "######    #    #### #    #    #####"},  {'F', "######    #    #### #    #    #    "},
    {'G', " ### #   ##    # ####   ##   # ####"},  {'H', "#   ##   ##   #######   ##   ##   #"},
    {'I', " ###   #    #    #    #    #   ### "},  {'J', "  ###   #    #    #    ##   # ###  "},
    {'K', "#   ##  # # #  ##   # #  #  # #   #"},  {'L', "#    #    #    #    #    #    #####"},
    {'M', "#   ### ### # ##   ##   ##   ##   #"},  {'N', "#   ###  ## # ##  ###   ##   ##   #"},
    {'O', " ### #   ##   ##   ##   ##   # ### "},  {'P', "#### #   ##   ##### #    #    #    "},
    {'Q', " ### #   ##   ##   ## # ##  #  ## #"},  {'R', "#### #   ##   ##### # #  #  # #   #"},
    {'S', " #####    #     ###     #    ##### "},  {'T', "#####  #    #    #    #    #    #  "},
    {'U', "#   ##   ##   ##   ##   ##   # ### "},  {'V', "#   ##   ##   ##   ##   # # #   #  "},
    {'W', "#   ##   ##   ## # ## # ## # # # # "},  {'X', "#   ##   # # #   #   # # #   ##   #"},
    {'Y', "#   ##   # # #   #    #    #    #  "},  {'Z', "#####    #   #   #   #   #    #####"},
    {'0', " ### #   ##  ### # ###  ##   # ### "},  {'1', "  #   ##    #    #    #    #   ### "},
    {'2', " ### #   #    #   #   #   #   #####"},  {'3', "#####   #   #   ###     ##   # ### "},
    {'4', "   #   ##  # # #  # #####   #    # "},  {'5', "######    ####     #    ##   # ### "},
    {'6', "  ##  #   #    #### #   ##   # ### "},  {'7', "#####    #   #   #   #    #    #   "},
    {'8', " ### #   ##   # ### #   ##   # ### "},  {'9', " ### #   ##   # ####    #   #  ##  "},
    {'.', "                          ##   ##  "},  {'-', "               ###                 "},
    {'/', "    #    #   #   #   #   #    #    "},  {':', "      ##   ##        ##   ##       "},
    {'\'', "  #    #   #                       "}, {' ', "                                   "},
};

const Glyph* glyphFor(char c) {
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    for (const Glyph& g : glyphs)
        if (g.c == c)
            return &g;
    return nullptr;
}

std::uint8_t clampByte(float v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

} // namespace

Rgba mix(Rgba a, Rgba b, float t) {
    return {clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
            clampByte(a.b + (b.b - a.b) * t), clampByte(a.a + (b.a - a.a) * t)};
}

Rgba shade(Rgba c, float f) {
    return {clampByte(c.r * f), clampByte(c.g * f), clampByte(c.b * f), c.a};
}

Picture::Picture(int width, int height, Rgba fill)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
    this->fill(0, 0, width, height, fill);
}

bool Picture::hasTransparency() const {
    for (std::size_t i = 3; i < pixels_.size(); i += 4)
        if (pixels_[i] != 255)
            return true;
    return false;
}

Rgba Picture::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    const std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void Picture::set(int x, int y, Rgba c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = c.a;
}

void Picture::fill(int x, int y, int w, int h, Rgba c) {
    for (int j = std::max(y, 0); j < std::min(y + h, height_); ++j)
        for (int i = std::max(x, 0); i < std::min(x + w, width_); ++i)
            set(i, j, c);
}

void Picture::frame(int x, int y, int w, int h, Rgba c) {
    fill(x, y, w, 1, c);
    fill(x, y + h - 1, w, 1, c);
    fill(x, y, 1, h, c);
    fill(x + w - 1, y, 1, h, c);
}

void Picture::verticalGradient(int x, int y, int w, int h, Rgba top, Rgba bottom) {
    for (int j = 0; j < h; ++j)
        fill(x, y + j, w, 1, mix(top, bottom, h > 1 ? static_cast<float>(j) / (h - 1) : 0.f));
}

void Picture::disc(float cx, float cy, float radius, Rgba c) {
    ring(cx, cy, -1, radius, c);
}

void Picture::ring(float cx, float cy, float r0, float r1, Rgba c) {
    // Coverage from 4x4 samples a pixel keeps small circles round.
    for (int y = static_cast<int>(cy - r1) - 1; y <= static_cast<int>(cy + r1) + 1; ++y)
        for (int x = static_cast<int>(cx - r1) - 1; x <= static_cast<int>(cx + r1) + 1; ++x) {
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const float px = x + (sx + 0.5f) / 4 - cx, py = y + (sy + 0.5f) / 4 - cy;
                    const float d = std::sqrt(px * px + py * py);
                    if (d <= r1 && d >= r0)
                        ++inside;
                }
            if (inside > 0) {
                Rgba mixed = mix(at(x, y), c, inside / 16.0f);
                mixed.a = std::max(at(x, y).a, c.a);
                set(x, y, mixed);
            }
        }
}

void Picture::line(float x0, float y0, float x1, float y1, float width, Rgba c) {
    const float length = std::hypot(x1 - x0, y1 - y0);
    const int steps = std::max(1, static_cast<int>(length * 2));
    for (int i = 0; i <= steps; ++i) {
        const float t = static_cast<float>(i) / steps;
        disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, c);
    }
}

int Picture::textWidth(std::string_view s, int scaleX) {
    return s.empty() ? 0 : static_cast<int>(s.size()) * 6 * scaleX - scaleX;
}

int Picture::text(int x, int y, std::string_view s, int sx, int sy, Rgba c) {
    int pen = x;
    for (char ch : s) {
        if (const Glyph* g = glyphFor(ch))
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g->rows[row * 5 + col] == '#')
                        fill(pen + col * sx, y + row * sy, sx, sy, c);
        pen += 6 * sx;
    }
    return pen - x - sx;
}

void Picture::clear(int x, int y, int w, int h) {
    for (int j = std::max(y, 0); j < std::min(y + h, height_); ++j)
        for (int i = std::max(x, 0); i < std::min(x + w, width_); ++i) {
            Rgba c = shade(at(i, j), 0.3f);
            c.a = 0;
            set(i, j, c);
        }
}

} // namespace sample
