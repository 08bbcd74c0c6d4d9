#include "app/ProgramArguments.h"
#include "app/Startup.h"
#include "app/frmPrincipal.h"
#include "platform/FileSystem.h"
#include "shared/Messages.h"
#include "shared/SettingsStore.h"
#include "state/Global.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Folders given on the command line (`--msts DIR`, `--rametta DIR`, as the sample content is
// run) hold for this run only: the settings then live in a throw-away file that the given
// folders are written into first, so nothing is stored over the user's own settings.
// Without them, the user's settings are used as they are.
app::SettingsStore::Locations settingsLocations(const app::ProgramArguments& arguments,
                                                const platform::FileSystem& files,
                                                QTemporaryDir& session) {
    app::SettingsStore::Locations locations = app::SettingsStore::defaultLocations();
    if (!arguments.msts && !arguments.rametta)
        return locations;
    locations.iniFile = session.filePath(QStringLiteral("registry.ini"));
    app::SettingsStore store(locations, files);
    const auto absolute = [](const QString& folder) {
        return QDir(folder).absolutePath();
    };
    if (arguments.msts)
        store.WriteSetting(app::SettingsRoot::LocalMachine,
                           QString::fromUtf16(app::MstsSettingsKey),
                           QString::fromUtf16(app::MstsPathValue), absolute(*arguments.msts));
    if (arguments.rametta)
        store.WriteSetting(app::SettingsRoot::LocalMachine,
                           QString::fromUtf16(app::PictelleSettingsKey),
                           QString::fromUtf16(app::RamettaPathValue), absolute(*arguments.rametta));
    return locations;
}

void printLine(const QString& text) {
    std::fputs((text + u'\n').toLocal8Bit().constData(), stdout);
}

} // namespace

int main(int argc, char** argv) {
    // Read before the application object, which needs a display: --help and --version
    // answer on a machine without one.
    QStringList argumentList;
    for (int i = 0; i < argc; ++i)
        argumentList.append(QString::fromLocal8Bit(argv[i]));
    const app::ProgramArguments arguments = app::ParseProgramArguments(argumentList);
    switch (arguments.request) {
    case app::ProgramArguments::Request::Help:
        printLine(app::ProgramUsage());
        return 0;
    case app::ProgramArguments::Request::Version:
        printLine(app::ProgramVersionLine());
        return 0;
    case app::ProgramArguments::Request::OpenWindow:
        break;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf16(app::ApplicationTitle));

    // The Thumbnails folder is chosen once, for the whole run.
    platform::FileSystem files = platform::FileSystem::forOneRun();
    QTemporaryDir session;
    app::SettingsStore settings(settingsLocations(arguments, files, session), files);
    app::Global global(files, settings);
    global.Wine = platform::CurrentWineEnvironment();

    const std::unique_ptr<app::frmPrincipal> window = app::Main(global);
    if (!window)
        return 1;
    return QApplication::exec();
}
