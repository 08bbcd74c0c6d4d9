// How long the preview takes for a large vehicle: loading a 20,000-triangle textured shape
// (file read, shape parse, triangles, texture decode and mip chains) against rendering it at
// thumbnail size with the canvas's supersampling. Prints both and their ratio.

#include "platform/FileSystem.h"
#include "preview/PreviewGeometry.h"
#include "preview/SceneShape.h"
#include "preview/SceneView.h"
#include "support/AceWriter.h"
#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

void writeFile(const QString& path, const fixtures::Bytes& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

fixtures::Picture painted(std::uint32_t size, std::uint8_t alpha) {
    fixtures::Picture p;
    p.width = p.height = size;
    for (std::uint32_t y = 0; y < size; ++y)
        for (std::uint32_t x = 0; x < size; ++x)
            p.rgba.insert(p.rgba.end(), {std::uint8_t(x * 7), std::uint8_t(y * 3),
                                         std::uint8_t((x ^ y) * 5), alpha});
    return p;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    const msts::Shape shape = fixtures::generatedShape(20000);
    const QString shapePath = dir.path() + "/bench.s";
    writeFile(shapePath, fixtures::writeShape(shape, fixtures::ShapeForm::CompressedBinary));
    fixtures::AceWriteOptions dxt;
    dxt.layout = fixtures::AceLayout::Dxt1;
    dxt.mipmaps = true;
    fixtures::AceWriteOptions alpha;
    alpha.layout = fixtures::AceLayout::RgbMaskAlpha;
    alpha.mipmaps = true;
    alpha.compressed = true;
    writeFile(dir.path() + "/Gen_Body.ace", fixtures::writeAce(painted(512, 255), dxt));
    writeFile(dir.path() + "/Gen_Roof.ace", fixtures::writeAce(painted(256, 255), dxt));
    writeFile(dir.path() + "/Gen_Bogie.ace", fixtures::writeAce(painted(256, 255), dxt));
    writeFile(dir.path() + "/Gen_Glass.ace", fixtures::writeAce(painted(256, 120), alpha));

    const platform::FileSystem fs;
    constexpr int runs = 7;
    std::vector<double> loadMs, renderMs;
    std::size_t triangles = 0;
    for (int i = 0; i < runs; ++i) {
        preview::SceneShape scene(&fs);
        scene.setWorldMatrix(preview::HalfTurnWorldMatrix());
        auto start = std::chrono::steady_clock::now();
        if (!scene.load(shapePath)) {
            std::fprintf(stderr, "the benchmark shape could not be loaded\n");
            return 1;
        }
        loadMs.push_back(msSince(start));
        triangles = scene.model().triangleCount();

        const render::BoundingSphere sphere = scene.boundingSphere();
        preview::SceneView view = preview::SceneView::Preview();
        view.setCamera(preview::BaseCameraFactor * sphere.radius, sphere.centre);
        start = std::chrono::steady_clock::now();
        const render::RgbImage picture = view.render(scene, 145, 96);
        renderMs.push_back(msSince(start));
        if (picture.width != 145)
            return 1;
    }
    const double load = median(loadMs), draw = median(renderMs);
    std::printf("shape: %zu triangles, 4 textures; picture 145x96, 4x4 samples a pixel\n",
                triangles);
    std::printf("load   %.2f ms (median of %d)\n", load, runs);
    std::printf("render %.2f ms (median of %d)\n", draw, runs);
    std::printf("render / load = %.2f\n", draw / load);
    return 0;
}
