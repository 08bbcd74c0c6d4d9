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

CatalogEntry EntryOfDefinitionFile(const QString& path) {
    const auto lastSeparator = [](QStringView text) {
        return std::max(text.lastIndexOf(u'\\'), text.lastIndexOf(u'/'));
    };
    // Split as the walk splits, trainset folder, vehicle's folder and file, so that every path
    // derived from the entry (the simulator's folder among them) is the walk's.
    CatalogEntry entry;
    const qsizetype cut = lastSeparator(path);
    entry.FileName = path.mid(cut + 1);
    if (cut < 0) {
        entry.Folder = QStringLiteral(".");
        return entry;
    }
    const qsizetype folderCut = lastSeparator(QStringView(path).left(cut));
    entry.TrainsetPath = path.left(folderCut + 1);
    entry.Folder = path.mid(folderCut + 1, cut - folderCut - 1);
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
