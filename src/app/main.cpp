#include "app/Startup.h"
#include "app/frmPrincipal.h"
#include "platform/FileSystem.h"
#include "shared/Global.h"
#include "shared/Messages.h"
#include "shared/SettingsStore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>

namespace {

// Folders given on the command line (`--msts DIR`, `--rametta DIR`, as the sample content is
// run) hold for this run only: the settings then live in a throw-away file that the given
// folders are written into first, so nothing is stored over the user's own settings.
// Without them, the user's settings are used as they are.
app::SettingsStore::Locations settingsLocations(const QStringList& arguments,
                                                const platform::FileSystem& files,
                                                QTemporaryDir& session) {
    QCommandLineParser parser;
    const QCommandLineOption msts(QStringLiteral("msts"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption rametta(QStringLiteral("rametta"), QString(), QStringLiteral("DIR"));
    parser.addOption(msts);
    parser.addOption(rametta);
    parser.parse(arguments);
    app::SettingsStore::Locations locations = app::SettingsStore::defaultLocations();
    if (!parser.isSet(msts) && !parser.isSet(rametta))
        return locations;
    locations.iniFile = session.filePath(QStringLiteral("registry.ini"));
    app::SettingsStore store(locations, files);
    const auto absolute = [](const QString& folder) {
        return QDir(folder).absolutePath();
    };
    if (parser.isSet(msts))
        store.WriteSetting(app::SettingsRoot::LocalMachine,
                           QString::fromUtf16(app::MstsSettingsKey),
                           QString::fromUtf16(app::MstsPathValue), absolute(parser.value(msts)));
    if (parser.isSet(rametta))
        store.WriteSetting(
            app::SettingsRoot::LocalMachine, QString::fromUtf16(app::PictelleSettingsKey),
            QString::fromUtf16(app::RamettaPathValue), absolute(parser.value(rametta)));
    return locations;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf16(app::ApplicationTitle));

    // The Thumbnails folder is chosen once, for the whole run.
    platform::FileSystem files = platform::FileSystem::forOneRun();
    QTemporaryDir session;
    app::SettingsStore settings(settingsLocations(QApplication::arguments(), files, session),
                                files);
    app::Global global(files, settings);
    global.Wine = platform::CurrentWineEnvironment();

    const std::unique_ptr<app::frmPrincipal> window = app::Main(global);
    if (!window)
        return 1;
    return QApplication::exec();
}
