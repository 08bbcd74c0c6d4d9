#include "ListHost.h"

#include <QFont>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace listtest;

namespace {

const QColor blue(0, 0, 255);

QString texts(const app::VehicleListView& list) {
    QStringList out;
    for (qsizetype row = 0; row < list.count(); ++row) {
        out << list.item(row)->text + "=" + list.item(row)->key();
    }
    return out.join(' ');
}

QVariant role(app::VehicleListView& list, int row, int role) {
    return list.listModel().data(list.listModel().index(row, 0), role);
}

} // namespace

TEST(FillVehicleList, ListsTheEntriesWithAShapeInCatalogOrderWithTheirIndexesAsKeys) {
    ListHost host;
    const catalog::Catalog catalog = makeCatalog({{"ACELA", "acela.eng"},
                                                  {"DASH9", "dash9.eng", false},
                                                  {"GP38", "GP38.eng"},
                                                  {"ACELA", "acelacar.wag"},
                                                  {"BOX", "box.wag", false}});
    app::FillVehicleList(host.controls, catalog);

    EXPECT_EQ(texts(*host.list), "acela.eng=0_KEY GP38.eng=2_KEY acelacar.wag=3_KEY");
    EXPECT_EQ(host.list->listModel().headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Fichiers du mat\u00e9riel"));
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(role(*host.list, row, Qt::ForegroundRole).value<QColor>(), blue) << row;
        EXPECT_TRUE(role(*host.list, row, Qt::FontRole).value<QFont>().bold()) << row;
        EXPECT_EQ(role(*host.list, row, Qt::DisplayRole).toString(), host.list->item(row)->text);
    }
    EXPECT_EQ(host.list->selectedRow(), 0);
    EXPECT_EQ(host.list->selectedCatalogIndex(), 0);
    EXPECT_TRUE(host.create->isEnabled());
    EXPECT_EQ(host.status->text(),
              QStringLiteral("Total 3 fichiers  -  S\u00e9lectionn\u00e9 ../ACELA/acela.eng"));
}

TEST(FillVehicleList, ColumnNarrowsFromTwelveItems) {
    for (const auto& [count, width] : {std::pair{1, 197}, {11, 197}, {12, 180}, {40, 180}}) {
        ListHost host;
        catalog::Catalog catalog;
        catalog.reset();
        for (int i = 0; i < count; ++i) {
            catalog.addFile(trainsetPath, "F", QString("v%1.eng").arg(i));
            catalog[i].Shape = "v.s";
        }
        app::FillVehicleList(host.controls, catalog);
        EXPECT_EQ(host.list->count(), count);
        EXPECT_EQ(host.list->columnWidth(), width) << count << " items";
    }
}

TEST(FillVehicleList, NothingListedLeavesCreateDisabledAndTheStatusLineEmpty) {
    ListHost host;
    // A previous filling must not survive: the list is rebuilt from the catalog.
    app::FillVehicleList(host.controls, makeCatalog({{"A", "a.eng"}}));
    ASSERT_TRUE(host.create->isEnabled());

    const catalog::Catalog nothingFound = makeCatalog({});
    ASSERT_EQ(catalog::CatalogCount(nothingFound), 1);
    app::FillVehicleList(host.controls, nothingFound);
    EXPECT_EQ(host.list->count(), 0);
    EXPECT_FALSE(host.create->isEnabled());
    EXPECT_EQ(host.list->selectedRow(), -1);
    EXPECT_EQ(host.list->selectedCatalogIndex(), -1);
    EXPECT_TRUE(host.list->selectedKey().isEmpty());
    EXPECT_TRUE(host.status->text().isEmpty());

    const catalog::Catalog noShapes = makeCatalog({{"A", "a.eng", false}, {"B", "b.wag", false}});
    app::FillVehicleList(host.controls, noShapes);
    EXPECT_EQ(host.list->count(), 0);
    EXPECT_TRUE(host.status->text().isEmpty());
}

TEST(UpdateStatusLine, CountsOneFileAndShowsALooseFileWithItsDoubledSeparator) {
    ListHost host;
    const catalog::Catalog one = makeCatalog({{"", "loose.wag"}});
    app::FillVehicleList(host.controls, one);
    EXPECT_EQ(host.list->columnWidth(), 197);
    // The empty folder leaves two separators in a row, as the path is built.
    EXPECT_EQ(host.status->text(),
              QStringLiteral("Total 1 fichier  -  S\u00e9lectionn\u00e9 ..//loose.wag"));
}

TEST(UpdateStatusLine, FollowsTheSelectionAndShowsTheCountAloneWithoutOne) {
    ListHost host;
    const catalog::Catalog catalog =
        makeCatalog({{"ACELA", "acela.eng"}, {"X", "nothing.eng", false}, {"GP38", "gp38.eng"}});
    app::FillVehicleList(host.controls, catalog);

    host.list->setSelectedRow(1);
    app::UpdateStatusLine(host.controls, catalog);
    EXPECT_EQ(host.list->selectedKey(), "2_KEY");
    EXPECT_EQ(host.status->text(),
              QStringLiteral("Total 2 fichiers  -  S\u00e9lectionn\u00e9 ../GP38/gp38.eng"));

    host.list->setSelectedRow(-1);
    app::UpdateStatusLine(host.controls, catalog);
    EXPECT_EQ(host.status->text(), "Total 2 fichiers");
}

TEST(UpdateStatusLine, SameFileNameInTwoFoldersKeepsEachItsOwnFolder) {
    ListHost host;
    const catalog::Catalog catalog = makeCatalog({{"A", "car.wag"}, {"B", "car.wag"}});
    app::FillVehicleList(host.controls, catalog);
    host.list->setSelectedRow(1);
    app::UpdateStatusLine(host.controls, catalog);
    EXPECT_EQ(host.list->selectedKey(), "1_KEY");
    EXPECT_TRUE(host.status->text().endsWith("../B/car.wag")) << host.status->text().toStdString();
}

TEST(VehicleListView, ClicksAndKeyMovesRaiseItemClickButSelectingFromCodeDoesNot) {
    ListHost host;
    const catalog::Catalog catalog =
        makeCatalog({{"A", "a.eng"}, {"B", "b.eng"}, {"C", "c.eng"}, {"D", "d.eng"}});
    host.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host.window));
    QSignalSpy clicks(host.list, &app::VehicleListView::ItemClick);
    app::FillVehicleList(host.controls, catalog);
    host.list->setSelectedRow(1);
    EXPECT_EQ(clicks.count(), 0);

    const QRect third = host.list->visualRect(host.list->listModel().index(2, 0));
    QTest::mouseClick(host.list->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(host.list->selectedKey(), "2_KEY");

    host.list->setFocus();
    QTest::keyClick(host.list, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(host.list->selectedKey(), "3_KEY");
    // At the end of the list the key moves nothing, and nothing is raised.
    QTest::keyClick(host.list, Qt::Key_Down);
    EXPECT_EQ(clicks.count(), 2);
}
