// The folder dialogs and the about box as the main window opens them.

#include "app/frmPrincipal.h"
#include "dialogs/FolderList.h"
#include "dialogs/frmPathDialog.h"
#include "dialogs/frmPropos.h"
#include "platform/FileSystem.h"
#include "shared/SettingsStore.h"
#include "state/Global.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace {

// Watches for modal windows while the main window works, notes each one once, in order,
// and lets the test answer it.
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal == last_)
                return;
            last_ = modal;
            seen.push_back(modal->objectName());
            owners.push_back(modal->parentWidget());
            answer_(modal);
        });
        timer_.start();
    }

    QStringList seen;
    QList<QWidget*> owners;

private:
    std::function<void(QWidget*)> answer_;
    QTimer timer_;
    // Guarded: the next dialog may be built where the last one lived.
    QPointer<QWidget> last_;
};

class MainWindowDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        QDir().mkpath(root() + "/own/MSTS/TRAINS/TRAINSET");
        QDir().mkpath(root() + "/own/Rametta");
        QDir().mkpath(home());
        global.Wine.home = home();
    }
    QString home() const { return root() + "/home"; }
    QString storedMstsChoice() const {
        return settings.ReadSetting(app::SettingsRoot::LocalMachine,
                                    QString::fromUtf16(app::PictelleSettingsKey),
                                    QStringLiteral("MSTS_Path"));
    }
    QString root() const { return tmp.path(); }
    QString storedRamettaPath() const {
        return settings.ReadSetting(app::SettingsRoot::LocalMachine,
                                    QString::fromUtf16(app::PictelleSettingsKey),
                                    QString::fromUtf16(app::RamettaPathValue));
    }

    QTemporaryDir tmp;
    // No Wine prefix and an empty settings file: nothing registered, nothing stored.
    platform::FileSystem files{
        platform::FileSystem::Options{root() + "/nowine", root() + "/own", root() + "/data"}};
    app::SettingsStore settings{{root() + "/registry.ini", root() + "/nowine/system.reg"}, files};
    app::Global global{files, settings};
};

TEST_F(MainWindowDialogsTest, NothingStoredAsksForTheSimulatorThenRamettaThenScans) {
    app::frmPrincipal window(global);
    ModalWatcher watcher([this](QWidget* modal) {
        auto* dialog = qobject_cast<dialogs::frmPathDialog*>(modal);
        if (!dialog) {
            // Anything unexpected (an error box) is closed, so the test fails instead of
            // waiting; the progress window closes itself.
            if (modal->objectName() != "frmProgress")
                modal->close();
            return;
        }
        if (modal->objectName() == "frmPathMSTS") {
            // Both open in the home folder; the simulator's folder is chosen elsewhere.
            dialog->LstDir->setPath(root() + "/own/MSTS");
            dialog->cmdOK->click();
        } else {
            dialog->cmdCancel->click();
        }
    });
    window.Load();

    ASSERT_GE(watcher.seen.size(), 3);
    EXPECT_EQ(watcher.seen.mid(0, 3),
              (QStringList{"frmPathMSTS", "frmPathRAMETTA", "frmProgress"}));
    EXPECT_EQ(watcher.owners.at(0), &window);
    EXPECT_EQ(watcher.owners.at(1), &window);
    EXPECT_EQ(global.MstsPath, root() + "/own/MSTS");
    // The cancelled dialog left its start folder, and the load step stored it.
    EXPECT_EQ(global.RamettaPath, home());
    EXPECT_EQ(storedRamettaPath(), home());
    // The simulator's folder confirmed with OK is kept for the next start.
    EXPECT_EQ(storedMstsChoice(), root() + "/own/MSTS");
}

// Answers every modal window but the progress window by closing it, noting what it saw.
void closeAllButProgress(QWidget* modal) {
    if (modal->objectName() != "frmProgress")
        modal->close();
}

TEST_F(MainWindowDialogsTest, ASimulatorConfirmedOnceIsUsedAtTheNextStartUnlessRegistered) {
    settings.WriteSetting(app::SettingsRoot::LocalMachine,
                          QString::fromUtf16(app::PictelleSettingsKey),
                          QString::fromUtf16(app::RamettaPathValue), root() + "/own/Rametta");
    {
        app::frmPrincipal window(global);
        ModalWatcher watcher([](QWidget* modal) {
            if (auto* dialog = qobject_cast<dialogs::frmPathDialog*>(modal))
                dialog->cmdCancel->click();
            else
                closeAllButProgress(modal);
        });
        window.Load();
        ASSERT_FALSE(watcher.seen.isEmpty());
        EXPECT_EQ(watcher.seen.front(), "frmPathMSTS");
    }
    // Cancel keeps nothing.
    EXPECT_TRUE(storedMstsChoice().isEmpty());

    settings.WriteSetting(app::SettingsRoot::LocalMachine,
                          QString::fromUtf16(app::PictelleSettingsKey), QStringLiteral("MSTS_Path"),
                          root() + "/own/MSTS");
    app::Global next{files, settings};
    next.Wine.home = home();
    app::frmPrincipal window(next);
    ModalWatcher watcher(closeAllButProgress);
    window.Load();
    EXPECT_FALSE(watcher.seen.contains("frmPathMSTS"));
    EXPECT_EQ(next.MstsPath, root() + "/own/MSTS");
}

