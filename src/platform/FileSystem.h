#pragma once

// The file layer: the only place that touches the disk.
//
// The program builds paths as Windows-style texts ("C:\MSTS\TRAINS\TRAINSET\ACELA\acela.eng"),
// joined with backslashes. This layer maps such a text onto the native file system:
// both separators count, doubled separators collapse, ".." is resolved textually, each
// component is matched without regard to letter case when the exact name is absent, and
// a drive-letter path goes through the Wine prefix's drive table. Listings come sorted
// without regard to case and never hold names containing a backslash, nor hidden names
// unless asked for.
//
// A name on disk that is not valid UTF-8 (Windows-1252 bytes left by an archive made on
// Windows) is answered decoded as Windows-1252; every call that reaches the disk maps a
// native path back to the bytes it names (nativeBytes), so such a file is opened by its
// real name. A name created here is written in UTF-8.

#include "platform/FileError.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <unordered_map>

namespace platform {

class FileSystem {
public:
    struct Options {
        // Folder holding the Wine prefix's drive links ("c:" -> target); empty: none.
        QString dosDevices;
        // The program's own folder; empty: the executable's folder.
        QString ownFolder;
        // Base of the per-user data folder; empty: $XDG_DATA_HOME or ~/.local/share.
        QString dataHome;
        // The folder an installed copy runs from (the install prefix's bin folder); a program
        // found there never writes beside itself. Empty: none.
        QString installFolder = {};
    };

    enum class EntryKind { Files, Folders };
    // The catalog never sees hidden names; the folder dialogs must, to reach ~/.wine.
    enum class Hidden { Skip, Include };

    // Options taken from the environment: $WINEPREFIX (default ~/.wine) for the drive
    // table, the executable's folder, $XDG_DATA_HOME; the install folder the build was
    // configured for.
    static Options defaultOptions();
    // A file layer whose Thumbnails folder is chosen now, once for the whole run (its copies
    // keep it): a folder that stops taking files part way through a run fails the rest of it
    // rather than sending them, unsaid, to the other folder.
    static FileSystem forOneRun(Options options = defaultOptions());

    FileSystem();
    explicit FileSystem(Options options);

    // Native path of the existing file or folder that a path text names; empty when none.
    QString resolve(const QString& path) const;
    // Native path for writing a file named by a path text: its folder must exist; the last
    // component keeps an existing entry's spelling, else it is taken as given. Empty when
    // the folder does not exist.
    QString resolveForWrite(const QString& path) const;

    // What tells the file a path text names from every other: the same for each spelling or
    // link that reaches it, another once the file is rewritten (device, inode, size and
    // modification time). Empty when the path names no regular file.
    QString fileIdentity(const QString& path) const;

    bool isFolder(const QString& path) const;
    bool isFile(const QString& path) const;
    // True when the path names a file (not a folder) that this user may open for reading.
    bool canRead(const QString& path) const;
    // True when the path names a folder that this user may list and enter.
    bool canList(const QString& path) const;

    // Names (not paths) of the entries of a folder that match a wildcard pattern ("*.eng",
    // "*"), without regard to case, sorted without regard to case. Empty when the folder
    // cannot be listed.
    QStringList list(const QString& folder, const QString& pattern, EntryKind kind,
                     Hidden hidden = Hidden::Skip) const;

    // The whole content of a regular file, or nothing when it cannot be read, is not a
    // regular file (a folder, a pipe) or is larger than maxBytes.
    std::optional<QByteArray> readFile(const QString& path,
                                       qint64 maxBytes = 256 * 1024 * 1024) const;

    // Writes a file through a temporary name in the same folder and a rename, so that a
    // half-written file is never seen under its name. False on any failure (nothing left).
    bool writeFileAtomically(const QString& path, const QByteArray& bytes) const;
    // Replaces the content of an existing regular file in place, keeping the file itself, so
    // that a reader already holding it open reads the new bytes (a thumbnail service hands over
    // an output file it reads back through its own handle). False when there is no such file
    // or the write fails; a failed write leaves the file empty.
    bool writeIntoFile(const QString& path, const QByteArray& bytes) const;
    // Creates a file that no other process can hold: `prefix` + this process's id + a random
    // part + `suffix` in `folder`, opened exclusively (O_EXCL), and writes `bytes` into it.
    // Returns the path text written (folder text + name), or the empty text with `error` set;
    // nothing is left behind on failure.
    QString writeExclusiveFile(const QString& folder, const QString& prefix, const QString& suffix,
                               const QByteArray& bytes, FileError* error = nullptr) const;
    // Renames a file; an existing target is replaced in one atomic step (rename(2)). False on
    // failure.
    bool replaceFile(const QString& from, const QString& to, FileError* error = nullptr) const;
    // Renames a file only when the target does not exist, in one atomic step: a file that
    // appears meanwhile is never replaced, and the file is never copied. A target already
    // there fails with EEXIST.
    bool renameFile(const QString& from, const QString& to, FileError* error = nullptr) const;
    bool removeFile(const QString& path, FileError* error = nullptr) const;
    // Creates a folder (and its parents). True when it exists afterwards.
    bool makeFolder(const QString& path, FileError* error = nullptr) const;

