#include "platform/FileSystem.h"

#include "platform/Windows1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool isDrivePrefix(const QString& part) {
    return part.size() == 2 && part[1] == u':' && part[0].isLetter();
}

// NTFS-like order: without regard to case, ties broken by the exact text so that the
// order is stable.
bool caseInsensitiveLess(const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

QRegularExpression wildcard(const QString& pattern) {
    // "*.*" matches names without a dot too, as on Windows.
    const QString p = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
    return QRegularExpression(QRegularExpression::wildcardToRegularExpression(p),
                              QRegularExpression::CaseInsensitiveOption);
}

bool statNative(const QString& native, struct stat& info) {
    return !native.isEmpty() && ::stat(FileSystem::nativeBytes(native).constData(), &info) == 0;
}

bool existsNative(const QString& native) {
    struct stat info {};
    return statNative(native, info);
}

bool isDirNative(const QString& native) {
    struct stat info {};
    return statNative(native, info) && S_ISDIR(info.st_mode);
}

bool isFileNative(const QString& native) {
    struct stat info {};
    return statNative(native, info) && S_ISREG(info.st_mode);
}

bool lexists(const QByteArray& bytes) {
    struct stat info {};
    return ::lstat(bytes.constData(), &info) == 0;
}

} // namespace

QString FileSystem::nameFromBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeWindows1252(bytes);
}

QByteArray FileSystem::nativeBytes(const QString& nativePath) {
    QByteArray whole = nativePath.toUtf8();
    // Plain ASCII, or a path that exists as UTF-8: nothing to look for.
    if (whole.size() == nativePath.size() || lexists(whole))
        return whole;
    QByteArray out;
    const QStringList parts = nativePath.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out.append('/');
        const QString& part = parts[i];
        QByteArray bytes = part.toUtf8();
        if (bytes.size() != part.size() && !lexists(out + bytes)) {
            const std::optional<QByteArray> legacy = EncodeWindows1252(part);
            // Only a name that decodes back the same way, as the listing showed it.
            if (legacy && nameFromBytes(*legacy) == part && lexists(out + *legacy))
                bytes = *legacy;
        }
        out.append(bytes);
    }
    return out;
}

FileSystem::Options FileSystem::defaultOptions() {
    Options o;
    o.dosDevices = winePrefix() + QStringLiteral("/dosdevices");
    o.dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (o.dataHome.isEmpty())
        o.dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    if (QCoreApplication::instance())
        o.ownFolder = QCoreApplication::applicationDirPath();
    o.installFolder = QStringLiteral(PICTELLE_INSTALL_BINDIR);
    return o;
}

QString FileSystem::winePrefix() {
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    return prefix.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine") : prefix;
}

bool FileSystem::isDrivePath(const QString& path) {
    return path.size() >= 2 && isDrivePrefix(path.left(2));
}

FileSystem::FileSystem() : FileSystem(defaultOptions()) {}

FileSystem::FileSystem(Options options) : options_(std::move(options)) {
    if (options_.ownFolder.isEmpty() && QCoreApplication::instance())
        options_.ownFolder = QCoreApplication::applicationDirPath();
    if (options_.dataHome.isEmpty())
        options_.dataHome = defaultOptions().dataHome;
}

QStringList FileSystem::splitPath(const QString& path) {
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != u'\\' && path[i] != u'/')
            continue;
        if (i > start && !(i - start == 1 && path[start] == u'.'))
            parts.append(path.mid(start, i - start));
        start = i + 1;
    }
    return parts;
}

QString FileSystem::displayPath(const QString& path) {
    return QDir::toNativeSeparators(QString(path).replace(u'\\', u'/'));
}

bool FileSystem::root(const QString& path, QString& start, QStringList& parts) const {
    parts = splitPath(path);
    if (!parts.isEmpty() && isDrivePrefix(parts.front())) {
        const QString drive = parts.takeFirst().toLower();
        if (options_.dosDevices.isEmpty())
            return false;
        const QFileInfo link(options_.dosDevices + u'/' + drive);
        if (!link.exists())
            return false;
        start = link.canonicalFilePath();
        return !start.isEmpty();
    }
    if (path.startsWith(u'/') || path.startsWith(u'\\'))
        start = QStringLiteral("/");
    else
        start = QDir::currentPath();
    return true;
}

