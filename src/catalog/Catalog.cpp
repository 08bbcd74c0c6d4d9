#include "catalog/Catalog.h"

#include <algorithm>

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

QString CatalogEntry::freightShapePath(const FreightAnim& anim) const {
    return TrainsetPath + Folder + u'\\' + anim.Shape;
}

QString CatalogEntry::relativeDisplayPath() const {
    return QStringLiteral("..\\") + Folder + u'\\' + FileName;
}

QString CatalogEntry::vehicleName() const {
    return FileName.left(std::max<qsizetype>(0, FileName.size() - 4));
}

CatalogEntry EntryOfDefinitionFile(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    CatalogEntry entry;
    entry.TrainsetPath = cut < 0 ? QStringLiteral(".") : path.left(cut);
    entry.FileName = path.mid(cut + 1);
    return entry;
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

} // namespace catalog
