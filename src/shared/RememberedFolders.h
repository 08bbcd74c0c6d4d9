#pragma once

// The folders a start takes from earlier runs, checked before they are used: a simulator
// folder that is gone, cannot be listed or holds no TRAINS\TRAINSET, and a Rametta folder
// that is gone or cannot be listed, are told to the user in one message and asked for again.
// Without this a wrong folder chosen once would leave every later start on an empty list.

#include "shared/SimulatorFolder.h"

#include <QString>
#include <QStringList>

namespace platform {
class FileSystem;
}

namespace app {

class SettingsStore;

enum class FolderFault {
    None,
    Missing,    // nothing of that name, or not a folder
    Unreadable, // a folder this user may not list
    NoTrainset, // a folder without TRAINS\TRAINSET: no simulator there
};

// What a folder lacks to serve as the simulator's folder.
FolderFault SimulatorFolderFault(const platform::FileSystem& fs, const QString& folder);
// What a folder lacks to be read at all (the Rametta folder, a folder a dialog offers).
FolderFault ReadableFolderFault(const platform::FileSystem& fs, const QString& folder);

struct StartFolders {
    // The simulator's folder and where it came from; path empty: ask for it.
    MstsFolder Msts;
    // The Rametta folder; empty: ask for it.
    QString Rametta;
    // The one message telling which remembered folders were set aside, and why; empty when
    // every remembered folder serves.
    QString Report;
};

// The simulator's folder in the start order of ReadMstsFolder and the stored Rametta folder,
// each set aside when it cannot serve. A registration that cannot serve gives way to a folder
// the user confirmed on an earlier run, so that a stale registration is not asked about at
// every start.
StartFolders ReadStartFolders(const SettingsStore& settings, const platform::FileSystem& fs,
                              const QStringList& prefixes);

} // namespace app
