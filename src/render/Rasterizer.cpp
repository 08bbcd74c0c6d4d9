#include "render/Rasterizer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace render {

namespace {

constexpr float kGuardBand = 2.0f;
constexpr std::int64_t kSubBits = 8; // fixed-point fraction bits of sample coordinates
constexpr std::int64_t kOne = std::int64_t(1) << kSubBits;
constexpr std::int64_t kHalf = kOne / 2;

enum Plane : unsigned {
    Near = nearPlaneOutcode,
    Far = 2,
    Left = 4,
    Right = 8,
    Bottom = 16,
    Top = 32,
};

float planeDistance(unsigned plane, const Vec4& p) {
    switch (plane) {
    case Near:
        return p.z;
    case Far:
        return p.w - p.z;
    case Left:
        return kGuardBand * p.w + p.x;
    case Right:
        return kGuardBand * p.w - p.x;
    case Bottom:
        return kGuardBand * p.w + p.y;
    default:
        return kGuardBand * p.w - p.y;
    }
}

ClipVertex lerp(const ClipVertex& a, const ClipVertex& b, float t) {
    ClipVertex r;
    r.position = {a.position.x + (b.position.x - a.position.x) * t,
                  a.position.y + (b.position.y - a.position.y) * t,
                  a.position.z + (b.position.z - a.position.z) * t,
                  a.position.w + (b.position.w - a.position.w) * t};
    r.u = a.u + (b.u - a.u) * t;
    r.v = a.v + (b.v - a.v) * t;
    r.light = a.light + (b.light - a.light) * t;
    return r;
}

inline int wrapIndex(int i, int n) {
    // Texture sizes are nearly always powers of two, where a mask spares the division.
    if ((n & (n - 1)) == 0)
        return i & (n - 1);
    const int m = i % n;
    return m < 0 ? m + n : m;
}

// The texel a whole-numbered coordinate falls on, repeating the texture. Coordinates far
// outside 0..1 are reduced in floating point first so that the integer conversion is safe;
// the usual ones take the integer path, which gives the same texel.
inline int wrapTexel(float whole, int n) {
    constexpr float exact = 1 << 24;
    if (whole > -exact && whole < exact)
        return wrapIndex(int(whole), n);
    return wrapIndex(saturatingCast<int>(std::fmod(whole, float(n))), n);
}

// A vertex in sample coordinates, with the values that interpolate linearly on screen.
struct ScreenVertex {
    std::int64_t x = 0, y = 0; // fixed point
    float z = 0;               // depth 0..1
    float q = 0;               // 1 / w
    float uq = 0, vq = 0, lq = 0;
};

// Rounds half away from zero, as std::round, within ±2^40 (NaN gives 0): a per-vertex
// library call otherwise.
std::int64_t toFixed(double value) {
    constexpr double bound = double(std::int64_t(1) << 40);
    if (!(value == value))
        return 0;
    const double clamped = std::clamp(value, -bound, bound);
    const auto whole = std::int64_t(clamped); // toward zero
    const double rest = clamped - double(whole);
    // Which way a vertex rounds is as good as random: added as 0 or 1, not branched on.
    return whole + std::int64_t(rest >= 0.5) - std::int64_t(rest <= -0.5);
}

ScreenVertex toScreen(const ClipVertex& c, const ScreenPoint& p) {
    ScreenVertex s;
    s.x = p.x;
    s.y = p.y;
    s.z = p.z;
    s.q = float(p.invW);
    s.uq = float(double(c.u) * p.invW);
    s.vq = float(double(c.v) * p.invW);
    s.lq = float(double(c.light) * p.invW);
    return s;
}

bool isTopLeft(const ScreenVertex& a, const ScreenVertex& b) {
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    return dy < 0 || (dy == 0 && dx > 0);
}

inline int mipLevel(const Texture& t, float dudx, float dvdx, float dudy, float dvdy) {
    const float w = float(t.width()), h = float(t.height());
    const float ax = dudx * w, bx = dvdx * h, ay = dudy * w, by = dvdy * h;
    const float rho2 = std::max(ax * ax + bx * bx, ay * ay + by * by);
    if (!(rho2 > 1.0f))
        return 0;
    // The level is log2 of the step rounded to the nearest, round(0.5 × log2 rho²), which is
    // half the binary exponent of 2·rho² rounded down: read from the float's bits, exactly.
    const int exponent = int((std::bit_cast<std::uint32_t>(rho2) >> 23) & 0xFF) - 127;
    const int level = (exponent + 1) / 2;
    return std::clamp(level, 0, t.firstLevel + int(t.levels.size()) - 1);
}

// A sample's colour and alpha before lighting, and its light.
struct Shade {
    std::array<float, 4> texel;
    float light;
};

// The shade at barycentric weights l0..l2.
Shade shadeAt(const TriangleShade& t, float l0, float l1, float l2) {
    const float q = l0 * t.q[0] + l1 * t.q[1] + l2 * t.q[2];
    const float invQ = q > 0 ? 1.0f / q : 0.0f;
    Shade shade{{float(t.colour.r), float(t.colour.g), float(t.colour.b), 255.0f},
                (l0 * t.lq[0] + l1 * t.lq[1] + l2 * t.lq[2]) * invQ};
    const float u = (l0 * t.uq[0] + l1 * t.uq[1] + l2 * t.uq[2]) * invQ;
    const float v = (l0 * t.vq[0] + l1 * t.vq[1] + l2 * t.vq[2]) * invQ;
    // A coordinate that overflowed on its way here draws the untextured colour.
    if (t.texture && std::isfinite(u) && std::isfinite(v)) {
        // Derivatives of u = uq / q by the quotient rule.
        const float dudx = (t.duqdx - u * t.dqdx) * invQ, dudy = (t.duqdy - u * t.dqdy) * invQ;
        const float dvdx = (t.dvqdx - v * t.dqdx) * invQ, dvdy = (t.dvqdy - v * t.dqdy) * invQ;
        const int level = mipLevel(*t.texture, dudx, dvdx, dudy, dvdy);
        shade.texel = sampleTexture(*t.texture, u, v, std::max(level, t.finestLevel));
    }
    return shade;
}

// The lit colour, held at 255.
std::array<float, 3> litColour(const Shade& shade) {
    return {std::min(shade.texel[0] * shade.light, 255.0f),
            std::min(shade.texel[1] * shade.light, 255.0f),
            std::min(shade.texel[2] * shade.light, 255.0f)};
}

} // namespace

