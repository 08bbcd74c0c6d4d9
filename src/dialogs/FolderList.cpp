#include "dialogs/FolderList.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QHeaderView>
#include <QStyle>

namespace dialogs {

namespace {

constexpr int PathRole = Qt::UserRole;

QString join(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

} // namespace

FolderList::FolderList(const platform::FileSystem& fs, std::function<bool(const QString&)> canOpen,
                       QWidget* parent)
    : QTreeWidget(parent), fs_(fs), canOpen_(std::move(canOpen)) {
    setObjectName(QStringLiteral("LstDir"));
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(12);
    // Every level is always open: no expand arrows.
    setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item)
            setPath(item->data(0, PathRole).toString());
    });
}

bool FolderList::setPath(const QString& path) {
    if (path.isEmpty())
        return false;
    const QString resolved = fs_.resolve(path);
    if (resolved.isEmpty() || (canOpen_ && !canOpen_(resolved)))
        return false;
    const QString native = QDir::cleanPath(resolved);
    if (native == path_)
        return true;
    path_ = native;
    rebuild();
    emit pathChanged();
    return true;
}

void FolderList::rebuild() {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);

    auto* item = new QTreeWidgetItem(this, {QStringLiteral("/")});
    item->setData(0, PathRole, QStringLiteral("/"));
    item->setIcon(0, open);
    QString folder = QStringLiteral("/");
    for (const QString& part : path_.split(u'/', Qt::SkipEmptyParts)) {
        folder = join(folder, part);
        item = new QTreeWidgetItem(item, {part});
        item->setData(0, PathRole, folder);
        item->setIcon(0, open);
    }
    QTreeWidgetItem* current = item;
    for (const QString& name :
         fs_.list(path_, QStringLiteral("*"), platform::FileSystem::EntryKind::Folders,
                  platform::FileSystem::Hidden::Include)) {
        auto* sub = new QTreeWidgetItem(current, {name});
        sub->setData(0, PathRole, join(path_, name));
        sub->setIcon(0, closed);
    }
    expandAll();
    setCurrentItem(current);
    scrollToItem(current);
}

QList<QTreeWidgetItem*> FolderList::rows() const {
    QList<QTreeWidgetItem*> all;
    for (QTreeWidgetItem* item = topLevelItemCount() ? topLevelItem(0) : nullptr; item;
         item = itemBelow(item))
        all.push_back(item);
    return all;
}

QStringList FolderList::shownFolders() const {
    QStringList folders;
    for (QTreeWidgetItem* item : rows())
        folders.push_back(item->data(0, PathRole).toString());
    return folders;
}

bool FolderList::openRow(int row) {
    const QList<QTreeWidgetItem*> all = rows();
    if (row < 0 || row >= all.size())
        return false;
    return setPath(all[row]->data(0, PathRole).toString());
}

} // namespace dialogs
