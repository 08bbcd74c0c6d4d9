#include "app/OpenOnClick.h"

#include "platform/FileSystem.h"
#include "shared/Shell.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace app {

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QLabel* label, std::function<QString()> folder, const platform::FileSystem& files)
        : QObject(label), folder_(std::move(folder)), files_(files) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            const QString folder = folder_();
            files_.makeFolder(folder);
            ShellOpen(folder, &files_);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<QString()> folder_;
    const platform::FileSystem& files_;
};

} // namespace

void OpenFolderOnClick(QLabel* label, std::function<QString()> folder,
                       const platform::FileSystem& files) {
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(new ClickFilter(label, std::move(folder), files));
}

} // namespace app
