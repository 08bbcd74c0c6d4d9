// How the file-manager thumbnailer compares with `make` on the same vehicles.
//
// A file manager starts one `pictelle-cli thumbnail` process per file; `make --jobs 1` draws
// every vehicle in one process on one core. Both run on the sample content's vehicles: make
// from a copy of the program in a temporary folder (its Thumbnails folder and settings go
// there), the thumbnailer once per definition file at each size a file manager asks for.
// Prints the time of each, best of --runs, and the ratio thumbnailer / make.
//
//   thumbnailer_bench [--runs N] [--sample DIR] [--cli PATH]

#include "../RunProgram.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#ifndef PICTELLE_CLI_PATH
#error "PICTELLE_CLI_PATH must name the built pictelle-cli"
#endif
#ifndef PICTELLE_SAMPLE_DIR
#error "PICTELLE_SAMPLE_DIR must name the built sample content"
#endif

namespace fs = std::filesystem;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// No input, no output, and `home` as its settings: no stored settings or registry reached.
bench::ChildSetup sandboxed(const fs::path& home) {
    return {.output = "/dev/null",
            .keepErrors = false,
            .environment = {{"HOME", home.string()},
                            {"XDG_CONFIG_HOME", (home / "config").string()},
                            {"XDG_DATA_HOME", (home / "data").string()},
                            {"WINEPREFIX", (home / "wine").string()}}};
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 3;
    fs::path sample = PICTELLE_SAMPLE_DIR;
    fs::path cli = PICTELLE_CLI_PATH;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--sample" && i + 1 < argc) {
            sample = argv[++i];
        } else if (a == "--cli" && i + 1 < argc) {
            cli = argv[++i];
        } else {
            std::fprintf(stderr,
                         "usage: thumbnailer_bench [--runs N] [--sample DIR] [--cli PATH]\n");
            return 2;
        }
    }

    std::vector<fs::path> vehicles;
    for (const auto& entry : fs::recursive_directory_iterator(sample / "MSTS")) {
        const std::string ext = lower(entry.path().extension().string());
        // The catalog, and so make, leaves default.wag out.
        if (entry.is_regular_file() && (ext == ".eng" || ext == ".wag") &&
            lower(entry.path().filename().string()) != "default.wag")
            vehicles.push_back(entry.path());
    }
    std::sort(vehicles.begin(), vehicles.end());
    if (vehicles.empty()) {
        std::fprintf(stderr, "no vehicle under %s\n", (sample / "MSTS").c_str());
        return 1;
    }

    // make runs from a copy whose own folder, and so whose Thumbnails folder, is temporary.
    const fs::path work =
        fs::temp_directory_path() / ("thumbnailer_bench." + std::to_string(::getpid()));
    fs::create_directories(work / "home");
    const fs::path copy = work / "pictelle-cli";
    fs::copy_file(cli, copy, fs::copy_options::overwrite_existing);
    std::vector<std::string> make = {copy.string(), "make",
                                     "--msts",      (sample / "MSTS").string(),
                                     "--rametta",   (sample / "Rametta").string(),
                                     "--overwrite", "always",
                                     "--jobs",      "1"};
    for (const fs::path& v : vehicles)
        make.push_back(v.stem().string());

    double makeSeconds = 1e9;
    int makeStatus = 0;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        makeStatus = bench::RunProgram(make, sandboxed(work / "home"));
        makeSeconds = std::min(makeSeconds, secondsSince(start));
    }
    std::printf("%zu vehicles of %s\n", vehicles.size(), sample.c_str());
    std::printf("make --jobs 1 (one process, best of %d): %.3f s, exit %d\n", runs, makeSeconds,
                makeStatus);

    for (const int side : {128, 256, 512}) {
        double seconds = 1e9;
        int failures = 0;
        for (int r = 0; r < runs; ++r) {
            failures = 0;
            const auto start = std::chrono::steady_clock::now();
            for (const fs::path& v : vehicles)
                failures +=
                    bench::RunProgram({cli.string(), "thumbnail", "-s", std::to_string(side),
                                       v.string(), (work / "out.png").string()},
                                      sandboxed(work / "home")) != 0;
            seconds = std::min(seconds, secondsSince(start));
        }
        std::printf("thumbnail -s %d (one process a vehicle, best of %d): %.3f s, %.1f ms a "
                    "vehicle, %d failed; thumbnailer / make = %.2f\n",
                    side, runs, seconds, 1000.0 * seconds / double(vehicles.size()), failures,
                    seconds / makeSeconds);
    }
    fs::remove_all(work);
    return 0;
}
