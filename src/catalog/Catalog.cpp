#include "catalog/Catalog.h"

#include <algorithm>
#include <limits>

namespace catalog {

namespace {
const QString keySuffix = QStringLiteral("_KEY");
}

QString CatalogEntry::definitionPath() const {
    return TrainsetPath + Folder + u'\\' + FileName;
}

QString CatalogEntry::shapePath() const {
    return TrainsetPath + Folder + u'\\' + Shape;
}

QString CatalogEntry::simulatorFolder() const {
    return TrainsetPath + QStringLiteral("..\\..");
}

QString CatalogEntry::freightShapePath(const FreightAnim& anim) const {
    return TrainsetPath + Folder + u'\\' + anim.Shape;
}

QString CatalogEntry::relativeDisplayPath() const {
    return QStringLiteral("..\\") + Folder + u'\\' + FileName;
}

QString CatalogEntry::vehicleName() const {
    return FileName.left(std::max<qsizetype>(0, FileName.size() - 4));
}

QString CatalogEntry::thumbnailFileName() const {
    return vehicleName() + QStringLiteral(".bmp");
}

void Catalog::reset() {
    entries_.clear();
    entries_.append(CatalogEntry{});
}

void Catalog::addFile(const QString& trainsetPath, const QString& folder, const QString& fileName) {
    if (entries_.isEmpty() || !entries_.back().FileName.isEmpty())
        entries_.append(CatalogEntry{});
    CatalogEntry& last = entries_.back();
    last.TrainsetPath = trainsetPath;
    last.Folder = folder;
    last.FileName = fileName;
}

qsizetype CatalogCount(const Catalog& catalog) {
    return catalog.count();
}

QString CatalogKey(qsizetype index) {
    return QString::number(index) + keySuffix;
}

qsizetype CatalogIndexFromKey(const QString& key) {
    constexpr qsizetype limit = std::numeric_limits<qsizetype>::max();
    qsizetype value = 0;
    qsizetype digits = 0;
    for (const QChar c : key) {
        if (c < u'0' || c > u'9')
            break;
        const int digit = c.unicode() - u'0';
        if (value > (limit - digit) / 10)
            return -1;
        value = value * 10 + digit;
        ++digits;
    }
    return digits == 0 ? -1 : value;
}

} // namespace catalog
