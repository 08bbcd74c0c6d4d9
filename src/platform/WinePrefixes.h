#pragma once

// Where Wine prefixes live on a Linux desktop, and a simulator copied into one of them.
//
// Most users have the simulator in a prefix, often copied there rather than installed, so
// that no registration names it. The known places are looked at in a fixed order, one level
// deep each: no walk of the home folder, and a prefix reached twice (a symbolic link to one
// already listed, or a link that loops) is taken once or not at all.

#include <QString>
#include <QStringList>

namespace platform {

class FileSystem;

struct WineEnvironment {
    QString home;       // the user's home folder
    QString winePrefix; // $WINEPREFIX; empty when unset
};

// The environment of this process.
WineEnvironment CurrentWineEnvironment();

// The prefixes to search, in order: $WINEPREFIX, ~/.wine, then every prefix under
// ~/.local/share/wineprefixes/, ~/.PlayOnLinux/wineprefix/, ~/.local/share/bottles/bottles/
// and ~/.var/app/com.usebottles.bottles/data/bottles/bottles/ (sorted without regard to
// case). Only folders holding a drive_c or a system.reg; each once, by its real folder.
QStringList KnownWinePrefixes(const FileSystem& fs, const WineEnvironment& environment);

// The first `Train Simulator` folder holding TRAINS\TRAINSET (any letter case) under
// drive_c/Program Files*/Microsoft Games/ of the prefixes, in their order; empty when none.
QString FindSimulatorFolder(const FileSystem& fs, const QStringList& prefixes);

// The prefix's program-files folder (drive_c/Program Files); empty when it has none.
QString PrefixProgramFiles(const FileSystem& fs, const QString& prefix);

} // namespace platform
