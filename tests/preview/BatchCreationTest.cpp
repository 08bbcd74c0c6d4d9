// Several thumbnails in one run, without a window, over a copy of the sample content: the
// order of placing, the pictures against pictelle-cli's, the overwrite answers, a stop after
// the vehicle in hand, and the failures the report names.

#include "preview/BatchCreation.h"
#include "catalog/Catalog.h"
#include "catalog/TrainsetWalk.h"
#include "inventory/ThumbnailFile.h"
#include "platform/FileSystem.h"
#include "preview/OverwritePolicy.h"
#include "preview/VehicleScene.h"
#include "render/Bitmap.h"
#include "shared/Messages.h"
#include "support/PresetOverwritePolicy.h"
#include "support/TestFiles.h"

#include "ReadOnlyFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using preview::BatchCreation;
using preview::OverwriteChoice;
using preview::PlaceResult;

using testsupport::contentOf;
using testsupport::copyTree;
using testsupport::write;

namespace {

const QString LineBreak = QStringLiteral("\r\n");

class BatchCreationTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString msts() const { return tmp.path() + "/MSTS"; }
    QString thumbs() const { return tmp.path() + "/own/Thumbnails"; }
    platform::FileSystem fs{
        platform::FileSystem::Options{{}, tmp.path() + "/own", tmp.path() + "/data"}};
    catalog::Catalog table;
    QList<catalog::CatalogEntry> listed;
    qsizetype firstListed = -1;
    OverwriteChoice choice = OverwriteChoice::Ask;
    preview::PresetOverwritePolicy policy;

    void SetUp() override {
        copyTree(QStringLiteral(PICTELLE_SAMPLE_DIR) + "/MSTS", msts());
        QDir().mkpath(tmp.path() + "/own");
    }

    // The catalog as the start-up scan finds it; the listed vehicles in list order.
    void scan() {
        ASSERT_TRUE(catalog::ScanTrainset(fs, QDir::toNativeSeparators(msts()), table, nullptr));
        for (qsizetype i = 0; i < table.count(); ++i)
            if (!table[i].Shape.isEmpty()) {
                if (listed.isEmpty())
                    firstListed = i;
                listed.append(table[i]);
            }
        ASSERT_GE(listed.size(), 5);
    }

    // The camera pictelle-cli make sets: the first listed vehicle's sphere, the zoom at rest.
    preview::BatchCamera makeCamera() {
        preview::VehicleScene maker(fs);
        maker.measureReference(preview::ReferenceCandidates(table, firstListed));
        return {maker.reference(), preview::CameraFactorForOffset(0.0)};
    }
    QByteArray cliPicture(const catalog::CatalogEntry& entry) {
        preview::VehicleScene maker(fs);
        maker.measureReference(preview::ReferenceCandidates(table, firstListed));
        maker.setCameraFactor(preview::CameraFactorForOffset(0.0));
        EXPECT_TRUE(maker.show(entry));
        const std::vector<std::uint8_t> bmp = render::encodeBmp(maker.picture());
        return QByteArray(reinterpret_cast<const char*>(bmp.data()), qsizetype(bmp.size()));
    }

    std::unique_ptr<BatchCreation> batch(QList<catalog::CatalogEntry> entries) {
        return std::make_unique<BatchCreation>(fs, std::move(entries), makeCamera(), choice,
                                               policy);
    }
    static void runToEnd(BatchCreation& run) {
        QEventLoop loop;
        QObject::connect(&run, &BatchCreation::finished, &loop, &QEventLoop::quit);
        run.start();
        if (!run.isFinished())
            loop.exec();
    }
    QString thumbnailOf(qsizetype position) const {
        return thumbs() + "/" + inventory::ThumbnailFile::NameFor(listed[position].vehicleName());
    }
    QStringList thumbnailFiles() const { return QDir(thumbs()).entryList(QDir::Files); }
};

