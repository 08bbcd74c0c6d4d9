#pragma once

// Small vector and matrix types for the renderer.
//
// Matrices follow the simulator's (and Direct3D's) row-vector convention: a point is a row
// vector multiplied on the left, p' = p × M, so the translation sits in the fourth row and
// A × B applies A first, then B. Elements are stored row by row, 16 singles.

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace render {

// A float turned into an integer type without undefined behaviour: rounded towards zero,
// held inside the type's range, NaN giving `ifNaN`. Every float-to-integer conversion of the
// renderer goes through here, because hostile shapes reach it with infinities and NaN.
template <typename Int> Int saturatingCast(double value, Int ifNaN = 0) {
    if (std::isnan(value))
        return ifNaN;
    // The bounds are exact doubles for every type up to 32 bits; for 64 bits the top bound
    // rounds up to 2^63, so it is compared with >= and answered without converting.
    constexpr double lo = double(std::numeric_limits<Int>::min());
    constexpr double hi = double(std::numeric_limits<Int>::max());
    if (value <= lo)
        return std::numeric_limits<Int>::min();
    if (value >= hi)
        return std::numeric_limits<Int>::max();
    return Int(value);
}

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

struct Vec4 {
    float x = 0, y = 0, z = 0, w = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(Vec3 a) {
    return std::sqrt(dot(a, a));
}
// A zero vector stays zero rather than turning into NaNs.
inline Vec3 normalize(Vec3 a) {
    const float len = length(a);
    return len > 0 ? a * (1.0f / len) : Vec3{};
}

struct Mat4 {
    // m[row * 4 + column]
    std::array<float, 16> m{};

    float& at(int row, int column) { return m[row * 4 + column]; }
    float at(int row, int column) const { return m[row * 4 + column]; }

    static Mat4 identity();
    static Mat4 rotationY(float angle);
    static Mat4 translation(Vec3 t);
    // The simulator's 3×4 matrix: three basis rows then the translation row.
    static Mat4 fromRows3x4(const std::array<float, 12>& rows);

    friend bool operator==(const Mat4&, const Mat4&) = default;
};

// The three matrix operations the preview calls, in the output-argument form it uses.
// out = identity.
void matrixIdentity(Mat4& out);
// out = a × b (a applied first). out may be the same matrix as a or b.
void matrixMultiply(Mat4& out, const Mat4& a, const Mat4& b);
// out = rotation by angle radians about +Y; seen from above (+Y) in the left-handed frame a
// positive angle turns +Z towards +X.
void matrixRotationY(Mat4& out, float angle);

Mat4 operator*(const Mat4& a, const Mat4& b);

// Point (w = 1) and direction (w = 0) transforms.
Vec3 transformPoint(Vec3 p, const Mat4& m);
Vec3 transformDirection(Vec3 d, const Mat4& m);
Vec4 transformPoint4(Vec3 p, const Mat4& m);

} // namespace render
