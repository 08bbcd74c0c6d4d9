#pragma once

// The settings store: ReadSetting, WriteSetting and ClearSettingKey over registry-style keys
// ("SOFTWARE\Pictelle") and value names ("Rametta_Path").
//
// On Linux there is no system registry. The program's own values, and any value a user
// writes by hand, live in an INI file (one section per key, `[SOFTWARE\Pictelle]`, then
// `Rametta_Path=/home/me/Rametta`), read and written through QSettings. Keys of other
// software that the file does not hold are read, never written, from a Wine prefix's
// system.reg; in a 64-bit prefix a 32-bit program's key sits under
// `Software\Wow6432Node\...`, and that view is preferred since the simulator and this
// program are 32-bit programs on Windows. A drive-letter path found there ("C:\...") is
// mapped to a native one through the prefix's drive table.
//
// No operation reports a failure: a read that fails in any way gives the empty text, and a
// write that fails changes nothing.

#include "shared/WineRegistry.h"

#include <QString>

namespace platform {
class FileSystem;
}

namespace app {

enum class SettingsRoot { LocalMachine };

// Keys and value names the program uses.
inline constexpr char16_t MstsSettingsKey[] =
    u"SOFTWARE\\Microsoft\\Microsoft Games\\Train Simulator\\1.0";
inline constexpr char16_t MstsPathValue[] = u"Path";
inline constexpr char16_t PictelleSettingsKey[] = u"SOFTWARE\\Pictelle";
inline constexpr char16_t RamettaPathValue[] = u"Rametta_Path";
inline constexpr char16_t WindowsSettingsKey[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char16_t ProgramFilesDirValue[] = u"ProgramFilesDir";

class SettingsStore {
public:
    struct Locations {
        // Native path of the INI file holding the program's own key.
        QString iniFile;
        // Native path of the Wine registry file read for other software's keys; empty: none.
        QString wineRegistry;
        // A Wine registry file larger than this is not read at all.
        qint64 maxWineRegistryBytes = MaxWineRegistryBytes;
    };

    // Values longer than this read as empty, as through the registry's 1024-byte buffer.
    static constexpr qsizetype MaxValueLength = 1023;
    // An INI file larger than this is neither read nor rewritten.
    static constexpr qint64 MaxIniBytes = 4 * 1024 * 1024;

    // $XDG_CONFIG_HOME/Pictelle/registry.ini (default ~/.config/...), and system.reg of
    // $WINEPREFIX (default ~/.wine).
    static Locations defaultLocations();

    // `files` reads the Wine registry and maps its drive-letter paths; its drive table must
    // be that of the same prefix.
    SettingsStore(Locations locations, const platform::FileSystem& files);

    const Locations& locations() const { return locations_; }

    // The stored text, or the empty text when it is missing, unreadable or too long.
    QString ReadSetting(SettingsRoot root, const QString& key, const QString& valueName) const;
    // Stores the text, creating the key when missing. Failures are ignored.
    void WriteSetting(SettingsRoot root, const QString& key, const QString& valueName,
                      const QString& text);
    // Empties the value, then removes the key with every value it holds. Failures are ignored.
    void ClearSettingKey(SettingsRoot root, const QString& key, const QString& valueName);

private:
    bool iniUsable() const;
    QString readWineRegistry(const QString& key, const QString& valueName) const;

    Locations locations_;
    const platform::FileSystem& files_;
};

} // namespace app
