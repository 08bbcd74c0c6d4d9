#include "catalog/Catalog.h"
#include "inventory/ThumbnailFile.h"
#include "platform/FileSystem.h"
#include "preview/OverwritePolicy.h"
#include "preview/SharedThumbnailNames.h"
#include "preview/ThumbnailPlacing.h"

#include "ReadOnlyFolder.h"
#include "support/PresetOverwritePolicy.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Readable failure messages.
using preview::OverwriteChoice;
using namespace preview;

using testsupport::contentOf;
using testsupport::write;

namespace {

class PlacingTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString own() const { return tmp.path() + "/own"; }
    QString thumbs() const { return own() + "/Thumbnails"; }
    platform::FileSystem fs{platform::FileSystem::Options{{}, own(), tmp.path() + "/data"}};
    OverwriteChoice choice = OverwriteChoice::Ask;
    QString pending = "left over from the last placing"; // the last placing's target
    PresetOverwritePolicy policy;

    void SetUp() override { QDir().mkpath(own()); }

    QString location() const { return inventory::ThumbnailFile::TemporaryLocation(thumbs()); }

    // A fresh picture under the canvas's prefix; its path text as the canvas reports it.
    QString picture(const QByteArray& bytes) {
        const QString name = QStringLiteral("SFCANVAS_%1.bmp").arg(++pictures, 4, 10, QChar('0'));
        write(thumbs() + "/" + name, bytes);
        return location() + name.mid(9);
    }
    // Written through the canvas's prefix, as a take of the screenshot would.
    QString shoot(const QString& at, const QByteArray& bytes) {
        const QString name = QStringLiteral("%1.bmp").arg(++pictures, 4, 10, QChar('0'));
        if (!fs.writeFileAtomically(at + name, bytes))
            return {};
        return at + name;
    }
    int pictures = 1000;

    PlaceResult place(const QString& written, QString name = "GP38.bmp") {
        const PlaceOutcome outcome = PlaceThumbnail(fs, thumbs(), written, name, choice, policy);
        pending = outcome.TargetPath;
        return outcome.Result;
    }

    QStringList leftovers() const { return QDir(thumbs()).entryList({"SFCANVAS_*"}, QDir::Files); }
};

TEST_F(PlacingTest, FirstCreationMakesTheFolderAndNamesThePictureAfterTheVehicle) {
    catalog::CatalogEntry entry;
    entry.FileName = "GP38.eng";
    ASSERT_FALSE(QFileInfo::exists(thumbs()));

    QString seenLocation;
    const PlaceOutcome outcome = CreateThumbnail(
        fs, entry,
        [&](const QString& at) {
            seenLocation = at;
            return shoot(at, "BMnew");
        },
        choice, policy);

    EXPECT_EQ(outcome.Result, PlaceResult::Placed);
    EXPECT_TRUE(IsSuccess(outcome.Result));
    EXPECT_EQ(seenLocation, thumbs() + "\\SFCANVAS_");
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), "BMnew");
    EXPECT_EQ(outcome.TargetPath, thumbs() + "\\GP38.bmp");
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_TRUE(policy.questions().isEmpty());
    EXPECT_EQ(choice, OverwriteChoice::Ask);
}

TEST_F(PlacingTest, ThumbnailNameDropsTheLastFourCharacters) {
    catalog::CatalogEntry wagon;
    wagon.FileName = "A.wag";
    const PlaceOutcome outcome = CreateThumbnail(
        fs, wagon, [&](const QString& at) { return shoot(at, "w"); }, choice, policy);
    EXPECT_EQ(outcome.Result, PlaceResult::Placed);
    EXPECT_TRUE(QFileInfo::exists(thumbs() + "/A.bmp"));
}

TEST(SharedThumbnailNames, CountsEveryVehicleWhoseThumbnailNameAnotherGivesTooInAnyCase) {
    const auto entry = [](const char* folder, const char* file) {
        catalog::CatalogEntry e;
        e.Folder = folder;
        e.FileName = file;
        return e;
    };
    // Three files make ACELA.bmp; GP38 and GP38X differ past the name's length.
    const QList<catalog::CatalogEntry> entries{entry("A", "ACELA.eng"), entry("B", "acela.wag"),
                                               entry("C", "GP38.eng"), entry("D", "GP38X.eng"),
                                               entry("E", "Acela.ENG")};
    EXPECT_EQ(CountSharedThumbnailNames(entries), 3);
    EXPECT_EQ(CountSharedThumbnailNames(entries.mid(2, 2)), 0);
}

