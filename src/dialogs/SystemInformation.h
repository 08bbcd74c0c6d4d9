#pragma once

// Finding and starting the system information tool for the about box.
//
// Its location lives in the system's settings store; on Linux that is the Wine prefix's
// registry file "system.reg" (the local-machine hive), read by app::ReadWineRegistryValue.

#include "platform/FileSystem.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace dialogs {

struct SystemValue {
    bool found = false; // the value exists and fits the 1,024-byte read buffer
    quint32 type = 0;   // 1 for text
    QString text;       // the text when type is 1, without its terminator
};

// Reads a value of the local-machine hive from the content of a registry file. Key and
// value names compare without regard to case; "@" or an empty name is the default value.
SystemValue ReadSystemValue(const QByteArray& registryFile, const QString& key,
                            const QString& valueName);

// The same from a Wine prefix's system.reg, read through the file layer. A 32-bit
// program's view (under "Software\Wow6432Node") is preferred, as in the settings store.
// Not found when there is no such file.
SystemValue ReadSystemValue(const platform::FileSystem& fs, const QString& registryFile,
                            const QString& key, const QString& valueName);

struct SystemInformationTools {
    std::function<SystemValue(const QString& key, const QString& valueName)> readSystemValue;
    std::function<bool(const QString& path)> fileExists;
    // Starts a program by its path without waiting for it; false when it cannot start.
    std::function<bool(const QString& path)> startProgram;
};

// Where the tool is, or empty: the "PATH" value of the tool's own key when it is a text,
// else "MSINFO32.EXE" in the folder named by the shared-tools location when that file
// exists. A "PATH" value of another type ends the search.
QString FindSystemInformationProgram(const SystemInformationTools& tools);

// Finds and starts the tool. False when it is not found or does not start: the caller
// then tells the user that system information is not available.
bool StartSystemInformation(const SystemInformationTools& tools);

// The real tools: the Wine registry through the file layer, and a starter that runs a
// Windows program through "wine" and any other one directly, once its file is found.
SystemInformationTools SystemInformationToolsFor(const platform::FileSystem& fs,
                                                 const QString& registryFile);

} // namespace dialogs