QList<FileSystem::Entry> FileSystem::readEntries(const QString& nativeFolder, Hidden hidden) const {
    QList<Entry> result;
    DIR* dir = ::opendir(nativeBytes(nativeFolder).constData());
    if (!dir)
        return result;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const char* raw = entry->d_name;
        const qsizetype length = qsizetype(std::strlen(raw));
        // Most names are ASCII, which is the same text in every reading.
        bool ascii = true;
        for (qsizetype i = 0; i < length && ascii; ++i)
            ascii = static_cast<unsigned char>(raw[i]) < 0x80;
        const QString name =
            ascii ? QString::fromLatin1(raw, length) : nameFromBytes(QByteArray(raw, length));
        if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'\\'))
            continue;
        if (hidden == Hidden::Skip && name.startsWith(u'.'))
            continue;
        // The kind the folder records, else (a link, a file system that does not say) the
        // kind of what the entry leads to; a broken link is neither.
        bool folder = entry->d_type == DT_DIR;
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info {};
            const bool found = ::fstatat(dirFd, raw, &info, 0) == 0;
            folder = found && S_ISDIR(info.st_mode);
            regular = found && S_ISREG(info.st_mode);
        }
        result.push_back({name, folder, regular});
    }
    ::closedir(dir);
    std::sort(result.begin(), result.end(),
              [](const Entry& a, const Entry& b) { return caseInsensitiveLess(a.name, b.name); });
    return result;
}

const QList<FileSystem::Entry>& FileSystem::entries(const QString& nativeFolder) const {
    if (cacheDepth_ == 0) {
        scratch_ = readEntries(nativeFolder);
        return scratch_;
    }
    return cachedListing(nativeFolder).entries;
}

int FileSystem::HeldFolder::open(const QString& nativeFolder) {
    if (fd_ >= 0 && folder_ == nativeFolder)
        return fd_;
    release();
    fd_ = ::open(nativeBytes(nativeFolder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0)
        folder_ = nativeFolder;
    return fd_;
}

void FileSystem::HeldFolder::release() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    folder_.clear();
}

FileSystem::InFolder FileSystem::inHeldFolder(const QString& nativePath) const {
    if (cacheDepth_ == 0)
        return {};
    const qsizetype cut = nativePath.lastIndexOf(u'/');
    const QStringView name = QStringView(nativePath).mid(cut + 1);
    if (cut <= 0 || name.isEmpty() || name == u"." || name == u"..")
        return {};
    for (const QChar c : name)
        if (c.unicode() >= 0x80)
            return {};
    const int fd = heldFolder_.open(nativePath.left(cut));
    if (fd < 0)
        return {};
    return {fd, name.toLatin1()};
}

const FileSystem::Listing& FileSystem::cachedListing(const QString& nativeFolder) const {
    if (last_.listing && nativeFolder == last_.folder)
        return *last_.listing;
    auto it = cache_.find(nativeFolder);
    if (it != cache_.end()) {
        last_.folder = nativeFolder;
        last_.listing = &it->second;
        return it->second;
    }
    Listing listing;
    listing.entries = readEntries(nativeFolder);
    listing.exact.reserve(listing.entries.size());
    for (qsizetype i = 0; i < listing.entries.size(); ++i) {
        const QString& name = listing.entries[i].name;
        listing.exact.insert(name, i);
        const QString folded = name.toCaseFolded();
        if (!listing.folded.contains(folded))
            listing.folded.insert(folded, i);
    }
    const Listing& held = cache_.insert_or_assign(nativeFolder, std::move(listing)).first->second;
    last_.folder = nativeFolder;
    last_.listing = &held;
    return held;
}

void FileSystem::forgetListings() const {
    cache_.clear();
    resolvedFolders_.clear();
    last_ = LastListing{};
}

