#pragma once

// A progress window over a plain background, with the program's services in a temporary
// folder, and a reading of the bar from the window's picture.

#include "catalog/frmProgress.h"
#include "platform/FileSystem.h"
#include "shared/SettingsStore.h"
#include "state/Global.h"

#include <QTemporaryDir>
#include <QWidget>

#include <memory>

namespace progresstest {

// A plain background makes the AND of the bar exact: cyan keeps green and blue, drops red.
inline const QRgb plain = qRgb(200, 100, 50);
inline const QRgb plainUnderBar = qRgb(0, 100, 50);
// A row of the bar below the step text.
inline constexpr int barRow = 91;

struct Services {
    Services()
        : settings({dir.filePath("registry.ini"), QString()}, files), global(files, settings) {}
    QTemporaryDir dir;
    platform::FileSystem files;
    app::SettingsStore settings;
    app::Global global;
};

struct Harness {
    explicit Harness(catalog::frmProgress::ScanJob job = {}) {
        window = std::make_unique<catalog::frmProgress>(
            &mainWindow, services.global.MainWindowReady, std::move(job));
        QImage background(480, 136, QImage::Format_RGB32);
        background.fill(plain);
        window->setBackgroundPicture(background);
        window->setEndProgram([this](int) { ++endRequests; });
    }

    // Rightmost column of the bar on its lower rows; -1 when no bar is drawn.
    int barRight() const {
        const QImage& picture = window->picture();
        int right = -1;
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, barRow) == plainUnderBar) {
                right = x;
            }
        }
        return right;
    }

    QWidget mainWindow;
    Services services;
    std::unique_ptr<catalog::frmProgress> window;
    int endRequests = 0;
};

} // namespace progresstest
