#pragma once

// LstLecteur: the drive list of the folder dialogs. Each entry is a mounted volume or the
// home folder (see Drives.h); the selected drive is exposed by its root folder. A label wider
// than the list is shortened in the middle; its root is the entry's tooltip.

#include "dialogs/Drives.h"

#include <QComboBox>

namespace dialogs {

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QList<Drive> drives, QWidget* parent = nullptr);

    // Root folder of the selected drive; empty when none is selected.
    QString drive() const;
    // Selects the drive that holds a native path (the longest matching root). A path that no
    // drive holds leaves the selection as it is. A new selection signals driveChanged.
    void setDrive(const QString& nativePath);
    // Root of the drive that holds a native path; empty when none does.
    QString driveOf(const QString& nativePath) const;

    const QList<Drive>& drives() const { return drives_; }

signals:
    // The selection changed, by the user or by setDrive.
    void driveChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elideLabels();

    QList<Drive> drives_;
};

} // namespace dialogs
