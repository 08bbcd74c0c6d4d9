#pragma once

// A test double for the report boxes: records what would have been shown.

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
    QList<Entry> entries;
};

} // namespace preview
