#include "app/frmPrincipal.h"
#include "platform/FileSystem.h"
#include "preview/ShapePreview.h"
#include "preview/sfCanvas.h"
#include "shared/Messages.h"
#include "shared/SettingsStore.h"
#include "shared/SimulatorFolder.h"
#include "state/Global.h"
#include "support/LayoutCheck.h"
#include "support/SandboxFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using app::SettingsRoot;

namespace {

const QString own = QString::fromUtf16(app::PictelleSettingsKey);
const QString rametta = QString::fromUtf16(app::RamettaPathValue);

// The main window with the steps that open other windows answered by the test: each
// records that it ran and what the program state was at that moment.
class TestWindow : public app::frmPrincipal {
public:
    using frmPrincipal::frmPrincipal;

    QStringList steps;
    QString mstsAnswer = QStringLiteral("/chosen/msts");
    QString ramettaAnswer = QStringLiteral("/chosen/rametta");
    bool readyWhenColouring = true;
    bool readyWhenPreviewing = false;
    QString storedWhenScanning;
    QString reported;

protected:
    void askMstsFolder() override {
        steps << QStringLiteral("msts dialog");
        global().MstsPath = mstsAnswer;
    }
    void askRamettaFolder() override {
        steps << QStringLiteral("rametta dialog");
        global().RamettaPath = ramettaAnswer;
    }
    void reportStartFolders(const QString& text) override {
        steps << QStringLiteral("report");
        reported = text;
    }
    void LoadThumbnailInventory() override { steps << QStringLiteral("inventory"); }
    void runCatalogScan() override {
        steps << QStringLiteral("scan");
        storedWhenScanning =
            global().Settings.ReadSetting(SettingsRoot::LocalMachine, own, rametta);
    }
    void ColourVehicleList() override {
        steps << QStringLiteral("colour");
        readyWhenColouring = global().MainWindowReady;
    }
    void SetUpPreview() override {
        steps << QStringLiteral("preview");
        readyWhenPreviewing = global().MainWindowReady;
        EXPECT_FALSE(findChild<preview::sfCanvas*>(QStringLiteral("sfCanvas1"))->Visible());
        frmPrincipal::SetUpPreview();
    }
    void showSelectedVehicle() override { steps << QStringLiteral("show vehicle"); }
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        locations.iniFile = root + QStringLiteral("/config/Pictelle/registry.ini");
        locations.wineRegistry = root + QStringLiteral("/wine/system.reg");
        files = std::make_unique<platform::FileSystem>(fixtures::SandboxOptions(root));
        settings = std::make_unique<app::SettingsStore>(locations, *files);
        global = std::make_unique<app::Global>(*files, *settings);
    }

    std::unique_ptr<TestWindow> loadedWindow() {
        auto window = std::make_unique<TestWindow>(*global);
        window->Load();
        return window;
    }
    template <typename T = QWidget> T* control(QWidget& window, const char* name) {
        T* found = window.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(QWidget& window, const char* name) {
        if (auto* label = window.findChild<QLabel*>(QLatin1String(name)))
            return label->text();
        if (auto* button = window.findChild<QAbstractButton*>(QLatin1String(name)))
            return button->text();
        ADD_FAILURE() << "no captioned control " << name;
        return {};
    }
    QString stored() const {
        return settings->ReadSetting(SettingsRoot::LocalMachine, own, rametta);
    }

    QTemporaryDir dir;
    QString root;
    app::SettingsStore::Locations locations;
    std::unique_ptr<platform::FileSystem> files;
    std::unique_ptr<app::SettingsStore> settings;
    std::unique_ptr<app::Global> global;
};

} // namespace

