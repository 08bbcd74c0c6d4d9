// How far a whole-library `pictelle-cli make` is from the cost of merely reading its files.
//
// Writes a generated library into a temporary folder: packs of vehicles that share their
// roof, glass and coupler textures, one bogie texture shared by every pack through the
// trainset's textures folder, and per vehicle a compressed binary shape of 5,000 to 20,000
// triangles with its own body texture. Textures are DXT1 (1024 or 512 square) and planar
// (zlib-compressed, with a mask and alpha), all with their mip levels, spelt in varying
// letter case by the shapes as real content does. Then, in one run:
//   floor: every shape and texture file read and inflated once, on one core;
//   make:  the built pictelle-cli making the thumbnail of every vehicle, on all cores and
//          with --jobs 1;
// and prints each, their ratios to the floor and the peak memory of the make runs.
//
//   make_bench [--vehicles N] [--runs N] [--keep DIR [--reuse]] [--cli PATH] [-- extra make
//              arguments]
//
// --runs times each side N times (3 by default) and keeps the best of each.
//
// --keep leaves the library in DIR; --reuse measures again the library left there.

#include "../RunProgram.h"

#include "msts/Container.h"
#include "support/AceWriter.h"
#include "support/ShapeBuilder.h"
#include "support/ShapeWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <sys/resource.h>

#ifndef PICTELLE_CLI_PATH
#error "PICTELLE_CLI_PATH must name the built pictelle-cli"
#endif

namespace fs = std::filesystem;

