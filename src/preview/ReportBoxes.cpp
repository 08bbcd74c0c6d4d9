#include "preview/ReportBoxes.h"

#include "shared/Messages.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace preview {

void MessageReportBoxes::Report(QWidget* owner, const QString& text, ReportIcon icon) {
    QMessageBox box(icon == ReportIcon::Information ? QMessageBox::Information
                                                    : QMessageBox::Warning,
                    QString::fromUtf16(app::ApplicationTitle), text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("CreationReport"));
    box.exec();
}

qsizetype MessageReportBoxes::Ask(QWidget* owner, const QString& text, const QStringList& answers) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf16(app::ApplicationTitle), text,
                    QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("CreationQuestion"));
    QList<QAbstractButton*> buttons;
    for (const QString& answer : answers)
        buttons.append(box.addButton(answer, QMessageBox::AcceptRole));
    if (buttons.isEmpty())
        return -1;
    // Closing the box takes the last answer, the one that decides nothing in advance.
    box.setEscapeButton(buttons.last());
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons.last()));
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return chosen < 0 ? buttons.size() - 1 : chosen;
}

} // namespace preview
