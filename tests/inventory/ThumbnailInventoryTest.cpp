#include "inventory/ThumbnailInventory.h"
#include "inventory/ThumbnailFile.h"

#include "TrainsetFixture.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace inventory;

namespace {

class ThumbnailInventoryTest : public ::testing::Test {
protected:
    fixture::Trainset set; // only its Rametta and own folders are used here

    void ramettaBitmap(const QString& name) {
        fixture::writeFile(set.rametta() + "/Thumbnails/" + name, "BM");
    }
    void ownBitmap(const QString& name) {
        fixture::writeFile(set.fs().thumbnailsFolder() + "/" + name, "BM");
    }
    void bitmapsIni(const QByteArray& bytes) {
        fixture::writeFile(set.rametta() + "/Thumbnails/Bitmaps.ini", bytes);
    }
    ThumbnailInventory load() const { return LoadThumbnailInventory(set.fs(), set.rametta()); }
    ThumbnailStatus status(const QString& vehicle) const {
        return ClassifyVehicle(load(), vehicle);
    }
};

TEST(BuiltInThumbnailsTest, HoldsTheNinetyFourNamesWithFourPrefixes) {
    const auto& table = BuiltInThumbnails();
    ASSERT_EQ(table.size(), 94u);
    EXPECT_EQ(table[0].Name, "2000");
    EXPECT_EQ(table[25].Name, "DASH9");
    EXPECT_EQ(table[84].Name, "US2WOODCHIPPER");
    EXPECT_EQ(table[92].Name, "CLASS50");
    EXPECT_EQ(table[93].Name, "SD402");
    QSet<QString> names;
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].PrefixMatch, i >= 38 && i <= 41) << i;
        EXPECT_EQ(table[i].Name, table[i].Name.toUpper()) << i;
        names.insert(table[i].Name);
    }
    EXPECT_EQ(names.size(), 94); // no name twice, none lost to a typo
    // Alphabetical up to index 84, as the table is laid out.
    for (std::size_t i = 1; i <= 84; ++i)
        EXPECT_LT(table[i - 1].Name, table[i].Name) << i;
}

TEST_F(ThumbnailInventoryTest, BuiltInNamesMatchWholeOrByPrefixInAnyCase) {
    EXPECT_EQ(status("OEBARCAR2"), ThumbnailStatus::BuiltIntoRametta);
    EXPECT_EQ(status("OEBARCAR"), ThumbnailStatus::BuiltIntoRametta);
    EXPECT_EQ(status("OEBARCA"), ThumbnailStatus::ToMake);
    EXPECT_EQ(status("GP38"), ThumbnailStatus::BuiltIntoRametta);
    EXPECT_EQ(status("GP382"), ThumbnailStatus::ToMake);
    EXPECT_EQ(status("scotsman"), ThumbnailStatus::BuiltIntoRametta);
    EXPECT_EQ(status("oesleepcar_night"), ThumbnailStatus::BuiltIntoRametta);
    EXPECT_EQ(status(""), ThumbnailStatus::ToMake);
}

TEST_F(ThumbnailInventoryTest, LaterSourcesWinOverEarlierOnes) {
    ownBitmap("Dash8.BMP");
    ownBitmap("only_here.bmp");
    ramettaBitmap("DASH8.bmp");
    ramettaBitmap("GP38.bmp");
    ownBitmap("GP38.bmp");
    EXPECT_EQ(status("only_here"), ThumbnailStatus::CreatedHere);
    EXPECT_EQ(status("ONLY_HERE"), ThumbnailStatus::CreatedHere);
    EXPECT_EQ(status("DASH8"), ThumbnailStatus::InRamettaFolder);
    EXPECT_EQ(status("GP38"), ThumbnailStatus::BuiltIntoRametta);
    // An own thumbnail serves its whole name only.
    EXPECT_EQ(status("only_here2"), ThumbnailStatus::ToMake);
}

TEST_F(ThumbnailInventoryTest, BitmapsIniLinesTurnTheirBitmapIntoAPrefix) {
    ramettaBitmap("DASH.bmp");
    bitmapsIni("[Thumbnails]\r\ndash\r\nnothing_named_so\r\n");
    const ThumbnailInventory inventory = load();
    EXPECT_EQ(inventory.BitmapsIniLines(),
              (QStringList{"[Thumbnails]", "dash", "nothing_named_so"}));
    for (const char* vehicle : {"DASH", "DASH8", "dash9b"})
        EXPECT_EQ(ClassifyVehicle(inventory, vehicle), ThumbnailStatus::InRamettaFolder) << vehicle;
    EXPECT_EQ(ClassifyVehicle(inventory, "DAS"), ThumbnailStatus::ToMake);
    EXPECT_EQ(ClassifyVehicle(inventory, "nothing_named_so"), ThumbnailStatus::ToMake);
}