Framebuffer::Framebuffer(int w, int h, Rgb background) {
    reset(w, h, background);
}

void Framebuffer::reset(int w, int h, Rgb background) {
    width = std::max(w, 0);
    height = std::max(h, 0);
    const std::size_t n = std::size_t(width) * std::size_t(height);
    colour.resize(n * 3);
    for (std::size_t i = 0; i < n; ++i) {
        colour[i * 3] = background.r;
        colour[i * 3 + 1] = background.g;
        colour[i * 3 + 2] = background.b;
    }
    depth.assign(n, std::numeric_limits<float>::max());
    owner.assign(n, noOwner);
    recorded.clear();
    drawnSamples = 0;
}

ScreenPoint screenPoint(const Vec4& position, int width, int height) {
    const double invW = 1.0 / double(position.w);
    const double sx = (double(position.x) * invW + 1.0) * 0.5 * width;
    const double sy = (1.0 - double(position.y) * invW) * 0.5 * height;
    ScreenPoint p;
    // Clipping keeps these inside the guard band; the bound only keeps a degenerate w from
    // reaching an undefined conversion.
    p.x = toFixed(sx * double(kOne));
    p.y = toFixed(sy * double(kOne));
    p.z = float(double(position.z) * invW);
    p.invW = invW;
    p.outcode = outcode(position);
    return p;
}

unsigned outcode(const Vec4& p) {
    // The planes' distances as planeDistance() gives them, written out so that the six
    // tests need no loop or switch; NaN counts as outside.
    const float band = kGuardBand * p.w;
    return (!(p.z >= 0) ? Near : 0u) | (!(p.w - p.z >= 0) ? Far : 0u) |
           (!(band + p.x >= 0) ? Left : 0u) | (!(band - p.x >= 0) ? Right : 0u) |
           (!(band + p.y >= 0) ? Bottom : 0u) | (!(band - p.y >= 0) ? Top : 0u);
}