TEST_F(BatchCreationTest, PlacesEveryVehicleInListOrderWithThePicturesPictelleCliWrites) {
    scan();
    for (int workers : {1, 3}) {
        QDir(thumbs()).removeRecursively();
        auto run = batch(listed);
        run->setWorkerCount(workers);
        EXPECT_EQ(run->workerCount(), workers);
        QList<qsizetype> started, finished;
        QObject::connect(run.get(), &BatchCreation::itemStarted,
                         [&](qsizetype at) { started.append(at); });
        QObject::connect(run.get(), &BatchCreation::itemFinished, [&](qsizetype at) {
            finished.append(at);
            // Placed by the time it is reported, and nothing after it yet.
            EXPECT_TRUE(QFileInfo::exists(thumbnailOf(at))) << at;
            if (at + 1 < listed.size()) {
                EXPECT_FALSE(QFileInfo::exists(thumbnailOf(at + 1))) << at;
            }
        });
        runToEnd(*run);

        QList<qsizetype> inOrder;
        for (qsizetype i = 0; i < listed.size(); ++i)
            inOrder.append(i);
        EXPECT_EQ(started, inOrder);
        EXPECT_EQ(finished, inOrder);
        EXPECT_EQ(run->done(), listed.size());
        for (qsizetype i = 0; i < listed.size(); ++i) {
            EXPECT_EQ(run->results()[i].Result, PlaceResult::Placed) << i;
            EXPECT_EQ(contentOf(thumbnailOf(i)), cliPicture(listed[i])) << workers << " " << i;
        }
        EXPECT_EQ(thumbnailFiles().size(), listed.size());
        const preview::BatchReport report = run->report();
        EXPECT_EQ(report.Text, app::LoadMessage(app::MessageId::CreateFinished));
        EXPECT_TRUE(report.Success);
    }
    EXPECT_TRUE(policy.questions().isEmpty());
}

TEST_F(BatchCreationTest, ExistingThumbnailsAreAskedAboutInListOrderAndAStandingAnswerHolds) {
    scan();
    for (qsizetype at : {1, 3, 4})
        write(thumbnailOf(at), "old");
    policy.addAnswer(OverwriteChoice::KeepOnce);
    policy.addAnswer(OverwriteChoice::OverwriteAlways);
    auto run = batch(listed);
    runToEnd(*run);

    // Asked for the first two; the third is replaced under the standing answer.
    ASSERT_EQ(policy.questions().size(), 2);
    EXPECT_TRUE(policy.questions()[0].endsWith(
        "\\" + inventory::ThumbnailFile::NameFor(listed[1].vehicleName())));
    EXPECT_TRUE(policy.questions()[1].endsWith(
        "\\" + inventory::ThumbnailFile::NameFor(listed[3].vehicleName())));
    EXPECT_EQ(choice, OverwriteChoice::OverwriteAlways);
    EXPECT_EQ(run->results()[0].Result, PlaceResult::Placed);
    EXPECT_EQ(run->results()[1].Result, PlaceResult::Kept);
    EXPECT_EQ(run->results()[3].Result, PlaceResult::Replaced);
    EXPECT_EQ(run->results()[4].Result, PlaceResult::Replaced);
    EXPECT_EQ(contentOf(thumbnailOf(1)), "old");
    EXPECT_EQ(contentOf(thumbnailOf(4)), cliPicture(listed[4]));
    // Kept by the user's choice is no failure.
    EXPECT_EQ(run->report().Text, app::LoadMessage(app::MessageId::CreateFinished));
    EXPECT_EQ(thumbnailFiles().size(), listed.size());
}

TEST_F(BatchCreationTest, CancelFinishesTheVehicleInHandAndTouchesNoOther) {
    scan();
    for (int workers : {1, 4}) {
        QDir(thumbs()).removeRecursively();
        write(thumbnailOf(4), "old");
        auto run = batch(listed);
        run->setWorkerCount(workers);
        // The second vehicle is in hand when the user stops: it is still made.
        QObject::connect(run.get(), &BatchCreation::itemStarted, [&](qsizetype at) {
            if (at == 1)
                run->cancel();
        });
        runToEnd(*run);

        EXPECT_TRUE(run->isCancelled());
        EXPECT_EQ(run->done(), 2);
        EXPECT_TRUE(run->results()[1].succeeded());
        for (qsizetype i = 2; i < listed.size(); ++i)
            EXPECT_FALSE(run->results()[i].Reached) << i;
        QStringList expected;
        for (const qsizetype position : {0, 1, 4})
            expected.append(inventory::ThumbnailFile::NameFor(listed[position].vehicleName()));
        expected.sort(Qt::CaseInsensitive);
        QStringList files = thumbnailFiles();
        files.sort(Qt::CaseInsensitive);
        EXPECT_EQ(files, expected) << workers;
        EXPECT_EQ(contentOf(thumbnailOf(4)), "old");
        const preview::BatchReport report = run->report();
        EXPECT_EQ(report.Text, app::LoadMessage(app::MessageId::CreationStopped,
                                                {"|1", 2, "|2", listed.size()}));
        EXPECT_TRUE(report.Success);
    }
    EXPECT_TRUE(policy.questions().isEmpty());
}

