#include "dialogs/DriveList.h"
#include "dialogs/FolderList.h"
#include "dialogs/frmPathMSTS.h"
#include "dialogs/frmPathRAMETTA.h"
#include "dialogs/frmPropos.h"
#include "platform/FileSystem.h"
#include "shared/Global.h"
#include "shared/Messages.h"
#include "shared/SettingsStore.h"
#include "support/LayoutCheck.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include <ostream>

// Readable failures; shared with the other widget tests of this program.
using namespace dialogs;

using testsupport::write;

namespace {

// A machine of our own in a temporary folder: a Wine prefix whose drive C holds
// "Program Files", the program's own folder, and a settings store over both.
class FolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        QDir().mkpath(root() + "/wine/drive_c/Program Files/Rametta");
        QDir().mkpath(root() + "/wine/drive_c/Program Files/MSTS");
        QDir().mkpath(root() + "/wine/dosdevices");
        QDir().mkpath(root() + "/own");
        QDir().mkpath(home());
        global.Wine.home = home();
        ASSERT_TRUE(QFile::link(root() + "/wine/drive_c", root() + "/wine/dosdevices/c:"));
        setProgramFiles("C:\\\\Program Files");
    }

    QString root() const { return tmp.path(); }
    QString programFiles() const { return root() + "/wine/drive_c/Program Files"; }
    QString home() const { return root() + "/home"; }

    void setProgramFiles(const QByteArray& registryText) {
        write(root() + "/wine/system.reg",
              "WINE REGISTRY Version 2\n\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1\n"
              "\"ProgramFilesDir\"=\"" +
                  registryText + "\"\n");
    }

    // Drives: the prefix's C drive, the own folder, and one that cannot be opened.
    QList<Drive> drives() const {
        return {{programFiles().chopped(QString("/Program Files").size()), "c:"},
                {root() + "/own", "own"},
                {root() + "/no-medium", "empty drive"},
                {home(), "home"}};
    }

    QTemporaryDir tmp;
    platform::FileSystem files{platform::FileSystem::Options{root() + "/wine/dosdevices",
                                                             root() + "/own", root() + "/data"}};
    app::SettingsStore settings{{root() + "/config/registry.ini", root() + "/wine/system.reg"},
                                files};
    app::Global global{files, settings};
};

int rowOf(const FolderList* list, const QString& folder) {
    return static_cast<int>(list->shownFolders().indexOf(folder));
}