int clipPolygon(const std::array<ClipVertex, 3>& triangle, std::array<ClipVertex, 9>& out) {
    std::array<ClipVertex, 9> buffer;
    std::array<ClipVertex, 9>* src = &buffer;
    std::array<ClipVertex, 9>* dst = &out;
    int n = 3;
    std::copy(triangle.begin(), triangle.end(), src->begin());
    for (unsigned plane : {Near, Far, Left, Right, Bottom, Top}) {
        int m = 0;
        for (int i = 0; i < n; ++i) {
            const ClipVertex& a = (*src)[std::size_t(i)];
            const ClipVertex& b = (*src)[std::size_t((i + 1) % n)];
            const float da = planeDistance(plane, a.position);
            const float db = planeDistance(plane, b.position);
            if (da >= 0 && m < 9)
                (*dst)[std::size_t(m++)] = a;
            if (((da >= 0) != (db >= 0)) && m < 9)
                (*dst)[std::size_t(m++)] = lerp(a, b, da / (da - db));
        }
        n = m;
        std::swap(src, dst);
        if (n < 3)
            return 0;
    }
    if (src != &out)
        std::copy(src->begin(), src->begin() + n, out.begin());
    return n;
}

std::array<float, 4> sampleTexture(const Texture& texture, float u, float v, int level) {
    const TextureLevel& t = texture.levels[std::size_t(
        std::clamp(level - texture.firstLevel, 0, int(texture.levels.size()) - 1))];
    // A coordinate that is not finite (or overflows once scaled) samples the first texel.
    float x = u * float(t.width) - 0.5f;
    float y = v * float(t.height) - 0.5f;
    if (!std::isfinite(x))
        x = 0;
    if (!std::isfinite(y))
        y = 0;
    const float fx0 = std::floor(x), fy0 = std::floor(y);
    const float fx = x - fx0, fy = y - fy0;
    const int x0 = wrapTexel(fx0, t.width);
    const int y0 = wrapTexel(fy0, t.height);
    const int x1 = x0 + 1 == t.width ? 0 : x0 + 1, y1 = y0 + 1 == t.height ? 0 : y0 + 1;
    const auto* row0 = &t.rgba[std::size_t(y0) * std::size_t(t.width) * 4];
    const auto* row1 = &t.rgba[std::size_t(y1) * std::size_t(t.width) * 4];
    std::array<float, 4> r;
#if defined(__SSE2__)
    // The four channels in the lanes of one register, each computed as in the loop below.
    const auto texel = [](const std::uint8_t* p) {
        std::int32_t word;
        std::memcpy(&word, p, 4);
        const __m128i zero = _mm_setzero_si128();
        const __m128i bytes = _mm_cvtsi32_si128(word);
        return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero));
    };
    const __m128 wx = _mm_set1_ps(fx), wx1 = _mm_set1_ps(1 - fx);
    const __m128 top = _mm_add_ps(_mm_mul_ps(texel(row0 + std::size_t(x0) * 4), wx1),
                                  _mm_mul_ps(texel(row0 + std::size_t(x1) * 4), wx));
    const __m128 bottom = _mm_add_ps(_mm_mul_ps(texel(row1 + std::size_t(x0) * 4), wx1),
                                     _mm_mul_ps(texel(row1 + std::size_t(x1) * 4), wx));
    _mm_storeu_ps(r.data(), _mm_add_ps(_mm_mul_ps(top, _mm_set1_ps(1 - fy)),
                                       _mm_mul_ps(bottom, _mm_set1_ps(fy))));
#else
    for (std::size_t c = 0; c < 4; ++c) {
        const float top = float(row0[std::size_t(x0) * 4 + c]) * (1 - fx) +
                          float(row0[std::size_t(x1) * 4 + c]) * fx;
        const float bottom = float(row1[std::size_t(x0) * 4 + c]) * (1 - fx) +
                             float(row1[std::size_t(x1) * 4 + c]) * fx;
        r[c] = top * (1 - fy) + bottom * fy;
    }
#endif
    return r;
}

bool rasterizeTriangle(Framebuffer& fb, const ClipVertex& a, const ClipVertex& b,
                       const ClipVertex& c, const Shading& shading) {
    return rasterizeTriangle(fb, a, b, c, screenPoint(a.position, fb.width, fb.height),
                             screenPoint(b.position, fb.width, fb.height),
                             screenPoint(c.position, fb.width, fb.height), shading);
}

