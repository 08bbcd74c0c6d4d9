#include "shared/Shell.h"
#include "platform/FileSystem.h"

#include <QDesktopServices>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

} // namespace

TEST(ShellOpen, HandsAddressesToTheDesktopAndReportsSuccessAbove32) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    const int result = app::ShellOpen(QStringLiteral("mailto:a@example.org?Subject=Au sujet de X"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    EXPECT_GT(result, 32);
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(catcher.urls[0].toString().contains(QStringLiteral("Au sujet de X")));
}

TEST(ShellOpen, MissingFileIsReportedWithoutOpeningAnything) {
    QTemporaryDir dir;
    platform::FileSystem::Options options;
    options.ownFolder = dir.path();
    const platform::FileSystem files(options);
    EXPECT_EQ(app::ShellOpen(dir.path() + QStringLiteral("/absent.txt"), &files), 2);
    EXPECT_EQ(app::ShellOpen(QString()), 2);
    // A drive letter is not an address scheme.
    EXPECT_EQ(app::ShellOpen(QStringLiteral("C:\\absent.txt"), &files), 2);
}

TEST(CenterOnScreen, PlacesTheWindowInTheMiddle) {
    QWidget window;
    window.resize(200, 100);
    app::CenterOnScreen(&window);
    const QRect screen = window.screen()->geometry();
    EXPECT_EQ(window.x(), screen.x() + (screen.width() - window.frameGeometry().width()) / 2);
    EXPECT_EQ(window.y(), screen.y() + (screen.height() - window.frameGeometry().height()) / 2);
}

#include "ShellTest.moc"
