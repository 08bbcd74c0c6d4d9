#pragma once

// The vehicle list lsvMATERIEL: a report view with one column over a VehicleListModel.
//
// Operations follow the list's object model: the column (header and width), the items, the
// selected item. Setting the selection from code does not raise ItemClick; a mouse click on
// an item, or a keyboard move of the selection, does.
//
// Ctrl+click, Shift+click and Ctrl+A extend the selection. The selected item that the preview
// and the status line follow is the current one (last clicked or reached with the keyboard)
// while it is selected. A context menu selects the items still to make, or all of them, and
// asks for the creation of the selection.

#include "app/VehicleListModel.h"

#include <QTreeView>

class QAction;
class QMenu;

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

    // Every selected row, in list order.
    QList<qsizetype> selectedRows() const;
    // Selects exactly these rows. The current item stays when it is one of them, else the
    // first becomes current and is brought into view. Raises no ItemClick.
    void selectRows(const QList<qsizetype>& rows);

    // Changes the look of one item.
    void setItemLook(qsizetype row, inventory::Rgb colour, bool bold);

signals:
    // The user clicked an item or moved the selection with the keyboard.
    void ItemClick();
    // The context menu's creation of the selection was chosen.
    void CreateSelectionRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void createContextMenu();
    // A selection made through the menu: the item that the preview follows may be another.
    void selectFromMenu(const QList<qsizetype>& rows);

    VehicleListModel model_;
    QMenu* contextMenu_ = nullptr;
    QAction* createSelection_ = nullptr;
    qsizetype rowAtPress_ = -1;
    bool clickRaised_ = false;
};

} // namespace app