bool rasterizeTriangle(Framebuffer& fb, const ClipVertex& ca, const ClipVertex& cb,
                       const ClipVertex& cc, const ScreenPoint& pa, const ScreenPoint& pb,
                       const ScreenPoint& pc, const Shading& shading) {
    ScreenVertex v0 = toScreen(ca, pa);
    ScreenVertex v1 = toScreen(cb, pb);
    ScreenVertex v2 = toScreen(cc, pc);

    auto edge = [](const ScreenVertex& a, const ScreenVertex& b, std::int64_t px, std::int64_t py) {
        return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
    };
    std::int64_t area = edge(v0, v1, v2.x, v2.y);
    if (area == 0)
        return false;
    // Both windings are drawn: the depth test, not culling, hides the far side.
    if (area < 0) {
        std::swap(v1, v2);
        area = -area;
    }

    const std::int64_t minX = std::min({v0.x, v1.x, v2.x}), maxX = std::max({v0.x, v1.x, v2.x});
    const std::int64_t minY = std::min({v0.y, v1.y, v2.y}), maxY = std::max({v0.y, v1.y, v2.y});
    // Sample i sits at i + 1/2.
    const int x0 = int(std::max<std::int64_t>(0, (minX - kHalf + kOne - 1) >> kSubBits));
    const int x1 = int(std::min<std::int64_t>(fb.width - 1, (maxX - kHalf) >> kSubBits));
    const int y0 = int(std::max<std::int64_t>(0, (minY - kHalf + kOne - 1) >> kSubBits));
    const int y1 = int(std::min<std::int64_t>(fb.height - 1, (maxY - kHalf) >> kSubBits));
    if (x0 > x1 || y0 > y1)
        return false;

    // Edge k is opposite vertex k; a sample on an edge belongs to it only on a top or left edge.
    const std::int64_t bias0 = isTopLeft(v1, v2) ? 0 : -1;
    const std::int64_t bias1 = isTopLeft(v2, v0) ? 0 : -1;
    const std::int64_t bias2 = isTopLeft(v0, v1) ? 0 : -1;
    const std::int64_t stepX0 = -(v2.y - v1.y) * kOne, stepY0 = (v2.x - v1.x) * kOne;
    const std::int64_t stepX1 = -(v0.y - v2.y) * kOne, stepY1 = (v0.x - v2.x) * kOne;
    const std::int64_t stepX2 = -(v1.y - v0.y) * kOne, stepY2 = (v1.x - v0.x) * kOne;

    const double invArea = 1.0 / double(area);
    const std::int64_t startX = std::int64_t(x0) * kOne + kHalf;
    const std::int64_t startY = std::int64_t(y0) * kOne + kHalf;
    std::int64_t row0 = edge(v1, v2, startX, startY);
    std::int64_t row1 = edge(v2, v0, startX, startY);
    std::int64_t row2 = edge(v0, v1, startX, startY);

    // Which samples are covered, and their barycentric weights and depth: one definition for
    // every pass, so that the depths recorded are the very ones the drawing pass meets.
    // The covered samples of a row form one run: the offsets from x0, first to last, where
    // e + bias >= 0 for all three edges, solved exactly from the edges' values at x0 and
    // their steps instead of testing every sample of the bounding box. Empty when first > last.
    const int width = x1 - x0;
    const auto coveredRun = [&](std::int64_t e0, std::int64_t e1, std::int64_t e2) {
        std::int64_t first = 0, last = width;
        const auto within = [&](std::int64_t e, std::int64_t step, std::int64_t bias) {
            const std::int64_t v = e + bias; // covered where v + k * step >= 0
            if (step > 0) {
                if (v < 0)
                    first = std::max(first, (-v + step - 1) / step);
            } else if (step < 0) {
                last = v < 0 ? -1 : std::min(last, v / -step);
            } else if (v < 0) {
                last = -1;
            }
        };
        within(e0, stepX0, bias0);
        within(e1, stepX1, bias1);
        within(e2, stepX2, bias2);
        return std::pair<int, int>(int(std::min<std::int64_t>(first, width + 1)), int(last));
    };
    const auto weights = [&](std::int64_t e0, std::int64_t e1, std::int64_t e2) {
        const float l0 = float(double(e0) * invArea);
        const float l1 = float(double(e1) * invArea);
        const float l2 = float(double(e2) * invArea);
        return std::array<float, 4>{l0, l1, l2, l0 * v0.z + l1 * v1.z + l2 * v2.z};
    };

    bool nearer = false;
#if defined(__SSE2__)
    // The depths (and owners) of a row's run, four samples at a time, as weights() gives
    // them: the edge values in doubles (exact while below 2^52, which the run is checked
    // for; else nothing is done here), the weights rounded to float and the depth summed in
    // the same order. Returns the samples done; the plain loop does the rest.
    const auto recordDepths4 = [&](float* depth, std::uint32_t* owner, int count, std::int64_t e0,
                                   std::int64_t e1, std::int64_t e2, std::uint32_t entry,
                                   bool& closer) {
        constexpr std::int64_t exact = std::int64_t(1) << 52;
        const auto inRange = [&](std::int64_t e, std::int64_t step) {
            const std::int64_t end = e + std::int64_t(count + 3) * step;
            return e > -exact && e < exact && end > -exact && end < exact;
        };
        if (count < 4 || !inRange(e0, stepX0) || !inRange(e1, stepX1) || !inRange(e2, stepX2))
            return 0;
        const auto pair = [](std::int64_t e, std::int64_t step, int k) {
            return _mm_set_pd(double(e + (k + 1) * step), double(e + k * step));
        };
        __m128d a0 = pair(e0, stepX0, 0), b0 = pair(e0, stepX0, 2);
        __m128d a1 = pair(e1, stepX1, 0), b1 = pair(e1, stepX1, 2);
        __m128d a2 = pair(e2, stepX2, 0), b2 = pair(e2, stepX2, 2);
        const __m128d step0 = _mm_set1_pd(double(4 * stepX0));
        const __m128d step1 = _mm_set1_pd(double(4 * stepX1));
        const __m128d step2 = _mm_set1_pd(double(4 * stepX2));
        const __m128d inv = _mm_set1_pd(invArea);
        const __m128 z0 = _mm_set1_ps(v0.z), z1 = _mm_set1_ps(v1.z), z2 = _mm_set1_ps(v2.z);
        const auto weight = [&](__m128d a, __m128d b) {
            return _mm_movelh_ps(_mm_cvtpd_ps(_mm_mul_pd(a, inv)),
                                 _mm_cvtpd_ps(_mm_mul_pd(b, inv)));
        };
        const __m128i id = _mm_set1_epi32(int(entry));
        __m128 any = _mm_setzero_ps();
        int done = 0;
        for (; done + 4 <= count; done += 4) {
            const __m128 z = _mm_add_ps(
                _mm_add_ps(_mm_mul_ps(weight(a0, b0), z0), _mm_mul_ps(weight(a1, b1), z1)),
                _mm_mul_ps(weight(a2, b2), z2));
            const __m128 old = _mm_loadu_ps(depth + done);
            const __m128 less = _mm_cmplt_ps(z, old);
            _mm_storeu_ps(depth + done, _mm_or_ps(_mm_and_ps(less, z), _mm_andnot_ps(less, old)));
            const __m128i mask = _mm_castps_si128(less);
            __m128i* owners = reinterpret_cast<__m128i*>(owner + done);
            _mm_storeu_si128(owners, _mm_or_si128(_mm_and_si128(mask, id),
                                                  _mm_andnot_si128(mask, _mm_loadu_si128(owners))));
            any = _mm_or_ps(any, less);
            a0 = _mm_add_pd(a0, step0);
            b0 = _mm_add_pd(b0, step0);
            a1 = _mm_add_pd(a1, step1);
            b1 = _mm_add_pd(b1, step1);
            a2 = _mm_add_pd(a2, step2);
            b2 = _mm_add_pd(b2, step2);
        }
        closer = closer || _mm_movemask_ps(any) != 0;
        return done;
    };
#endif
    // What shading reads of the triangle; a recorded triangle keeps it for drawNearest().
    const auto triangleShade = [&] {
        const float dl0dx = float(double(stepX0) * invArea),
                    dl0dy = float(double(stepY0) * invArea);
        const float dl1dx = float(double(stepX1) * invArea),
                    dl1dy = float(double(stepY1) * invArea);
        const float dl2dx = float(double(stepX2) * invArea),
                    dl2dy = float(double(stepY2) * invArea);
        auto gradX = [&](float a0, float a1, float a2) {
            return a0 * dl0dx + a1 * dl1dx + a2 * dl2dx;
        };
        auto gradY = [&](float a0, float a1, float a2) {
            return a0 * dl0dy + a1 * dl1dy + a2 * dl2dy;
        };
        TriangleShade t;
        t.q = {v0.q, v1.q, v2.q};
        t.uq = {v0.uq, v1.uq, v2.uq};
        t.vq = {v0.vq, v1.vq, v2.vq};
        t.lq = {v0.lq, v1.lq, v2.lq};
        t.dqdx = gradX(v0.q, v1.q, v2.q);
        t.dqdy = gradY(v0.q, v1.q, v2.q);
        t.duqdx = gradX(v0.uq, v1.uq, v2.uq);
        t.duqdy = gradY(v0.uq, v1.uq, v2.uq);
        t.dvqdx = gradX(v0.vq, v1.vq, v2.vq);
        t.dvqdy = gradY(v0.vq, v1.vq, v2.vq);
        t.texture = shading.texture;
        t.finestLevel = shading.finestLevel;
        t.colour = shading.colour;
        return t;
    };

    if (shading.depthUse == DepthUse::RecordOnly) {
        // Depth alone, the samples taken marked with the entry the triangle gets if it takes any.
        const std::uint32_t entry = std::uint32_t(fb.recorded.size());
        const std::int64_t startRow[3] = {row0, row1, row2};
        for (int y = y0; y <= y1; ++y, row0 += stepY0, row1 += stepY1, row2 += stepY2) {
            const auto [first, last] = coveredRun(row0, row1, row2);
            float* depth = &fb.depth[std::size_t(y) * std::size_t(fb.width)];
            std::uint32_t* owner = &fb.owner[std::size_t(y) * std::size_t(fb.width)];
            int x = x0 + first;
#if defined(__SSE2__)
            x += recordDepths4(depth + x, owner + x, last - first + 1, row0 + first * stepX0,
                               row1 + first * stepX1, row2 + first * stepX2, entry, nearer);
#endif
            std::int64_t e0 = row0 + (x - x0) * stepX0, e1 = row1 + (x - x0) * stepX1,
                         e2 = row2 + (x - x0) * stepX2;
            for (; x <= x0 + last; ++x, e0 += stepX0, e1 += stepX1, e2 += stepX2) {
                const float z = weights(e0, e1, e2)[3];
                if (z < depth[x]) {
                    depth[x] = z;
                    owner[x] = entry;
                    nearer = true;
                }
            }
        }
        if (nearer) {
            RecordedTriangle& r = fb.recorded.emplace_back();
            r.stepX = {stepX0, stepX1, stepX2};
            r.stepY = {stepY0, stepY1, stepY2};
            // The edges' values at sample (0, 0), from those at the box's first sample.
            for (std::size_t k = 0; k < 3; ++k)
                r.base[k] =
                    startRow[k] - std::int64_t(x0) * r.stepX[k] - std::int64_t(y0) * r.stepY[k];
            r.invArea = invArea;
            r.shade = triangleShade();
        }
        return nearer;
    }

    const TriangleShade shade = triangleShade();
    const bool writesDepth =
        shading.blend == BlendMode::Opaque || shading.blend == BlendMode::AlphaTest;
    const float alphaRef = shading.alphaReference * 255.0f;
    // Writes the shade into one sample; false when the alpha test cuts it away.
    const auto write = [&](std::size_t index, const Shade& shade, float z) {
        const auto& texel = shade.texel;
        float* dst = &fb.colour[index * 3];
        const auto [r, g, b] = litColour(shade);
        switch (shading.blend) {
        case BlendMode::AlphaTest:
            if (texel[3] < alphaRef)
                return;
            [[fallthrough]];
        case BlendMode::Opaque:
            dst[0] = r;
            dst[1] = g;
            dst[2] = b;
            break;
        case BlendMode::AlphaBlend: {
            const float a = texel[3] / 255.0f;
            dst[0] = r * a + dst[0] * (1 - a);
            dst[1] = g * a + dst[1] * (1 - a);
            dst[2] = b * a + dst[2] * (1 - a);
            break;
        }
        case BlendMode::Additive: {
            const float a = texel[3] / 255.0f;
            dst[0] = std::min(dst[0] + r * a, 255.0f);
            dst[1] = std::min(dst[1] + g * a, 255.0f);
            dst[2] = std::min(dst[2] + b * a, 255.0f);
            break;
        }
        }
        if (writesDepth)
            fb.depth[index] = z;
        if (writesDepth || texel[3] > 0)
            ++fb.drawnSamples;
    };

    for (int y = y0; y <= y1; ++y, row0 += stepY0, row1 += stepY1, row2 += stepY2) {
        const auto [first, last] = coveredRun(row0, row1, row2);
        std::int64_t e0 = row0 + first * stepX0, e1 = row1 + first * stepX1,
                     e2 = row2 + first * stepX2;
        for (int x = x0 + first; x <= x0 + last; ++x, e0 += stepX0, e1 += stepX1, e2 += stepX2) {
            const auto [l0, l1, l2, z] = weights(e0, e1, e2);
            const std::size_t index = std::size_t(y) * std::size_t(fb.width) + std::size_t(x);
            if (!(z < fb.depth[index]))
                continue;
            nearer = true;
            write(index, shadeAt(shade, l0, l1, l2), z);
        }
    }
    return nearer;
}

