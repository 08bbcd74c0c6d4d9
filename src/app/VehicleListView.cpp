#include "app/VehicleListView.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace app {

VehicleListView::VehicleListView(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("lsvMATERIEL"));
    setModel(&model_);
    // A flat list of equal lines: the view then lays out only what it shows.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor::fromRgb(BackColour));
    colours.setColor(QPalette::AlternateBase, QColor::fromRgb(BackColour));
    setPalette(colours);
    setAutoFillBackground(true);

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit ItemClick();
        }
    });
}

void VehicleListView::clearColumns() {
    model_.setColumnHeader(QString());
    header()->hide();
}

void VehicleListView::addColumn(const QString& text, int width) {
    model_.setColumnHeader(text);
    header()->show();
    setColumnWidth(width);
}

void VehicleListView::setColumnWidth(int width) {
    QTreeView::setColumnWidth(0, width);
}

int VehicleListView::columnWidth() const {
    return QTreeView::columnWidth(0);
}

const VehicleListItem* VehicleListView::item(qsizetype row) const {
    if (row < 0 || row >= model_.items().size()) {
        return nullptr;
    }
    return &model_.items()[row];
}

qsizetype VehicleListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

const VehicleListItem* VehicleListView::selectedItem() const {
    return item(selectedRow());
}

QString VehicleListView::selectedKey() const {
    const VehicleListItem* selected = selectedItem();
    return selected == nullptr ? QString() : selected->key();
}

qsizetype VehicleListView::selectedCatalogIndex() const {
    const VehicleListItem* selected = selectedItem();
    return selected == nullptr ? -1 : selected->catalogIndex;
}

void VehicleListView::setSelectedRow(qsizetype row) {
    if (row < 0 || row >= model_.items().size()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex at = model_.index(static_cast<int>(row), 0);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
    scrollTo(at);
}

void VehicleListView::setItemLook(qsizetype row, inventory::Rgb colour, bool bold) {
    model_.setItemLook(row, colour, bold);
}

void VehicleListView::setSelectedItemLook(inventory::Rgb colour, bool bold) {
    model_.setItemLook(selectedRow(), colour, bold);
}

void VehicleListView::keyPressEvent(QKeyEvent* event) {
    const qsizetype before = selectedRow();
    QTreeView::keyPressEvent(event);
    if (selectedRow() != before && selectedRow() >= 0) {
        emit ItemClick();
    }
}

} // namespace app
