#include "preview/ReportBoxes.h"

#include "shared/Messages.h"

#include <QMessageBox>

namespace preview {

void MessageReportBoxes::Report(QWidget* owner, const QString& text, ReportIcon icon) {
    QMessageBox box(icon == ReportIcon::Information ? QMessageBox::Information
                                                    : QMessageBox::Warning,
                    QString::fromUtf16(app::ApplicationTitle), text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("CreationReport"));
    box.exec();
}

} // namespace preview
