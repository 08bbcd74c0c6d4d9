// Vehicle list against the scan: what filling and colouring the list adds to start-up.
//
// Writes a synthetic trainset (3,000 folders of 10 vehicles: 30,000 listed vehicles by
// default), then times in one process, best of several runs:
//   (a) the scan alone: ListTrainsetFolders + FindVehicleFiles, no progress window;
//   (b) the scan behind the progress window, drawing every step as the program does;
//   (c) FillVehicleList + ColourVehicleList on the real list view, with an inventory that
//       serves about a third of the vehicles, and the list's first paint;
// and prints c / a and c / b.
//
//     QT_QPA_PLATFORM=offscreen list_bench [folders] [vehicles-per-folder] [runs]

#include "app/VehicleList.h"
#include "catalog/ScanDriver.h"
#include "catalog/frmProgress.h"
#include "platform/FileSystem.h"
#include "shared/SettingsStore.h"
#include "state/Global.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray definition(const QString& name, const QString& shape, int n) {
    QString text = "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( " + name + "\r\n";
    for (int i = 0; i < 10 + n % 20; ++i) {
        text += QString("\tcomment ( revision %1 )\r\n").arg(i);
    }
    text += "\tWagonShape ( " + shape + " )\r\n";
    text += QString("\tSize ( 3m 4m %1m )\r\n)\r\n").arg(12 + n % 15);
    return text.toLatin1();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int folders = argc > 1 ? std::atoi(argv[1]) : 3000;
    const int perFolder = argc > 2 ? std::atoi(argv[2]) : 10;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
    if (folders <= 0 || perFolder <= 0 || runs <= 0 || folders * perFolder > 32767) {
        std::fprintf(stderr, "usage: list_bench [folders] [vehicles-per-folder] [runs]\n");
        return 2;
    }

    QTemporaryDir dir;
    const QString trainset = dir.path() + "/MSTS/TRAINS/TRAINSET";
    QStringList ownNames;
    QList<inventory::ThumbnailEntry> ramettaNames;
    for (int f = 0; f < folders; ++f) {
        const QString folder = QString("Stock%1").arg(f, 4, 10, QChar('0'));
        if (!QDir().mkpath(trainset + "/" + folder)) {
            return 1;
        }
        for (int v = 0; v < perFolder; ++v) {
            const int n = f * perFolder + v;
            const QString name = QString("Veh%1").arg(n);
            const QString file = name + (v < 3 ? ".eng" : ".wag");
            if (!writeFile(trainset + "/" + folder + "/" + file,
                           definition(name, name + ".s", n)) ||
                !writeFile(trainset + "/" + folder + "/" + name + ".s", "shape")) {
                return 1;
            }
            if (n % 6 == 0) {
                ownNames << name;
            } else if (n % 6 == 1) {
                ramettaNames.append({name.toLower(), false});
            }
        }
    }
    const int vehicles = folders * perFolder;
    std::printf("trainset: %d folders, %d vehicles\n", folders, vehicles);

    platform::FileSystem fs;
    app::SettingsStore settings({dir.filePath("registry.ini"), QString()}, fs);
    app::Global global(fs, settings);
    global.MstsPath = dir.path() + "\\MSTS";
    global.Thumbnails = inventory::ThumbnailInventory({}, ramettaNames, ownNames);

    QWidget window;
    window.resize(443, 344);
    auto* list = new app::VehicleListView(&window);
    list->setGeometry(8, 8, 201, 185);
    auto* create = new QPushButton(&window);
    auto* status = new QLabel(&window);
    status->setGeometry(8, 200, 425, 33);
    window.show();
    const app::VehicleListControls controls{list, create, status};

    double bestScan = 1e300, bestScanShown = 1e300, bestList = 1e300;
    double bestFill = 1e300, bestColour = 1e300, bestPaint = 1e300;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        catalog::Catalog plain;
        catalog::ScanTrainset(fs, global.MstsPath, plain, nullptr);
        bestScan = std::min(bestScan, timer.nsecsElapsed() / 1e6);

        QWidget owner;
        catalog::frmProgress progress(&owner, global.MainWindowReady, {});
        progress.Timer1->stop();
        progress.show();
        timer.restart();
        catalog::Catalog shown;
        catalog::ScanTrainset(fs, global.MstsPath, shown, &progress);
        bestScanShown = std::min(bestScanShown, timer.nsecsElapsed() / 1e6);
        progress.done(0);
        global.Catalog = std::move(shown);

        timer.restart();
        app::FillVehicleList(controls, global.Catalog);
        const double fill = timer.nsecsElapsed() / 1e6;
        app::ColourVehicleList(*list, global.Thumbnails);
        const double colour = timer.nsecsElapsed() / 1e6 - fill;
        list->repaint();
        const double all = timer.nsecsElapsed() / 1e6;
        bestList = std::min(bestList, all);
        bestFill = std::min(bestFill, fill);
        bestColour = std::min(bestColour, colour);
        bestPaint = std::min(bestPaint, all - fill - colour);
        if (list->count() != vehicles) {
            std::fprintf(stderr, "listed %lld of %d vehicles\n",
                         static_cast<long long>(list->count()), vehicles);
            return 1;
        }
    }
    std::printf("scan alone          (a): %9.1f ms\n", bestScan);
    std::printf("scan with progress  (b): %9.1f ms\n", bestScanShown);
    std::printf("fill + colour + paint (c): %7.1f ms  (%d items)\n", bestList, vehicles);
    std::printf("  fill %.1f ms, colour %.1f ms, first paint %.1f ms\n", bestFill, bestColour,
                bestPaint);
    std::printf("ratio c/a: %.3f   c/b: %.3f\n", bestList / bestScan, bestList / bestScanShown);
    std::printf("status line: %s\n", qPrintable(status->text()));
    return 0;
}
