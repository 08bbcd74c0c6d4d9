#pragma once

// The thumbnail inventory: which vehicles already have a thumbnail, and where.
//
// Four sources, read once per run by LoadThumbnailInventory:
//   - the Rametta program's Thumbnails folder (RamettaPath\Thumbnails, its *.bmp files);
//   - Bitmaps.ini in that folder: a line naming one of its bitmaps (letter case ignored)
//     makes that bitmap serve every vehicle whose name begins with it;
//   - this program's own Thumbnails folders (FileSystem::thumbnailsFolders(): the one beside
//     the program and the per-user one, wherever earlier runs made thumbnails);
//   - the 94 names whose thumbnails Rametta carries built in (four of them prefixes).
//
// ClassifyVehicle tries the own folder, then the Rametta folder, then the built-in table;
// the last source that matches decides, so BuiltIntoRametta wins over InRamettaFolder, which
// wins over CreatedHere. Vehicle and thumbnail names compare in upper case.
//
// Bitmaps.ini is the consist editor's own file and is read the way that editor reads it:
// Windows-1252 bytes, a line ends at CR or CR LF (a lone LF stays in the line), lines taken
// whole (no trimming, no INI parsing), empty lines skipped.

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>

namespace platform {
class FileSystem;
}

namespace inventory {

enum class ThumbnailStatus { ToMake, CreatedHere, InRamettaFolder, BuiltIntoRametta };

// "ToMake", "CreatedHere", "InRamettaFolder", "BuiltIntoRametta".
QString ThumbnailStatusName(ThumbnailStatus status);

struct Rgb {
    int red;
    int green;
    int blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
// The text colour of a list item with that status (all four are shown bold).
Rgb ThumbnailStatusColour(ThumbnailStatus status);

struct ThumbnailEntry {
    // A bitmap file's name less its last four characters, or a built-in name.
    QString Name;
    // True: serves every vehicle whose name begins with Name; false: only the one named so.
    bool PrefixMatch = false;
};

inline constexpr int BuiltInThumbnailCount = 94;
// The names built into Rametta, upper case, in its order; indices 38-41 are prefixes.
const std::array<ThumbnailEntry, BuiltInThumbnailCount>& BuiltInThumbnails();

class ThumbnailInventory {
public:
    // An inventory with nothing but the built-in table.
    ThumbnailInventory();
    // An inventory from lists already read (empty names are skipped, as in the files).
    ThumbnailInventory(QStringList bitmapsIniLines, QList<ThumbnailEntry> ramettaThumbnails,
                       QStringList ownThumbnails);

    // Non-empty lines of Bitmaps.ini, in file order.
    const QStringList& BitmapsIniLines() const { return bitmapsIniLines_; }
    // Bitmaps of the Rametta Thumbnails folder, in listing order.
    const QList<ThumbnailEntry>& RamettaThumbnails() const { return ramettaThumbnails_; }
    // Bitmap names of the program's own Thumbnails folder, in listing order.
    const QStringList& OwnThumbnails() const { return ownThumbnails_; }

private:
    friend ThumbnailStatus ClassifyVehicle(const ThumbnailInventory&, const QString&);

    // One source's names in upper case: whole names in a hash, prefixes in a short list, so
    // that classifying a long list against a large thumbnail folder stays linear.
    struct Keys {
        QSet<QString> whole;
        QStringList prefixes;
        void add(const QString& name, bool prefix);
        bool matches(const QString& upperName) const;
    };
    void index();

    QStringList bitmapsIniLines_;
    QList<ThumbnailEntry> ramettaThumbnails_;
    QStringList ownThumbnails_;
    // Upper-case copies made once, so that classifying a long list does no per-entry work.
    Keys ownKeys_;
    Keys ramettaKeys_;
    Keys builtInKeys_;
};

// The lines of a Bitmaps.ini file's bytes, decoded as Windows-1252: CR or CR LF ends a line,
// a lone LF stays in it; empty lines are dropped.
QStringList ReadBitmapsIniLines(const QByteArray& bytes);

// The Rametta folder's bitmaps as entries: one that a Bitmaps.ini line names (letter case
// ignored) matches by prefix. Linear in both lists.
QList<ThumbnailEntry> RamettaEntries(const QStringList& bitmapNames,
                                     const QStringList& bitmapsIniLines);

// Reads the four sources: ramettaPath + "\Thumbnails" (and its Bitmaps.ini) and the
// program's own Thumbnails folder. A missing folder or file leaves its list empty, and so does
// an empty ramettaPath; nothing is reported.
ThumbnailInventory LoadThumbnailInventory(const platform::FileSystem& fs,
                                          const QString& ramettaPath);

// The status of a vehicle, named by its definition file's name less the extension
// ("scotsman" for scotsman.eng).
ThumbnailStatus ClassifyVehicle(const ThumbnailInventory& inventory, const QString& vehicleName);

// True when the path names a folder that can be listed, with or without a final backslash.
// Never throws.
bool FolderExists(const platform::FileSystem& fs, const QString& path);

// Appends a backslash unless the path, blanks ignored, already ends with one; trailing
// blanks are removed first.
void AddTrailingBackslash(QString& path);

} // namespace inventory
