// Files several processes may write into one folder at once (two thumbnail runs, or the window
// and a run, sharing one Thumbnails folder): names taken exclusively, and renames that are
// atomic and never copy.

#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

// Whether a native path names an entry of this kind (S_IFREG, S_IFDIR), links followed.
bool hasKind(const QString& native, mode_t kind) {
    struct stat info {};
    return ::stat(FileSystem::nativeBytes(native).constData(), &info) == 0 &&
           (info.st_mode & S_IFMT) == kind;
}

// rename(2) that fails with EEXIST instead of replacing. renameat2 where the kernel and the
// file system have it; else link + unlink, which is just as exclusive (link never replaces).
// A file system without hard links either gets a check then a plain rename: a small window,
// but still never a copy.
int renameNoReplace(const QByteArray& from, const QByteArray& to) {
#if defined(SYS_renameat2)
    constexpr unsigned int noReplace = 1; // RENAME_NOREPLACE
    if (::syscall(SYS_renameat2, AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), noReplace) ==
        0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
#endif
    if (::link(from.constData(), to.constData()) == 0) {
        // Both names now hold the file; dropping the old one cannot fail in a way that loses
        // it.
        ::unlink(from.constData());
        return 0;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != EMLINK)
        return errno;
    struct stat info {};
    if (::lstat(to.constData(), &info) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

// A random part for a file name: 64 bits from the system's random source.
QString randomPart() {
    std::random_device device;
    const quint64 value = (quint64(device()) << 32) ^ quint64(device());
    return QStringLiteral("%1").arg(value, 16, 16, QLatin1Char('0')).toUpper();
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// The native paths of a move: an existing file to a place that can be written.
bool resolveMove(const FileSystem& fs, const QString& from, const QString& to, QString& source,
                 QString& target, FileError* error) {
    source = fs.resolve(from);
    target = fs.resolveForWrite(to);
    if (source.isEmpty() || !hasKind(source, S_IFREG))
        return failWith(error, ENOENT, source.isEmpty() ? from : source);
    if (target.isEmpty())
        return failWith(error, ENOENT, to);
    return true;
}

} // namespace

QString FileError::reason() const {
    return QString::fromStdString(std::error_code(code, std::generic_category()).message());
}

QString FileSystem::writeExclusiveFile(const QString& folder, const QString& prefix,
                                       const QString& suffix, const QByteArray& bytes,
                                       FileError* error) const {
    const QString nativeFolder = resolve(folder);
    if (nativeFolder.isEmpty() || !hasKind(nativeFolder, S_IFDIR)) {
        failWith(error, ENOENT, nativeFolder.isEmpty() ? folder : nativeFolder);
        return {};
    }
    const QString pid = QString::number(::getpid());
    const QString separator =
        folder.endsWith(u'\\') || folder.endsWith(u'/') ? QString() : QStringLiteral("\\");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = prefix + pid + u'_' + randomPart() + suffix;
        const QString native = nativeFolder + u'/' + name;
        const QByteArray encoded = nativeBytes(native);
        const int fd =
            ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue; // taken by someone else: another random part
            failWith(error, errno, native);
            return {};
        }
        const bool written = writeAll(fd, bytes);
        const int writeError = errno;
        const bool closed = ::close(fd) == 0;
        if (!written || !closed) {
            failWith(error, written ? errno : writeError, native);
            ::unlink(encoded.constData());
            return {};
        }
        return folder + separator + name;
    }
    failWith(error, EEXIST, nativeFolder);
    return {};
}

bool FileSystem::replaceFile(const QString& from, const QString& to, FileError* error) const {
    QString source, target;
    if (!resolveMove(*this, from, to, source, target, error))
        return false;
    // The new file takes the name as given: an old one spelt in another case goes once the
    // new one is in place, so there is never a moment without either.
    const QStringList parts = splitPath(to);
    const QString given = parts.isEmpty() ? QString() : parts.last();
    const qsizetype cut = target.lastIndexOf(u'/');
    if (!given.isEmpty() && target.mid(cut + 1) != given) {
        const QString exact = target.left(cut + 1) + given;
        if (renameNoReplace(nativeBytes(source), nativeBytes(exact)) == 0) {
            ::unlink(nativeBytes(target).constData());
            forgetListings();
            return true;
        }
    }
    // rename(2) replaces the target atomically: there is no moment without a file there.
    if (std::rename(nativeBytes(source).constData(), nativeBytes(target).constData()) != 0)
        return failWith(error, errno, target);
    return true;
}

bool FileSystem::renameFile(const QString& from, const QString& to, FileError* error) const {
    QString source, target;
    if (!resolveMove(*this, from, to, source, target, error))
        return false;
    const int code = renameNoReplace(nativeBytes(source), nativeBytes(target));
    return code == 0 || failWith(error, code, target);
}

} // namespace platform