TEST_F(FolderDialogTest, TheSimulatorDialogOpensInProgramFilesWithOkDisabled) {
    frmPathMSTS dialog(global, nullptr, drives());

    EXPECT_EQ(dialog.windowTitle(), "Chemin de Microsoft Train Simulator (ou dossier de stockage)");
    EXPECT_EQ(dialog.Label2->text(), app::LoadMessage(app::MessageId::SelectedCaption));
    EXPECT_EQ(dialog.Label1->text(), "Dossiers :");
    EXPECT_EQ(dialog.Label3->text(), "Lecteurs :");
    EXPECT_EQ(dialog.cmdCancel->text(), "Annuler");
    EXPECT_EQ(dialog.cmdOK->text(), "&OK");

    // The target holds the start folder as soon as the dialog has loaded.
    EXPECT_EQ(global.MstsPath, programFiles());
    EXPECT_EQ(global.ProgramFilesFolder, programFiles());
    EXPECT_EQ(dialog.lblCHEMIN->text(), programFiles());
    EXPECT_EQ(dialog.LstDir->path(), programFiles());
    EXPECT_EQ(dialog.LstLecteur->currentText(), "c:");
    EXPECT_FALSE(dialog.cmdOK->isEnabled());
    EXPECT_TRUE(dialog.loadDone());

    EXPECT_EQ(dialog.size(), QSize(441, 345));
    const QStringList faults = testsupport::LayoutFaults(
        dialog, {dialog.Label1, dialog.Label2, dialog.Label3, dialog.lblCHEMIN, dialog.LstDir,
                 dialog.LstLecteur, dialog.cmdOK, dialog.cmdCancel});
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    EXPECT_TRUE(dialog.lblCHEMIN->font().bold());
    EXPECT_EQ(dialog.lblCHEMIN->palette().color(QPalette::WindowText), QColor(0, 0, 192));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(FolderDialogTest, TheRamettaTwinIsNarrowerAndWritesRamettaPath) {
    frmPathRAMETTA dialog(global, nullptr, drives());
    EXPECT_EQ(dialog.windowTitle(), "Chemin du programme Rametta");
    EXPECT_EQ(dialog.size(), QSize(401, 345));
    EXPECT_EQ(dialog.LstDir->geometry(), QRect(8, 80, 385, 186));
    EXPECT_EQ(dialog.lblCHEMIN->width(), 385);
    EXPECT_EQ(dialog.cmdOK->x(), 304);
    EXPECT_EQ(dialog.cmdCancel->x(), 304);
    EXPECT_EQ(global.RamettaPath, programFiles());
    EXPECT_TRUE(global.MstsPath.isEmpty());
}

TEST_F(FolderDialogTest, OpeningAFolderEnablesOkWhichTakesTheShownFolder) {
    frmPathRAMETTA dialog(global, nullptr, drives());
    const int row = rowOf(dialog.LstDir, programFiles() + "/Rametta");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(dialog.LstDir->openRow(row));
    EXPECT_EQ(dialog.lblCHEMIN->text(), programFiles() + "/Rametta");
    EXPECT_TRUE(dialog.cmdOK->isEnabled());
    // Nothing is written before OK.
    EXPECT_EQ(global.RamettaPath, programFiles());

    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(global.RamettaPath, programFiles() + "/Rametta");
}

TEST_F(FolderDialogTest, CancelLeavesTheStartFolderInTheTarget) {
    frmPathRAMETTA dialog(global, nullptr, drives());
    ASSERT_TRUE(dialog.LstDir->openRow(rowOf(dialog.LstDir, programFiles() + "/MSTS")));
    QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(global.RamettaPath, programFiles());

    // Closing from the title bar (or Escape) is a cancel too.
    frmPathMSTS other(global, nullptr, drives());
    ASSERT_TRUE(other.LstDir->openRow(rowOf(other.LstDir, programFiles() + "/MSTS")));
    other.show();
    QTest::keyClick(&other, Qt::Key_Escape);
    EXPECT_EQ(other.result(), QDialog::Rejected);
    EXPECT_EQ(global.MstsPath, programFiles());
}

// The program's own folder (/usr/bin once installed) is no place to start looking.
TEST_F(FolderDialogTest, AMissingProgramFilesFolderOpensInTheHomeFolder) {
    setProgramFiles("C:\\\\Programmes introuvables");
    frmPathMSTS dialog(global, nullptr, drives());
    EXPECT_EQ(global.MstsPath, home());
    EXPECT_EQ(dialog.lblCHEMIN->text(), home());
    EXPECT_EQ(dialog.LstLecteur->currentText(), "home");

    // No setting at all: the home folder as well.
    QFile::remove(root() + "/wine/system.reg");
    app::Global fresh{files, settings};
    fresh.Wine.home = home();
    frmPathRAMETTA second(fresh, nullptr, drives());
    EXPECT_EQ(fresh.RamettaPath, home());
}

TEST_F(FolderDialogTest, TheProgramFilesFolderIsReadOncePerRun) {
    frmPathMSTS first(global, nullptr, drives());
    setProgramFiles("C:\\\\Program Files\\\\MSTS");
    frmPathRAMETTA second(global, nullptr, drives());
    EXPECT_EQ(global.RamettaPath, programFiles());
}

TEST_F(FolderDialogTest, AStoredTargetIsWhereTheDialogOpens) {
    global.MstsPath = programFiles() + "/MSTS";
    frmPathMSTS dialog(global, nullptr, drives());
    EXPECT_EQ(dialog.lblCHEMIN->text(), programFiles() + "/MSTS");
    // A drive-letter path text is mapped through the prefix's drive table.
    global.RamettaPath = "C:\\Program Files\\Rametta";
    frmPathRAMETTA twin(global, nullptr, drives());
    EXPECT_EQ(twin.lblCHEMIN->text(), programFiles() + "/Rametta");
    EXPECT_EQ(twin.LstLecteur->currentText(), "c:");
    // Cancel keeps the text as it was given.
    twin.reject();
    EXPECT_EQ(global.RamettaPath, "C:\\Program Files\\Rametta");
}

TEST_F(FolderDialogTest, TheFolderListShowsThePlaceThenSortedSubFolders) {
    QDir().mkpath(programFiles() + "/alpha");
    QDir().mkpath(programFiles() + "/.hidden");
    write(programFiles() + "/readme.txt", "not a folder");
    frmPathMSTS dialog(global, nullptr, drives());
    const QStringList shown = dialog.LstDir->shownFolders();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.front(), "/");
    const qsizetype here = shown.indexOf(programFiles());
    ASSERT_GE(here, 0);
    // Hidden folders too, so that a Wine prefix can be reached; files never.
    EXPECT_EQ(shown.mid(here + 1),
              (QStringList{programFiles() + "/.hidden", programFiles() + "/alpha",
                           programFiles() + "/MSTS", programFiles() + "/Rametta"}));
    // Every ancestor is listed above, from the root down.
    EXPECT_EQ(shown.at(here - 1), root() + "/wine/drive_c");

    // Going up through an ancestor works as well.
    ASSERT_TRUE(dialog.LstDir->openRow(static_cast<int>(here - 1)));
    EXPECT_EQ(dialog.lblCHEMIN->text(), root() + "/wine/drive_c");
    EXPECT_TRUE(dialog.cmdOK->isEnabled());
}

