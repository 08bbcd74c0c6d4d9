#pragma once

// The item model behind the vehicle list: one flat list of plain items, one column.
//
// The model answers the look of each item from the item itself (its colour and bold), so a
// list of tens of thousands of vehicles costs one small struct per line and no per-item
// objects; a view asks only for the lines it shows.

#include "app/VehicleListItems.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QList>

namespace app {

class VehicleListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The item's key ("17_KEY") under this role; its catalog index under CatalogIndexRole.
    static constexpr int KeyRole = Qt::UserRole + 1;
    static constexpr int CatalogIndexRole = Qt::UserRole + 2;

    explicit VehicleListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Column header text; empty when the list has no column.
    void setColumnHeader(const QString& text);

    const QList<VehicleListItem>& items() const { return items_; }
    void setItems(QList<VehicleListItem> items);
    // Changes one item's look.
    void setItemLook(qsizetype row, inventory::Rgb colour, bool bold);
    // Gives every item the colour of its thumbnail status.
    void colourByStatus(const inventory::ThumbnailInventory& inventory);

private:
    QList<VehicleListItem> items_;
    QString header_;
    QFont plainFont_;
    QFont boldFont_;
};

} // namespace app
