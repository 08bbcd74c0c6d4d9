#include "ListHost.h"

#include <QFont>
#include <QTest>

#include <gtest/gtest.h>

using namespace listtest;

namespace {

QColor colourOf(app::VehicleListView& list, int row) {
    return list.listModel()
        .data(list.listModel().index(row, 0), Qt::ForegroundRole)
        .value<QColor>();
}

bool boldAt(app::VehicleListView& list, int row) {
    return list.listModel()
        .data(list.listModel().index(row, 0), Qt::FontRole)
        .value<QFont>()
        .bold();
}

// Own folder: Dash8, own1. Rametta folder: DASH8, mine, and DASH with a Bitmaps.ini line
// that makes it a prefix.
inventory::ThumbnailInventory sampleInventory() {
    return inventory::ThumbnailInventory(
        {"dash"}, {{"DASH8", false}, {"mine", false}, {"DASH", true}}, {"Dash8", "own1"});
}

int countPixels(const QImage& picture, QRgb colour) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            count += (picture.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST(ColourVehicleList, GivesEachItemTheColourOfItsThumbnailStatus) {
    ListHost host;
    const catalog::Catalog catalog = makeCatalog({{"A", "dash8.eng"},
                                                  {"B", "own1.eng"},
                                                  {"C", "GP38.eng"},
                                                  {"D", "oebarcar2.wag"},
                                                  {"E", "mine.wag"},
                                                  {"F", "new.eng"},
                                                  {"G", "dash9b.wag"},
                                                  {"H", "gp38.eng"},
                                                  {"I", "GP382.eng"}});
    app::FillVehicleList(host.controls, catalog);
    app::ColourVehicleList(*host.list, sampleInventory());

    const QColor red(255, 0, 0), magenta(255, 0, 255), green(0, 128, 0), blue(0, 0, 255);
    // The Rametta folder wins over the own folder; the built-in table over both.
    EXPECT_EQ(colourOf(*host.list, 0), red);
    EXPECT_EQ(colourOf(*host.list, 1), magenta);
    EXPECT_EQ(colourOf(*host.list, 2), green);
    EXPECT_EQ(colourOf(*host.list, 3), green); // built-in prefix OEBARCAR
    EXPECT_EQ(colourOf(*host.list, 4), red);
    EXPECT_EQ(colourOf(*host.list, 5), blue);
    EXPECT_EQ(colourOf(*host.list, 6), red); // Rametta prefix DASH
    EXPECT_EQ(colourOf(*host.list, 7), green);
    EXPECT_EQ(colourOf(*host.list, 8), blue); // GP38 is a whole name, not a prefix
    for (int row = 0; row < host.list->count(); ++row) {
        EXPECT_TRUE(boldAt(*host.list, row)) << row;
    }
}

TEST(ColourVehicleList, ColoursDrawnOnTheListBackground) {
    ListHost host;
    const catalog::Catalog catalog =
        makeCatalog({{"A", "new.eng"}, {"B", "own1.eng"}, {"C", "mine.wag"}, {"D", "gp38.eng"}});
    app::FillVehicleList(host.controls, catalog);
    app::ColourVehicleList(*host.list, sampleInventory());
    host.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host.window));

    // Row 0 is selected and drawn in the selection colours; the others show their own.
    const QImage picture = host.list->viewport()->grab().toImage();
    EXPECT_GT(countPixels(picture, qRgb(255, 255, 192)), picture.width() * picture.height() / 2);
    EXPECT_GT(countPixels(picture, qRgb(255, 0, 255)), 10);
    EXPECT_GT(countPixels(picture, qRgb(255, 0, 0)), 10);
    EXPECT_GT(countPixels(picture, qRgb(0, 128, 0)), 10);
}

TEST(MarkCreatedHere, TurnsOnlyTheSelectedItemMagentaAndBold) {
    ListHost host;
    const catalog::Catalog catalog = makeCatalog({{"A", "a.eng"}, {"B", "b.eng"}, {"C", "c.eng"}});
    app::FillVehicleList(host.controls, catalog);
    host.list->setItemLook(1, {0, 0, 255}, false);
    host.list->setSelectedRow(1);
    app::MarkCreatedHere(*host.list);
    EXPECT_EQ(colourOf(*host.list, 0), QColor(0, 0, 255));
    EXPECT_EQ(colourOf(*host.list, 1), QColor(255, 0, 255));
    EXPECT_TRUE(boldAt(*host.list, 1));
    EXPECT_EQ(colourOf(*host.list, 2), QColor(0, 0, 255));
}