TEST_F(MainWindowTest, CaptionsComeFromTheMessageTable) {
    auto window = loadedWindow();
    EXPECT_EQ(window->windowTitle(),
              QString::fromUtf16(u"Pictelle - Cr\u00e9ateur de pictelles pour Rametta"));
    EXPECT_EQ(text(*window, "cmdCancel"), QStringLiteral("Quitter"));
    EXPECT_EQ(text(*window, "cmdCREATE"), QString::fromUtf16(u"Cr\u00e9er"));
    EXPECT_EQ(text(*window, "cmdPROPOS"), QStringLiteral("A propos de Pictelle"));
    EXPECT_EQ(text(*window, "cmdPROPOS_OCX"), QStringLiteral("A propos de sfCanvas"));
    EXPECT_EQ(text(*window, "cmdDelInfosPath"), QStringLiteral("Supprimer le chemin de Rametta"));
    EXPECT_EQ(text(*window, "Label2"), app::LoadMessage(app::MessageId::ThumbnailsNote));
    EXPECT_EQ(text(*window, "Label3"), app::LoadMessage(app::MessageId::LegendRamettaFolder));
    EXPECT_EQ(text(*window, "Label4"), app::LoadMessage(app::MessageId::LegendBuiltIn));
    EXPECT_EQ(text(*window, "Label5"), app::LoadMessage(app::MessageId::LegendMadeHere));
    EXPECT_EQ(text(*window, "Label6"),
              QString::fromUtf16(u"Pictelles restant \u00e0 r\u00e9aliser."));
    EXPECT_EQ(text(*window, "lblQTE_FILES"), QString());
    EXPECT_FALSE(control(*window, "cmdCREATE")->isEnabled());
}

TEST_F(MainWindowTest, ZoomBarStartsInTheMiddle) {
    auto window = loadedWindow();
    auto* bar = control<QScrollBar>(*window, "hscSCALE");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 40);
    EXPECT_EQ(bar->value(), 20);
    EXPECT_EQ(text(*window, "lblSCALEmin"), QStringLiteral("+"));
    EXPECT_EQ(text(*window, "lblSCALEvalue"), QStringLiteral("0"));
    EXPECT_EQ(text(*window, "lblSCALEmax"), QStringLiteral("-"));
    EXPECT_FLOAT_EQ(window->preview().ScaleOffset(), 0.0f);
    EXPECT_FLOAT_EQ(window->preview().CameraFactor(), 2.4f);
    for (const char* name : {"lblSCALEmin", "lblSCALEvalue", "lblSCALEmax"})
        EXPECT_TRUE(control<QLabel>(*window, name)->font().bold()) << name;
}

TEST_F(MainWindowTest, FixedWindowHoldsEveryControlWithoutOverlap) {
    auto window = loadedWindow();
    EXPECT_EQ(window->size(), QSize(443, 344));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    // Every control inside the window, none over another, no caption cut off.
    QList<const QWidget*> controls;
    for (const char* name :
         {"lsvMATERIEL",     "lblQTE_FILES", "hscSCALE",  "lblSCALEmin",   "lblSCALEvalue",
          "lblSCALEmax",     "Shape1",       "Shape2",    "Shape3",        "Shape4",
          "Label3",          "Label4",       "Label5",    "Label6",        "Label2",
          "cmdDelInfosPath", "cmdCREATE",    "cmdPROPOS", "cmdPROPOS_OCX", "cmdCancel"}) {
        const QWidget* w = control(*window, name);
        ASSERT_NE(w, nullptr) << name;
        controls << w;
    }
    // The design's rows of legends and its button under the note touch by one pixel.
    const auto named = [&](const char* name) -> const QWidget* {
        return control(*window, name);
    };
    const QStringList faults =
        testsupport::LayoutFaults(*window, controls,
                                  {{named("Label3"), named("Label4")},
                                   {named("Label4"), named("Label5")},
                                   {named("Label5"), named("Label6")},
                                   {named("Label6"), named("cmdDelInfosPath")},
                                   {named("Label2"), named("cmdDelInfosPath")}});
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
    // The canvas is placed later by the preview; it starts at its design place, hidden.
    auto* canvas = control<preview::sfCanvas>(*window, "sfCanvas1");
    ASSERT_NE(canvas, nullptr);
    EXPECT_FALSE(canvas->Visible());
}

