#include "app/VehicleListModel.h"

#include <QColor>

namespace app {

VehicleListModel::VehicleListModel(QObject* parent) : QAbstractTableModel(parent) {
    boldFont_.setBold(true);
}

int VehicleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int VehicleListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant VehicleListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= items_.size() || index.column() != 0) {
        return {};
    }
    const VehicleListItem& item = items_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return item.text;
    case Qt::ForegroundRole:
        return QColor(item.foreColor.red, item.foreColor.green, item.foreColor.blue);
    case Qt::FontRole:
        return item.bold ? boldFont_ : plainFont_;
    case KeyRole:
        return item.key();
    case CatalogIndexRole:
        return static_cast<qlonglong>(item.catalogIndex);
    default:
        return {};
    }
}

QVariant VehicleListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole) {
        return header_;
    }
    return {};
}

Qt::ItemFlags VehicleListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void VehicleListModel::setColumnHeader(const QString& text) {
    header_ = text;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void VehicleListModel::setItems(QList<VehicleListItem> items) {
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

void VehicleListModel::setItemLook(qsizetype row, inventory::Rgb colour, bool bold) {
    if (row < 0 || row >= items_.size()) {
        return;
    }
    items_[row].foreColor = colour;
    items_[row].bold = bold;
    const QModelIndex at = index(static_cast<int>(row), 0);
    emit dataChanged(at, at, {Qt::ForegroundRole, Qt::FontRole});
}

void VehicleListModel::colourByStatus(const inventory::ThumbnailInventory& inventory) {
    const QList<qsizetype> changed = ColourVehicleItems(items_, inventory);
    if (!changed.isEmpty()) {
        emit dataChanged(index(static_cast<int>(changed.front()), 0),
                         index(static_cast<int>(changed.back()), 0),
                         {Qt::ForegroundRole, Qt::FontRole});
    }
}

} // namespace app
