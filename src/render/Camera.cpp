#include "render/Camera.h"

namespace render {

Camera Camera::sideView(Vec3 target, float distance, Vec3 up) {
    Camera c;
    c.target = target;
    c.eye = target + Vec3{distance, 0, 0};
    c.up = up;
    return c;
}

Mat4 viewMatrix(const Camera& camera) {
    Vec3 zaxis = normalize(camera.target - camera.eye);
    if (length(zaxis) == 0)
        zaxis = {0, 0, 1};
    Vec3 xaxis = normalize(cross(camera.up, zaxis));
    if (length(xaxis) == 0) // looking straight along the up direction
        xaxis = normalize(cross(Vec3{0, 0, 1}, zaxis));
    const Vec3 yaxis = cross(zaxis, xaxis);

    Mat4 v = Mat4::identity();
    v.at(0, 0) = xaxis.x;
    v.at(1, 0) = xaxis.y;
    v.at(2, 0) = xaxis.z;
    v.at(0, 1) = yaxis.x;
    v.at(1, 1) = yaxis.y;
    v.at(2, 1) = yaxis.z;
    v.at(0, 2) = zaxis.x;
    v.at(1, 2) = zaxis.y;
    v.at(2, 2) = zaxis.z;
    v.at(3, 0) = -dot(xaxis, camera.eye);
    v.at(3, 1) = -dot(yaxis, camera.eye);
    v.at(3, 2) = -dot(zaxis, camera.eye);
    return v;
}

Mat4 projectionMatrix(const Camera& camera, float aspect) {
    const float yScale = 1.0f / std::tan(camera.fovYRadians / 2);
    const float xScale = yScale / (aspect > 0 ? aspect : 1.0f);
    const float zn = camera.nearPlane;
    const float zf = camera.farPlane > zn ? camera.farPlane : zn + 1.0f;
    Mat4 p;
    p.at(0, 0) = xScale;
    p.at(1, 1) = yScale;
    p.at(2, 2) = zf / (zf - zn);
    p.at(2, 3) = 1.0f;
    p.at(3, 2) = -zn * zf / (zf - zn);
    return p;
}

Vec3 projectToPixels(Vec3 world, const Camera& camera, int width, int height) {
    const float aspect = height > 0 ? float(width) / float(height) : 1.0f;
    const Vec4 c = transformPoint4(world, viewMatrix(camera) * projectionMatrix(camera, aspect));
    const float invW = c.w != 0 ? 1.0f / c.w : 0.0f;
    return {(c.x * invW + 1.0f) * 0.5f * float(width), (1.0f - c.y * invW) * 0.5f * float(height),
            c.z * invW};
}

} // namespace render
