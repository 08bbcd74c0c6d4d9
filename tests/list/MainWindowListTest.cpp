#include "TrainsetFixture.h"

#include "app/VehicleList.h"
#include "app/VehicleListView.h"
#include "app/frmPrincipal.h"
#include "shared/SettingsStore.h"
#include "state/Global.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The main window with the folders answered in place of the dialogs, and the preview
// reduced to showing the window.
class TestWindow : public app::frmPrincipal {
public:
    TestWindow(app::Global& global, QString msts, QString rametta)
        : frmPrincipal(global), msts_(std::move(msts)), rametta_(std::move(rametta)) {}

    using frmPrincipal::vehicleCount;

protected:
    void askMstsFolder() override { global().MstsPath = msts_; }
    void askRamettaFolder() override { global().RamettaPath = rametta_; }
    void SetUpPreview() override { show(); }
    void showSelectedVehicle() override {}

private:
    QString msts_;
    QString rametta_;
};

struct Program {
    explicit Program(const fixture::Trainset& t)
        : settings({t.root() + "/registry.ini", QString()}, t.fs()),
          files(platform::FileSystem::Options{QString(), t.own(), t.root() + "/data"}),
          global(files, settings) {}
    app::SettingsStore settings;
    platform::FileSystem files;
    app::Global global;
};

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

void clickRow(app::VehicleListView& list, int row) {
    const QRect place = list.visualRect(list.listModel().index(row, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place.center());
}

// The window's controls, found by their object names.
template <typename T> T& control(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return *found;
}
app::VehicleListView& list(QWidget& window) {
    return control<app::VehicleListView>(window, "lsvMATERIEL");
}
QPushButton& createButton(QWidget& window) {
    return control<QPushButton>(window, "cmdCREATE");
}
QLabel& statusLine(QWidget& window) {
    return control<QLabel>(window, "lblQTE_FILES");
}

QColor colourOf(app::VehicleListView& list, int row) {
    return list.listModel()
        .data(list.listModel().index(row, 0), Qt::ForegroundRole)
        .value<QColor>();
}

} // namespace

TEST(MainWindowList, LoadScansBehindTheProgressWindowThenColoursTheList) {
    fixture::Trainset t;
    t.vehicle("A", "mytrain.eng", "mytrain.s");
    t.vehicle("A", "boxcar.wag", "boxcar.s");
    t.vehicle("B", "hopper.wag", "hopper.s");
    t.definition("A", "broken.eng", "no shape here");
    fixture::writeFile(t.rametta() + "/Thumbnails/mytrain.bmp", "BM");
    fixture::writeFile(t.own() + "/Thumbnails/BoxCar.bmp", "BM");

    Program program(t);
    TestWindow window(program.global, native(t.msts()), native(t.rametta()));
    window.Load();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    app::VehicleListView& list = ::list(window);
    EXPECT_TRUE(program.global.MainWindowReady);
    ASSERT_EQ(list.count(), 3);
    // Locomotives first; the unreadable one keeps its index but is not listed.
    EXPECT_EQ(list.item(0)->text, "mytrain.eng");
    EXPECT_EQ(list.item(1)->text, "boxcar.wag");
    EXPECT_EQ(list.item(2)->text, "hopper.wag");
    EXPECT_EQ(list.item(0)->key(), "1_KEY");
    EXPECT_EQ(colourOf(list, 0), QColor(255, 0, 0));
    EXPECT_EQ(colourOf(list, 1), QColor(255, 0, 255));
    EXPECT_EQ(colourOf(list, 2), QColor(0, 0, 255));
    EXPECT_TRUE(createButton(window).isEnabled());
    EXPECT_EQ(list.selectedCatalogIndex(), 1);
    EXPECT_EQ(statusLine(window).text(),
              QStringLiteral("Total 3 fichiers  -  S\u00e9lectionn\u00e9 ../A/mytrain.eng"));
    // The Rametta folder was stored before the scan ran.
    EXPECT_EQ(program.settings.ReadSetting(app::SettingsRoot::LocalMachine,
                                           QString::fromUtf16(app::PictelleSettingsKey),
                                           QString::fromUtf16(app::RamettaPathValue)),
              native(t.rametta()));

    clickRow(list, 2);
    EXPECT_EQ(statusLine(window).text(),
              QStringLiteral("Total 3 fichiers  -  S\u00e9lectionn\u00e9 ../B/hopper.wag"));
}

TEST(MainWindowList, AnEmptySimulatorFolderLeavesAnEmptyListAndNoStatus) {
    fixture::Trainset t;
    Program program(t);
    TestWindow window(program.global, native(t.root() + "/nothing"), native(t.rametta()));
    window.Load();
    EXPECT_TRUE(program.global.MainWindowReady);
    EXPECT_EQ(window.vehicleCount(), 0);
    EXPECT_FALSE(createButton(window).isEnabled());
    EXPECT_TRUE(statusLine(window).text().isEmpty());
}

TEST(MainWindowList, ClicksBeforeTheWindowIsReadyLeaveTheStatusLine) {
    fixture::Trainset t;
    Program program(t);
    TestWindow window(program.global, QString(), QString());
    catalog::Catalog& catalog = program.global.Catalog;
    catalog.reset();
    catalog.addFile("C:\\T\\", "A", "a.eng");
    catalog.addFile("C:\\T\\", "B", "b.eng");
    catalog[0].Shape = catalog[1].Shape = "x.s";
    app::FillVehicleList({&list(window), &createButton(window), &statusLine(window)}, catalog);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QString before = statusLine(window).text();

    clickRow(list(window), 1);
    EXPECT_EQ(statusLine(window).text(), before);

    program.global.MainWindowReady = true;
    clickRow(list(window), 0);
    clickRow(list(window), 1);
    EXPECT_TRUE(statusLine(window).text().endsWith("../B/b.eng"));
}