QString FileSystem::matchComponent(const QString& nativeFolder, const QString& name) const {
    if (name.contains(u'\\'))
        return {};
    const QString exact =
        nativeFolder.endsWith(u'/') ? nativeFolder + name : nativeFolder + u'/' + name;
    // Hidden names are never listed nor matched by case, but one named exactly is followed:
    // a Wine prefix lives in ~/.wine.
    if (name.startsWith(u'.'))
        return existsNative(exact) ? exact : QString();
    if (cacheDepth_ == 0 && existsNative(exact))
        return exact;
    if (cacheDepth_ > 0) {
        const Listing& listing = cachedListing(nativeFolder);
        if (listing.exact.contains(name))
            return exact;
        const auto folded = listing.folded.constFind(name.toCaseFolded());
        if (folded == listing.folded.cend())
            return {};
        const QString& found = listing.entries[*folded].name;
        return nativeFolder.endsWith(u'/') ? nativeFolder + found : nativeFolder + u'/' + found;
    }
    const QString found = caseVariant(nativeFolder, name);
    if (found.isEmpty())
        return {};
    return nativeFolder.endsWith(u'/') ? nativeFolder + found : nativeFolder + u'/' + found;
}

QString FileSystem::caseVariant(const QString& nativeFolder, const QString& name) const {
    // One pass over the folder's entries, none of them kept: the Thumbnails folder is asked
    // for each picture placed, and it grows with the library.
    DIR* dir = ::opendir(nativeBytes(nativeFolder).constData());
    if (!dir)
        return {};
    const auto isAscii = [](const char* bytes, qsizetype length) {
        for (qsizetype i = 0; i < length; ++i)
            if (static_cast<unsigned char>(bytes[i]) >= 0x80)
                return false;
        return true;
    };
    // Letters compared as ASCII whatever the locale, as QString compares them.
    const auto sameAscii = [](const char* a, const char* b, qsizetype length) {
        for (qsizetype i = 0; i < length; ++i) {
            const auto lower = [](char c) {
                return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
            };
            if (lower(a[i]) != lower(b[i]))
                return false;
        }
        return true;
    };
    const QByteArray nameBytes = name.toUtf8();
    const bool asciiName = isAscii(nameBytes.constData(), nameBytes.size());
    QString best;
    while (const dirent* entry = ::readdir(dir)) {
        const char* raw = entry->d_name;
        const qsizetype length = qsizetype(std::strlen(raw));
        const bool ascii = isAscii(raw, length);
        // Two ASCII names are equal without regard to case only when their bytes are.
        if (ascii && asciiName &&
            (length != nameBytes.size() || !sameAscii(raw, nameBytes.constData(), length)))
            continue;
        const QString candidate =
            ascii ? QString::fromLatin1(raw, length) : nameFromBytes(QByteArray(raw, length));
        if (candidate.startsWith(u'.') || candidate.contains(u'\\') ||
            QString::compare(candidate, name, Qt::CaseInsensitive) != 0)
            continue;
        if (candidate == name) { // created since it was looked for: the exact spelling wins
            best = candidate;
            break;
        }
        if (best.isEmpty() || caseInsensitiveLess(candidate, best))
            best = candidate;
    }
    ::closedir(dir);
    return best;
}

QString FileSystem::resolve(const QString& path) const {
    if (cacheDepth_ > 0) {
        // During a scan many paths share their folder: resolve the folder text once.
        const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
        const QStringView last = QStringView(path).mid(cut + 1);
        if (cut > 0 && !last.isEmpty() && last != u"." && last != u"..") {
            const QStringView folderText = QStringView(path).left(cut);
            auto it = resolvedFolders_.constFind(folderText.toString());
            if (it == resolvedFolders_.cend())
                it = resolvedFolders_.insert(folderText.toString(),
                                             resolveParts(folderText.toString()));
            return it->isEmpty() ? QString() : matchComponent(*it, last.toString());
        }
    }
    return resolveParts(path);
}