TEST_F(MainWindowDialogsTest, ARememberedSimulatorFolderThatIsGoneIsToldThenAskedForAgain) {
    settings.WriteSetting(app::SettingsRoot::LocalMachine,
                          QString::fromUtf16(app::PictelleSettingsKey),
                          QString::fromUtf16(app::RamettaPathValue), root() + "/own/Rametta");
    settings.WriteSetting(app::SettingsRoot::LocalMachine,
                          QString::fromUtf16(app::PictelleSettingsKey), QStringLiteral("MSTS_Path"),
                          root() + "/removed/MSTS");
    app::frmPrincipal window(global);
    QString told;
    ModalWatcher watcher([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            told = box->text();
            box->accept();
        } else if (auto* dialog = qobject_cast<dialogs::frmPathDialog*>(modal)) {
            // A folder without a trainset is not kept; the real one is.
            dialog->LstDir->setPath(root() + "/own/Rametta");
            dialog->cmdOK->click();
        } else {
            closeAllButProgress(modal);
        }
    });
    window.Load();
    ASSERT_GE(watcher.seen.size(), 2);
    EXPECT_EQ(watcher.seen.mid(0, 2), (QStringList{"StartFoldersReport", "frmPathMSTS"}));
    EXPECT_TRUE(told.contains(root() + "/removed/MSTS (dossier introuvable)"))
        << told.toStdString();
    EXPECT_FALSE(watcher.seen.contains("frmPathRAMETTA"));
    EXPECT_EQ(global.MstsPath, root() + "/own/Rametta");
    // The stale folder stays stored, so the next start tells it and asks again.
    EXPECT_EQ(storedMstsChoice(), root() + "/removed/MSTS");
}

TEST_F(MainWindowDialogsTest, ASimulatorCopiedIntoAWinePrefixOpensWithoutAsking) {
    const QString programFiles = home() + "/.wine/drive_c/Program Files";
    QDir().mkpath(programFiles + "/Microsoft Games/Train Simulator/TRAINS/TRAINSET");
    app::frmPrincipal window(global);
    QString ramettaStart;
    ModalWatcher watcher([&ramettaStart](QWidget* modal) {
        if (auto* dialog = qobject_cast<dialogs::frmPathDialog*>(modal)) {
            ramettaStart = dialog->lblCHEMIN->text();
            dialog->cmdCancel->click();
        } else {
            closeAllButProgress(modal);
        }
    });
    window.Load();
    ASSERT_FALSE(watcher.seen.isEmpty());
    EXPECT_EQ(watcher.seen.front(), "frmPathRAMETTA");
    EXPECT_EQ(global.MstsPath, programFiles + "/Microsoft Games/Train Simulator");
    // The Rametta dialog opened in the same prefix's program files.
    EXPECT_EQ(ramettaStart, programFiles);
    // Found, not chosen: nothing is stored for it.
    EXPECT_TRUE(storedMstsChoice().isEmpty());
}

TEST_F(MainWindowDialogsTest, StoredFoldersAskNothing) {
    settings.WriteSetting(app::SettingsRoot::LocalMachine,
                          QString::fromUtf16(app::PictelleSettingsKey),
                          QString::fromUtf16(app::RamettaPathValue), root() + "/own/Rametta");
    QDir().mkpath(root() + "/nowine");
    QFile reg(root() + "/nowine/system.reg");
    ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
    reg.write(
        "[Software\\\\Microsoft\\\\Microsoft Games\\\\Train Simulator\\\\1.0] 1\n\"Path\"=\"" +
        (root() + "/own/MSTS").toUtf8() + "\"\n");
    reg.close();

    app::frmPrincipal window(global);
    ModalWatcher watcher([](QWidget*) {});
    window.Load();
    EXPECT_FALSE(watcher.seen.contains("frmPathMSTS"));
    EXPECT_FALSE(watcher.seen.contains("frmPathRAMETTA"));
    EXPECT_EQ(global.RamettaPath, root() + "/own/Rametta");
}

TEST_F(MainWindowDialogsTest, TheAboutButtonOpensTheAboutBoxModally) {
    global.MstsPath = root() + "/own/MSTS";
    app::frmPrincipal window(global);
    window.show();
    auto* about = window.findChild<QPushButton*>("cmdPROPOS");
    ASSERT_NE(about, nullptr);
    ModalWatcher watcher([](QWidget* modal) { modal->close(); });
    about->click();
    EXPECT_EQ(watcher.seen, QStringList{"frmPropos"});
    EXPECT_EQ(watcher.owners, QList<QWidget*>{&window});
}

} // namespace