// Leaving a hidden Wine prefix must not lose the way back into it.
TEST_F(FolderDialogTest, FromAPrefixUpToHomeAndBackDownIntoTheHiddenPrefix) {
    const QString prefix = home() + "/.wine";
    QDir().mkpath(prefix + "/drive_c/Program Files");
    global.RamettaPath = prefix + "/drive_c/Program Files";
    frmPathRAMETTA dialog(global, nullptr, drives());
    ASSERT_EQ(dialog.lblCHEMIN->text(), prefix + "/drive_c/Program Files");

    ASSERT_TRUE(dialog.LstDir->openRow(rowOf(dialog.LstDir, home())));
    EXPECT_EQ(dialog.lblCHEMIN->text(), home());
    const int hidden = rowOf(dialog.LstDir, prefix);
    ASSERT_GE(hidden, 0) << "the hidden prefix is not listed under home";
    ASSERT_TRUE(dialog.LstDir->openRow(hidden));
    EXPECT_EQ(dialog.lblCHEMIN->text(), prefix);
    dialog.cmdOK->click();
    EXPECT_EQ(global.RamettaPath, prefix);
}

TEST_F(FolderDialogTest, ATypedFolderMovesTheListAndAnythingElseIsRefusedVisibly) {
    QDir().mkpath(home() + "/.local/share/bottles/bottles/Jeux");
    frmPathMSTS dialog(global, nullptr, drives());
    ASSERT_EQ(dialog.lblCHEMIN->text(), programFiles());

    // A path with another letter case, backslashes, quotes and the home folder's "~".
    dialog.lblCHEMIN->setText("\"~/.local/SHARE/bottles/bottles/jeux\"");
    QTest::keyClick(dialog.lblCHEMIN, Qt::Key_Return);
    EXPECT_EQ(dialog.LstDir->path(), home() + "/.local/share/bottles/bottles/Jeux");
    EXPECT_EQ(dialog.lblCHEMIN->text(), home() + "/.local/share/bottles/bottles/Jeux");
    EXPECT_FALSE(dialog.lblCHEMIN->property("refused").toBool());
    EXPECT_TRUE(dialog.cmdOK->isEnabled());

    // A drive-letter path goes through the prefix's drive table.
    dialog.lblCHEMIN->setText("C:\\Program Files\\Rametta");
    QTest::keyClick(dialog.lblCHEMIN, Qt::Key_Return);
    EXPECT_EQ(dialog.LstDir->path(), programFiles() + "/Rametta");

    // Nothing there, a file, a relative text: refused, the list stays, the dialog stays open.
    write(home() + "/notes.txt", "x");
    for (const QString& wrong : {home() + "/nowhere", home() + "/notes.txt", QString("Rametta")}) {
        dialog.lblCHEMIN->setText(wrong);
        QTest::keyClick(dialog.lblCHEMIN, Qt::Key_Return);
        EXPECT_TRUE(dialog.lblCHEMIN->property("refused").toBool()) << wrong.toStdString();
        EXPECT_EQ(dialog.LstDir->path(), programFiles() + "/Rametta");
    }
    // OK with a refused text neither closes nor writes the target.
    dialog.show();
    dialog.cmdOK->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(global.MstsPath, programFiles());

    // Typed and confirmed with OK at once.
    dialog.lblCHEMIN->setText(home());
    dialog.cmdOK->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(global.MstsPath, home());
}

