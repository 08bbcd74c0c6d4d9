#include "inventory/ThumbnailFile.h"

#include "platform/FileSystem.h"
#include "platform/StaleTemporaries.h"
#include "render/Bitmap.h"

#include <algorithm>
#include <cerrno>

namespace inventory {

namespace {

const QString extension = QStringLiteral(".bmp");
const QString temporaryPrefix = QStringLiteral("SFCANVAS_");

} // namespace

QString ThumbnailFile::NameFor(const QString& vehicleName) {
    return vehicleName + extension;
}

QString ThumbnailFile::VehicleNameOf(const QString& fileName) {
    if (!fileName.endsWith(extension, Qt::CaseInsensitive))
        return {};
    return fileName.left(fileName.size() - extension.size());
}

QString ThumbnailFile::Pattern() {
    return u'*' + extension;
}

QString ThumbnailFile::TemporaryPrefix() {
    return temporaryPrefix;
}

bool ThumbnailFile::IsTemporaryName(QStringView fileName) {
    return platform::TemporaryOwner(fileName.toString(), temporaryPrefix, extension).has_value();
}

QStringList ThumbnailFile::RemoveStaleTemporaries(const platform::FileSystem& fs,
                                                  const QString& folder) {
    return platform::RemoveStaleTemporaries(fs, folder, temporaryPrefix, extension);
}

QString ThumbnailFile::TemporaryLocation(const QString& folder) {
    return folder + u'\\' + temporaryPrefix;
}

QByteArray ThumbnailFile::Encode(const render::RgbImage& picture) {
    const std::vector<std::uint8_t> bmp = render::encodeBmp(picture);
    return QByteArray(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size()));
}

QString ThumbnailFile::WriteTemporary(const platform::FileSystem& fs, const QString& location,
                                      const render::RgbImage& picture, platform::FileError* error) {
    const QByteArray bytes = Encode(picture);
    if (bytes.isEmpty()) {
        platform::failWith(error, EINVAL, location);
        return {};
    }
    // The name is taken exclusively (process id and a random part): another run writing into
    // the same folder at the same moment can neither take nor overwrite it.
    const qsizetype cut = std::max(location.lastIndexOf(u'\\'), location.lastIndexOf(u'/'));
    return fs.writeExclusiveFile(location.left(cut + 1), location.mid(cut + 1), extension, bytes,
                                 error);
}

} // namespace inventory