QString FileSystem::resolveParts(const QString& path) const {
    QString current;
    QStringList parts;
    if (path.isEmpty() || !root(path, current, parts))
        return {};
    for (const QString& part : parts) {
        if (part == QLatin1String("..")) {
            if (current != QLatin1String("/"))
                current = QFileInfo(current).path();
            continue;
        }
        current = matchComponent(current, part);
        if (current.isEmpty())
            return {};
    }
    return current;
}

QString FileSystem::resolveForWrite(const QString& path) const {
    QStringList parts = splitPath(path);
    if (parts.isEmpty() || parts.back() == QLatin1String(".."))
        return {};
    const QString last = parts.back();
    if (last.contains(u'\\') || isDrivePrefix(last))
        return {};
    // The folder part of the text, kept in its own form so that drives and roots map alike.
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    const QString folderText = cut < 0 ? QString() : path.left(cut + 1);
    const QString folder = folderText.isEmpty() ? QDir::currentPath() : resolve(folderText);
    if (folder.isEmpty() || !isDirNative(folder))
        return {};
    const QString existing = matchComponent(folder, last);
    if (!existing.isEmpty())
        return existing;
    return folder.endsWith(u'/') ? folder + last : folder + u'/' + last;
}

QString FileSystem::fileIdentity(const QString& path) const {
    const QString native = resolve(path);
    struct stat info {};
    if (!statNative(native, info) || !S_ISREG(info.st_mode))
        return {};
    return QStringLiteral("%1:%2:%3:%4.%5")
        .arg(quint64(info.st_dev))
        .arg(quint64(info.st_ino))
        .arg(qint64(info.st_size))
        .arg(qint64(info.st_mtim.tv_sec))
        .arg(qint64(info.st_mtim.tv_nsec));
}

bool FileSystem::isFolder(const QString& path) const {
    return isDirNative(resolve(path));
}

bool FileSystem::canList(const QString& path) const {
    const QString native = resolve(path);
    // The effective user decides, as it does when the folder is then listed.
    return isDirNative(native) &&
           ::faccessat(AT_FDCWD, nativeBytes(native).constData(), R_OK | X_OK, AT_EACCESS) == 0;
}

bool FileSystem::isFile(const QString& path) const {
    return isFileNative(resolve(path));
}

bool FileSystem::canRead(const QString& path) const {
    const QString native = resolve(path);
    if (native.isEmpty())
        return false;
    if (cacheDepth_ > 0) {
        // The listing that resolved the name already knows its kind; only the permission
        // is left to ask.
        const qsizetype cut = native.lastIndexOf(u'/');
        const Listing& listing = cachedListing(cut == 0 ? QStringLiteral("/") : native.left(cut));
        const auto it = listing.exact.constFind(native.mid(cut + 1));
        if (it != listing.exact.cend()) {
            if (!listing.entries[*it].regular)
                return false;
            const InFolder in = inHeldFolder(native);
            return in.fd >= 0 ? ::faccessat(in.fd, in.name.constData(), R_OK, 0) == 0
                              : ::access(nativeBytes(native).constData(), R_OK) == 0;
        }
    }
    return isFileNative(native) && ::access(nativeBytes(native).constData(), R_OK) == 0;
}

QStringList FileSystem::list(const QString& folder, const QString& pattern, EntryKind kind,
                             Hidden hidden) const {
    QStringList names;
    const QString native = resolve(folder);
    if (native.isEmpty())
        return names;
    // "*" and "*.ext", the patterns a scan uses, need no regular expression.
    const QStringView suffix = QStringView(pattern).mid(1);
    const bool all = pattern == u"*" || pattern == u"*.*";
    const bool plainSuffix = pattern.startsWith(u'*') && !suffix.contains(u'*') &&
                             !suffix.contains(u'?') && !suffix.contains(u'[');
    const QRegularExpression match = all || plainSuffix ? QRegularExpression() : wildcard(pattern);
    const QList<Entry> withHidden =
        hidden == Hidden::Include ? readEntries(native, hidden) : QList<Entry>();
    for (const Entry& e : hidden == Hidden::Include ? withHidden : entries(native)) {
        if (e.folder != (kind == EntryKind::Folders))
            continue;
        if (all || (plainSuffix ? e.name.endsWith(suffix, Qt::CaseInsensitive)
                                : match.match(e.name).hasMatch()))
            names.push_back(e.name);
    }
    return names;
}

