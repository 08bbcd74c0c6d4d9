#include "platform/WinePrefixes.h"

#include "platform/FileSystem.h"

#include <QDir>

#include <climits>
#include <cstdlib>

namespace platform {

namespace {

// The real folder behind a path, links followed; empty for a loop or a dangling link.
QString realFolder(const FileSystem& fs, const QString& native) {
    if (!fs.isFolder(native))
        return {};
    char buffer[PATH_MAX];
    if (::realpath(FileSystem::nativeBytes(native).constData(), buffer) == nullptr)
        return {};
    return FileSystem::nameFromBytes(QByteArray(buffer));
}

bool looksLikePrefix(const FileSystem& fs, const QString& folder) {
    return fs.isFolder(folder + QStringLiteral("/drive_c")) ||
           fs.isFile(folder + QStringLiteral("/system.reg"));
}

} // namespace

WineEnvironment CurrentWineEnvironment() {
    return {QDir::homePath(), qEnvironmentVariable("WINEPREFIX")};
}

QStringList KnownWinePrefixes(const FileSystem& fs, const WineEnvironment& environment) {
    QStringList candidates;
    if (!environment.winePrefix.isEmpty())
        candidates << environment.winePrefix;
    if (!environment.home.isEmpty()) {
        const QString home = environment.home;
        candidates << home + QStringLiteral("/.wine");
        const QString containers[] = {
            QStringLiteral("/.local/share/wineprefixes"),
            QStringLiteral("/.PlayOnLinux/wineprefix"),
            QStringLiteral("/.local/share/bottles/bottles"),
            QStringLiteral("/.var/app/com.usebottles.bottles/data/bottles/bottles"),
        };
        for (const QString& container : containers) {
            const QString folder = home + container;
            for (const QString& name :
                 fs.list(folder, QStringLiteral("*"), FileSystem::EntryKind::Folders,
                         FileSystem::Hidden::Include))
                candidates << folder + u'/' + name;
        }
    }
    QStringList prefixes;
    QStringList seen;
    for (const QString& candidate : candidates) {
        const QString real = realFolder(fs, candidate);
        if (real.isEmpty() || seen.contains(real) || !looksLikePrefix(fs, real))
            continue;
        seen << real;
        prefixes << real;
    }
    return prefixes;
}

QString FindSimulatorFolder(const FileSystem& fs, const QStringList& prefixes) {
    for (const QString& prefix : prefixes) {
        const QString driveC = prefix + QStringLiteral("/drive_c");
        // "Program Files" and "Program Files (x86)", in that order.
        for (const QString& programFiles :
             fs.list(driveC, QStringLiteral("Program Files*"), FileSystem::EntryKind::Folders)) {
            const QString simulator = fs.resolve(
                driveC + u'/' + programFiles + QStringLiteral("/Microsoft Games/Train Simulator"));
            if (!simulator.isEmpty() && fs.isFolder(simulator + QStringLiteral("/TRAINS/TRAINSET")))
                return simulator;
        }
    }
    return {};
}

QString PrefixProgramFiles(const FileSystem& fs, const QString& prefix) {
    const QString folder = prefix + QStringLiteral("/drive_c/Program Files");
    return fs.isFolder(folder) ? fs.resolve(folder) : QString();
}

} // namespace platform
