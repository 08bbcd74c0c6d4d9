#pragma once

// Where a folder dialog opens: the folder already in its target variable, else the
// system's program-files folder (read once per run and cached), else the user's home folder
// (the program's own folder, /usr/bin once installed, is no place to look for anything);
// a start folder that does not exist falls back to the home folder too. Without a home
// folder, the program's own folder stands in.

#include <QString>

#include <functional>

namespace dialogs {

struct StartFolderSources {
    // Reads the system's program-files folder from the settings store; empty when unset.
    std::function<QString()> readProgramFilesSetting;
    // True when the folder can be listed.
    std::function<bool(const QString&)> folderExists;
    // The program's own folder.
    QString ownFolder;
    // The user's home folder; empty: none.
    QString homeFolder;
};

// Fills the target with the dialog's start folder. programFilesFolder is the program-wide
// cache: read through the sources only while it is empty, and kept filled afterwards (with
// the fallback folder when the setting is empty) so that later dialogs do not read it again.
void ChooseStartFolder(QString& target, QString& programFilesFolder,
                       const StartFolderSources& sources);

} // namespace dialogs