void drawNearest(Framebuffer& fb, bool shadeSquares) {
    const std::size_t entries = fb.recorded.size();
    // The shade at the mean of the weights of `count` samples of t whose coordinates add up
    // to x and y: the edge values are linear, so their sum is had in one step, exactly.
    const auto shadeMean = [](const RecordedTriangle& t, int count, std::int64_t x,
                              std::int64_t y) {
        std::array<float, 3> l;
        const double scale = t.invArea / double(count);
        for (std::size_t k = 0; k < 3; ++k)
            l[k] = float(double(count * t.base[k] + x * t.stepX[k] + y * t.stepY[k]) * scale);
        return shadeAt(t.shade, l[0], l[1], l[2]);
    };
    const auto put = [&](std::size_t index, const Shade& shade) {
        const auto [r, g, b] = litColour(shade);
        float* dst = &fb.colour[index * 3];
        dst[0] = r;
        dst[1] = g;
        dst[2] = b;
        ++fb.drawnSamples;
    };
    if (!shadeSquares) {
        for (int y = 0; y < fb.height; ++y)
            for (int x = 0; x < fb.width; ++x) {
                const std::size_t index = std::size_t(y) * std::size_t(fb.width) + std::size_t(x);
                if (const std::uint32_t owner = fb.owner[index]; owner < entries)
                    put(index, shadeMean(fb.recorded[owner], 1, x, y));
            }
        return;
    }
    for (int ys = 0; ys < fb.height; ys += 2)
        for (int xs = 0; xs < fb.width; xs += 2) {
            if (ys + 1 < fb.height && xs + 1 < fb.width) {
                // Whole squares: most are background or inside one triangle.
                const std::size_t top = std::size_t(ys) * std::size_t(fb.width) + std::size_t(xs);
                const std::size_t bottom = top + std::size_t(fb.width);
                const std::uint32_t a = fb.owner[top];
                if (a == fb.owner[top + 1] && a == fb.owner[bottom] && a == fb.owner[bottom + 1]) {
                    if (a < entries) {
                        const Shade shade = shadeMean(fb.recorded[a], 4, 4 * xs + 2, 4 * ys + 2);
                        for (const std::size_t index : {top, top + 1, bottom, bottom + 1})
                            put(index, shade);
                    }
                    continue;
                }
            }
            // The square's samples that have an owner, row by row.
            struct Sample {
                int x, y;
                std::size_t index;
                std::uint32_t owner;
            };
            std::array<Sample, 4> square;
            int n = 0;
            for (int y = ys; y < std::min(ys + 2, fb.height); ++y)
                for (int x = xs; x < std::min(xs + 2, fb.width); ++x) {
                    const std::size_t index =
                        std::size_t(y) * std::size_t(fb.width) + std::size_t(x);
                    if (const std::uint32_t owner = fb.owner[index]; owner < entries)
                        square[std::size_t(n++)] = {x, y, index, owner};
                }
            // Each owner once, over the samples it owns here.
            for (int i = 0; i < n; ++i) {
                const std::uint32_t owner = square[std::size_t(i)].owner;
                bool seen = false;
                for (int j = 0; j < i; ++j)
                    seen = seen || square[std::size_t(j)].owner == owner;
                if (seen)
                    continue;
                int count = 0;
                std::int64_t x = 0, y = 0;
                for (int j = i; j < n; ++j)
                    if (square[std::size_t(j)].owner == owner) {
                        x += square[std::size_t(j)].x;
                        y += square[std::size_t(j)].y;
                        ++count;
                    }
                const Shade shade = shadeMean(fb.recorded[owner], count, x, y);
                for (int j = i; j < n; ++j)
                    if (square[std::size_t(j)].owner == owner)
                        put(square[std::size_t(j)].index, shade);
            }
        }
}

