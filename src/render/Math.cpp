#include "render/Math.h"

namespace render {

Mat4 Mat4::identity() {
    Mat4 r;
    matrixIdentity(r);
    return r;
}

Mat4 Mat4::rotationY(float angle) {
    Mat4 r;
    matrixRotationY(r, angle);
    return r;
}

Mat4 Mat4::translation(Vec3 t) {
    Mat4 r = identity();
    r.at(3, 0) = t.x;
    r.at(3, 1) = t.y;
    r.at(3, 2) = t.z;
    return r;
}

Mat4 Mat4::fromRows3x4(const std::array<float, 12>& rows) {
    Mat4 r = identity();
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            r.at(row, col) = rows[row * 3 + col];
    return r;
}

void matrixIdentity(Mat4& out) {
    out.m.fill(0.0f);
    out.at(0, 0) = out.at(1, 1) = out.at(2, 2) = out.at(3, 3) = 1.0f;
}

void matrixMultiply(Mat4& out, const Mat4& a, const Mat4& b) {
    // Computed into a temporary so that out may alias either operand.
    Mat4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a.at(row, k) * b.at(k, col);
            r.at(row, col) = sum;
        }
    out = r;
}

void matrixRotationY(Mat4& out, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    matrixIdentity(out);
    out.at(0, 0) = c;
    out.at(0, 2) = -s;
    out.at(2, 0) = s;
    out.at(2, 2) = c;
}

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    matrixMultiply(r, a, b);
    return r;
}

Vec3 transformPoint(Vec3 p, const Mat4& m) {
    return {p.x * m.at(0, 0) + p.y * m.at(1, 0) + p.z * m.at(2, 0) + m.at(3, 0),
            p.x * m.at(0, 1) + p.y * m.at(1, 1) + p.z * m.at(2, 1) + m.at(3, 1),
            p.x * m.at(0, 2) + p.y * m.at(1, 2) + p.z * m.at(2, 2) + m.at(3, 2)};
}

Vec3 transformDirection(Vec3 d, const Mat4& m) {
    return {d.x * m.at(0, 0) + d.y * m.at(1, 0) + d.z * m.at(2, 0),
            d.x * m.at(0, 1) + d.y * m.at(1, 1) + d.z * m.at(2, 1),
            d.x * m.at(0, 2) + d.y * m.at(1, 2) + d.z * m.at(2, 2)};
}

Vec4 transformPoint4(Vec3 p, const Mat4& m) {
    return {p.x * m.at(0, 0) + p.y * m.at(1, 0) + p.z * m.at(2, 0) + m.at(3, 0),
            p.x * m.at(0, 1) + p.y * m.at(1, 1) + p.z * m.at(2, 1) + m.at(3, 1),
            p.x * m.at(0, 2) + p.y * m.at(1, 2) + p.z * m.at(2, 2) + m.at(3, 2),
            p.x * m.at(0, 3) + p.y * m.at(1, 3) + p.z * m.at(2, 3) + m.at(3, 3)};
}

} // namespace render