std::optional<QByteArray> FileSystem::readFile(const QString& path, qint64 maxBytes) const {
    const QString native = resolve(path);
    if (native.isEmpty())
        return std::nullopt;
    // Only regular files are read. The kind is checked before opening, since opening a
    // device can act on it (a tape rewinds, a terminal is claimed); the open itself does not
    // block nor take a terminal, and the kind is checked again on what was opened, in case
    // the entry was swapped in between.
    constexpr int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    const InFolder in = inHeldFolder(native);
    const QByteArray bytesPath = in.fd >= 0 ? QByteArray() : nativeBytes(native);
    struct stat before {};
    const int found = in.fd >= 0 ? ::fstatat(in.fd, in.name.constData(), &before, 0)
                                 : ::stat(bytesPath.constData(), &before);
    if (found != 0 || !S_ISREG(before.st_mode) || before.st_size > maxBytes)
        return std::nullopt;
    const int fd = in.fd >= 0 ? ::openat(in.fd, in.name.constData(), flags)
                              : ::open(bytesPath.constData(), flags);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> result;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        // Sized from what the file holds, not from the limit; one byte more finds the end,
        // and a file that grows while being read is still held to the limit.
        QByteArray bytes(static_cast<qsizetype>(info.st_size) + 1, Qt::Uninitialized);
        qsizetype filled = 0;
        bool failed = false;
        for (;;) {
            if (filled == bytes.size()) {
                if (bytes.size() > maxBytes)
                    break;
                bytes.resize(std::min<qint64>(bytes.size() * 2, maxBytes + 1));
            }
            const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                failed = n < 0;
                break;
            }
            filled += n;
            // Short of the buffer and past the size found: the end, without another call.
            if (filled < bytes.size() && filled >= info.st_size)
                break;
        }
        if (!failed && filled <= maxBytes) {
            bytes.truncate(filled);
            result = std::move(bytes);
        }
    }
    ::close(fd);
    return result;
}

bool FileSystem::writeFileAtomically(const QString& path, const QByteArray& bytes) const {
    const QString native = resolveForWrite(path);
    if (native.isEmpty())
        return false;
    // Our own temporary file rather than QSaveFile's, which names the folder in UTF-8 and
    // would miss one named in Windows-1252. Created exclusively with the usual permissions,
    // so that it ends up as readable as a file written in place.
    const qsizetype cut = native.lastIndexOf(u'/');
    const QString folder = cut == 0 ? QStringLiteral("/") : native.left(cut);
    const QString written = writeExclusiveFile(
        folder, QStringLiteral(".pictelle-") + native.mid(cut + 1) + u'.', QString(), bytes);
    if (written.isEmpty())
        return false;
    const QString inFolder = folder.endsWith(u'/') ? folder : folder + u'/';
    const QString temporary = inFolder + written.mid(inFolder.size());
    if (std::rename(nativeBytes(temporary).constData(), nativeBytes(native).constData()) != 0) {
        ::unlink(nativeBytes(temporary).constData());
        return false;
    }
    return true;
}

