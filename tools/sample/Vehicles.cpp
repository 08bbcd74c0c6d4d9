#include "Vehicles.h"

#include <algorithm>
#include <cmath>
#include <string_view>

// Every vehicle is painted into one 512 x 512 texture laid out the same way:
//   rows   0-127  the left side seen from outside, front at the left (a side elevation);
//   rows 128-255  the right side, front at the right, lettering drawn the right way round;
//   rows 256-383  ends and other vehicle-specific panels;
//   rows 384-511  running gear (wheel faces, a bogie frame) and plain colour swatches.
// The sides are painted in the vehicle's own metres, so that windows and lettering land
// where the geometry's boxes map them.

namespace sample {

namespace {

constexpr int T = 512;

Region pixels(float x, float y, float w, float h) {
    return {x, y, x + w, y + h, T};
}

// Plain colours: 16 squares of 32 x 32 pixels; the centre is used so that mip levels
// do not bleed the neighbours in.
Region swatch(int i) {
    return pixels(256.f + static_cast<float>(i % 8) * 32 + 10,
                  448.f + static_cast<float>(i / 8) * 32 + 10, 12, 12);
}

void paintSwatch(Picture& p, int i, Rgba c) {
    p.fill(256 + (i % 8) * 32, 448 + (i / 8) * 32, 32, 32, c);
}

const Region wheelFace = pixels(0, 384, 128, 128);
const Region spokedFace = pixels(128, 384, 128, 128);
const Region bogieFrame = pixels(256, 384, 256, 64);

// Shared colours.
constexpr Rgba black{28, 28, 30};
constexpr Rgba darkGrey{62, 62, 66};
constexpr Rgba midGrey{112, 112, 118};
constexpr Rgba lightGrey{168, 168, 172};
constexpr Rgba silver{196, 198, 202};
constexpr Rgba white{238, 238, 232};
constexpr Rgba glass{38, 52, 66};
constexpr Rgba bufferRed{176, 34, 30};
constexpr Rgba yellow{246, 196, 32};
constexpr Rgba brass{206, 164, 70};

// Swatch numbers used by every vehicle.
enum Swatch {
    SBlack,
    SDark,
    SMid,
    SLight,
    SSilver,
    SRed,
    SBody,
    SRoof,
    SAccent,
    SGlass,
    SBrass,
    SYellow,
    SCoal,
    SWhite,
    SFloor,
    SSpare
};

void paintCommonSwatches(Picture& p, Rgba body, Rgba roof, Rgba accent) {
    paintSwatch(p, SBlack, black);
    paintSwatch(p, SDark, darkGrey);
    paintSwatch(p, SMid, midGrey);
    paintSwatch(p, SLight, lightGrey);
    paintSwatch(p, SSilver, silver);
    paintSwatch(p, SRed, bufferRed);
    paintSwatch(p, SBody, body);
    paintSwatch(p, SRoof, roof);
    paintSwatch(p, SAccent, accent);
    paintSwatch(p, SGlass, glass);
    paintSwatch(p, SBrass, brass);
    paintSwatch(p, SYellow, yellow);
    // Coal: black with a few glints.
    p.fill(256 + (SCoal % 8) * 32, 448 + (SCoal / 8) * 32, 32, 32, {20, 20, 22});
    for (int k = 0; k < 14; ++k)
        p.set(256 + (SCoal % 8) * 32 + 9 + (k * 7) % 14, 448 + 32 + 9 + (k * 5) % 14, {70, 70, 76});
    paintSwatch(p, SWhite, white);
    paintSwatch(p, SFloor, {96, 78, 58});
    paintSwatch(p, SSpare, darkGrey);
}

// A wheel seen from the side: tyre, rim, centre, hub and, for steam, spokes and a balance
// weight.
void paintWheel(Picture& p, const Region& r, Rgba centre, bool spoked) {
    const float cx = (r.x0 + r.x1) / 2, cy = (r.y0 + r.y1) / 2, radius = (r.x1 - r.x0) / 2;
    p.fill(static_cast<int>(r.x0), static_cast<int>(r.y0), static_cast<int>(r.x1 - r.x0),
           static_cast<int>(r.y1 - r.y0), darkGrey);
    p.disc(cx, cy, radius, {150, 150, 154});             // tyre
    p.disc(cx, cy, radius * 0.86f, shade(centre, 0.8f)); // rim
    if (spoked) {
        p.disc(cx, cy, radius * 0.80f, {24, 24, 26});
        for (int k = 0; k < 14; ++k) {
            const float a = static_cast<float>(k) * 6.2831853f / 14;
            p.line(cx, cy, cx + std::cos(a) * radius * 0.80f, cy + std::sin(a) * radius * 0.80f,
                   radius * 0.09f, centre);
        }
        // Balance weight: a crescent on the spokes opposite the crank.
        p.ring(cx, cy, radius * 0.55f, radius * 0.80f, {0, 0, 0, 0});
        for (int k = 0; k < 40; ++k) {
            const float a = 3.6f + static_cast<float>(k) * 0.05f;
            p.line(cx + std::cos(a) * radius * 0.56f, cy + std::sin(a) * radius * 0.56f,
                   cx + std::cos(a) * radius * 0.78f, cy + std::sin(a) * radius * 0.78f, 2, centre);
        }
        p.disc(cx, cy, radius * 0.22f, centre);                                   // boss
        p.disc(cx + radius * 0.42f, cy - radius * 0.10f, radius * 0.12f, silver); // crank pin
        p.ring(cx, cy, radius * 0.80f, radius * 0.86f, shade(centre, 0.8f));
    } else {
        p.disc(cx, cy, radius * 0.78f, centre);
        p.ring(cx, cy, radius * 0.50f, radius * 0.56f, shade(centre, 0.75f));
        p.disc(cx, cy, radius * 0.22f, lightGrey); // axle end
        p.disc(cx, cy, radius * 0.10f, darkGrey);
    }
}

// A bogie side frame: plate, axle boxes at the given fractions of its length, coil springs.
void paintBogieFrame(Picture& p, const Region& r, Rgba frame, std::initializer_list<float> axles) {
    const int x0 = static_cast<int>(r.x0), y0 = static_cast<int>(r.y0);
    const int w = static_cast<int>(r.x1 - r.x0), h = static_cast<int>(r.y1 - r.y0);
    p.fill(x0, y0, w, h, frame);
    p.fill(x0, y0, w, 6, shade(frame, 1.35f));
    p.fill(x0, y0 + h - 5, w, 5, shade(frame, 0.7f));
    for (float f : axles) {
        const int ax = x0 + static_cast<int>(f * static_cast<float>(w));
        p.fill(ax - 14, y0 + 20, 28, h - 20, shade(frame, 0.6f)); // axle box
        p.frame(ax - 14, y0 + 20, 28, h - 20, shade(frame, 1.4f));
        p.fill(ax - 6, y0 + h - 20, 12, 10, lightGrey); // box cover
        for (int s : {-30, 30}) { // springs between the boxes and the frame top
            for (int k = 0; k < 5; ++k)
                p.fill(ax + s - 8, y0 + 10 + k * 4, 16, 2, {150, 150, 40});
        }
    }
}

// Side elevations in vehicle metres.
struct Elevation {
    Picture* pic;
    int top; // first pixel row of the strip
    float zFront, zRear;
    float yTop; // metres at the strip's top; the bottom row is y = 0
    bool frontAtLeft;

