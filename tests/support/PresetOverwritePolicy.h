#pragma once

// A test double for the overwrite question.

#include "preview/OverwritePolicy.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace preview {

// Gives preset answers in order and records each question; when the answers run out it
// keeps the file once.
class PresetOverwritePolicy : public OverwritePolicy {
public:
    PresetOverwritePolicy() = default;
    explicit PresetOverwritePolicy(QList<OverwriteChoice> answers) : answers_(std::move(answers)) {}

    void addAnswer(OverwriteChoice answer) { answers_.append(answer); }
    OverwriteChoice AskOverwrite(const QString& targetPath) override {
        questions_.append(targetPath);
        if (answers_.isEmpty())
            return OverwriteChoice::KeepOnce;
        return answers_.takeFirst();
    }

    // The target paths asked about, in order.
    const QStringList& questions() const { return questions_; }

private:
    QList<OverwriteChoice> answers_;
    QStringList questions_;
};

} // namespace preview