// The four answers to an existing thumbnail, and whether the next conflict asks again.
struct ChoiceCase {
    const char* name;
    OverwriteChoice answer;
    bool replaces;
    bool asksAgain;
};

class ConflictTest : public PlacingTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ConflictTest, AnswerDecidesWhichFileGoesAndWhetherToAskAgain) {
    const ChoiceCase c = GetParam();
    write(thumbs() + "/GP38.bmp", "old");
    policy.addAnswer(c.answer);

    const PlaceResult first = place(picture("new1"));
    EXPECT_TRUE(IsSuccess(first));
    EXPECT_EQ(first, c.replaces ? PlaceResult::Replaced : PlaceResult::Kept);
    ASSERT_EQ(policy.questions().size(), 1);
    EXPECT_EQ(policy.questions().front(), thumbs() + "\\GP38.bmp");
    EXPECT_EQ(pending, thumbs() + "\\GP38.bmp");
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), c.replaces ? "new1" : "old");
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_EQ(choice, c.asksAgain ? OverwriteChoice::Ask : c.answer);

    // The next conflict: asked again only after a one-time answer. The preset policy keeps
    // the file when it is asked without a preset answer.
    const PlaceResult second = place(picture("new2"));
    EXPECT_EQ(policy.questions().size(), c.asksAgain ? 2 : 1);
    const bool secondReplaces = c.asksAgain ? false : c.replaces;
    EXPECT_EQ(second, secondReplaces ? PlaceResult::Replaced : PlaceResult::Kept);
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"),
              secondReplaces ? "new2" : (c.replaces ? "new1" : "old"));
    EXPECT_TRUE(leftovers().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ConflictTest,
    ::testing::Values(ChoiceCase{"OverwriteOnce", OverwriteChoice::OverwriteOnce, true, true},
                      ChoiceCase{"KeepOnce", OverwriteChoice::KeepOnce, false, true},
                      ChoiceCase{"OverwriteAlways", OverwriteChoice::OverwriteAlways, true, false},
                      ChoiceCase{"KeepAlways", OverwriteChoice::KeepAlways, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlacingTest, AStandingChoiceIsCarriedOutWithoutAsking) {
    write(thumbs() + "/GP38.bmp", "old");
    choice = OverwriteChoice::OverwriteAlways;
    EXPECT_EQ(place(picture("new")), PlaceResult::Replaced);
    choice = OverwriteChoice::KeepAlways;
    EXPECT_EQ(place(picture("newer")), PlaceResult::Kept);
    EXPECT_TRUE(policy.questions().isEmpty());
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), "new");
}

TEST_F(PlacingTest, AnAnswerOfAskKeepsTheOldFileAndAsksNextTime) {
    write(thumbs() + "/GP38.bmp", "old");
    policy.addAnswer(OverwriteChoice::Ask);
    EXPECT_EQ(place(picture("new")), PlaceResult::Kept);
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), "old");
    EXPECT_EQ(choice, OverwriteChoice::Ask);
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(PlacingTest, ConflictIsFoundWithoutRegardToLetterCase) {
    write(thumbs() + "/gp38.BMP", "old");
    policy.addAnswer(OverwriteChoice::OverwriteOnce);
    EXPECT_EQ(place(picture("new"), "GP38.bmp"), PlaceResult::Replaced);
    EXPECT_EQ(policy.questions().size(), 1);
    // The existing file is replaced and the thumbnail takes the new name's spelling; no
    // second thumbnail is left under the old one.
    EXPECT_EQ(QDir(thumbs()).entryList(QDir::Files), QStringList{"GP38.bmp"});
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), "new");
}

TEST_F(PlacingTest, TakesTheReportedPictureAndLeavesOlderLeftoversAlone) {
    // An earlier failed creation left a picture that sorts before any new one.
    write(thumbs() + "/SFCANVAS_0000.bmp", "stale");
    const QString fresh = picture("fresh");
    EXPECT_EQ(place(fresh), PlaceResult::Placed);
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), "fresh");
    EXPECT_EQ(contentOf(thumbs() + "/SFCANVAS_0000.bmp"), "stale");
    EXPECT_EQ(leftovers(), QStringList{"SFCANVAS_0000.bmp"});
}