    float pxPerMetreX() const { return T / (zFront - zRear); }
    float pxPerMetreY() const { return 128.f / yTop; }
    float x(float z) const {
        const float t = (zFront - z) / (zFront - zRear);
        return (frontAtLeft ? t : 1 - t) * T;
    }
    float y(float metres) const {
        return static_cast<float>(top) + (yTop - metres) * pxPerMetreY();
    }

    void fill(float z0, float z1, float y0, float y1, Rgba c) const {
        const float xa = std::min(x(z0), x(z1)), xb = std::max(x(z0), x(z1));
        const int ix = static_cast<int>(std::lround(xa)), iy = static_cast<int>(std::lround(y(y1)));
        pic->fill(ix, iy, static_cast<int>(std::lround(xb)) - ix,
                  static_cast<int>(std::lround(y(y0))) - iy, c);
    }
    // Window: glass with a frame of `edge` pixels and a glint in the upper corner.
    void window(float z0, float z1, float y0, float y1, Rgba frameColour) const {
        fill(z0, z1, y0, y1, frameColour);
        const float e = 2.5f / pxPerMetreX(), ey = 2.5f / pxPerMetreY();
        fill(z0 + e, z1 - e, y0 + ey, y1 - ey, glass);
        fill(z0 + e, z1 - e, y1 - ey - 3.f / pxPerMetreY(), y1 - ey, {70, 90, 110});
    }
    void vline(float z, float y0, float y1, Rgba c) const {
        const int ix = static_cast<int>(std::lround(x(z)));
        const int iy = static_cast<int>(std::lround(y(y1)));
        pic->fill(ix, iy, 1, static_cast<int>(std::lround(y(y0))) - iy, c);
    }
    void hline(float z0, float z1, float yy, Rgba c) const {
        const float xa = std::min(x(z0), x(z1)), xb = std::max(x(z0), x(z1));
        pic->fill(static_cast<int>(xa), static_cast<int>(std::lround(y(yy))),
                  static_cast<int>(xb - xa), 1, c);
    }
    // Lettering `height` metres tall whose centre is at z, top at yTopText.
    void text(float z, float yTopText, std::string_view s, float height, Rgba c) const {
        const int sy = std::max(1, static_cast<int>(std::lround(height * pxPerMetreY() / 7)));
        const int sx =
            std::max(1, static_cast<int>(std::lround(sy * pxPerMetreX() / pxPerMetreY())));
        const int w = Picture::textWidth(s, sx);
        pic->text(static_cast<int>(std::lround(x(z) - w / 2.f)),
                  static_cast<int>(std::lround(y(yTopText))), s, sx, sy, c);
    }
    Region region(float z0, float z1, float y0, float y1) const {
        const float xa = x(frontAtLeft ? z1 : z0), xb = x(frontAtLeft ? z0 : z1);
        return {xa, y(y1), xb, y(y0), T};
    }
};

struct Sides {
    Elevation left, right;
    Sides(Picture& p, float zFront, float zRear, float yTop)
        : left{&p, 0, zFront, zRear, yTop, true}, right{&p, 128, zFront, zRear, yTop, false} {}
    template <class F> void paint(F f) const {
        f(left);
        f(right);
    }
    Builder::BoxSkin skin(float z0, float z1, float y0, float y1, Region end, Region top) const {
        return Builder::skin(left.region(z0, z1, y0, y1), end, top, right.region(z0, z1, y0, y1));
    }
};

// Buffers at one end: beam-mounted stocks and heads along Z.
void buffers(Builder& b, float zFace, float direction, float height, float spread) {
    for (float x : {-spread, spread}) {
        const float z0 = zFace, z1 = zFace + direction * 0.42f;
        b.cylinderZ(x, height, std::min(z0, z1 - direction * 0.12f),
                    std::max(z0, z1 - direction * 0.12f), 0.09f, 8, swatch(SDark), nullptr);
        const float h0 = z1 - direction * 0.12f;
        const Region head = swatch(SSilver);
        b.cylinderZ(x, height, std::min(h0, z1), std::max(h0, z1), 0.2f, 12, head, &head);
    }
}

// A wheelset part under `parent`: two wheels and an axle, centred on the part's origin.
void wheelset(Builder& b, const std::string& name, int parent, V3 at, float radius, int material,
              const Region& face) {
    const int part = b.part(name, parent, at);
    b.use(part, material);
    for (float x : {-0.79f, 0.79f})
        b.wheel({x, 0, 0}, radius, 0.07f, 20, face, swatch(SMid));
    b.wheel({0, 0, 0}, 0.08f, 0.72f, 8, swatch(SDark), swatch(SDark));
}

// A two- or three-axle bogie with its frames; wheelsets as child parts.
int bogie(Builder& b, const std::string& name, int parent, float z, float wheelRadius,
          std::initializer_list<float> axles, float halfLength, int material, int index) {
    const int part = b.part(name, parent, {0, 0, z});
    b.use(part, material);
    const float frameTop = wheelRadius * 1.9f, frameBottom = wheelRadius * 0.62f;
    for (float side : {-1.f, 1.f}) {
        const float x0 = side < 0 ? -1.12f : 0.98f;
        const auto s = Builder::skin(bogieFrame, swatch(SDark), swatch(SDark), bogieFrame);
        b.box({x0, frameBottom, -halfLength}, {x0 + 0.14f, frameTop, halfLength}, s);
    }
    b.box({-0.98f, frameTop - 0.3f, -0.35f}, {0.98f, frameTop - 0.02f, 0.35f}, swatch(SDark));
    int n = 1;
    for (float a : axles)
        wheelset(b, "WHEELS" + std::to_string(index) + std::to_string(n++), part,
                 {0, wheelRadius, a}, wheelRadius, material, wheelFace);
    return part;
}

} // namespace

// A road-switcher diesel: short nose at the front, cab, long hood, two three-axle bogies.
Vehicle dieselLocomotive() {
    Vehicle v;
    v.name = "CR_D400";
    v.displayName = "CR D400 diesel";
    v.type = "Engine";
    v.engine = true;
    v.texture = "CR_D400.ace";
    v.width = 2.9f;
    v.height = 4.15f;
    v.mass = 112;

    const Rgba blue{28, 72, 156}, roof{100, 104, 112};
    Picture p(T, T, midGrey);
    paintCommonSwatches(p, blue, roof, yellow);
    paintWheel(p, wheelFace, {54, 54, 58}, false);
    paintBogieFrame(p, bogieFrame, {54, 56, 60}, {0.16f, 0.5f, 0.84f});

    const Sides sides(p, 10.2f, -10.2f, 5.0f);
    sides.paint([&](const Elevation& e) {
        e.fill(-10.2f, 10.2f, 0, 5, blue);
        e.fill(-9.6f, 9.6f, 1.05f, 1.3f, black); // frame / walkway edge
        e.fill(-9.6f, 9.6f, 1.05f, 1.1f, yellow);
        // Long hood: doors, grilles, stripe, name.
        e.fill(-9.3f, 3.6f, 1.45f, 1.62f, white);
        for (float z = -8.9f; z < 3.4f; z += 1.28f)
            e.vline(z, 1.75f, 3.5f, shade(blue, 0.65f));
        e.fill(-8.9f, -6.2f, 2.55f, 3.45f, darkGrey);
        for (float yy = 2.62f; yy < 3.4f; yy += 0.1f)
            e.hline(-8.85f, -6.25f, yy, black);
        e.fill(1.2f, 3.3f, 2.7f, 3.45f, darkGrey);
        for (float yy = 2.76f; yy < 3.4f; yy += 0.1f)
            e.hline(1.25f, 3.25f, yy, black);
        e.text(-2.6f, 3.15f, "CRETES", 0.95f, white);
        // Cab: two windows, door, number.
        e.fill(3.6f, 6.2f, 1.45f, 1.62f, white);
        e.window(3.95f, 4.85f, 2.72f, 3.6f, lightGrey);
        e.window(5.1f, 5.9f, 2.72f, 3.6f, lightGrey);
        e.vline(3.85f, 1.7f, 3.65f, shade(blue, 0.6f));
        e.vline(4.95f, 1.7f, 3.65f, shade(blue, 0.6f));
        e.text(4.9f, 2.45f, "D 400", 0.42f, white);
        // Nose with a yellow warning end and a stripe.
        e.fill(6.2f, 9.3f, 1.45f, 1.62f, white);
        e.fill(8.2f, 9.3f, 1.3f, 2.9f, yellow);
        e.vline(7.4f, 1.7f, 2.8f, shade(blue, 0.65f));
        // Bogie area below the frame stays dark.
        e.fill(-10.2f, 10.2f, 0, 1.05f, darkGrey);
    });
    // Ends: nose front, cab front, hood rear.
    const Region noseEnd = pixels(0, 256, 128, 128), cabEnd = pixels(128, 256, 128, 128),
                 hoodEnd = pixels(256, 256, 128, 128);
    p.fill(0, 256, 128, 128, yellow);
    p.disc(64, 290, 9, white);
    p.disc(64, 290, 6, {255, 250, 210});
    p.fill(128, 256, 128, 128, blue);
    p.fill(140, 262, 46, 40, lightGrey);
    p.fill(143, 265, 40, 34, glass);
    p.fill(198, 262, 46, 40, lightGrey);
    p.fill(201, 265, 40, 34, glass);
    p.fill(256, 256, 128, 128, blue);
    p.fill(256, 340, 128, 44, yellow);
    for (int yy = 266; yy < 330; yy += 6)
        p.fill(276, yy, 88, 3, darkGrey);

    Builder b(v.model);
    const int mat = b.material(v.texture);
    const int main = b.part("MAIN", -1, {});
    b.use(main, mat);
    b.box({-1.45f, 1.05f, -9.6f}, {1.45f, 1.3f, 9.6f},
          sides.skin(-9.6f, 9.6f, 1.05f, 1.3f, swatch(SBlack), swatch(SDark)));
    b.box({-1.05f, 1.3f, -9.3f}, {1.05f, 3.65f, 3.6f},
          sides.skin(-9.3f, 3.6f, 1.3f, 3.65f, hoodEnd, swatch(SRoof)));
    b.box({-1.4f, 1.3f, 3.6f}, {1.4f, 3.95f, 6.2f},
          sides.skin(3.6f, 6.2f, 1.3f, 3.95f, cabEnd, swatch(SRoof)));
    b.box({-1.48f, 3.95f, 3.5f}, {1.48f, 4.12f, 6.3f}, swatch(SRoof)); // cab roof
    b.box({-1.05f, 1.3f, 6.2f}, {1.05f, 2.9f, 9.3f},
          sides.skin(6.2f, 9.3f, 1.3f, 2.9f, noseEnd, swatch(SRoof)));
    // Fuel tank, exhaust, fans, horn.
    b.box({-1.15f, 0.5f, -3.0f}, {1.15f, 1.05f, 3.0f}, swatch(SDark));
    const Region dark = swatch(SDark), black_ = swatch(SBlack), grey = swatch(SMid);
    b.cylinderY(0, 0.6f, 3.65f, 3.95f, 0.22f, 0.2f, 10, black_, &black_);
    for (float z : {-7.9f, -6.6f})
        b.cylinderY(0, z, 3.65f, 3.8f, 0.55f, 0.5f, 14, dark, &black_);
    b.cylinderZ(0.4f, 4.2f, 4.5f, 5.1f, 0.06f, 6, grey, nullptr);
    // Buffer beams and buffers.
    for (float dir : {1.f, -1.f}) {
        const float z0 = dir > 0 ? 9.6f : -9.8f;
        b.box({-1.45f, 0.8f, z0}, {1.45f, 1.3f, z0 + 0.2f}, swatch(SYellow));
        buffers(b, dir * 9.8f, dir, 1.05f, 0.875f);
    }
    // Handrails along the walkway, with posts.
    const Region rail = swatch(SWhite);
    for (float x : {-1.38f, 1.38f}) {
        for (auto [z0, z1] : {std::pair{-9.5f, 3.55f}, std::pair{6.25f, 9.5f}}) {
            b.box({x - 0.025f, 2.2f, z0}, {x + 0.025f, 2.25f, z1}, rail);
            for (float z = z0; z <= z1 + 0.01f; z += (z1 - z0) / std::round((z1 - z0) / 1.6f))
                b.box({x - 0.02f, 1.3f, z - 0.02f}, {x + 0.02f, 2.2f, z + 0.02f}, rail);
        }
    }
    bogie(b, "BOGIE1", main, 6.3f, 0.5f, {-1.7f, 0, 1.7f}, 2.45f, mat, 1);
    bogie(b, "BOGIE2", main, -6.3f, 0.5f, {-1.7f, 0, 1.7f}, 2.45f, mat, 2);
    v.picture = std::move(p);
    return v;
}

// A 4-6-0 tender engine: chimney at the front, boiler, dome, safety valves, cab at the rear,
// a four-wheel leading bogie and three coupled driving wheels with rods.
Vehicle steamLocomotive() {
    Vehicle v;
    v.name = "CR_460";
    v.displayName = "CR 460 steam";
    v.type = "Engine";
    v.engine = true;
    v.texture = "CR_460.ace";
    v.width = 2.8f;
    v.height = 4.05f;
    v.mass = 78;

    const Rgba green{22, 96, 52}, lining{232, 176, 64}, roofBlack{34, 34, 36};
    Picture p(T, T, black);
    paintCommonSwatches(p, green, roofBlack, lining);
    paintWheel(p, wheelFace, green, true);
    paintWheel(p, spokedFace, green, true);
    paintBogieFrame(p, bogieFrame, black, {0.25f, 0.75f});

    const Sides sides(p, 6.6f, -5.8f, 4.5f);
    sides.paint([&](const Elevation& e) {
        e.fill(-5.8f, 6.6f, 0, 4.5f, black);
        // Cab side: green panel, lined, with the opening and a window, the number below.
        e.fill(-5.6f, -3.4f, 1.3f, 3.7f, green);
        e.fill(-5.5f, -3.5f, 1.4f, 1.46f, lining);
        e.fill(-5.2f, -4.45f, 1.55f, 3.35f, {14, 14, 16}); // cab opening
        e.window(-4.25f, -3.6f, 2.75f, 3.35f, brass);
        e.text(-3.92f, 2.3f, "460", 0.4f, brass);
        // Firebox and splashers are green with lining.
        e.fill(-3.4f, -1.5f, 1.55f, 3.2f, green);
        e.hline(-3.35f, -1.55f, 3.1f, lining);
        e.fill(-3.4f, 6.0f, 1.3f, 1.55f, black); // valance
        e.hline(-3.4f, 6.0f, 1.36f, lining);
        e.fill(-3.4f, 2.9f, 1.55f, 2.0f, green); // splashers
        e.hline(-3.4f, 2.9f, 1.98f, brass);
        // Buffer beam.
        e.fill(6.0f, 6.2f, 0.9f, 1.5f, bufferRed);
    });
    // Boiler wrap: green with black-and-orange bands (u along the boiler, v around it).
    const Region boilerWrap = pixels(0, 256, 256, 64);
    p.fill(0, 256, 256, 64, green);
    for (int x : {8, 80, 150, 226}) {
        p.fill(x, 256, 6, 64, black);
        p.fill(x + 1, 256, 1, 64, lining);
        p.fill(x + 4, 256, 1, 64, lining);
    }
    const Region smokeboxDoor = pixels(256, 256, 128, 128);
    p.fill(256, 256, 128, 128, black);
    p.ring(320, 320, 50, 56, darkGrey);
    p.disc(320, 320, 8, lightGrey);
    p.line(280, 320, 360, 320, 4, darkGrey);
    const Region cabFront = pixels(384, 256, 128, 128);
    p.fill(384, 256, 128, 128, green);
    p.disc(416, 290, 12, glass);
    p.disc(480, 290, 12, glass);

    Builder b(v.model);
    const int mat = b.material(v.texture);
    const int main = b.part("MAIN", -1, {});
    b.use(main, mat);
    const Region blackR = swatch(SBlack), greenR = swatch(SBody), brassR = swatch(SBrass),
                 darkR = swatch(SDark), silverR = swatch(SSilver);
    // Frames between the wheels, running plate and valance, buffer beam, drag box.
    b.box({-0.62f, 0.55f, -5.6f}, {0.62f, 1.45f, 6.0f}, blackR);
    b.box({-1.35f, 1.3f, -3.4f}, {1.35f, 1.55f, 6.0f},
          sides.skin(-3.4f, 6.0f, 1.3f, 1.55f, blackR, blackR));
    b.box({-1.35f, 0.9f, 6.0f}, {1.35f, 1.5f, 6.2f},
          sides.skin(6.0f, 6.2f, 0.9f, 1.5f, swatch(SRed), swatch(SRed)));
    buffers(b, 6.2f, 1, 1.1f, 0.875f);
    // Splashers over the driving wheels.
    for (float x : {-1.3f, 1.0f})
        b.box({x, 1.55f, -3.4f}, {x + 0.3f, 2.0f, 2.9f},
              sides.skin(-3.4f, 2.9f, 1.55f, 2.0f, greenR, greenR));
    // Boiler, smokebox, firebox.
    b.cylinderZ(0, 2.55f, -3.2f, 3.9f, 0.78f, 24, boilerWrap, nullptr);
    b.cylinderZ(0, 2.55f, 3.9f, 5.75f, 0.84f, 24, blackR, &smokeboxDoor);
    b.box({-0.6f, 1.55f, 3.9f}, {0.6f, 2.1f, 5.75f}, blackR); // smokebox saddle
    b.box({-0.82f, 1.55f, -3.4f}, {0.82f, 3.2f, -1.5f},
          sides.skin(-3.4f, -1.5f, 1.55f, 3.2f, greenR, greenR));
    // Chimney, dome, safety valves, whistle.
    b.cylinderY(0, 5.05f, 3.2f, 3.95f, 0.26f, 0.22f, 14, blackR, nullptr);
    b.cylinderY(0, 5.05f, 3.9f, 4.02f, 0.3f, 0.3f, 14, blackR, &blackR);
    b.cylinderY(0, 0.7f, 3.1f, 3.62f, 0.44f, 0.3f, 14, brassR, &brassR);
    b.cylinderY(0, -2.45f, 3.1f, 3.55f, 0.2f, 0.14f, 10, brassR, &brassR);
    b.cylinderY(0, -2.95f, 3.15f, 3.45f, 0.05f, 0.05f, 6, brassR, &brassR);
    // Cab with its roof.
    b.box({-1.32f, 1.3f, -5.6f}, {1.32f, 3.7f, -3.4f},
          sides.skin(-5.6f, -3.4f, 1.3f, 3.7f, cabFront, blackR));
    b.roof(1.42f, 3.7f, 4.02f, -5.8f, -3.3f, 8, blackR, blackR);
    // Outside cylinders, slide bars and rods.
    for (float x : {-1.05f, 1.05f}) {
        b.cylinderZ(x, 1.05f, 3.95f, 5.35f, 0.34f, 14, blackR, &darkR);
        const float out = x < 0 ? -1 : 1;
        b.box({out * 0.98f - 0.025f, 1.0f, 2.2f}, {out * 0.98f + 0.025f, 1.1f, 3.95f}, silverR);
        b.box({out * 0.93f - 0.025f, 0.74f, -2.45f}, {out * 0.93f + 0.025f, 0.86f, 1.85f},
              silverR); // coupling rod
        b.box({out * 0.97f - 0.02f, 0.82f, -0.35f}, {out * 0.97f + 0.02f, 0.95f, 2.3f},
              silverR); // connecting rod
    }
    b.box({-0.5f, 1.25f, -5.9f}, {0.5f, 1.4f, -5.6f}, darkR); // drawbar
    // Leading bogie and the coupled wheels.
    const int lead = b.part("BOGIE1", main, {0, 0, 4.65f});
    b.use(lead, mat);
    b.box({-0.55f, 0.3f, -1.0f}, {0.55f, 0.75f, 1.0f}, darkR);
    int n = 1;
    for (float z : {-0.72f, 0.72f})
        wheelset(b, "WHEELS1" + std::to_string(n++), lead, {0, 0.48f, z}, 0.48f, mat, spokedFace);
    n = 1;
    for (float z : {1.85f, -0.3f, -2.45f})
        wheelset(b, "WHEELS2" + std::to_string(n++), main, {0, 0.95f, z}, 0.95f, mat, spokedFace);
    v.picture = std::move(p);
    return v;
}

// Its tender: coal at the front (next to the cab), water tank, outside frames, six wheels.
Vehicle steamTender() {
    Vehicle v;
    v.name = "CR_460_Tender";
    v.displayName = "CR 460 tender";
    v.type = "Tender";
    v.texture = "CR_460T.ace";
    v.width = 2.7f;
    v.height = 3.4f;
    v.mass = 44;

    const Rgba green{22, 96, 52}, lining{232, 176, 64};
    Picture p(T, T, black);
    paintCommonSwatches(p, green, black, lining);
    paintWheel(p, wheelFace, green, true);
    paintBogieFrame(p, bogieFrame, black, {0.18f, 0.5f, 0.82f});

    const Sides sides(p, 4.05f, -4.05f, 4.5f);
    sides.paint([&](const Elevation& e) {
        e.fill(-4.05f, 4.05f, 0, 4.5f, black);
        e.fill(-3.6f, 3.3f, 1.3f, 3.05f, green);
        e.fill(-3.45f, 3.15f, 1.45f, 2.9f, lining); // lined panel
        e.fill(-3.38f, 3.08f, 1.52f, 2.83f, green);
        e.text(-0.15f, 2.55f, "CRETES", 0.62f, lining);
        e.fill(-3.6f, 3.3f, 3.05f, 3.3f, black); // coal rails
        e.fill(-3.6f, 3.3f, 1.15f, 1.3f, black);
        e.fill(-4.05f, -3.6f, 0.85f, 1.45f, bufferRed);
    });
    Builder b(v.model);
    const int mat = b.material(v.texture);
    const int main = b.part("MAIN", -1, {});
    b.use(main, mat);
    const Region blackR = swatch(SBlack), greenR = swatch(SBody), darkR = swatch(SDark);
    b.box({-1.32f, 1.15f, -3.6f}, {1.32f, 3.3f, 3.3f},
          sides.skin(-3.6f, 3.3f, 1.15f, 3.3f, greenR, blackR));
    // Water filler at the back; the coal is a freight shape of its own (below).
    b.cylinderY(0, -2.6f, 3.3f, 3.5f, 0.3f, 0.3f, 12, blackR, &darkR);
    b.box({-1.3f, 1.3f, 3.3f}, {1.3f, 2.6f, 3.55f}, blackR); // front plate and tool boxes
    // Outside frames with axle boxes.
    for (float x0 : {-1.3f, 1.14f}) {
        const auto s = Builder::skin(bogieFrame, blackR, blackR, bogieFrame);
        b.box({x0, 0.45f, -3.5f}, {x0 + 0.16f, 1.15f, 3.5f}, s);
    }
    b.box({-1.32f, 0.85f, -3.8f}, {1.32f, 1.45f, -3.6f}, swatch(SRed));
    buffers(b, -3.8f, -1, 1.1f, 0.875f);
    b.box({-0.5f, 1.25f, 3.55f}, {0.5f, 1.4f, 3.9f}, darkR); // drawbar
    int n = 1;
    for (float z : {2.3f, 0.f, -2.3f})
        wheelset(b, "WHEELS1" + std::to_string(n++), main, {0, 0.6f, z}, 0.6f, mat, wheelFace);

    // The coal, heaped at the front and sloping to the tank top, as the simulator's tenders
    // carry it: a shape standing on its own origin, drawn full on the tank top (3.3 m), painted
    // from the tender's texture.
    Freight coal;
    coal.shape = "CR_460_Coal.s";
    coal.texture = v.texture;
    coal.fullHeight = 3.3f;
    coal.emptyHeight = 2.6f;
    Builder c(coal.model);
    const int coalMaterial = c.material(v.texture);
    c.use(c.part("COAL", -1, {}), coalMaterial);
    const Region coalR = swatch(SCoal);
    c.box({-1.15f, 0, 0.2f}, {1.15f, 0.25f, 3.1f}, coalR);
    c.box({-0.95f, 0.25f, 0.7f}, {0.95f, 0.42f, 2.6f}, coalR);
    coal.picture = p;
    v.freight.push_back(std::move(coal));
    v.picture = std::move(p);
    return v;
}

namespace {

struct CoachLivery {
    Rgba lower, upper, lining;
    const char* classMark;
    const char* number;
};

Vehicle coach(Vehicle v, const CoachLivery& livery) {
    v.type = "Carriage";
    v.width = 2.85f;
    v.height = 3.95f;
    v.mass = 34;
    Picture p(T, T, midGrey);
    const Rgba roof{84, 86, 92};
    paintCommonSwatches(p, livery.lower, roof, livery.upper);
    paintWheel(p, wheelFace, {58, 58, 62}, false);
    paintBogieFrame(p, bogieFrame, {50, 50, 54}, {0.2f, 0.8f});

    const Sides sides(p, 10.45f, -10.45f, 4.2f);
    sides.paint([&](const Elevation& e) {
        e.fill(-10.45f, 10.45f, 0, 4.2f, livery.lower);
        e.fill(-10.f, 10.f, 2.2f, 3.45f, livery.upper);
        e.hline(-10.f, 10.f, 2.2f, livery.lining);
        e.hline(-10.f, 10.f, 3.3f, livery.lining);
        e.fill(-10.f, 10.f, 1.2f, 1.28f, black);
        // Doors with droplights at each end, then a row of windows.
        for (float z : {-9.35f, 9.35f}) {
            e.vline(z - 0.42f, 1.3f, 3.4f, shade(livery.lower, 0.5f));
            e.vline(z + 0.42f, 1.3f, 3.4f, shade(livery.lower, 0.5f));
            e.window(z - 0.28f, z + 0.28f, 2.45f, 3.15f, silver);
            e.fill(z + 0.25f, z + 0.32f, 1.95f, 2.05f, silver); // handle
        }
        for (int k = 0; k < 10; ++k) {
            const float z = -8.35f + 1.67f * static_cast<float>(k);
            e.window(z, z + 1.37f, 2.35f, 3.18f, silver);
        }
        e.text(0.f, 1.95f, "CRETES", 0.42f, livery.lining);
        e.text(-5.6f, 1.9f, livery.number, 0.3f, white);
        for (float z : {-8.0f, 8.0f})
            e.text(z, 1.95f, livery.classMark, 0.45f, yellow);
        e.fill(-10.45f, 10.45f, 0, 1.2f, darkGrey);
    });
    const Region end = pixels(0, 256, 128, 128);
    p.fill(0, 256, 128, 128, livery.lower);
    p.fill(40, 266, 48, 110, black); // gangway
    p.fill(10, 272, 20, 24, glass);
    p.fill(98, 272, 20, 24, glass);
    p.fill(0, 368, 128, 16, darkGrey);

    Builder b(v.model);
    const int mat = b.material(v.texture);
    const int main = b.part("MAIN", -1, {});
    b.use(main, mat);
    const Region roofR = swatch(SRoof), blackR = swatch(SBlack), darkR = swatch(SDark);
    b.box({-1.42f, 1.2f, -10.f}, {1.42f, 3.45f, 10.f},
          sides.skin(-10.f, 10.f, 1.2f, 3.45f, end, roofR));
    b.roof(1.42f, 3.45f, 3.95f, -10.f, 10.f, 12, roofR, end);
    for (float z : {-6.f, -2.f, 2.f, 6.f}) // roof ventilators
        b.cylinderY(0, z, 3.9f, 4.0f, 0.16f, 0.13f, 10, darkR, &darkR);
    b.box({-1.3f, 0.95f, -9.8f}, {1.3f, 1.2f, 9.8f}, blackR); // solebars
    b.box({-1.0f, 0.55f, -2.2f}, {1.0f, 0.95f, 2.2f}, darkR); // battery boxes
    b.box({-0.4f, 0.7f, -4.6f}, {0.4f, 0.95f, -3.0f}, darkR); // dynamo
    for (float dir : {1.f, -1.f}) {
        const float z0 = dir > 0 ? 9.8f : -10.0f;
        b.box({-1.3f, 0.85f, z0}, {1.3f, 1.2f, z0 + 0.2f}, blackR);
        buffers(b, dir * 10.0f, dir, 1.05f, 0.875f);
        const float g0 = dir > 0 ? 10.f : -10.28f;
        b.box({-0.55f, 1.25f, g0}, {0.55f, 3.35f, g0 + 0.28f}, blackR); // gangway bellows
    }
    bogie(b, "BOGIE1", main, 7.2f, 0.46f, {-1.25f, 1.25f}, 1.75f, mat, 1);
    bogie(b, "BOGIE2", main, -7.2f, 0.46f, {-1.25f, 1.25f}, 1.75f, mat, 2);
    v.picture = std::move(p);
    return v;
}

} // namespace

Vehicle firstClassCoach() {
    Vehicle v;
    v.name = "CR_CoachA1";
    v.displayName = "CR first class coach";
    v.texture = "CR_A1.ace";
    return coach(std::move(v), {{24, 84, 52}, {228, 218, 178}, {214, 172, 72}, "1", "A8 1204"});
}

Vehicle secondClassCoach() {
    Vehicle v;
    v.name = "UKSecond";
    v.displayName = "CR second class coach";
    v.texture = "CR_B2.ace";
    return coach(std::move(v), {{118, 26, 36}, {118, 26, 36}, {224, 184, 80}, "2", "B10 5531"});
}

// A two-axle cattle van: planked lower sides and slatted upper sides whose gaps are cut out
// of the texture (an alpha-tested material), a sliding door, a curved roof.
Vehicle cattleVan() {
    Vehicle v;
    v.name = "CRVan_Cattle";
    v.displayName = "CR cattle van";
    v.type = "Freight";
    v.texture = "CR_Cattle.ace";
    v.width = 2.8f;
    v.height = 3.8f;
    v.mass = 11;

    const Rgba oxide{128, 54, 36}, roof{150, 150, 146};
    Picture p(T, T, midGrey);
    paintCommonSwatches(p, oxide, roof, white);
    paintWheel(p, wheelFace, {50, 50, 54}, false);
    paintBogieFrame(p, bogieFrame, black, {0.5f});

    const Sides sides(p, 4.5f, -4.5f, 4.0f);
    const float slats[] = {2.2f, 2.36f, 2.58f, 2.74f, 2.96f, 3.12f};
    sides.paint([&](const Elevation& e) {
        e.fill(-4.5f, 4.5f, 0, 4.0f, oxide);
        for (float yy = 1.45f; yy < 2.2f; yy += 0.18f) // planks of the lower side
            e.hline(-4.f, 4.f, yy, shade(oxide, 0.7f));
        // Upper side: three slats with open gaps between and above them.
        for (int k = 0; k < 3; ++k)
            e.hline(-4.f, 4.f, slats[2 * k + 1] - 0.02f, shade(oxide, 0.75f));
        // Frame: corner posts, door posts, diagonal braces.
        for (float z : {-4.f, -0.95f, 0.95f, 3.85f})
            e.fill(z, z + 0.15f, 1.25f, 3.3f, shade(oxide, 0.8f));
        e.fill(-4.f, 4.f, 3.28f, 3.36f, shade(oxide, 0.8f));
        e.fill(-0.95f, 0.95f, 1.25f, 2.2f, shade(oxide, 1.12f)); // door
        e.fill(-1.0f, 1.0f, 2.16f, 2.22f, darkGrey);             // door rail
        e.text(-2.5f, 1.95f, "CR", 0.3f, white);
        e.text(-2.5f, 1.6f, "21 4578", 0.2f, white);
        e.text(2.45f, 1.95f, "CRETES", 0.22f, white);
        e.text(2.45f, 1.62f, "10 T", 0.2f, white);
        e.fill(-4.5f, 4.5f, 0, 1.0f, darkGrey);
    });
    // Gaps between the slats are cut out; they show what lies behind.
    for (const Elevation* e : {&sides.left, &sides.right})
        for (int k = 0; k < 3; ++k) {
            const float gapBottom = slats[2 * k + 1], gapTop = k < 2 ? slats[2 * k + 2] : 3.28f;
            for (auto [z0, z1] :
                 {std::pair{-3.85f, -0.95f}, std::pair{-0.8f, 0.95f}, std::pair{1.1f, 3.85f}}) {
                const int x0 = static_cast<int>(std::lround(std::min(e->x(z0), e->x(z1))));
                const int x1 = static_cast<int>(std::lround(std::max(e->x(z0), e->x(z1))));
                const int y0 = static_cast<int>(std::lround(e->y(gapTop)));
                const int y1 = static_cast<int>(std::lround(e->y(gapBottom)));
                p.clear(x0, y0, x1 - x0, y1 - y0);
            }
        }
    const Region end = pixels(0, 256, 128, 128);
    p.fill(0, 256, 128, 128, oxide);
    for (int yy = 262; yy < 384; yy += 10)
        p.fill(0, yy, 128, 1, shade(oxide, 0.7f));

    Builder b(v.model);
    const int mat = b.material(v.texture);
    const int walls = b.material(v.texture, "TexDiff", true);
    const int main = b.part("MAIN", -1, {});
    b.use(main, mat);
    const Region roofR = swatch(SRoof), blackR = swatch(SBlack), darkR = swatch(SDark),
                 floor = swatch(SFloor);
    b.box({-1.3f, 1.0f, -4.f}, {1.3f, 1.25f, 4.f}, blackR); // solebars
    b.box({-1.3f, 1.25f, -4.f}, {1.3f, 1.3f, 4.f}, floor);  // floor
    for (float z : {-4.f, 3.94f})                           // planked ends
        b.box({-1.35f, 1.3f, z}, {1.35f, 3.3f, z + 0.06f}, end);
    b.roof(1.42f, 3.3f, 3.75f, -4.15f, 4.15f, 10, roofR, end);
    for (float dir : {1.f, -1.f}) {
        const float z0 = dir > 0 ? 4.0f : -4.2f;
        b.box({-1.3f, 0.85f, z0}, {1.3f, 1.25f, z0 + 0.2f}, blackR);
        buffers(b, dir * 4.2f, dir, 1.05f, 0.875f);
    }
    // Axle guards and leaf springs at each axle.
    for (float z : {-2.5f, 2.5f})
        for (float x : {-1.02f, 0.9f}) {
            b.box({x, 0.25f, z - 0.35f}, {x + 0.12f, 1.0f, z + 0.35f}, darkR);
            b.box({x - 0.01f, 0.9f, z - 0.85f}, {x + 0.13f, 1.02f, z + 0.85f}, blackR);
        }
    // Side walls: thin boxes, so that each face has its own side of the texture.
    b.use(main, walls);
    b.box({-1.38f, 1.25f, -4.f}, {-1.33f, 3.3f, 4.f},
          Builder::skin(sides.left.region(-4.f, 4.f, 1.25f, 3.3f), blackR, blackR,
                        sides.right.region(-4.f, 4.f, 1.25f, 3.3f), false, false));
    b.box({1.33f, 1.25f, -4.f}, {1.38f, 3.3f, 4.f},
          Builder::skin(sides.left.region(-4.f, 4.f, 1.25f, 3.3f), blackR, blackR,
                        sides.right.region(-4.f, 4.f, 1.25f, 3.3f), false, false));
    int n = 1;
    for (float z : {2.5f, -2.5f})
        wheelset(b, "WHEELS1" + std::to_string(n++), main, {0, 0.5f, z}, 0.5f, mat, wheelFace);
    v.picture = std::move(p);
    return v;
}

// A covered van of a pack whose cars share one body shape; each car's running number is
// painted on a shape of its own, two thin panels laid on the sides over a blank patch of the
// body, as such packs are made.
Vehicle boxVan(int number) {
    Vehicle v;
    v.name = "CRBox_" + std::to_string(number);
    v.displayName = "CR box van " + std::to_string(number);
    v.type = "Freight";
    v.texture = "CR_Box.ace";
    v.width = 2.8f;
    v.height = 3.9f;
    v.mass = 12;

    const Rgba body{92, 96, 84}, roof{150, 150, 146}, letters{236, 232, 214};
    Picture p(T, T, midGrey);
    paintCommonSwatches(p, body, roof, letters);
    paintWheel(p, wheelFace, {50, 50, 54}, false);

    const Sides sides(p, 4.6f, -4.6f, 4.0f);
    sides.paint([&](const Elevation& e) {
        e.fill(-4.6f, 4.6f, 0, 4.0f, body);
        for (float yy = 1.45f; yy < 3.4f; yy += 0.2f) // planks
            e.hline(-4.3f, 4.3f, yy, shade(body, 0.78f));
        for (float z : {-4.3f, -0.9f, 0.75f, 4.15f}) // corner and door posts
            e.fill(z, z + 0.15f, 1.3f, 3.4f, shade(body, 0.7f));
        e.fill(-0.75f, 0.75f, 1.3f, 3.3f, shade(body, 1.1f)); // sliding door
        e.fill(-0.8f, 0.8f, 3.26f, 3.32f, darkGrey);          // door rail
        e.text(2.45f, 3.05f, "CRETES", 0.42f, letters);
        e.text(-2.5f, 3.05f, "20 T", 0.3f, letters);
        e.fill(-4.6f, 4.6f, 0, 1.3f, black);
    });
    const Region end = pixels(0, 256, 128, 128);
    p.fill(0, 256, 128, 128, body);
    for (int yy = 262; yy < 384; yy += 12)
        p.fill(0, yy, 128, 1, shade(body, 0.75f));

    Builder b(v.model);
    const int mat = b.material(v.texture);
    const int main = b.part("MAIN", -1, {});
    b.use(main, mat);
    const Region roofR = swatch(SRoof), blackR = swatch(SBlack), darkR = swatch(SDark);
    b.box({-1.38f, 1.3f, -4.3f}, {1.38f, 3.4f, 4.3f},
          sides.skin(-4.3f, 4.3f, 1.3f, 3.4f, end, roofR));
    b.roof(1.44f, 3.4f, 3.9f, -4.4f, 4.4f, 10, roofR, end);
    b.box({-1.3f, 1.0f, -4.3f}, {1.3f, 1.3f, 4.3f}, blackR); // solebars
    for (float dir : {1.f, -1.f}) {
        const float z0 = dir > 0 ? 4.3f : -4.5f;
        b.box({-1.3f, 0.85f, z0}, {1.3f, 1.3f, z0 + 0.2f}, blackR);
        buffers(b, dir * 4.5f, dir, 1.05f, 0.875f);
    }
    for (float z : {-2.6f, 2.6f})
        for (float x : {-1.02f, 0.9f}) {
            b.box({x, 0.25f, z - 0.35f}, {x + 0.12f, 1.0f, z + 0.35f}, darkR);
            b.box({x - 0.01f, 0.9f, z - 0.85f}, {x + 0.13f, 1.02f, z + 0.85f}, blackR);
        }
    int n = 1;
    for (float z : {2.6f, -2.6f})
        wheelset(b, "WHEELS1" + std::to_string(n++), main, {0, 0.5f, z}, 0.5f, mat, wheelFace);
    v.picture = std::move(p);

    // The number: body-coloured panels 1.5 cm proud of the sides, toward the rear, with the
    // figures in the top strip of their own texture (128 pixels for the panel's 3.2 m).
    Freight plate;
    plate.shape = "CRBox_N" + std::to_string(number) + ".s";
    plate.texture = "CRBox_N" + std::to_string(number) + ".ace";
    plate.quoted = number % 2 == 0;
    Picture numbers(128, 128, body);
    const std::string figures = std::to_string(number);
    const int width = Picture::textWidth(figures, 5);
    numbers.text((128 - width) / 2, 3, figures, 5, 4, letters);
    plate.picture = std::move(numbers);
    Builder nb(plate.model);
    const int plateMaterial = nb.material(plate.texture);
    nb.use(nb.part("NUMBER", -1, {}), plateMaterial);
    const Region figuresR{0, 0, 128, 32, 128}, blank{100, 100, 120, 120, 128};
    const auto skin = Builder::skin(figuresR, blank, blank, figuresR, false, true);
    nb.box({-1.395f, 1.5f, -4.1f}, {-1.38f, 2.3f, -0.9f}, skin);
    nb.box({1.38f, 1.5f, -4.1f}, {1.395f, 2.3f, -0.9f}, skin);
    v.freight.push_back(std::move(plate));
    return v;
}

V3 freightOffset(const Vehicle& v, const Freight& f) {
    return {0, v.type == "Tender" ? f.fullHeight : 0.f, 0};
}

std::vector<Placed> drawnParts(const Vehicle& v) {
    std::vector<Placed> parts{{&v.model, &v.picture, {}}};
    for (const Freight& f : v.freight)
        parts.push_back({&f.model, &f.picture, freightOffset(v, f)});
    return parts;
}

std::vector<Vehicle> sampleVehicles() {
    std::vector<Vehicle> all;
    all.push_back(dieselLocomotive());
    all.push_back(steamLocomotive());
    all.push_back(steamTender());
    all.push_back(firstClassCoach());
    all.push_back(secondClassCoach());
    all.push_back(cattleVan());
    all.push_back(boxVan(4101));
    all.push_back(boxVan(4102));
    // The length given to the simulator runs from coupling to coupling, a little beyond the
    // buffer heads; the thumbnail's width follows from it and so keeps a small margin.
    for (Vehicle& v : all) {
        V3 lo, hi;
        v.model.bounds(lo, hi);
        v.length = std::round((hi.z - lo.z + 0.6f) * 10) / 10;
    }
    return all;
}

} // namespace sample
