#include "app/VehicleList.h"

#include <QLabel>
#include <QWidget>

namespace app {

void FillVehicleList(const VehicleListControls& controls, const catalog::Catalog& catalog) {
    VehicleListView& list = *controls.lsvMATERIEL;
    list.clearColumns();
    list.addColumn(QString::fromUtf16(VehicleColumnHeader), WideVehicleColumn);
    list.listModel().setItems(VehicleItemsFromCatalog(catalog));
    list.setColumnWidth(VehicleColumnWidth(list.count()));
    if (list.count() == 0) {
        controls.cmdCREATE->setEnabled(false);
    } else {
        list.setSelectedRow(0);
        controls.cmdCREATE->setEnabled(true);
    }
    UpdateStatusLine(controls, catalog);
}

void ColourVehicleList(VehicleListView& list, const inventory::ThumbnailInventory& inventory) {
    list.listModel().colourByStatus(inventory);
}

void UpdateStatusLine(const VehicleListControls& controls, const catalog::Catalog& catalog) {
    const VehicleListView& list = *controls.lsvMATERIEL;
    controls.lblQTE_FILES->setText(
        VehicleStatusLine(list.count(), list.selectedItem(), catalog, list.selectedRows().size()));
}

void MarkCreatedHere(VehicleListView& list) {
    MarkCreatedHere(list, list.selectedRow());
}

void MarkCreatedHere(VehicleListView& list, qsizetype row) {
    list.setItemLook(row, inventory::ThumbnailStatusColour(inventory::ThumbnailStatus::CreatedHere),
                     true);
}

} // namespace app