bool FileSystem::writeIntoFile(const QString& path, const QByteArray& bytes) const {
    const QString native = resolve(path);
    if (!isFileNative(native))
        return false;
    const int fd = ::open(nativeBytes(native).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    const bool whole = done == bytes.size();
    // A file cut short is worse than an empty one.
    const bool emptied = whole || ::ftruncate(fd, 0) == 0;
    return ::close(fd) == 0 && whole && emptied;
}

bool FileSystem::removeFile(const QString& path, FileError* error) const {
    const QString native = resolve(path);
    if (!isFileNative(native))
        return failWith(error, ENOENT, native.isEmpty() ? path : native);
    if (::unlink(nativeBytes(native).constData()) != 0)
        return failWith(error, errno, native);
    return true;
}

bool FileSystem::makeFolder(const QString& path, FileError* error) const {
    if (isFolder(path))
        return true;
    // Create what is missing below the deepest existing folder, keeping the case given.
    QString start;
    QStringList parts;
    if (!root(path, start, parts))
        return failWith(error, ENOENT, path);
    QString current = start;
    for (const QString& part : parts) {
        if (part == QLatin1String("..")) {
            if (current != QLatin1String("/"))
                current = QFileInfo(current).path();
            continue;
        }
        const QString existing = matchComponent(current, part);
        current = existing.isEmpty()
                      ? (current.endsWith(u'/') ? current + part : current + u'/' + part)
                      : existing;
        if (existing.isEmpty() && ::mkdir(nativeBytes(current).constData(), 0777) != 0 &&
            errno != EEXIST)
            return failWith(error, errno, current);
    }
    forgetListings();
    heldFolder_.release();
    return isDirNative(current) || failWith(error, ENOTDIR, current);
}

QString FileSystem::ownFolder() const {
    return options_.ownFolder;
}

FileSystem FileSystem::forOneRun(Options options) {
    FileSystem run(std::move(options));
    run.chosenThumbnails_ = run.thumbnailsFolder();
    return run;
}

QString FileSystem::thumbnailsFolder() const {
    if (!chosenThumbnails_.isEmpty())
        return chosenThumbnails_;
    // The Thumbnails folder itself decides: one left read-only (by a run as another user)
    // in a writable program folder would make every creation fail.
    const auto writable = [](const QString& folder) {
        return isDirNative(folder) && ::access(nativeBytes(folder).constData(), W_OK | X_OK) == 0;
    };
    // An installed copy shares its folder with every other program of the system: even a
    // user who may write there (root) keeps its pictures in the user's own folders.
    const auto sameFolder = [](const QString& a, const QString& b) {
        const QString canonicalA = QFileInfo(a).canonicalFilePath();
        return !canonicalA.isEmpty() ? canonicalA == QFileInfo(b).canonicalFilePath()
                                     : QDir::cleanPath(a) == QDir::cleanPath(b);
    };
    const bool installed =
        !options_.installFolder.isEmpty() && sameFolder(options_.ownFolder, options_.installFolder);
    if (!options_.ownFolder.isEmpty() && !installed) {
        const QString own = QDir(options_.ownFolder).filePath(QStringLiteral("Thumbnails"));
        if (existsNative(own) ? writable(own) : writable(options_.ownFolder))
            return own;
    }
    return QDir(options_.dataHome).filePath(QStringLiteral("Pictelle/Thumbnails"));
}

QStringList FileSystem::thumbnailsFolders() const {
    QStringList folders;
    if (!options_.ownFolder.isEmpty())
        folders.append(
            QDir::cleanPath(QDir(options_.ownFolder).filePath(QStringLiteral("Thumbnails"))));
    const QString perUser =
        QDir::cleanPath(QDir(options_.dataHome).filePath(QStringLiteral("Pictelle/Thumbnails")));
    if (!folders.contains(perUser))
        folders.append(perUser);
    return folders;
}

QString FileSystem::mapDrivePath(const QString& path) const {
    QString start;
    QStringList parts;
    if (!root(path, start, parts))
        return {};
    QString out = start;
    for (const QString& part : parts) {
        if (part == QLatin1String("..")) {
            if (out != QLatin1String("/"))
                out = QFileInfo(out).path();
            continue;
        }
        const QString existing = matchComponent(out, part);
        out = existing.isEmpty() ? (out.endsWith(u'/') ? out + part : out + u'/' + part) : existing;
    }
    return out;
}

FileSystem::ScanCache::ScanCache(const FileSystem& fs) : fs_(fs) {
    ++fs_.cacheDepth_;
}

FileSystem::ScanCache::~ScanCache() {
    if (--fs_.cacheDepth_ == 0) {
        fs_.forgetListings();
        fs_.heldFolder_.release();
    }
}

} // namespace platform
