#pragma once

// LstDir: the folder list of the folder dialogs. It shows the current folder's place in the
// tree (each folder from the root down, open) and the current folder's sub-folders below it;
// activating an entry (double click, Enter) makes it the current folder. Listings go through
// the file layer, so they come sorted without regard to case; hidden folders are listed,
// so that a Wine prefix such as ~/.wine can be reached.

#include <QString>
#include <QTreeWidget>

#include <functional>

namespace platform {
class FileSystem;
}

namespace dialogs {

class FolderList : public QTreeWidget {
    Q_OBJECT
public:
    // canOpen tells whether a folder can be listed; only such folders become current.
    FolderList(const platform::FileSystem& fs, std::function<bool(const QString&)> canOpen,
               QWidget* parent = nullptr);

    // The current folder, native; empty before the first setPath.
    QString path() const { return path_; }
    // Makes a folder current (a native path, or a path text that the file layer maps).
    // False, with nothing changed, when it cannot be opened. A new folder signals
    // pathChanged.
    bool setPath(const QString& path);

    // The native folder shown at a row (ancestors first, then sub-folders).
    QStringList shownFolders() const;
    // Opens the folder shown at a row, as a double click does.
    bool openRow(int row);

signals:
    void pathChanged();

private:
    void rebuild();
    QList<QTreeWidgetItem*> rows() const;

    const platform::FileSystem& fs_;
    std::function<bool(const QString&)> canOpen_;
    QString path_;
};

} // namespace dialogs