TEST_F(BatchCreationTest, AnUnreadableShapeFailsAloneAndTheReportNamesIt) {
    QFile::resize(msts() + "/TRAINS/TRAINSET/CR_Diesel/cr_d400.s", 40);
    scan();
    auto run = batch(listed);
    runToEnd(*run);

    qsizetype broken = -1;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        if (listed[i].FileName == "CR_D400.eng") {
            broken = i;
            EXPECT_TRUE(run->results()[i].failed());
            EXPECT_NE(run->results()[i].Shape, preview::ShapeLoadStatus::Loaded);
            EXPECT_FALSE(QFileInfo::exists(thumbnailOf(i)));
        } else {
            EXPECT_EQ(run->results()[i].Result, PlaceResult::Placed) << i;
        }
    }
    ASSERT_GE(broken, 0);
    EXPECT_EQ(thumbnailFiles().size(), listed.size() - 1);
    const preview::BatchReport report = run->report();
    EXPECT_FALSE(report.Success);
    EXPECT_EQ(report.Text, app::LoadMessage(app::MessageId::CreateFailed) + LineBreak + LineBreak +
                               app::LoadMessage(app::MessageId::FailureCount, {"|1", 1}) +
                               LineBreak + "CR_D400 : forme invalide");
}

TEST_F(BatchCreationTest, AReadOnlyPairOfFoldersGivesEachFailureItsFolderAndReason) {
    scan();
    // Neither the folder beside the program nor the per-user one can be written.
    const QString perUser = tmp.path() + "/data/Pictelle/Thumbnails";
    QDir().mkpath(thumbs());
    QDir().mkpath(perUser);
    ReadOnlyFolder beside(thumbs());
    ReadOnlyFolder peruser(perUser);
    ASSERT_TRUE(beside.ok() && peruser.ok()) << ReadOnlyFolderRefused;
    auto run = batch(listed.mid(0, 2));
    runToEnd(*run);

    const platform::FileError refused = run->results()[0].WriteError;
    ASSERT_TRUE(refused.failed());
    QString expected = app::LoadMessage(app::MessageId::CreateFailed) + LineBreak + LineBreak +
                       app::LoadMessage(app::MessageId::FailureCount, {"|1", 2});
    for (qsizetype i = 0; i < 2; ++i)
        expected += LineBreak + listed[i].vehicleName() +
                    " : impossible d'écrire dans le dossier " + QDir::toNativeSeparators(perUser) +
                    " : " + refused.reason();
    EXPECT_EQ(run->report().Text, expected);
    EXPECT_TRUE(QDir(perUser).isEmpty());
}

TEST_F(BatchCreationTest, ManyFailuresNameTheFirstFiveAndCountTheRest) {
    scan();
    QList<catalog::CatalogEntry> missing;
    for (int i = 1; i <= 7; ++i) {
        catalog::CatalogEntry entry = listed[0];
        entry.FileName = QStringLiteral("gone%1.wag").arg(i);
        entry.Shape = QStringLiteral("gone%1.s").arg(i);
        missing.append(entry);
    }
    auto run = batch(missing);
    runToEnd(*run);

    QString expected = app::LoadMessage(app::MessageId::CreateFailed) + LineBreak + LineBreak +
                       app::LoadMessage(app::MessageId::FailureCount, {"|1", 7});
    for (int i = 1; i <= 5; ++i)
        expected += LineBreak + QStringLiteral("gone%1 : forme introuvable").arg(i);
    expected += LineBreak + app::LoadMessage(app::MessageId::MoreFailures, {"|1", 2});
    EXPECT_EQ(run->report().Text, expected);
    for (const preview::BatchItemResult& result : run->results())
        EXPECT_EQ(result.Shape, preview::ShapeLoadStatus::NotFound);
    // Nothing is written for a vehicle without a picture.
    EXPECT_FALSE(QFileInfo::exists(thumbs()));

    // An empty run ends at once.
    auto none = batch({});
    QObject::connect(none.get(), &BatchCreation::itemStarted,
                     [](qsizetype) { ADD_FAILURE() << "nothing is in hand"; });
    runToEnd(*none);
    EXPECT_TRUE(none->isFinished());
    EXPECT_EQ(none->report().Text, app::LoadMessage(app::MessageId::CreateFinished));
}

} // namespace

