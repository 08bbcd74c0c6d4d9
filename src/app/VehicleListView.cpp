#include "app/VehicleListView.h"

#include "shared/Messages.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include <algorithm>
#include <numeric>

namespace app {

namespace {

// Selected items keep their status colour over a pale highlight: with many vehicles
// selected, the list must still show which ones have a thumbnail, and each one turning
// magenta as it is made.
constexpr QRgb SelectionColour = 0xFFCCE4F7;

class StatusColourDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant colour = index.data(Qt::ForegroundRole);
        if (colour.canConvert<QColor>()) {
            option->palette.setColor(QPalette::HighlightedText, colour.value<QColor>());
        }
    }
};

} // namespace

VehicleListView::VehicleListView(QWidget* parent) : QTreeView(parent) {
    setObjectName(QStringLiteral("lsvMATERIEL"));
    setModel(&model_);
    // A flat list of equal lines: the view then lays out only what it shows.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideRight);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor::fromRgb(BackColour));
    colours.setColor(QPalette::AlternateBase, QColor::fromRgb(BackColour));
    colours.setColor(QPalette::Highlight, QColor::fromRgb(SelectionColour));
    setPalette(colours);
    setItemDelegate(new StatusColourDelegate(this));
    setAutoFillBackground(true);

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            clickRaised_ = true;
            emit ItemClick();
        }
    });
    createContextMenu();
}

void VehicleListView::createContextMenu() {
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("mnuLIST"));
    QAction* toMake = contextMenu_->addAction(LoadMessage(MessageId::SelectStillToMake));
    toMake->setObjectName(QStringLiteral("mnuSELECT_TO_MAKE"));
    connect(toMake, &QAction::triggered, this,
            [this] { selectFromMenu(RowsStillToMake(model_.items())); });
    QAction* all = contextMenu_->addAction(LoadMessage(MessageId::SelectAll));
    all->setObjectName(QStringLiteral("mnuSELECT_ALL"));
    connect(all, &QAction::triggered, this, [this] {
        QList<qsizetype> rows(count());
        std::iota(rows.begin(), rows.end(), qsizetype(0));
        selectFromMenu(rows);
    });
    contextMenu_->addSeparator();
    createSelection_ = contextMenu_->addAction(LoadMessage(MessageId::CreateSelection));
    createSelection_->setObjectName(QStringLiteral("mnuCREATE_SELECTION"));
    connect(createSelection_, &QAction::triggered, this,
            &VehicleListView::CreateSelectionRequested);
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
    const QModelIndex current = selectionModel()->currentIndex();
    if (current.isValid() && selectionModel()->isRowSelected(current.row())) {
        return current.row();
    }
    const QList<qsizetype> rows = selectedRows();
    return rows.isEmpty() ? -1 : rows.front();
}

QList<qsizetype> VehicleListView::selectedRows() const {
    QList<qsizetype> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void VehicleListView::selectRows(const QList<qsizetype>& rows) {
    QItemSelection selection;
    QModelIndex first;
    for (qsizetype row : rows) {
        if (row < 0 || row >= count()) {
            continue;
        }
        const QModelIndex at = model_.index(static_cast<int>(row), 0);
        selection.select(at, at);
        if (!first.isValid()) {
            first = at;
        }
    }
    selectionModel()->select(selection,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QModelIndex current = selectionModel()->currentIndex();
    if (first.isValid() && !(current.isValid() && selectionModel()->isRowSelected(current.row()))) {
        selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        scrollTo(first);
    }
}

void VehicleListView::selectFromMenu(const QList<qsizetype>& rows) {
    const qsizetype before = selectedRow();
    selectRows(rows);
    if (selectedRow() != before && selectedRow() >= 0) {
        emit ItemClick();
    }
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

void VehicleListView::keyPressEvent(QKeyEvent* event) {
    const qsizetype before = selectedRow();
    QTreeView::keyPressEvent(event);
    if (selectedRow() != before && selectedRow() >= 0) {
        emit ItemClick();
    }
}

void VehicleListView::mousePressEvent(QMouseEvent* event) {
    rowAtPress_ = selectedRow();
    clickRaised_ = false;
    QTreeView::mousePressEvent(event);
    // A right click selects the item under it when that item was not selected; the menu
    // then opens over the vehicle the window shows.
    if (event->button() == Qt::RightButton && selectedRow() != rowAtPress_ && selectedRow() >= 0) {
        rowAtPress_ = selectedRow();
        emit ItemClick();
    }
}

void VehicleListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    // A press dragged over other items selects them without a click.
    if (!clickRaised_ && selectedRow() != rowAtPress_ && selectedRow() >= 0) {
        emit ItemClick();
    }
    rowAtPress_ = selectedRow();
}

void VehicleListView::contextMenuEvent(QContextMenuEvent* event) {
    const bool any = count() > 0;
    for (QAction* action : contextMenu_->actions()) {
        action->setEnabled(any);
    }
    createSelection_->setEnabled(!selectedRows().isEmpty());
    QPoint at = event->globalPos();
    // From the keyboard: under the current item rather than wherever the pointer is.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QRect place = visualRect(currentIndex());
        at = viewport()->mapToGlobal(place.isValid() ? place.bottomLeft() : QPoint(0, 0));
    }
    contextMenu_->popup(at);
    event->accept();
}

} // namespace app
