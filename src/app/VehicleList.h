#pragma once

// The three operations of the vehicle list on the main window's controls.
//
//   FillVehicleList    after the scan: the column, one blue bold item per vehicle with a
//                      shape, the first item selected, cmdCREATE enabled when there is one,
//                      and the status line.
//   ColourVehicleList  once at start-up, after the scan: each item in its status colour.
//   UpdateStatusLine   after the fill and after each click: "Total n fichiers  -  Sélectionné
//                      ..\<folder>\<file>".
//
// The selected item is how the rest of the window knows the vehicle:
// lsvMATERIEL->selectedCatalogIndex() gives the catalog index (-1 when nothing is selected),
// and MarkCreatedHere gives the selected item the look of a thumbnail just made.

#include "app/VehicleListView.h"
#include "catalog/Catalog.h"
#include "inventory/ThumbnailInventory.h"

class QLabel;
class QWidget;

namespace app {

struct VehicleListControls {
    VehicleListView* lsvMATERIEL = nullptr;
    QWidget* cmdCREATE = nullptr;
    QLabel* lblQTE_FILES = nullptr;
};

void FillVehicleList(const VehicleListControls& controls, const catalog::Catalog& catalog);
void ColourVehicleList(VehicleListView& list, const inventory::ThumbnailInventory& inventory);
void UpdateStatusLine(const VehicleListControls& controls, const catalog::Catalog& catalog);

// The selected item turns magenta and bold, as a vehicle whose thumbnail was made here.
void MarkCreatedHere(VehicleListView& list);
// The same for the item at a row.
void MarkCreatedHere(VehicleListView& list, qsizetype row);

} // namespace app