TEST_F(ThumbnailInventoryTest, BitmapsIniLinesAreTakenWholeAndOnlyCarriageReturnsEndThem) {
    ramettaBitmap("DASH.bmp");
    ramettaBitmap("BOX.bmp");
    ramettaBitmap("CAR.bmp");
    // "dash " keeps its blank; a lone line feed stays inside "box\ncar"; the last line has
    // no line end; empty lines are skipped.
    bitmapsIni("dash \r\n\r\nbox\ncar\r\rtank");
    const ThumbnailInventory inventory = load();
    EXPECT_EQ(inventory.BitmapsIniLines(), (QStringList{"dash ", "box\ncar", "tank"}));
    EXPECT_EQ(ClassifyVehicle(inventory, "DASH"), ThumbnailStatus::InRamettaFolder);
    EXPECT_EQ(ClassifyVehicle(inventory, "DASH9B"), ThumbnailStatus::ToMake);
    EXPECT_EQ(ClassifyVehicle(inventory, "BOXCAR"), ThumbnailStatus::ToMake);
    EXPECT_EQ(ClassifyVehicle(inventory, "CAR2"), ThumbnailStatus::ToMake);
    for (const ThumbnailEntry& e : inventory.RamettaThumbnails())
        EXPECT_FALSE(e.PrefixMatch) << e.Name.toStdString();
}

TEST_F(ThumbnailInventoryTest, MissingOrEmptyFoldersLeaveVehiclesToMake) {
    EXPECT_EQ(status("DASH8"), ThumbnailStatus::ToMake); // nothing exists
    fixture::makeFolder(set.rametta() + "/Thumbnails");
    fixture::makeFolder(set.fs().thumbnailsFolder());
    bitmapsIni("dash8\r\n");
    const ThumbnailInventory inventory = load();
    EXPECT_TRUE(inventory.RamettaThumbnails().isEmpty());
    EXPECT_TRUE(inventory.OwnThumbnails().isEmpty());
    EXPECT_EQ(ClassifyVehicle(inventory, "DASH8"), ThumbnailStatus::ToMake);
}

TEST_F(ThumbnailInventoryTest, ThumbnailsBesideTheProgramAndPerUserAreBothMadeHere) {
    // Made while the folder beside the program could be written, and after it could not.
    fixture::writeFile(set.own() + "/Thumbnails/BESIDE.bmp", "BM");
    fixture::writeFile(set.root() + "/data/Pictelle/Thumbnails/PERUSER.bmp", "BM");
    const ThumbnailInventory inventory = load();
    EXPECT_EQ(ClassifyVehicle(inventory, "beside"), ThumbnailStatus::CreatedHere);
    EXPECT_EQ(ClassifyVehicle(inventory, "peruser"), ThumbnailStatus::CreatedHere);
    EXPECT_EQ(inventory.OwnThumbnails().size(), 2);
}

TEST_F(ThumbnailInventoryTest, OnlyBitmapFilesCount) {
    ramettaBitmap("A.bmp");
    ramettaBitmap("B.BMP");
    ramettaBitmap("c.bmp.txt");
    ramettaBitmap(".hidden.bmp");
    fixture::makeFolder(set.rametta() + "/Thumbnails/folder.bmp");
    QStringList names;
    const ThumbnailInventory inventory = load();
    for (const ThumbnailEntry& e : inventory.RamettaThumbnails())
        names.append(e.Name);
    EXPECT_EQ(names, (QStringList{"A", "B"}));

    // A picture written but not yet placed (or left by a run that died) is no thumbnail.
    ownBitmap("SFCANVAS_4242_a1b2c3.bmp");
    ownBitmap("made.bmp");
    EXPECT_EQ(load().OwnThumbnails(), QStringList{"made"});
}

TEST_F(ThumbnailInventoryTest, AnUnknownRamettaFolderIsNotTheRoot) {
    ownBitmap("x.bmp");
    const ThumbnailInventory inventory = LoadThumbnailInventory(set.fs(), "");
    EXPECT_TRUE(inventory.RamettaThumbnails().isEmpty());
    EXPECT_EQ(inventory.OwnThumbnails(), QStringList{"x"});
}