TEST_F(PlacingTest, NoPictureReportedIsAFailureThatChangesNothing) {
    write(thumbs() + "/GP38.bmp", "old");
    write(thumbs() + "/SFCANVAS_0000.bmp", "stale");
    choice = OverwriteChoice::OverwriteAlways;

    const PlaceResult result = place(QString());
    EXPECT_EQ(result, PlaceResult::NoPicture);
    EXPECT_FALSE(IsSuccess(result));
    EXPECT_TRUE(pending.isEmpty());
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), "old");
    EXPECT_EQ(contentOf(thumbs() + "/SFCANVAS_0000.bmp"), "stale");

    // A reported file that is gone by now is no picture either.
    EXPECT_EQ(place(thumbs() + "\\SFCANVAS_gone.bmp"), PlaceResult::NoPicture);
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), "old");
    EXPECT_TRUE(policy.questions().isEmpty());
}

TEST_F(PlacingTest, ACreationThatWritesNoPictureFailsWithoutTouchingTheFolder) {
    write(thumbs() + "/GP38.bmp", "old");
    catalog::CatalogEntry entry;
    entry.FileName = "GP38.eng";
    const PlaceOutcome outcome = CreateThumbnail(
        fs, entry, [](const QString&) { return QString(); }, choice, policy);
    EXPECT_EQ(outcome.Result, PlaceResult::NoPicture);
    EXPECT_EQ(QDir(thumbs()).entryList(QDir::Files), QStringList{"GP38.bmp"});
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), "old");
}

TEST_F(PlacingTest, AFolderInTheWayOfTheNameFailsAndKeepsThePicture) {
    QDir().mkpath(thumbs() + "/GP38.bmp");
    const QString fresh = picture("fresh");
    EXPECT_EQ(place(fresh), PlaceResult::Failed);
    EXPECT_TRUE(QFileInfo(thumbs() + "/GP38.bmp").isDir());
    EXPECT_EQ(contentOf(fs.resolve(fresh)), "fresh");
}

TEST_F(PlacingTest, AReadOnlyFolderLosesNothing) {
    write(thumbs() + "/GP38.bmp", "old");
    const QString fresh = picture("fresh");
    ReadOnlyFolder readOnly(thumbs());
    ASSERT_TRUE(readOnly.ok()) << ReadOnlyFolderRefused;

    // Every answer fails without harming the old thumbnail or the picture.
    for (OverwriteChoice answer : {OverwriteChoice::OverwriteOnce, OverwriteChoice::KeepOnce,
                                   OverwriteChoice::OverwriteAlways, OverwriteChoice::KeepAlways}) {
        choice = answer;
        EXPECT_EQ(place(fresh), PlaceResult::Failed) << int(answer);
        EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), "old");
        EXPECT_EQ(contentOf(fs.resolve(fresh)), "fresh");
    }
    // A creation goes to the per-user folder instead, and says so.
    catalog::CatalogEntry entry;
    entry.FileName = "GP38.eng";
    choice = OverwriteChoice::OverwriteAlways;
    const PlaceOutcome outcome = CreateThumbnail(
        fs, entry, [&](const QString& at) { return shoot(at, "more"); }, choice, policy);
    EXPECT_EQ(outcome.Result, PlaceResult::Placed);
    EXPECT_EQ(fs.resolve(outcome.TargetPath), tmp.path() + "/data/Pictelle/Thumbnails/GP38.bmp");
    EXPECT_EQ(contentOf(tmp.path() + "/data/Pictelle/Thumbnails/GP38.bmp"), "more");
    EXPECT_EQ(contentOf(thumbs() + "/GP38.bmp"), "old");
}

TEST_F(PlacingTest, AThumbnailsFolderThatCannotBeMadeFailsBeforeAnyPicture) {
    // A file where the folder should be, and another where the per-user one would go.
    write(thumbs(), "not a folder");
    write(tmp.path() + "/data/Pictelle", "not a folder either");
    catalog::CatalogEntry entry;
    entry.FileName = "GP38.eng";
    bool asked = false;
    const PlaceOutcome outcome = CreateThumbnail(
        fs, entry,
        [&](const QString&) {
            asked = true;
            return QString();
        },
        choice, policy);
    EXPECT_EQ(outcome.Result, PlaceResult::Failed);
    EXPECT_FALSE(asked);
    EXPECT_EQ(contentOf(thumbs()), "not a folder");
}

} // namespace
