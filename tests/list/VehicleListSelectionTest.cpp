// Several items selected at once: the keys and clicks that extend the selection, the item the
// window follows, and the list's context menu.

#include "ListHost.h"

#include "shared/Messages.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace listtest;

namespace {

const inventory::Rgb magenta{255, 0, 255};
const inventory::Rgb red{255, 0, 0};
const inventory::Rgb green{0, 128, 0};

QList<qsizetype> rows(std::initializer_list<qsizetype> list) {
    return QList<qsizetype>(list);
}

class SelectionTest : public ::testing::Test {
protected:
    ListHost host;
    catalog::Catalog catalog = makeCatalog({{"A", "a.eng"},
                                            {"B", "b.wag"},
                                            {"C", "c.wag"},
                                            {"D", "d.eng"},
                                            {"E", "e.wag"},
                                            {"F", "f.wag"}});
    app::VehicleListView& list() { return *host.list; }

    void SetUp() override {
        host.window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host.window));
        app::FillVehicleList(host.controls, catalog);
        list().setFocus();
    }
    void click(int row, Qt::KeyboardModifiers keys = {}, Qt::MouseButton button = Qt::LeftButton) {
        const QRect place = list().visualRect(list().listModel().index(row, 0));
        QTest::mouseClick(list().viewport(), button, keys, place.center());
    }
    QAction* action(const char* name) { return list().findChild<QAction*>(QLatin1String(name)); }
    // Opens the menu as the menu key does, and closes it again.
    QMenu* openMenu() {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(4, 4),
                                list().viewport()->mapToGlobal(QPoint(4, 4)));
        QCoreApplication::sendEvent(list().viewport(), &event);
        auto* menu = list().findChild<QMenu*>(QStringLiteral("mnuLIST"));
        EXPECT_NE(menu, nullptr);
        return menu;
    }
};

