#pragma once

// How the create command tells the user that it finished or failed: a message box titled
// with the application title, with the information icon for success and the exclamation
// icon for failure. Tests put a RecordedReports in the window's place to read what was said
// without a modal box.

#include <QList>
#include <QString>

class QWidget;

namespace preview {

enum class ReportIcon { Information, Exclamation };

class ReportBoxes {
public:
    virtual ~ReportBoxes() = default;
    virtual void Report(QWidget* owner, const QString& text, ReportIcon icon) = 0;
};

// The window's: a modal message box with one OK button.
class MessageReportBoxes : public ReportBoxes {
public:
    void Report(QWidget* owner, const QString& text, ReportIcon icon) override;
};

} // namespace preview