TEST_F(MainWindowTest, TabOrderFollowsTheDesign) {
    auto window = loadedWindow();
    const QStringList expected = {"cmdCancel", "cmdCREATE", "cmdPROPOS",   "cmdPROPOS_OCX",
                                  "sfCanvas1", "hscSCALE",  "lsvMATERIEL", "cmdDelInfosPath"};
    QStringList order;
    QWidget* w = control(*window, "cmdCancel");
    for (int i = 0; w && i < 200 && order.size() < expected.size(); ++i) {
        if (expected.contains(w->objectName()) && !order.contains(w->objectName()))
            order << w->objectName();
        w = w->nextInFocusChain();
    }
    EXPECT_EQ(order, expected);
    // Labels and swatches take no focus.
    for (const char* name : {"lblQTE_FILES", "Label2", "Label3", "lblSCALEvalue", "Shape1"})
        EXPECT_EQ(control(*window, name)->focusPolicy(), Qt::NoFocus) << name;
}

TEST_F(MainWindowTest, StoredFoldersMeanNoDialog) {
    const QString msts = root + "/jeux/msts";
    QDir().mkpath(msts + "/TRAINS/TRAINSET");
    QDir().mkpath(root + "/rametta");
    settings->WriteSetting(SettingsRoot::LocalMachine, QString::fromUtf16(app::MstsSettingsKey),
                           QString::fromUtf16(app::MstsPathValue), msts);
    settings->WriteSetting(SettingsRoot::LocalMachine, own, rametta, root + "/rametta");
    global->OverwriteChoice = preview::OverwriteChoice::KeepAlways;
    auto window = loadedWindow();
    EXPECT_EQ(window->steps, QStringList({"inventory", "scan", "colour", "preview"}));
    EXPECT_EQ(global->MstsPath, msts);
    EXPECT_EQ(global->RamettaPath, root + "/rametta");
    EXPECT_EQ(global->OverwriteChoice, preview::OverwriteChoice::Ask);
    EXPECT_FALSE(window->readyWhenColouring);
    EXPECT_TRUE(window->readyWhenPreviewing);
    EXPECT_TRUE(global->MainWindowReady);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, MissingFoldersAreAskedForInOrderAndRamettaIsStoredBeforeTheScan) {
    auto window = loadedWindow();
    EXPECT_EQ(window->steps, QStringList({"msts dialog", "rametta dialog", "inventory", "scan",
                                          "colour", "preview"}));
    EXPECT_EQ(global->MstsPath, QStringLiteral("/chosen/msts"));
    EXPECT_EQ(window->storedWhenScanning, QStringLiteral("/chosen/rametta"));
    // The simulator's folder is never stored.
    EXPECT_EQ(settings->ReadSetting(SettingsRoot::LocalMachine,
                                    QString::fromUtf16(app::MstsSettingsKey),
                                    QString::fromUtf16(app::MstsPathValue)),
              QString());
}

TEST_F(MainWindowTest, RamettaFolderIsWrittenAtEveryStart) {
    settings->WriteSetting(SettingsRoot::LocalMachine, own, rametta, QStringLiteral("/rametta"));
    QFile::remove(locations.iniFile);
    // A cancelled dialog leaves an empty folder, which is stored as such.
    {
        auto window = std::make_unique<TestWindow>(*global);
        window->ramettaAnswer.clear();
        window->Load();
    }
    EXPECT_TRUE(QFile::exists(locations.iniFile));
    QFile ini(locations.iniFile);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("Rametta_Path="));
}

TEST_F(MainWindowTest, ForgettingTheRamettaFolderKeepsItForThisRun) {
    QDir().mkpath(root + "/rametta");
    settings->WriteSetting(SettingsRoot::LocalMachine, own, rametta, root + "/rametta");
    auto window = loadedWindow();
    QTest::mouseClick(control<QPushButton>(*window, "cmdDelInfosPath"), Qt::LeftButton);
    EXPECT_EQ(stored(), QString());
    EXPECT_EQ(global->RamettaPath, root + "/rametta");
    EXPECT_TRUE(window->isVisible());
    // The next start asks again.
    auto next = loadedWindow();
    EXPECT_TRUE(next->steps.contains(QStringLiteral("rametta dialog")));
}

