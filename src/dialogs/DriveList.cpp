#include "dialogs/DriveList.h"

namespace dialogs {

DriveList::DriveList(QList<Drive> drives, QWidget* parent)
    : QComboBox(parent), drives_(std::move(drives)) {
    setObjectName(QStringLiteral("LstLecteur"));
    for (const Drive& d : drives_)
        addItem(d.label, d.root);
    setCurrentIndex(-1);
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit driveChanged(); });
}

QString DriveList::drive() const {
    const int i = currentIndex();
    return i < 0 ? QString() : drives_.at(i).root;
}

void DriveList::setDrive(const QString& nativePath) {
    const qsizetype i = DriveIndexOf(nativePath, drives_);
    if (i >= 0)
        setCurrentIndex(static_cast<int>(i));
}

QString DriveList::driveOf(const QString& nativePath) const {
    const qsizetype i = DriveIndexOf(nativePath, drives_);
    return i < 0 ? QString() : drives_.at(i).root;
}

} // namespace dialogs
