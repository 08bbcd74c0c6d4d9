#include "catalog/TrainsetWalk.h"

#include "TrainsetFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace catalog;

namespace {

// Records what the walk reports, as the progress window would see it.
class RecordingProgress : public ScanProgress {
public:
    struct Call {
        std::optional<app::MessageId> message;
        qsizetype first, last;
        double current;
        bool operator==(const Call&) const = default;
    };

    bool open = true;
    qsizetype stopAfter = -1; // number of bars after which a stop is asked
    std::vector<Call> calls;
    std::optional<app::MessageId> pendingMessage;
    int stepsWithoutBar = 0;

    bool isOpen() const override { return open; }
    void ShowProgressStep(app::MessageId step) override {
        if (pendingMessage)
            ++stepsWithoutBar;
        pendingMessage = step;
    }
    void DrawProgressBar(qsizetype first, qsizetype last, double current) override {
        calls.push_back({pendingMessage, first, last, current});
        pendingMessage.reset();
    }
    bool stopRequested() const override {
        return stopAfter >= 0 && static_cast<qsizetype>(calls.size()) >= stopAfter;
    }

    std::vector<Call> of(app::MessageId message) const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.message == message)
                out.push_back(c);
        return out;
    }
};

QStringList fileNames(const Catalog& table) {
    QStringList names;
    for (const CatalogEntry& e : table)
        names.append(e.Folder + "/" + e.FileName);
    return names;
}

class TrainsetWalkTest : public ::testing::Test {
protected:
    fixture::Trainset set;
    Catalog table;
    QString mstsPath() const { return set.msts(); }
    bool scan(ScanProgress* progress = nullptr) {
        return ScanTrainset(set.fs(), mstsPath(), table, progress);
    }
};

TEST_F(TrainsetWalkTest, LocomotivesOfEveryFolderComeBeforeWagons) {
    for (const char* f : {"C", "A", "B"}) {
        set.vehicle(f, QString(f).toLower() + ".wag", "w.s");
        set.vehicle(f, QString(f).toLower() + ".eng", "e.s");
    }
    ASSERT_TRUE(scan());
    EXPECT_EQ(fileNames(table),
              (QStringList{"A/a.eng", "B/b.eng", "C/c.eng", "A/a.wag", "B/b.wag", "C/c.wag"}));
    for (const CatalogEntry& e : table) {
        EXPECT_EQ(e.TrainsetPath, set.msts() + "\\TRAINS\\TRAINSET\\");
        EXPECT_EQ(e.Shape, e.FileName.endsWith(".eng") ? "e.s" : "w.s");
        EXPECT_DOUBLE_EQ(e.Length, 20);
    }
}

TEST_F(TrainsetWalkTest, WhatIsEnteredAndWhatIsNot) {
    set.vehicle("A", "a.eng", "a.s");
    set.vehicle("A", "Default.WAG", "d.s");           // the simulator's template wagon
    set.vehicle("A", "default.eng", "d.s");           // but a locomotive of that name is real
    set.vehicle("A", ".secret.eng", "s.s");           // hidden
    set.vehicle(".hidden", "h.eng", "h.s");           // in a hidden folder
    fixture::makeFolder(set.trainset() + "/A/x.eng"); // a folder, not a file
    set.file("A/readme.txt");
    set.vehicle("", "top.wag", "top.s"); // directly in the trainset folder
    ASSERT_TRUE(scan());
    EXPECT_EQ(fileNames(table), (QStringList{"A/a.eng", "A/default.eng", "/top.wag"}));
    const CatalogEntry& top = table[2];
    EXPECT_EQ(top.Folder, "");
    EXPECT_EQ(top.Shape, "top.s");
    EXPECT_TRUE(top.definitionPath().endsWith("TRAINSET\\\\top.wag"));
}

TEST_F(TrainsetWalkTest, ShapesThatCannotBeOpenedAreDroppedButTheEntryStays) {
    set.vehicle("A", "a.eng", "a.s");
    set.definition("A", "noshape.eng", "Wagon ( x\r\n\tSize ( 1m 2m 9m )\r\n)");
    set.definition("A", "missing.eng", "WagonShape ( gone.s )\r\nSize ( 1m 2m 9m )");
    set.definition("A", "folder.eng", "WagonShape ( sub )");
    fixture::makeFolder(set.trainset() + "/A/sub");
    // Names in another letter case find the file, as on the simulator's file system.
    set.definition("A", "upper.eng", "WagonShape ( A.S )");
    // Shapes may lie in another folder.
    set.definition("B", "shared.eng", "WagonShape ( ..\\A\\a.s )");
    ASSERT_TRUE(scan());
    QStringList shapes;
    for (const CatalogEntry& e : table)
        shapes.append(e.FileName + "=" + e.Shape);
    EXPECT_EQ(shapes, (QStringList{"a.eng=a.s", "folder.eng=", "missing.eng=", "noshape.eng=",
                                   "upper.eng=A.S", "shared.eng=..\\A\\a.s"}));
    // The length is read even when the shape is missing.
    EXPECT_DOUBLE_EQ(table[2].Length, 9);
}

TEST_F(TrainsetWalkTest, Utf16DefinitionFilesGiveTheirShape) {
    const QString text = "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\nWagon ( dash9\r\n"
                         "\tWagonShape ( dash9.s )\r\n\tSize ( 3m 4m 22.5m )\r\n)";
    set.definition("DASH9", "dash9.eng", text, fixture::TextForm::Utf16LE);
    set.file("DASH9/dash9.s");
    ASSERT_TRUE(scan());
    ASSERT_EQ(CatalogCount(table), 1);
    EXPECT_EQ(table[0].Shape, "dash9.s");
    EXPECT_DOUBLE_EQ(table[0].Length, 22.5);
}