TEST_F(FolderDialogTest, ActivatingAnEntryWithTheKeyboardOpensItWithoutClosingTheDialog) {
    frmPathMSTS dialog(global, nullptr, drives());
    dialog.show();
    // The current folder is the current entry; its first sub-folder lies below it.
    const int steps =
        rowOf(dialog.LstDir, programFiles() + "/MSTS") - rowOf(dialog.LstDir, programFiles());
    dialog.LstDir->setFocus();
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(dialog.LstDir, Qt::Key_Down);
    QTest::keyClick(dialog.LstDir, Qt::Key_Return);
    EXPECT_EQ(dialog.lblCHEMIN->text(), programFiles() + "/MSTS");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(global.MstsPath, programFiles());
}

TEST_F(FolderDialogTest, ChangingDriveMovesTheListAndComesBackToTheLastFolder) {
    frmPathMSTS dialog(global, nullptr, drives());
    dialog.LstLecteur->setCurrentIndex(1);
    EXPECT_EQ(dialog.LstDir->path(), root() + "/own");
    EXPECT_EQ(dialog.lblCHEMIN->text(), root() + "/own");
    EXPECT_TRUE(dialog.cmdOK->isEnabled());

    dialog.LstLecteur->setCurrentIndex(0);
    EXPECT_EQ(dialog.LstDir->path(), programFiles());
}

TEST_F(FolderDialogTest, ADriveThatCannotBeOpenedSendsTheDriveListBack) {
    frmPathMSTS dialog(global, nullptr, drives());
    dialog.LstLecteur->setCurrentIndex(2);
    EXPECT_EQ(dialog.LstLecteur->currentIndex(), 0);
    EXPECT_EQ(dialog.LstDir->path(), programFiles());
    EXPECT_EQ(dialog.lblCHEMIN->text(), programFiles());
    EXPECT_TRUE(dialog.isEnabled());
}

TEST_F(FolderDialogTest, PlacedOnTheOwnerOrOnTheScreen) {
    QWidget owner;
    owner.setGeometry(120, 90, 443, 344);
    owner.show();

    frmPathMSTS msts(global, &owner, drives());
    msts.show();
    const QPoint ownerCentre = owner.frameGeometry().center();
    EXPECT_LE(std::abs(msts.geometry().center().x() - ownerCentre.x()), 2);
    EXPECT_LE(std::abs(msts.geometry().center().y() - ownerCentre.y()), 20);
    msts.reject();

    frmPathRAMETTA rametta(global, &owner, drives());
    rametta.show();
    const QPoint screenCentre = rametta.screen()->geometry().center();
    EXPECT_LE(std::abs(rametta.frameGeometry().center().x() - screenCentre.x()), 2);
    EXPECT_LE(std::abs(rametta.frameGeometry().center().y() - screenCentre.y()), 2);
}