namespace {

constexpr int vehiclesPerPack = 10;

bool writeBytes(const fs::path& path, const fixtures::Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

std::vector<std::byte> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(0, std::ios::end);
    std::vector<std::byte> bytes(std::size_t(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return bytes;
}

// A painted picture with some structure, so that DXT blocks and zlib see content rather than
// a flat colour.
fixtures::Picture painted(std::uint32_t size, int seed, bool translucent) {
    fixtures::Picture p;
    p.width = p.height = size;
    p.rgba.resize(std::size_t(size) * size * 4);
    for (std::uint32_t y = 0; y < size; ++y)
        for (std::uint32_t x = 0; x < size; ++x) {
            std::uint8_t* px = &p.rgba[(std::size_t(y) * size + x) * 4];
            const bool stripe = ((y * 8 / size) + std::uint32_t(seed)) % 3 == 0;
            px[0] = std::uint8_t(stripe ? 200 : (x * 3 + std::uint32_t(seed) * 40));
            px[1] = std::uint8_t(stripe ? 30 : (y * 5 + x / 7));
            px[2] = std::uint8_t(((x ^ y) >> 2) * 3 + std::uint32_t(seed) * 17);
            px[3] = translucent ? std::uint8_t((x / 16 + y / 16) % 2 ? 255 : 90) : 255;
        }
    return p;
}

fixtures::Bytes dxtTexture(std::uint32_t size, int seed) {
    fixtures::AceWriteOptions o;
    o.layout = fixtures::AceLayout::Dxt1;
    o.mipmaps = true;
    return fixtures::writeAce(painted(size, seed, false), o);
}

fixtures::Bytes planarTexture(std::uint32_t size, int seed) {
    fixtures::AceWriteOptions o;
    o.layout = fixtures::AceLayout::RgbMaskAlpha;
    o.mipmaps = true;
    o.compressed = true;
    return fixtures::writeAce(painted(size, seed, true), o);
}

// Letter case as careless content spells names: alternately upper-cased.
std::string spelt(const std::string& name, int variant) {
    std::string s = name;
    if (variant % 2)
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}

struct Library {
    fs::path msts;
    fs::path rametta;
    int vehicles = 0;
};

bool writeLibrary(const fs::path& root, int vehicles, Library& library) {
    library.msts = root / "MSTS";
    library.rametta = root / "Rametta";
    const fs::path trainset = library.msts / "TRAINS" / "TRAINSET";
    fs::create_directories(trainset / "textures");
    fs::create_directories(library.rametta);

    // Distinct contents are few (compressing is slow); files are many, as in a library.
    const std::vector<fixtures::Bytes> bodies{dxtTexture(1024, 1), dxtTexture(1024, 2),
                                              dxtTexture(512, 3), dxtTexture(512, 4)};
    const fixtures::Bytes roof = dxtTexture(512, 5);
    const fixtures::Bytes glass = planarTexture(256, 6);
    const fixtures::Bytes coupler = planarTexture(128, 7);
    if (!writeBytes(trainset / "textures" / "Gen_Bogie.ace", dxtTexture(512, 8)))
        return false;

    std::map<std::size_t, msts::Shape> shapes;
    for (std::size_t triangles : {5000u, 8000u, 12000u, 16000u, 20000u})
        shapes[triangles] = fixtures::generatedShape(triangles);

    const int packs = (vehicles + vehiclesPerPack - 1) / vehiclesPerPack;
    int made = 0;
    for (int pack = 0; pack < packs; ++pack) {
        const std::string packName = "PACK" + std::to_string(pack);
        const fs::path folder = trainset / packName;
        fs::create_directories(folder);
        bool ok = writeBytes(folder / (packName + "_roof.ace"), roof) &&
                  writeBytes(folder / (packName + "_glass.ace"), glass) &&
                  writeBytes(folder / (packName + "_coupler.ace"), coupler);
        for (int v = 0; v < vehiclesPerPack && made < vehicles && ok; ++v, ++made) {
            const std::string name = packName + "_W" + std::to_string(v);
            const std::size_t triangles =
                std::vector<std::size_t>{5000, 8000, 12000, 16000, 20000}[std::size_t(made) % 5];
            msts::Shape shape = shapes[triangles];
            for (std::string& image : shape.images) {
                if (image == "Gen_Body.ace")
                    image = name + "_body.ace";
                else if (image == "Gen_Roof.ace")
                    image = spelt(packName + "_roof.ace", v);
                else if (image == "Gen_Glass.ace")
                    image = spelt(packName + "_glass.ace", v + 1);
                else if (image == "Gen_Bogie.ace")
                    image = spelt("Gen_Bogie.ace", v);
            }
            // The coupler texture goes on the bogie boxes of every other vehicle.
            if (v % 2 && !shape.images.empty())
                shape.images.back() = spelt(packName + "_coupler.ace", v);
            const std::string definition = "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( " + name +
                                           "\r\n\tType ( Freight )\r\n\tWagonShape ( " + name +
                                           ".s )\r\n\tSize ( 3m 4.2m " +
                                           std::to_string(14 + made % 9) + "m )\r\n)\r\n";
            fixtures::Bytes definitionBytes;
            for (char c : definition)
                definitionBytes.push_back(std::byte(c));
            ok = writeBytes(folder / (name + ".s"),
                            fixtures::writeShape(shape, fixtures::ShapeForm::CompressedBinary)) &&
                 writeBytes(folder / (name + "_body.ace"), bodies[std::size_t(made) % 4]) &&
                 writeBytes(folder / (name + ".wag"), definitionBytes);
        }
        if (!ok)
            return false;
    }
    library.vehicles = made;
    return true;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Floor {
    double seconds = 0;
    std::size_t files = 0;
    std::size_t bytes = 0;
    std::size_t inflated = 0;
};

// Every shape and texture read and inflated once, one after another.
Floor readFloor(const fs::path& root) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (entry.is_regular_file() && (ext == ".s" || ext == ".ace"))
            files.push_back(entry.path());
    }
    Floor floor;
    const auto start = std::chrono::steady_clock::now();
    for (const fs::path& path : files) {
        const std::vector<std::byte> bytes = readBytes(path);
        const msts::ContainerResult opened = msts::openContainer(bytes);
        floor.bytes += bytes.size();
        floor.inflated += opened.container.body().size();
    }
    floor.seconds = secondsSince(start);
    floor.files = files.size();
    return floor;
}

} // namespace

int main(int argc, char** argv) {
    int vehicles = 500;
    int runs = 3;
    fs::path keep;
    bool reuse = false;
    fs::path cliPath = PICTELLE_CLI_PATH;
    std::vector<std::string> extra;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--vehicles" && i + 1 < argc) {
            vehicles = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--keep" && i + 1 < argc) {
            keep = argv[++i];
        } else if (a == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--reuse") {
            reuse = true;
        } else if (a == "--cli" && i + 1 < argc) {
            cliPath = argv[++i];
        } else if (a == "--") {
            extra.assign(argv + i + 1, argv + argc);
            break;
        } else {
            std::fprintf(stderr, "usage: make_bench [--vehicles N] [--runs N] [--keep DIR "
                                 "[--reuse]] [--cli PATH] [-- ARGS]\n");
            return 2;
        }
    }

    fs::path root = keep;
    if (root.empty()) {
        char pattern[] = "/tmp/make_bench_XXXXXX";
        if (!::mkdtemp(pattern))
            return 1;
        root = pattern;
    } else if (!reuse) {
        fs::remove_all(root);
        fs::create_directories(root);
    }

    auto start = std::chrono::steady_clock::now();
    Library library;
    if (reuse && fs::is_directory(root / "MSTS")) {
        library.msts = root / "MSTS";
        library.rametta = root / "Rametta";
        for (const auto& entry : fs::recursive_directory_iterator(library.msts))
            library.vehicles += entry.path().extension() == ".wag";
        fs::remove_all(root / "Thumbnails");
    } else {
        std::printf("writing %d vehicles into %s ...\n", vehicles, root.c_str());
        std::fflush(stdout);
        if (!writeLibrary(root, vehicles, library)) {
            std::fprintf(stderr, "the library could not be written\n");
            return 1;
        }
        std::printf("written in %.1f s\n", secondsSince(start));
    }

    // The program's own folder holds its Thumbnails folder: a copy of the tool keeps them
    // apart from the build tree, and its own settings and prefix keep the user's out.
    const fs::path cli = root / "pictelle-cli";
    fs::copy_file(cliPath, cli, fs::copy_options::overwrite_existing);
    ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    ::setenv("WINEPREFIX", (root / "wine").c_str(), 1);
    std::vector<std::string> command{cli.string(),          "make",      "--msts",
                                     library.msts.string(), "--rametta", library.rametta.string(),
                                     "--overwrite",         "always"};
    command.insert(command.end(), extra.begin(), extra.end());
    // Each timing is the best of `runs`: a shared machine only ever adds time, so the best
    // run is the one nearest the cost of the work itself. The two sides take turns, so that
    // a slower spell of the machine weighs on both alike.
    std::vector<std::string> oneJob = command;
    oneJob.insert(oneJob.end(), {"--jobs", "1"});
    Floor floor;
    double makeSeconds = 0;
    double oneJobSeconds = 0;
    int status = 0;
    bench::ChildSetup toFile;
    toFile.output = root / "make.out";
    // Times one make, every vehicle still to make; keeps the best.
    const auto timeMake = [&](const std::vector<std::string>& args, int r, double& best) {
        fs::remove_all(root / "Thumbnails");
        const auto began = std::chrono::steady_clock::now();
        status = bench::RunProgram(args, toFile);
        const double seconds = secondsSince(began);
        if (r == 0 || seconds < best)
            best = seconds;
    };
    for (int r = 0; r < runs && status == 0; ++r) {
        const Floor once = readFloor(library.msts);
        if (r == 0 || once.seconds < floor.seconds)
            floor = once;
        timeMake(oneJob, r, oneJobSeconds);
        if (status == 0)
            timeMake(command, r, makeSeconds);
    }
    // The largest of the runs: the children's peak.
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);

    std::size_t thumbnails = 0;
    if (fs::is_directory(root / "Thumbnails"))
        for (const auto& entry : fs::directory_iterator(root / "Thumbnails"))
            thumbnails += entry.path().extension() == ".bmp";

    std::printf("library: %d vehicles, %zu shape and texture files, %.1f MB on disk, %.1f MB "
                "inflated\n",
                library.vehicles, floor.files, double(floor.bytes) / 1e6,
                double(floor.inflated) / 1e6);
    std::printf("floor (read + inflate once, one core, best of %d): %.2f s\n", runs, floor.seconds);
    std::printf("make (best of %d): %.2f s, %.1f vehicles/s, exit %d, %zu thumbnails written\n",
                runs, makeSeconds, double(library.vehicles) / makeSeconds, status, thumbnails);
    std::printf("make --jobs 1 (best of %d): %.2f s\n", runs, oneJobSeconds);
    std::printf("make / floor = %.2f\n", makeSeconds / floor.seconds);
    std::printf("make --jobs 1 / floor = %.2f\n", oneJobSeconds / floor.seconds);
    std::printf("make --jobs 1 / make = %.2f\n", oneJobSeconds / makeSeconds);
    std::printf("peak memory of make: %.0f MB\n", double(usage.ru_maxrss) / 1024.0);

    if (keep.empty())
        fs::remove_all(root);
    return status == 0 && thumbnails == std::size_t(library.vehicles) ? 0 : 1;
}