TEST_F(TrainsetWalkTest, NothingFoundLeavesOneEmptyEntry) {
    ASSERT_TRUE(scan());
    ASSERT_EQ(CatalogCount(table), 1);
    EXPECT_TRUE(table[0].FileName.isEmpty());
    EXPECT_TRUE(table[0].TrainsetPath.isEmpty());

    // No trainset folder at all.
    Catalog other;
    ScanTrainset(set.fs(), set.root() + "/nowhere", other, nullptr);
    EXPECT_EQ(CatalogCount(other), 1);
}

TEST_F(TrainsetWalkTest, FolderListEndsWithTheTrainsetFolderAndIsClearedAfterTheWalk) {
    set.vehicle("B", "b.eng", "b.s");
    set.vehicle("a", "a.eng", "a.s");
    set.file("loose.eng");
    QStringList folders = ListTrainsetFolders(set.fs(), mstsPath());
    EXPECT_EQ(folders, (QStringList{"a", "B", ""}));
    ASSERT_TRUE(FindVehicleFiles(set.fs(), mstsPath(), folders, table, nullptr));
    EXPECT_EQ(folders, QStringList{""});
    EXPECT_EQ(ListTrainsetFolders(set.fs(), set.root() + "/nowhere"), QStringList{""});
}

TEST_F(TrainsetWalkTest, ReportsEachFolderThenEachEntryWithTheRightRanges) {
    for (const char* f : {"A", "B", "C"}) {
        set.vehicle(f, "e.eng", "e.s");
        set.vehicle(f, "w.wag", "w.s");
    }
    RecordingProgress progress;
    ASSERT_TRUE(scan(&progress));
    EXPECT_EQ(progress.stepsWithoutBar, 0);

    // Three folders: range 0..3, the last step (the trainset folder itself) fills the bar.
    using Call = RecordingProgress::Call;
    constexpr app::MessageId engine = app::MessageId::LocomotivePass;
    const std::vector<Call> engines = {
        {engine, 0, 3, 0}, {engine, 0, 3, 1}, {engine, 0, 3, 2}, {engine, 0, 3, 3}};
    EXPECT_EQ(progress.of(app::MessageId::LocomotivePass), engines);
    EXPECT_EQ(progress.of(app::MessageId::WagonPass).size(), 4u);
    const std::vector<Call> shapes = progress.of(app::MessageId::ShapePass);
    ASSERT_EQ(shapes.size(), 6u);
    for (std::size_t j = 0; j < shapes.size(); ++j)
        EXPECT_EQ(shapes[j], (Call{app::MessageId::ShapePass, 0, 5, double(j)}));
    // Passes come in order.
    EXPECT_EQ(progress.calls.front().message, app::MessageId::LocomotivePass);
    EXPECT_EQ(progress.calls[4].message, app::MessageId::WagonPass);
    EXPECT_EQ(progress.calls[8].message, app::MessageId::ShapePass);
}

TEST_F(TrainsetWalkTest, EmptyTrainsetStillReportsEachPassOnce) {
    RecordingProgress progress;
    ASSERT_TRUE(scan(&progress));
    using Call = RecordingProgress::Call;
    // The window draws nothing for a 0..0 range; the walk still reports the step.
    EXPECT_EQ(progress.calls, (std::vector<Call>{{app::MessageId::LocomotivePass, 0, 0, 0},
                                                 {app::MessageId::WagonPass, 0, 0, 0},
                                                 {app::MessageId::ShapePass, 0, 0, 0}}));
}

TEST_F(TrainsetWalkTest, AClosedWindowGetsNoReportsAndAStopEndsTheWalk) {
    set.vehicle("A", "a.eng", "a.s");
    set.vehicle("B", "b.eng", "b.s");
    RecordingProgress closed;
    closed.open = false;
    ASSERT_TRUE(scan(&closed));
    EXPECT_TRUE(closed.calls.empty());
    EXPECT_EQ(CatalogCount(table), 2);

    RecordingProgress stopping;
    stopping.stopAfter = 1;
    Catalog stopped;
    QStringList folders = ListTrainsetFolders(set.fs(), mstsPath());
    EXPECT_FALSE(FindVehicleFiles(set.fs(), mstsPath(), folders, stopped, &stopping));
    EXPECT_EQ(stopping.calls.size(), 1u);
    EXPECT_EQ(folders, QStringList{""});
    // Shapes were never read.
    EXPECT_TRUE(stopped[0].Shape.isEmpty());
}

TEST(TrainsetWalkSizeTest, MoreFilesThanSixteenBitIndexesHoldAreCataloguedWhole) {
    fixture::Trainset set(fixture::Trainset::Storage::Memory);
    Catalog table;
    constexpr int count = 33000;
    const QByteArray text = "WagonShape ( box.s )\r\nSize ( 3m 4m 12m )\r\n";
    for (int i = 0; i < count; ++i)
        fixture::writeFile(set.trainset() + QString("/BIG/w%1.wag").arg(i, 5, 10, QChar('0')),
                           text);
    set.file("BIG/box.s");
    RecordingProgress progress;
    ASSERT_TRUE(ScanTrainset(set.fs(), set.msts(), table, &progress));
    ASSERT_EQ(CatalogCount(table), count);
    const qsizetype last = count - 1;
    EXPECT_EQ(table[last].FileName, "w32999.wag");
    EXPECT_EQ(table[last].Shape, "box.s");
    EXPECT_EQ(CatalogKey(last), "32999_KEY");
    const auto shapes = progress.of(app::MessageId::ShapePass);
    ASSERT_EQ(shapes.size(), std::size_t(count));
    EXPECT_EQ(shapes.back().last, last);
    EXPECT_EQ(shapes.back().current, double(last));
}

} // namespace
