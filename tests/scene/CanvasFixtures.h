#pragma once

// A small vehicle of our own written as real simulator files into a temporary folder, for the
// canvas tests: a grey-textured body on a root part, a red-textured bogie under it on a
// child part placed towards the front (+Z), textures in the layouts the simulator uses.

#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"
#include "render/Image.h"
#include "support/AceWriter.h"
#include "support/PixelBlob.h"
#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstdint>

namespace canvastest {

inline void writeFile(const QString& path, const fixtures::Bytes& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

using fixtures::Blob;
using fixtures::blobWhere;

// The shape drawn as the preview draws it, with its own sphere as the reference.
inline render::RgbImage ownSpherePicture(const preview::SceneShape& shape, int width) {
    const render::BoundingSphere s = shape.boundingSphere();
    preview::SceneView view = preview::SceneView::Preview();
    view.setCamera(preview::BaseCameraFactor * s.radius, s.centre);
    return view.render(shape, width, 96);
}

inline fixtures::Picture solidPicture(std::uint8_t r, std::uint8_t g, std::uint8_t b,
                                      std::uint32_t size = 16) {
    fixtures::Picture p;
    p.width = p.height = size;
    for (std::uint32_t i = 0; i < size * size; ++i)
        p.rgba.insert(p.rgba.end(), {r, g, b, 255});
    return p;
}

// Body 20 m long (z -10..10), 3 m wide, 1 to 4 m high; bogie 3 m long, 1 m high, placed by
// its part matrix at z +6 under the body.
inline msts::Shape bogieVehicle(const std::string& bodyImage = "Body.ace",
                                const std::string& bogieImage = "bogie.ace") {
    fixtures::ShapeBuilder b;
    const std::int32_t body = b.addPart("BODY", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, -1);
    const std::int32_t bogie = b.addPart("BOGIE1", {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 6}, body);
    const std::int32_t bodyMaterial = b.addMaterial(bodyImage, "TexDiff", body);
    const std::int32_t bogieMaterial = b.addMaterial(bogieImage, "Tex", bogie);
    b.addBox(bodyMaterial, {-1.5f, 1, -10}, {1.5f, 4, 10});
    b.addBox(bogieMaterial, {-1.2f, 0, -1.5f}, {1.2f, 1, 1.5f});
    return b.build();
}

} // namespace canvastest
