#include "app/VehicleListItems.h"

#include "platform/FileSystem.h"
#include "shared/Messages.h"

namespace app {

QString VehicleListItem::vehicleName() const {
    return text.chopped(qMin<qsizetype>(4, text.size()));
}

int VehicleColumnWidth(qsizetype itemCount) {
    return itemCount < NarrowVehicleColumnFrom ? WideVehicleColumn : NarrowVehicleColumn;
}

QList<VehicleListItem> VehicleItemsFromCatalog(const catalog::Catalog& catalog) {
    QList<VehicleListItem> items;
    const qsizetype count = catalog::CatalogCount(catalog);
    items.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        const catalog::CatalogEntry& entry = catalog[i];
        if (entry.Shape.isEmpty()) {
            continue;
        }
        VehicleListItem item;
        item.catalogIndex = i;
        item.text = entry.FileName;
        item.foreColor = inventory::ThumbnailStatusColour(inventory::ThumbnailStatus::ToMake);
        item.bold = true;
        items.append(std::move(item));
    }
    return items;
}

QList<qsizetype> ColourVehicleItems(QList<VehicleListItem>& items,
                                    const inventory::ThumbnailInventory& inventory) {
    QList<qsizetype> changed;
    for (qsizetype p = 0; p < items.size(); ++p) {
        VehicleListItem& item = items[p];
        const inventory::ThumbnailStatus status =
            inventory::ClassifyVehicle(inventory, item.vehicleName());
        if (status == inventory::ThumbnailStatus::ToMake) {
            continue;
        }
        item.foreColor = inventory::ThumbnailStatusColour(status);
        item.bold = true;
        changed.append(p);
    }
    return changed;
}

QList<qsizetype> RowsStillToMake(const QList<VehicleListItem>& items) {
    const inventory::Rgb toMake =
        inventory::ThumbnailStatusColour(inventory::ThumbnailStatus::ToMake);
    QList<qsizetype> rows;
    for (qsizetype p = 0; p < items.size(); ++p) {
        if (items[p].foreColor == toMake) {
            rows.append(p);
        }
    }
    return rows;
}

QString VehicleStatusLine(qsizetype itemCount, const VehicleListItem* selected,
                          const catalog::Catalog& catalog, qsizetype selectedCount) {
    if (itemCount <= 0) {
        return {};
    }
    QString line = LoadMessage(itemCount == 1 ? MessageId::TotalOneFile : MessageId::TotalFiles,
                               {"|1", static_cast<long long>(itemCount)});
    if (selectedCount > 1) {
        return line +
               LoadMessage(MessageId::SelectedFiles, {"|1", static_cast<long long>(selectedCount)});
    }
    if (selected == nullptr) {
        return line;
    }
    const qsizetype index = selected->catalogIndex;
    if (!catalog.isValidIndex(index)) {
        return line;
    }
    const QString relative =
        QStringLiteral("..\\") + catalog[index].Folder + u'\\' + selected->text;
    line +=
        LoadMessage(MessageId::SelectedFile, {"|1", platform::FileSystem::displayPath(relative)});
    return line;
}

} // namespace app
