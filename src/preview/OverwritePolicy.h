#pragma once

// The question asked when a thumbnail of the same name is already there. Thumbnail placing
// asks it through this interface only: the window answers with its confirmation dialog,
// pictelle-cli on the terminal, and tests with preset answers.

#include <QList>
#include <QString>

#include <cstdint>

namespace preview {

// The standing answer for a thumbnail that already exists; never stored between runs.
enum class OverwriteChoice : std::int16_t {
    Ask = 0,
    OverwriteOnce = 1,
    KeepOnce = 2,
    OverwriteAlways = 3,
    KeepAlways = 4,
};

class OverwritePolicy {
public:
    virtual ~OverwritePolicy() = default;
    // Asked only while the standing choice is Ask. `targetPath` is the full path of the
    // existing thumbnail. The answer is one of the four non-Ask choices; Ask is taken as
    // "keep it this once", which loses nothing.
    virtual OverwriteChoice AskOverwrite(const QString& targetPath) = 0;
};

// Gives preset answers in order and records each question; when the answers run out it
// keeps the file once.
class PresetOverwritePolicy : public OverwritePolicy {
public:
    PresetOverwritePolicy() = default;
    explicit PresetOverwritePolicy(QList<OverwriteChoice> answers) : answers_(std::move(answers)) {}

    void addAnswer(OverwriteChoice answer) { answers_.append(answer); }
    OverwriteChoice AskOverwrite(const QString& targetPath) override;

    // The target paths asked about, in order.
    const QStringList& questions() const { return questions_; }

private:
    QList<OverwriteChoice> answers_;
    QStringList questions_;
};

} // namespace preview
