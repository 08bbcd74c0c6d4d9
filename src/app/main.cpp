#include "app/Global.h"
#include "app/Messages.h"
#include "app/SettingsStore.h"
#include "app/Startup.h"
#include "app/frmPrincipal.h"
#include "platform/FileSystem.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf16(app::ApplicationTitle));

    platform::FileSystem files;
    app::SettingsStore settings(app::SettingsStore::defaultLocations(), files);
    app::Global global(files, settings);

    const std::unique_ptr<app::frmPrincipal> window = app::Main(global);
    if (!window)
        return 1;
    return QApplication::exec();
}