TEST_F(MainWindowTest, RememberedFoldersThatNoLongerServeAreToldOnceAndAskedForAgain) {
    // A first run confirmed a simulator folder and stored a Rametta folder; both are gone since.
    const QString msts = root + "/MSTS";
    settings->WriteSetting(SettingsRoot::LocalMachine, own,
                           QString::fromUtf16(app::MstsChoiceValue), msts);
    settings->WriteSetting(SettingsRoot::LocalMachine, own, rametta, root + "/Rametta");
    QDir().mkpath(root + "/chosen/msts/TRAINS/TRAINSET");
    QDir().mkpath(root + "/chosen/rametta");
    auto window = std::make_unique<TestWindow>(*global);
    window->mstsAnswer = root + "/chosen/msts";
    window->ramettaAnswer = root + "/chosen/rametta";
    window->Load();
    EXPECT_EQ(window->steps, QStringList({"report", "msts dialog", "rametta dialog", "inventory",
                                          "scan", "colour", "preview"}));
    EXPECT_EQ(window->reported,
              "Un dossier enregistré ne convient plus ; il va vous être demandé à nouveau.\n\n"
              "Microsoft Train Simulator : " +
                  msts +
                  " (dossier introuvable)\n"
                  "Rametta : " +
                  root + "/Rametta (dossier introuvable)");
    EXPECT_EQ(global->MstsPath, root + "/chosen/msts");
    EXPECT_EQ(stored(), root + "/chosen/rametta");

    // Folders that serve are taken silently at the next start.
    settings->WriteSetting(SettingsRoot::LocalMachine, own,
                           QString::fromUtf16(app::MstsChoiceValue), root + "/chosen/msts");
    auto next = loadedWindow();
    EXPECT_EQ(next->steps, QStringList({"inventory", "scan", "colour", "preview"}));
    EXPECT_EQ(global->MstsPath, root + "/chosen/msts");
}

TEST_F(MainWindowTest, SimulatorFolderFromAWinePrefix) {
    QDir(root).mkpath(QStringLiteral("wine/dosdevices"));
    QDir(root).mkpath(QStringLiteral(
        "wine/drive_c/Program Files/Microsoft Games/Train Simulator/TRAINS/TRAINSET"));
    std::filesystem::create_directory_symlink("../drive_c",
                                              (root + "/wine/dosdevices/c:").toStdString());
    QFile reg(locations.wineRegistry);
    ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
    reg.write("WINE REGISTRY Version 2\n\n"
              "[Software\\\\Microsoft\\\\Microsoft Games\\\\Train Simulator\\\\1.0] 1\n"
              "\"Path\"=\"C:\\\\Program Files\\\\Microsoft Games\\\\Train Simulator\"\n");
    reg.close();
    auto window = loadedWindow();
    EXPECT_FALSE(window->steps.contains(QStringLiteral("msts dialog")));
    EXPECT_EQ(global->MstsPath,
              QDir(root + "/wine/drive_c").canonicalPath() +
                  QStringLiteral("/Program Files/Microsoft Games/Train Simulator"));
}

TEST_F(MainWindowTest, WindowIsCentredOnItsScreen) {
    auto window = loadedWindow();
    // Centred before it was first shown, when its frame was not known yet: off by at most
    // the frame's thickness.
    const QPoint offset = window->frameGeometry().center() - window->screen()->geometry().center();
    EXPECT_LE(offset.manhattanLength(), 8) << offset.x() << "," << offset.y();
}

TEST_F(MainWindowTest, QuitClosesTheWindow) {
    auto window = loadedWindow();
    ASSERT_TRUE(window->isVisible());
    QTest::mouseClick(control<QPushButton>(*window, "cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, CanvasAboutButtonShowsTheCanvasAboutBox) {
    auto window = loadedWindow();
    QString title;
    QString body;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            body = box->text();
            box->accept();
        }
    });
    QTest::mouseClick(control<QPushButton>(*window, "cmdPROPOS_OCX"), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("A propos de sfCanvas"));
    EXPECT_TRUE(body.contains(QStringLiteral("sfCanvas")));
}