    // The executable's folder, native.
    QString ownFolder() const;
    // The program's Thumbnails folder: the one chosen for the run when there is one (forOneRun),
    // else in its own folder when that Thumbnails folder can be written (or, missing,
    // created) and the program is not the installed copy, else under the per-user data
    // folder. Native path; it may not exist yet.
    QString thumbnailsFolder() const;
    // Every folder thumbnails of this program may have been made in, whichever
    // thumbnailsFolder() answered on an earlier run: beside the program, then the per-user
    // one; each once. Native paths; they may not exist.
    QStringList thumbnailsFolders() const;

    // Maps a drive-letter path ("C:\Program Files") to a native one through the drive
    // table; empty when the drive is unknown. Other paths are returned normalised.
    QString mapDrivePath(const QString& path) const;

    // While a ScanCache lives, folder listings are remembered; the cache never outlives it.
    class ScanCache {
    public:
        explicit ScanCache(const FileSystem& fs);
        ~ScanCache();
        ScanCache(const ScanCache&) = delete;
        ScanCache& operator=(const ScanCache&) = delete;

    private:
        const FileSystem& fs_;
    };

    // The Wine prefix's folder: $WINEPREFIX, else ~/.wine.
    static QString winePrefix();
    // True for a path text that starts with a drive letter, such as C:\Program Files.
    static bool isDrivePath(const QString& path);

    // The name of a folder entry as this layer shows it: its UTF-8 text, or its bytes
    // decoded as Windows-1252 when they are not valid UTF-8.
    static QString nameFromBytes(const QByteArray& bytes);
    // The bytes on disk that a native path names: each component as UTF-8 when an entry of
    // that spelling exists (or none does), else as Windows-1252 when such an entry exists.
    static QByteArray nativeBytes(const QString& nativePath);

    // Path text shown to the user: native separators.
    static QString displayPath(const QString& path);
    // Splits a path text on either separator, dropping empty and "." components.
    static QStringList splitPath(const QString& path);

private:
    struct Entry {
        QString name;
        bool folder;
        bool regular; // a regular file (not a folder, pipe or device)
    };
    // A cached listing with its names indexed, so that resolving a path during a scan does
    // not walk every name of a large folder.
    struct Listing {
        QList<Entry> entries;
        QHash<QString, qsizetype> exact;
        QHash<QString, qsizetype> folded; // case-folded name -> first entry in sorted order
    };
    const QList<Entry>& entries(const QString& nativeFolder) const;
    const Listing& cachedListing(const QString& nativeFolder) const;
    // Drops the listings and resolved folders, when a scan ends or the files changed.
    void forgetListings() const;
    QList<Entry> readEntries(const QString& nativeFolder, Hidden hidden = Hidden::Skip) const;
    QString resolveParts(const QString& path) const;
    // Native start folder and the remaining components of a path text.
    bool root(const QString& path, QString& start, QStringList& parts) const;
    QString matchComponent(const QString& nativeFolder, const QString& name) const;
    // The name of the folder's entry that is `name` without regard to case, the first in
    // sorted order when several are; empty when none. Hidden entries are never matched.
    QString caseVariant(const QString& nativeFolder, const QString& name) const;

    // During a scan the files of one folder are reached one after another: a descriptor of
    // that folder spares the kernel walking the whole path again for each of them. A copy
    // holds none; the descriptor is closed with the scan.
    class HeldFolder {
    public:
        HeldFolder() = default;
        HeldFolder(const HeldFolder&) {}
        HeldFolder& operator=(const HeldFolder&) { return *this; }
        ~HeldFolder() { release(); }
        // A descriptor of the native folder, opened when another one is held; -1 on failure.
        int open(const QString& nativeFolder);
        void release();

    private:
        QString folder_;
        int fd_ = -1;
    };
    // A native path as a held folder's descriptor and the name inside it, during a scan and
    // for a plain ASCII name only (other names need nativeBytes' look for their real bytes).
    // fd is -1 when the whole path is to be used.
    struct InFolder {
        int fd = -1;
        QByteArray name;
    };
    InFolder inHeldFolder(const QString& nativePath) const;

    Options options_;
    // The Thumbnails folder chosen for the run; empty: chosen at each call.
    QString chosenThumbnails_;
    mutable int cacheDepth_ = 0;
    mutable HeldFolder heldFolder_;
    // Listings by native folder; their addresses hold until forgetListings().
    mutable std::unordered_map<QString, Listing> cache_;
    // The listing asked for last: a scan asks for one folder's many times in a row, and the
    // comparison is cheaper than hashing the long path again. A copy starts without one, as
    // it would point into the other's listings.
    struct LastListing {
        QString folder;
        const Listing* listing = nullptr;
        LastListing() = default;
        LastListing(const LastListing&) {}
        LastListing& operator=(const LastListing&) {
            *this = LastListing{};
            return *this;
        }
        LastListing& operator=(LastListing&&) = default;
    };
    mutable LastListing last_;
    // Folder texts resolved during a scan, to their native path (empty: none).
    mutable QHash<QString, QString> resolvedFolders_;
    mutable QList<Entry> scratch_;
};

} // namespace platform
