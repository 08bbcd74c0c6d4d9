// Trainset walk against a floor: how much the catalog scan costs beyond reading each
// definition file once.
//
// Writes a synthetic trainset (2,000 folders, 20,000 definition files by default, UTF-16 and
// Windows-1252 mixed, shape files present, names in mixed case), then times in one process
//   (a) the full walk: ListTrainsetFolders + FindVehicleFiles under one listing cache;
//   (b) the floor: every definition file opened, read whole and closed once, by native path.
// Prints the best of several runs of each, the ratio a/b and the peak resident memory.
//
//     catalog_scan_bench [folders] [files-per-folder] [runs]
//
// The tree goes under $TMPDIR (TMPDIR=/dev/shm keeps it in memory, which is also what a
// warm page cache gives); both timings read warm files.

#include "catalog/Catalog.h"
#include "catalog/TrainsetWalk.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray utf16le(const QString& text) {
    QByteArray out("\xFF\xFE", 2);
    for (const QChar c : text) {
        out.append(static_cast<char>(c.unicode() & 0xFF));
        out.append(static_cast<char>(c.unicode() >> 8));
    }
    return out;
}

// A definition file of typical shape: header, a comment block of varying length, the
// Wagon block with its shape and size, then an Engine block for locomotives.
QString definitionText(const QString& name, const QString& shapeAsWritten, int variant,
                       bool engine) {
    QString text = "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\n";
    text += "comment ( Synthetic rolling stock for the scan benchmark )\r\n";
    for (int i = 0; i < 10 + variant % 30; ++i)
        text +=
            QString("comment ( revision %1: couplings, brakes and lights adjusted )\r\n").arg(i);
    text += "Wagon ( " + name + "\r\n";
    text += QString("\tType ( %1 )\r\n").arg(engine ? "Engine" : "Freight");
    text += "\tWagonShape ( " + shapeAsWritten + " )\r\n";
    text += QString("\tSize ( 3.1m 4.2m %1m )\r\n").arg(12 + variant % 15);
    text += "\tMass ( 60t )\r\n\tWheelRadius ( 0.5m )\r\n";
    for (int i = 0; i < 20; ++i)
        text += QString("\tLights ( Light%1 ( Type ( 0 ) Conditions ( Headlight ( 3 ) ) ) )\r\n")
                    .arg(i);
    text += ")\r\n";
    if (engine)
        text += "Engine ( " + name +
                "\r\n\tType ( Diesel )\r\n\tMaxPower ( 2000kW )\r\n\tMaxForce ( 300kN )\r\n)\r\n";
    return text;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int folders = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int perFolder = argc > 2 ? std::atoi(argv[2]) : 10;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    if (folders <= 0 || perFolder <= 0 || runs <= 0) {
        std::fprintf(stderr, "usage: catalog_scan_bench [folders] [files-per-folder] [runs]\n");
        return 2;
    }

    QTemporaryDir dir;
    const QString trainset = dir.path() + "/MSTS/TRAINS/TRAINSET";
    QStringList definitionFiles;
    definitionFiles.reserve(folders * perFolder);
    for (int f = 0; f < folders; ++f) {
        const QString folder =
            QString("Stock%1_%2").arg(f, 4, 10, QChar('0')).arg(f % 2 ? "UK" : "us");
        if (!QDir().mkpath(trainset + "/" + folder))
            return 1;
        for (int v = 0; v < perFolder; ++v) {
            const int n = f * perFolder + v;
            const bool engine = v < 3;
            const QString name = QString("Veh%1_%2").arg(n).arg(v % 2 ? "Blue" : "red");
            const QString file = name + (engine ? ".eng" : ".wag");
            // Shape files on disk in lower case, named in the definition in upper case half
            // of the time, as real content mixes them.
            const QString shapeOnDisk = name.toLower() + ".s";
            const QString shapeWritten = n % 2 ? shapeOnDisk.toUpper() : shapeOnDisk;
            const QString text = definitionText(name, shapeWritten, n, engine);
            const QByteArray bytes = n % 3 ? utf16le(text) : text.toLatin1();
            const QString path = trainset + "/" + folder + "/" + file;
            if (!writeFile(path, bytes) ||
                !writeFile(trainset + "/" + folder + "/" + shapeOnDisk, "shape"))
                return 1;
            definitionFiles.append(path);
        }
    }
    std::printf("trainset: %d folders, %lld definition files\n", folders,
                static_cast<long long>(definitionFiles.size()));

    const platform::FileSystem fs;
    const QString mstsPath = dir.path() + "\\MSTS";
    double bestWalk = 1e300, bestFloor = 1e300;
    qsizetype listed = 0;
    qint64 floorBytes = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        catalog::Catalog table;
        catalog::ScanTrainset(fs, mstsPath, table, nullptr);
        bestWalk = std::min(bestWalk, timer.nsecsElapsed() / 1e6);
        listed = std::count_if(table.begin(), table.end(),
                               [](const catalog::CatalogEntry& e) { return !e.Shape.isEmpty(); });

        timer.restart();
        qint64 bytes = 0;
        for (const QString& path : definitionFiles) {
            QFile f(path);
            if (f.open(QIODevice::ReadOnly))
                bytes += f.readAll().size();
        }
        bestFloor = std::min(bestFloor, timer.nsecsElapsed() / 1e6);
        floorBytes = bytes;
    }
    if (listed != definitionFiles.size()) {
        std::fprintf(stderr, "walk listed %lld of %lld vehicles\n", static_cast<long long>(listed),
                     static_cast<long long>(definitionFiles.size()));
        return 1;
    }
    std::printf("walk  (a): %9.1f ms  (%lld vehicles with shapes)\n", bestWalk,
                static_cast<long long>(listed));
    std::printf("floor (b): %9.1f ms  (%.1f MB read)\n", bestFloor, floorBytes / 1e6);
    std::printf("ratio a/b: %.2f\n", bestWalk / bestFloor);
    std::printf("peak memory: %.1f MB\n", peakMegabytes());
    return 0;
}
