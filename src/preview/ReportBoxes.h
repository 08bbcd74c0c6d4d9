#pragma once

// How the create command tells the user that it finished or failed: a message box titled
// with the application title, with the information icon for success and the exclamation
// icon for failure; and how it puts a question with a few answers before a run. Tests put a
// RecordedReports in the window's place to read what was said, and answer, without a modal
// box.

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace preview {

enum class ReportIcon { Information, Exclamation };

class ReportBoxes {
public:
    virtual ~ReportBoxes() = default;
    virtual void Report(QWidget* owner, const QString& text, ReportIcon icon) = 0;
    // The index of the answer chosen; the last answer when the box is closed without one.
    virtual qsizetype Ask(QWidget* owner, const QString& text, const QStringList& answers) = 0;
};

// The window's: a modal message box with one OK button.
class MessageReportBoxes : public ReportBoxes {
public:
    void Report(QWidget* owner, const QString& text, ReportIcon icon) override;
    qsizetype Ask(QWidget* owner, const QString& text, const QStringList& answers) override;
};

} // namespace preview