TEST_F(SelectionTest, CtrlShiftAndCtrlAExtendAndThePreviewFollowsTheLastClickedItem) {
    QSignalSpy clicks(&list(), &app::VehicleListView::ItemClick);

    click(1);
    EXPECT_EQ(list().selectedRows(), rows({1}));
    click(3, Qt::ControlModifier);
    EXPECT_EQ(list().selectedRows(), rows({1, 3}));
    EXPECT_EQ(list().selectedRow(), 3);
    // Shift adds the run from the last item clicked to this one; the order is the list's.
    click(5, Qt::ShiftModifier);
    EXPECT_EQ(list().selectedRows(), rows({1, 3, 4, 5}));
    EXPECT_EQ(list().selectedKey(), "5_KEY");
    EXPECT_EQ(clicks.count(), 3);

    // Ctrl+A takes every item without moving the item the window shows.
    QTest::keyClick(&list(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(list().selectedRows(), rows({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(list().selectedRow(), 5);
    EXPECT_EQ(clicks.count(), 3);
    // The status line counts the selection rather than naming one of its items.
    app::UpdateStatusLine(host.controls, catalog);
    EXPECT_EQ(host.status->text(),
              QString::fromUtf8("Total 6 fichiers  -  6 fichiers sélectionnés."));

    // Ctrl+click takes the clicked item out: the window falls back on the first one left.
    click(5, Qt::ControlModifier);
    EXPECT_EQ(list().selectedRows(), rows({0, 1, 2, 3, 4}));
    EXPECT_EQ(list().selectedRow(), 0);

    // A plain click selects that item alone, as ever; so does a key move.
    click(2);
    EXPECT_EQ(list().selectedRows(), rows({2}));
    app::UpdateStatusLine(host.controls, catalog);
    EXPECT_TRUE(host.status->text().endsWith("../C/c.wag")) << host.status->text().toStdString();
    QTest::keyClick(&list(), Qt::Key_Down);
    EXPECT_EQ(list().selectedRows(), rows({3}));
    EXPECT_EQ(list().selectedRow(), 3);
}

TEST_F(SelectionTest, ARightClickSelectsAnUnselectedItemButKeepsASelectionItFallsIn) {
    QSignalSpy clicks(&list(), &app::VehicleListView::ItemClick);
    click(1);
    click(2, Qt::ShiftModifier);
    clicks.clear();

    click(2, {}, Qt::RightButton);
    EXPECT_EQ(list().selectedRows(), rows({1, 2}));
    EXPECT_EQ(clicks.count(), 0);

    click(4, {}, Qt::RightButton);
    EXPECT_EQ(list().selectedRows(), rows({4}));
    EXPECT_EQ(list().selectedRow(), 4);
    EXPECT_EQ(clicks.count(), 1);
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

TEST_F(SelectionTest, TheMenuSelectsExactlyTheItemsStillShownInBlue) {
    list().setItemLook(0, red, true);
    list().setItemLook(2, green, true);
    list().setItemLook(3, magenta, true);
    list().setSelectedRow(2);
    QSignalSpy clicks(&list(), &app::VehicleListView::ItemClick);

    QMenu* menu = openMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> entries = menu->actions();
    ASSERT_EQ(entries.size(), 4); // with a separator before the creation
    EXPECT_EQ(entries[0]->text(), QStringLiteral("S\u00e9lectionner les pictelles restant \u00e0 "
                                                 "r\u00e9aliser"));
    EXPECT_EQ(entries[1]->text(), QStringLiteral("Tout s\u00e9lectionner"));
    EXPECT_EQ(entries[3]->text(), app::LoadMessage(app::MessageId::CreateSelection));
    menu->close();

    action("mnuSELECT_TO_MAKE")->trigger();
    EXPECT_EQ(list().selectedRows(), rows({1, 4, 5}));
    // The item shown was green: the first blue one takes its place, and the window follows.
    EXPECT_EQ(list().selectedRow(), 1);
    EXPECT_EQ(clicks.count(), 1);

    // Once made, an item is no longer among those still to make.
    list().setItemLook(4, magenta, true);
    action("mnuSELECT_TO_MAKE")->trigger();
    EXPECT_EQ(list().selectedRows(), rows({1, 5}));
    EXPECT_EQ(list().selectedRow(), 1);
    EXPECT_EQ(clicks.count(), 1);

    action("mnuSELECT_ALL")->trigger();
    EXPECT_EQ(list().selectedRows(), rows({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(list().selectedRow(), 1);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(SelectionTest, TheMenuAsksForTheCreationOnlyWithSomethingSelected) {
    QSignalSpy requests(&list(), &app::VehicleListView::CreateSelectionRequested);
    QMenu* menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(action("mnuCREATE_SELECTION")->isEnabled());
    menu->close();
    action("mnuCREATE_SELECTION")->trigger();
    EXPECT_EQ(requests.count(), 1);

    list().setSelectedRow(-1);
    menu = openMenu();
    EXPECT_FALSE(action("mnuCREATE_SELECTION")->isEnabled());
    EXPECT_TRUE(action("mnuSELECT_ALL")->isEnabled());
    menu->close();

    // Nothing to choose from in an empty list.
    app::FillVehicleList(host.controls, makeCatalog({}));
    menu = openMenu();
    for (QAction* entry : menu->actions())
        if (!entry->isSeparator()) {
            EXPECT_FALSE(entry->isEnabled()) << entry->text().toStdString();
        }
    menu->close();
    action("mnuSELECT_TO_MAKE")->trigger();
    EXPECT_TRUE(list().selectedRows().isEmpty());
}

// Whether some pixel of the row's text is close to `colour`.
bool rowShows(const QImage& picture, const QRect& row, const QColor& colour) {
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x) {
            const QColor at = picture.pixelColor(x, y);
            if (std::abs(at.red() - colour.red()) + std::abs(at.green() - colour.green()) +
                    std::abs(at.blue() - colour.blue()) <
                90)
                return true;
        }
    return false;
}

TEST_F(SelectionTest, SelectedItemsStillShowTheirStatusColour) {
    list().setItemLook(0, red, true);
    list().setItemLook(1, magenta, true);
    list().setItemLook(2, green, true);
    QTest::keyClick(&list(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(list().selectedRows().size(), 6);
    const QImage picture = list().viewport()->grab().toImage();
    const QList<QColor> colours{QColor(255, 0, 0), QColor(255, 0, 255), QColor(0, 128, 0),
                                QColor(0, 0, 255)};
    for (int row = 0; row < 4; ++row) {
        const QRect place = list().visualRect(list().listModel().index(row, 0));
        EXPECT_TRUE(rowShows(picture, place, colours[row])) << row;
        // And the row shows as selected: not on the list's own background.
        EXPECT_NE(picture.pixelColor(place.right() - 2, place.center().y()),
                  QColor::fromRgb(app::VehicleListView::BackColour))
            << row;
    }
}

} // namespace
