#include "catalog/Catalog.h"

#include <gtest/gtest.h>

using namespace catalog;

namespace {

TEST(CatalogKeyTest, KeysAreTheIndexInDecimalWhateverItsSize) {
    EXPECT_EQ(CatalogKey(0), "0_KEY");
    EXPECT_EQ(CatalogKey(17), "17_KEY");
    EXPECT_EQ(CatalogKey(qsizetype(1) << 40), "1099511627776_KEY");
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

    // A file lying in the trainset folder itself.
    entry.Folder.clear();
    EXPECT_EQ(entry.definitionPath(), "C:\\MSTS\\TRAINS\\TRAINSET\\\\acela.eng");
    EXPECT_EQ(entry.relativeDisplayPath(), "..\\\\acela.eng");

    // Names shorter than an extension do not underflow.
    entry.FileName = "ab";
    EXPECT_EQ(entry.vehicleName(), "");
}

} // namespace
