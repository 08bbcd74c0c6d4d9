// Parse speed of shape files against the cost of getting their bytes.
//
// A generated vehicle-like shape of about 100,000 triangles is written as compressed binary
// and as UTF-16 text. For the compressed form the full read is compared with zlib inflating
// the same stream alone; for the text form with reading the file's bytes from disk. Each
// figure is the median of several runs.
//
// Usage: msts_parse_bench [TRIANGLES] [RUNS]

#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"

#include "msts/Container.h"
#include "msts/ShapeMesh.h"
#include "msts/ShapeReader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace {

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::size_t triangles(const msts::Shape& shape) {
    std::size_t n = 0;
    for (const auto& lod : shape.lodControls)
        for (const auto& sub : lod.levels.at(0).subObjects)
            for (const auto& p : sub.primitives)
                n += p.indices.size() / 3;
    return n;
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t wanted = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    const msts::Shape shape = fixtures::generatedShape(wanted);

    const auto compressed = fixtures::writeShape(shape, fixtures::ShapeForm::CompressedBinary);
    const auto text = fixtures::writeShape(shape, fixtures::ShapeForm::Utf16Text);
    std::printf("shape: %zu triangles, %zu points, %zu vertices\n", triangles(shape),
                shape.points.size(),
                shape.lodControls[0].levels[0].subObjects[0].vertices.size() +
                    shape.lodControls[0].levels[0].subObjects[1].vertices.size());

    // Compressed binary: full read vs inflating alone.
    std::uint32_t declared = 0;
    for (int i = 3; i >= 0; --i)
        declared = (declared << 8) |
                   std::to_integer<std::uint32_t>(compressed[8 + static_cast<std::size_t>(i)]);
    const std::span<const std::byte> stream(compressed.data() + 16, compressed.size() - 16);
    std::vector<std::byte> inflated;
    const double inflateMs = medianMs(runs, [&] {
        msts::Diagnostics d;
        if (!msts::inflateExactly(stream, declared, inflated, d, 0))
            std::abort();
    });
    std::size_t check = 0;
    const double binaryMs = medianMs(runs, [&] {
        const auto result = msts::readShape(compressed);
        if (!result.ok())
            std::abort();
        check += triangles(result.shape);
    });
    const auto parsed = msts::readShape(compressed);
    const double meshMs =
        medianMs(runs, [&] { check += msts::buildMesh(parsed.shape).triangles.size(); });

    // UTF-16 text: full read vs reading the file's bytes.
    const auto path = std::filesystem::temp_directory_path() / "msts_parse_bench.s";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(text.data()),
                  static_cast<std::streamsize>(text.size()));
    }
    const double fileMs = medianMs(runs, [&] {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        std::vector<char> bytes(static_cast<std::size_t>(in.tellg()));
        in.seekg(0);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        check += bytes.size();
    });
    const double textMs = medianMs(runs, [&] {
        const auto result = msts::readShape(text);
        if (!result.ok())
            std::abort();
        check += triangles(result.shape);
    });
    std::filesystem::remove(path);

    std::printf("compressed binary: %zu bytes (%u inflated)\n", compressed.size(), declared);
    std::printf("  inflate alone  %8.2f ms\n", inflateMs);
    std::printf("  full read      %8.2f ms   ratio %.2f (parse after inflate %.2f)\n", binaryMs,
                binaryMs / inflateMs, (binaryMs - inflateMs) / inflateMs);
    std::printf("  triangles      %8.2f ms   (buildMesh on the result)\n", meshMs);
    std::printf("UTF-16 text: %zu bytes\n", text.size());
    std::printf("  read the file  %8.2f ms\n", fileMs);
    std::printf("  full read      %8.2f ms   ratio %.2f\n", textMs, textMs / fileMs);
    return check == 0 ? 1 : 0;
}
