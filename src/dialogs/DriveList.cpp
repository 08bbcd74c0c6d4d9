#include "dialogs/DriveList.h"

#include <QStyle>
#include <QStyleOptionComboBox>

namespace dialogs {

DriveList::DriveList(QList<Drive> drives, QWidget* parent)
    : QComboBox(parent), drives_(std::move(drives)) {
    setObjectName(QStringLiteral("LstLecteur"));
    for (const Drive& d : drives_) {
        addItem(d.label, d.root);
        setItemData(count() - 1, d.root, Qt::ToolTipRole);
    }
    setCurrentIndex(-1);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        setToolTip(drive());
        emit driveChanged();
    });
}

void DriveList::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    elideLabels();
}

void DriveList::elideLabels() {
    // A drive deep in the tree (a Wine letter's target) keeps both ends of its label: the
    // letter and the last folders tell it apart; the tooltip has the whole path.
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const int room =
        style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
            .width();
    if (room <= 0)
        return;
    for (int i = 0; i < drives_.size(); ++i)
        setItemText(i, fontMetrics().elidedText(drives_.at(i).label, Qt::ElideMiddle, room));
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