bool drawTriangle(Framebuffer& fb, const ClipVertex& a, const ClipVertex& b, const ClipVertex& c,
                  const Shading& shading) {
    return drawTriangle(fb, a, b, c, screenPoint(a.position, fb.width, fb.height),
                        screenPoint(b.position, fb.width, fb.height),
                        screenPoint(c.position, fb.width, fb.height), shading);
}

bool drawTriangle(Framebuffer& fb, const ClipVertex& a, const ClipVertex& b, const ClipVertex& c,
                  const ScreenPoint& pa, const ScreenPoint& pb, const ScreenPoint& pc,
                  const Shading& shading) {
    if (pa.outcode & pb.outcode & pc.outcode)
        return false;
    if ((pa.outcode | pb.outcode | pc.outcode) == 0)
        return rasterizeTriangle(fb, a, b, c, pa, pb, pc, shading);
    std::array<ClipVertex, 9> polygon;
    const int n = clipPolygon({a, b, c}, polygon);
    bool nearer = false;
    for (int i = 1; i + 1 < n; ++i)
        nearer |= rasterizeTriangle(fb, polygon[0], polygon[std::size_t(i)],
                                    polygon[std::size_t(i + 1)], shading);
    return nearer;
}

RgbImage resolve(const Framebuffer& fb, int samplesPerAxis) {
    const int s = std::max(samplesPerAxis, 1);
    RgbImage image;
    image.width = fb.width / s;
    image.height = fb.height / s;
    image.rgb.resize(std::size_t(image.width) * std::size_t(image.height) * 3);
    const float scale = 1.0f / float(s * s);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::size_t first =
                (std::size_t(y * s) * std::size_t(fb.width) + std::size_t(x * s)) * 3;
            const std::size_t rowStep = std::size_t(fb.width) * 3;
            float sum[3] = {0, 0, 0};
#if defined(__SSE2__)
            // The three channels side by side in one register, each summed in the order of
            // the plain loop below and rounded as there, so the bytes are the same; the
            // fourth lane picks up the next sample's red and is dropped. The grid's very last
            // sample has no float after it: its pixel takes the plain loop.
            if (first + rowStep * std::size_t(s - 1) + std::size_t(s) * 3 < fb.colour.size()) {
                __m128 lanes = _mm_setzero_ps();
                for (int sy = 0; sy < s; ++sy) {
                    const float* row = &fb.colour[first + rowStep * std::size_t(sy)];
                    for (int sx = 0; sx < s * 3; sx += 3)
                        lanes = _mm_add_ps(lanes, _mm_loadu_ps(row + sx));
                }
                // saturatingCast(floor(v)) in four lanes: NaN and anything below 0 give 0
                // (max takes its second operand on NaN), above 255 gives 255, and between,
                // truncation is the floor.
                const __m128 v =
                    _mm_add_ps(_mm_mul_ps(lanes, _mm_set1_ps(scale)), _mm_set1_ps(0.5f));
                const __m128 held =
                    _mm_min_ps(_mm_max_ps(v, _mm_setzero_ps()), _mm_set1_ps(255.0f));
                alignas(16) std::int32_t bytes[4];
                _mm_store_si128(reinterpret_cast<__m128i*>(bytes), _mm_cvttps_epi32(held));
                std::uint8_t* p =
                    &image.rgb[(std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * 3];
                p[0] = std::uint8_t(bytes[0]);
                p[1] = std::uint8_t(bytes[1]);
                p[2] = std::uint8_t(bytes[2]);
                continue;
            }
#endif
            for (int sy = 0; sy < s; ++sy) {
                const float* row = &fb.colour[first + rowStep * std::size_t(sy)];
                for (int sx = 0; sx < s * 3; sx += 3) {
                    sum[0] += row[sx];
                    sum[1] += row[sx + 1];
                    sum[2] += row[sx + 2];
                }
            }
            std::uint8_t* p =
                &image.rgb[(std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * 3];
            for (int c = 0; c < 3; ++c)
                p[c] = saturatingCast<std::uint8_t>(std::floor(sum[c] * scale + 0.5f));
        }
    return image;
}

} // namespace render
