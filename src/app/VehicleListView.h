#pragma once

// The vehicle list lsvMATERIEL: a report view with one column over a VehicleListModel.
//
// Operations follow the list's object model: the column (header and width), the items, the
// selected item. Setting the selection from code does not raise ItemClick; a mouse click on
// an item, or a keyboard move of the selection, does.

#include "app/VehicleListModel.h"

#include <QTreeView>

namespace app {

class VehicleListView : public QTreeView {
    Q_OBJECT

public:
    static constexpr QRgb BackColour = 0xFFFFFFC0;

    explicit VehicleListView(QWidget* parent = nullptr);

    VehicleListModel& listModel() { return model_; }
    const VehicleListModel& listModel() const { return model_; }

    // The column: removing it leaves a list with no header text.
    void clearColumns();
    void addColumn(const QString& text, int width);
    void setColumnWidth(int width);
    int columnWidth() const;

    qsizetype count() const { return model_.items().size(); }
    // The item at a 0-based row, null past the end.
    const VehicleListItem* item(qsizetype row) const;

    // Row of the selected item; -1 when none is selected.
    qsizetype selectedRow() const;
    const VehicleListItem* selectedItem() const;
    // Key of the selected item ("17_KEY"); empty when none is selected.
    QString selectedKey() const;
    // Catalog index carried by the selected item's key; -1 when none is selected.
    qsizetype selectedCatalogIndex() const;
    // Selects one row (-1: none) and brings it into view. Raises no ItemClick.
    void setSelectedRow(qsizetype row);

    // Changes the look of one item, or of the selected one.
    void setItemLook(qsizetype row, inventory::Rgb colour, bool bold);
    void setSelectedItemLook(inventory::Rgb colour, bool bold);

signals:
    // The user clicked an item or moved the selection with the keyboard.
    void ItemClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    VehicleListModel model_;
};

} // namespace app