// The about box with its actions recorded instead of reaching the system.
class AboutBoxTest : public ::testing::Test {
protected:
    frmPropos::Actions recording(bool systemInformationStarts) {
        frmPropos::Actions a;
        a.shellOpen = [this](const QString& target) {
            opened.push_back(target);
            return 42;
        };
        a.startSystemInformation = [this, systemInformationStarts] {
            ++starts;
            return systemInformationStarts;
        };
        a.showMessage = [this](QWidget*, const QString& text) {
            messages.push_back(text);
        };
        return a;
    }

    QStringList opened;
    QStringList messages;
    int starts = 0;
};

TEST_F(AboutBoxTest, ShowsTitleVersionCreditsAndNotices) {
    frmPropos about(recording(true));
    EXPECT_EQ(about.windowTitle(), "A propos de Pictelle");
    EXPECT_EQ(about.size(), QSize(465, 247));
    EXPECT_EQ(about.lblTitle->text(), "Pictelle");
    EXPECT_EQ(about.cmdSysInfo->text(), QStringLiteral("&Infos système..."));
    EXPECT_EQ(about.cmdOK->text(), "&OK");
    EXPECT_EQ(about.lblComment->text(),
              QStringLiteral("Créateur de pictelles pour l'éditeur de rames Rametta"));
    EXPECT_EQ(about.lblCourrier->text(), app::LoadMessage(app::MessageId::AuthorAddress));
    // The address is a build setting; without one there is no link to a mail to nobody.
    EXPECT_EQ(about.lblCourrier->isVisibleTo(&about), !about.lblCourrier->text().isEmpty());

    const QStringList lines = about.lblDescript->text().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Version 1.1.0");
    EXPECT_EQ(lines[1],
              QStringLiteral("Développement : ") + app::LoadMessage(app::MessageId::Toolchain));
    EXPECT_EQ(lines[2], "Graphismes : Paint Shop Pro 7.00");
    EXPECT_EQ(lines[3], "Copyright " + app::LoadMessage(app::MessageId::Copyright));

    const QString disclaimer = about.lblDisclaimer->text();
    EXPECT_EQ(disclaimer, app::LoadMessage(app::MessageId::Licence, {"|1", "\n"}));
}

TEST_F(AboutBoxTest, LayoutFontsAndColours) {
    frmPropos about(recording(true));
    const QStringList faults = testsupport::LayoutFaults(
        about,
        {about.lblTitle, about.lblComment, about.lblDescript, about.picIcon, about.lblCourrier,
         about.Line1, about.Line2, about.lblDisclaimer, about.cmdOK, about.cmdSysInfo},
        // The title's box reaches one row into the comment's.
        {{about.lblTitle, about.lblComment}});
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();

    EXPECT_TRUE(about.lblTitle->font().bold());
    EXPECT_TRUE(about.lblTitle->font().italic());
    EXPECT_EQ(about.lblTitle->font().families().front(), "Times New Roman");
    EXPECT_TRUE(about.lblDescript->font().bold());
    auto colour = [](QWidget* w) {
        return w->palette().color(QPalette::WindowText);
    };
    EXPECT_EQ(colour(about.lblTitle), QColor(255, 0, 0));
    EXPECT_EQ(colour(about.lblComment), QColor(0, 128, 128));
    EXPECT_EQ(colour(about.lblDescript), QColor(0, 0, 128));
    EXPECT_EQ(colour(about.lblCourrier), QColor(0, 0, 255));
    EXPECT_EQ(about.lblCourrier->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(about.Line1->palette().color(QPalette::Window), QColor(128, 128, 128));
    EXPECT_EQ(about.Line2->palette().color(QPalette::Window), QColor(255, 255, 255));

    // The whole address is visible.
    EXPECT_GE(about.lblCourrier->width(),
              about.lblCourrier->fontMetrics().horizontalAdvance(about.lblCourrier->text()));
}

TEST_F(AboutBoxTest, ThePictureIsDrawn) {
    frmPropos about(recording(true));
    const QImage picture = about.picIcon->pixmap().toImage();
    ASSERT_EQ(picture.size(), QSize(145, 138));
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 3)
        for (int x = 0; x < picture.width(); x += 3)
            colours.insert(picture.pixel(x, y));
    EXPECT_GT(colours.size(), 20u);
}

