#pragma once

// A test double for the report boxes: records what would have been shown, and answers
// questions with a preset answer.

#include "preview/ReportBoxes.h"

#include <QList>
#include <QString>

namespace preview {

class RecordedReports : public ReportBoxes {
public:
    struct Entry {
        QString text;
        ReportIcon icon;
    };
    void Report(QWidget*, const QString& text, ReportIcon icon) override {
        entries.append({text, icon});
    }
    qsizetype Ask(QWidget*, const QString& text, const QStringList& answers) override {
        questions.append({text, answers});
        return answer < 0 ? answers.size() - 1 : answer;
    }
    struct Question {
        QString text;
        QStringList answers;
    };
    QList<Entry> entries;
    QList<Question> questions;
    // The index of the answer every question gets; negative: the last, as closing the box.
    qsizetype answer = -1;
};

} // namespace preview