TEST_F(BatchCreationTest, WorkersShareOneDecodeOfEachTextureFileAndOneReadOfEachFreightShape) {
    scan();
    // Every vehicle twice: a worker keeping its own caches would decode and read again.
    choice = OverwriteChoice::OverwriteAlways;
    auto run = batch(listed + listed);
    run->setWorkerCount(3);
    runToEnd(*run);
    for (const preview::BatchItemResult& result : run->results())
        EXPECT_TRUE(result.succeeded());

    qsizetype textureFiles = 0;
    QDirIterator it(msts(), {"*.ace", "*.dds"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++textureFiles;
    }
    EXPECT_GE(run->textureCache()->decodes(), 1u);
    EXPECT_LE(run->textureCache()->decodes(), std::size_t(textureFiles));

    QSet<QString> freightFiles;
    for (const catalog::CatalogEntry& entry : listed)
        for (const preview::FreightPlacement& placement : preview::FreightPlacements(entry))
            if (fs.isFile(placement.path))
                freightFiles.insert(fs.fileIdentity(placement.path));
    ASSERT_GE(freightFiles.size(), 2);
    EXPECT_EQ(run->freightShapeCache()->reads(), std::size_t(freightFiles.size()));
}

TEST_F(BatchCreationTest, AFolderThatStopsTakingFilesFailsTheRestAndSendsNothingElsewhere) {
    scan();
    // The run's file layer, as pictelle-cli and the window make it: its folder chosen once.
    const platform::FileSystem run = platform::FileSystem::forOneRun(
        platform::FileSystem::Options{{}, tmp.path() + "/own", tmp.path() + "/data"});
    QDir().mkpath(thumbs());
    const QList<catalog::CatalogEntry> three = listed.mid(0, 3);
    BatchCreation creation(run, three, makeCamera(), choice, policy);
    creation.setWorkerCount(2);
    // Once the first thumbnail is placed, the folder is replaced by a file: root ignores
    // permission bits, and a file refuses every new name below it for anyone.
    QObject::connect(&creation, &BatchCreation::itemFinished, [&](qsizetype position) {
        if (position != 0)
            return;
        QDir(thumbs()).removeRecursively();
        write(thumbs(), "not a folder");
    });
    runToEnd(creation);

    ASSERT_EQ(creation.results().size(), 3);
    EXPECT_TRUE(creation.results()[0].succeeded());
    for (qsizetype i = 1; i < 3; ++i) {
        const preview::BatchItemResult& result = creation.results()[i];
        EXPECT_TRUE(result.failed()) << i;
        EXPECT_TRUE(result.TargetPath.isEmpty() || result.TargetPath.startsWith(thumbs()))
            << result.TargetPath.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/data/Pictelle/Thumbnails"))
        << "nothing sent, unsaid, to the per-user folder";
    EXPECT_FALSE(creation.report().Success);
}

TEST_F(BatchCreationTest, ALengthPastAnyVehicleIsRefusedAndNothingIsDrawnForIt) {
    scan();
    QList<catalog::CatalogEntry> entries = listed.mid(0, 2);
    entries[0].Length = 1945.0; // "1945m" typed for 19.45 m
    auto run = batch(entries);
    runToEnd(*run);
    EXPECT_TRUE(run->results()[0].failed());
    EXPECT_TRUE(run->results()[0].LengthRefused);
    EXPECT_TRUE(run->results()[1].succeeded());
    EXPECT_EQ(thumbnailFiles(),
              QStringList{inventory::ThumbnailFile::NameFor(entries[1].vehicleName())});
}
