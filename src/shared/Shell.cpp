#include "shared/Shell.h"

#include "platform/FileSystem.h"
#include "shared/Messages.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>
#include <QWidget>

namespace app {

void CenterOnScreen(QWidget* window) {
    if (!window)
        return;
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

int ShellOpen(const QString& target, const platform::FileSystem* files) {
    constexpr int fileNotFound = 2;
    constexpr int noAssociation = 31;
    constexpr int success = 42;
    if (target.isEmpty())
        return fileNotFound;
    const QUrl address(target, QUrl::TolerantMode);
    QUrl url;
    // A one-letter scheme is a drive letter, not an address.
    if (address.isValid() && address.scheme().size() > 1) {
        url = address;
    } else {
        const QString native = files ? files->resolve(target) : target;
        if (native.isEmpty())
            return fileNotFound;
        url = QUrl::fromLocalFile(native);
    }
    return QDesktopServices::openUrl(url) ? success : noAssociation;
}

void ShowFatalError(QWidget* parent, const std::exception& error) {
    QMessageBox::critical(parent, QString::fromUtf16(ApplicationTitle),
                          QString::fromLocal8Bit(error.what()));
    QCoreApplication::exit(1);
}

} // namespace app