TEST_F(ThumbnailInventoryTest, FolderExistsForListableFoldersOnly) {
    fixture::makeFolder(set.root() + "/Some Folder");
    set.file("file.eng");
    const QString folder = set.root() + "\\Some Folder";
    EXPECT_TRUE(FolderExists(set.fs(), folder));
    EXPECT_TRUE(FolderExists(set.fs(), folder + "\\"));
    EXPECT_TRUE(FolderExists(set.fs(), folder + "   "));
    EXPECT_TRUE(FolderExists(set.fs(), set.root() + "\\some folder"));
    EXPECT_FALSE(FolderExists(set.fs(), set.trainset() + "\\file.eng"));
    EXPECT_FALSE(FolderExists(set.fs(), set.root() + "\\missing"));
    EXPECT_FALSE(FolderExists(set.fs(), "Q:\\")); // a drive the prefix does not have
}

TEST(AddTrailingBackslashTest, AppendsOneUnlessTheLastNonBlankIsOne) {
    const std::pair<QString, QString> cases[] = {
        {"C:\\MSTS", "C:\\MSTS\\"},
        {"C:\\MSTS\\", "C:\\MSTS\\"},
        {"C:\\MSTS  ", "C:\\MSTS\\"},
        {"C:\\MSTS\\  ", "C:\\MSTS\\  "},
        {"", "\\"},
        {"   ", "\\"},
        {" C:\\A", " C:\\A\\"},
    };
    for (const auto& [in, out] : cases) {
        QString path = in;
        AddTrailingBackslash(path);
        EXPECT_EQ(path, out) << "from [" << in.toStdString() << "]";
    }
}

TEST(ThumbnailStatusTest, NamesAndColoursOfEachStatus) {
    EXPECT_EQ(ThumbnailStatusName(ThumbnailStatus::ToMake), "ToMake");
    EXPECT_EQ(ThumbnailStatusName(ThumbnailStatus::CreatedHere), "CreatedHere");
    EXPECT_EQ(ThumbnailStatusName(ThumbnailStatus::InRamettaFolder), "InRamettaFolder");
    EXPECT_EQ(ThumbnailStatusName(ThumbnailStatus::BuiltIntoRametta), "BuiltIntoRametta");
    EXPECT_EQ(ThumbnailStatusColour(ThumbnailStatus::ToMake), (Rgb{0, 0, 255}));
    EXPECT_EQ(ThumbnailStatusColour(ThumbnailStatus::CreatedHere), (Rgb{255, 0, 255}));
    EXPECT_EQ(ThumbnailStatusColour(ThumbnailStatus::InRamettaFolder), (Rgb{255, 0, 0}));
    EXPECT_EQ(ThumbnailStatusColour(ThumbnailStatus::BuiltIntoRametta), (Rgb{0, 128, 0}));
}

} // namespace

// Placing names a thumbnail, the inventory finds it by that name, and make tells a temporary
// picture from a thumbnail: all three through the one thumbnail-file type.
TEST(ThumbnailFileTest, TheNameAThumbnailIsGivenIsTheNameItIsFoundBy) {
    using inventory::ThumbnailFile;
    for (const QString name : {"CR_D400", "a.b", "SFCANVAS"})
        EXPECT_EQ(ThumbnailFile::VehicleNameOf(ThumbnailFile::NameFor(name)), name);
    EXPECT_EQ(ThumbnailFile::VehicleNameOf("Old.BMP"), "Old");
    EXPECT_EQ(ThumbnailFile::VehicleNameOf("old.png"), "");
    const QString location = ThumbnailFile::TemporaryLocation("/t");
    const QString temporary = location.mid(location.lastIndexOf(u'\\') + 1) + "42_x7q.bmp";
    EXPECT_TRUE(ThumbnailFile::IsTemporaryName(temporary));
    EXPECT_FALSE(ThumbnailFile::IsTemporaryName(ThumbnailFile::NameFor("CR_D400")));
    EXPECT_TRUE(ThumbnailFile::Encode(render::RgbImage{}).isEmpty());
    EXPECT_TRUE(ThumbnailFile::Encode(render::RgbImage(2, 1, {1, 2, 3})).startsWith("BM"));
}
