#pragma once

// Where the simulator's folder comes from at start, in this order: its registration, the
// folder the user confirmed in the MSTS dialog on an earlier run (MSTS_Path in our own
// key), a simulator found in a known Wine prefix (its registration in that prefix's
// system.reg first, then a copied `Train Simulator` folder), else nothing: the window then
// asks. The window and pictelle-cli take the same answer.

#include <QString>
#include <QStringList>

namespace platform {
class FileSystem;
}

namespace app {

class SettingsStore;

inline constexpr char16_t MstsChoiceValue[] = u"MSTS_Path";

enum class MstsFolderSource { None, Registration, StoredChoice, Discovered };

struct MstsFolder {
    QString path; // empty when nothing gave it
    MstsFolderSource source = MstsFolderSource::None;
    // The prefix it was found in (discovery only), and that prefix's program-files folder,
    // where the Rametta dialog then opens.
    QString prefix;
    QString programFiles;
};

// A simulator registered in, or copied into, one of the prefixes (in their order:
// registrations of all prefixes first, then folders).
MstsFolder DiscoverSimulator(const platform::FileSystem& fs, const QStringList& prefixes);

// The whole start order; `prefixes` are searched only when the settings give nothing.
MstsFolder ReadMstsFolder(const SettingsStore& settings, const platform::FileSystem& fs,
                          const QStringList& prefixes);

// Keeps a folder the user confirmed, for the next start.
void StoreMstsChoice(SettingsStore& settings, const QString& folder);

} // namespace app