TEST_F(AboutBoxTest, SystemInformationThatCannotStartShowsMessage125) {
    frmPropos about(recording(false));
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(messages,
              QStringList{"Les informations système ne sont pas disponibles actuellement."});

    frmPropos working(recording(true));
    messages.clear();
    QTest::mouseClick(working.cmdSysInfo, Qt::LeftButton);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AboutBoxTest, WithoutAWineRegistryTheRealActionsShowMessage125) {
    QTemporaryDir tmp;
    platform::FileSystem files{
        platform::FileSystem::Options{tmp.path() + "/none", tmp.path(), tmp.path()}};
    app::SettingsStore settings{{tmp.path() + "/registry.ini", tmp.path() + "/system.reg"}, files};
    app::Global global{files, settings};
    frmPropos::Actions actions = frmPropos::defaultActions(global);
    actions.showMessage = [this](QWidget*, const QString& text) {
        messages.push_back(text);
    };
    frmPropos about(actions);
    about.cmdSysInfo_Click();
    EXPECT_EQ(messages, QStringList{app::LoadMessage(app::MessageId::NoSystemInformation)});
}

TEST_F(AboutBoxTest, ClickingTheAddressWritesToTheAuthor) {
    frmPropos about(recording(true));
    about.show();
    QTest::mouseClick(about.lblCourrier, Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.front(),
              "mailto:" + app::LoadMessage(app::MessageId::AuthorAddress) +
                  "?Subject=" + app::LoadMessage(app::MessageId::AboutSubject, {"|1", "PICTELLE"}));
    // The other buttons of the mouse do nothing.
    QTest::mouseClick(about.lblCourrier, Qt::RightButton);
    EXPECT_EQ(opened.size(), 1);

    // A hand-over that fails shows nothing and leaves the box open.
    frmPropos::Actions failing = recording(true);
    failing.shellOpen = [](const QString&) -> int {
        throw std::runtime_error("no shell");
    };
    frmPropos other(failing);
    other.show();
    QTest::mouseClick(other.lblCourrier, Qt::LeftButton);
    EXPECT_TRUE(other.isVisible());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(AboutBoxTest, OkCloses) {
    frmPropos about(recording(true));
    about.show();
    QTest::mouseClick(about.cmdOK, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace

namespace {

// The layout check the window tests rely on finds each kind of fault it names.
TEST(LayoutCheck, FindsControlsOutsideOverlappingOrCutOff) {
    QWidget window;
    window.resize(100, 50);
    auto named = [](QWidget& w, const char* name, QRect place) {
        w.setObjectName(QString::fromUtf8(name));
        w.setGeometry(place);
    };
    QPushButton a(QStringLiteral("OK"), &window);
    named(a, "a", {0, 0, 40, 20});
    QPushButton b(QStringLiteral("OK"), &window);
    named(b, "b", {30, 10, 40, 20});
    QLabel c(QStringLiteral("a caption far too long for its box"), &window);
    named(c, "c", {0, 30, 20, 15});
    QLabel d(&window);
    named(d, "d", {90, 40, 20, 20});

    const QStringList faults = testsupport::LayoutFaults(window, {&a, &b, &c, &d});
    EXPECT_EQ(faults.size(), 3) << faults.join("; ").toStdString();
    EXPECT_TRUE(faults.contains("a overlaps b"));
    EXPECT_TRUE(faults.contains("d lies outside the window"));
    EXPECT_EQ(faults.filter("c cuts its caption off").size(), 1);
    // An overlap the design means is not a fault.
    EXPECT_TRUE(testsupport::LayoutFaults(window, {&a, &b}, {{&a, &b}}).isEmpty());
}

} // namespace
