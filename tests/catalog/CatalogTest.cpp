#include "catalog/Catalog.h"

#include <gtest/gtest.h>

using namespace catalog;

namespace {

TEST(CatalogKeyTest, KeysRoundTripToTheirIndex) {
    EXPECT_EQ(CatalogKey(0), "0_KEY");
    EXPECT_EQ(CatalogKey(17), "17_KEY");
    for (const qsizetype index : {qsizetype(0), qsizetype(9), qsizetype(10), qsizetype(32767),
                                  qsizetype(32768), qsizetype(65536), qsizetype(1) << 40})
        EXPECT_EQ(CatalogIndexFromKey(CatalogKey(index)), index) << index;
}

TEST(CatalogKeyTest, KeysWithoutALeadingNumberGiveNoIndex) {
    EXPECT_EQ(CatalogIndexFromKey("17_KEY"), 17);
    EXPECT_EQ(CatalogIndexFromKey("007_KEY"), 7);
    EXPECT_EQ(CatalogIndexFromKey("_KEY"), -1);
    EXPECT_EQ(CatalogIndexFromKey(""), -1);
    EXPECT_EQ(CatalogIndexFromKey("-3_KEY"), -1);
    EXPECT_EQ(CatalogIndexFromKey("KEY_01"), -1);
    // Too large for any index: refused rather than wrapped into a valid-looking one.
    EXPECT_EQ(CatalogIndexFromKey("99999999999999999999999_KEY"), -1);
}

TEST(CatalogTableTest, StartsAsOneEmptyEntryAndAppendsOnlyAfterANamedOne) {
    Catalog table;
    EXPECT_EQ(CatalogCount(table), 0);
    EXPECT_FALSE(table.isValidIndex(0));

    table.reset();
    ASSERT_EQ(CatalogCount(table), 1);
    EXPECT_TRUE(table[0].FileName.isEmpty());
    EXPECT_EQ(table[0].Length, 0.0);

    // The first file fills the empty entry instead of following it.
    table.addFile("T\\", "A", "a.eng");
    ASSERT_EQ(CatalogCount(table), 1);
    table.addFile("T\\", "B", "b.eng");
    ASSERT_EQ(CatalogCount(table), 2);
    EXPECT_EQ(table[0].Folder, "A");
    EXPECT_EQ(table[1].FileName, "b.eng");
    EXPECT_TRUE(table.isValidIndex(1));
    EXPECT_FALSE(table.isValidIndex(2));
    EXPECT_FALSE(table.isValidIndex(-1));

    table.reset();
    EXPECT_EQ(CatalogCount(table), 1);
}

TEST(CatalogTableTest, AddingBeforeResetStartsTheTable) {
    Catalog table;
    table.addFile("T\\", "", "x.wag");
    ASSERT_EQ(CatalogCount(table), 1);
    EXPECT_EQ(table[0].FileName, "x.wag");
}

TEST(CatalogEntryTest, DerivedPathsJoinWithBackslashesAndKeepDoubledOnes) {
    CatalogEntry entry;
    entry.TrainsetPath = "C:\\MSTS\\TRAINS\\TRAINSET\\";
    entry.Folder = "ACELA";
    entry.FileName = "acela.eng";
    entry.Shape = "acela.s";
    EXPECT_EQ(entry.definitionPath(), "C:\\MSTS\\TRAINS\\TRAINSET\\ACELA\\acela.eng");
    EXPECT_EQ(entry.shapePath(), "C:\\MSTS\\TRAINS\\TRAINSET\\ACELA\\acela.s");
    EXPECT_EQ(entry.relativeDisplayPath(), "..\\ACELA\\acela.eng");
    EXPECT_EQ(entry.vehicleName(), "acela");
    EXPECT_EQ(entry.thumbnailFileName(), "acela.bmp");

    // A file lying in the trainset folder itself.
    entry.Folder.clear();
    EXPECT_EQ(entry.definitionPath(), "C:\\MSTS\\TRAINS\\TRAINSET\\\\acela.eng");
    EXPECT_EQ(entry.relativeDisplayPath(), "..\\\\acela.eng");

    // Names shorter than an extension do not underflow.
    entry.FileName = "ab";
    EXPECT_EQ(entry.vehicleName(), "");
    EXPECT_EQ(entry.thumbnailFileName(), ".bmp");
}

} // namespace
