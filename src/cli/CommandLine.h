#pragma once

// Small helpers shared by the subcommands of pictelle-cli.

#include <QString>
#include <QStringList>

#include <optional>

namespace cli {

// Writes one line to standard error.
void printError(const QString& line);
// Writes one line to standard output.
void printLine(const QString& line);

// The values of options such as "--msts DIR" (or "--msts=DIR"). Unknown options, missing
// values, repeated options and stray arguments make parse() fail with a reason.
class OptionParser {
public:
    explicit OptionParser(QStringList valueOptions) : names_(std::move(valueOptions)) {}

    bool parse(const QStringList& arguments);
    const QString& error() const { return error_; }
    std::optional<QString> value(const QString& name) const;
    // Arguments that are not options, in order; parse() refuses them unless allowed.
    const QStringList& positional() const { return positional_; }
    void allowPositional(bool allow) { allowPositional_ = allow; }

private:
    QStringList names_;
    QStringList seen_;
    QStringList values_;
    QStringList positional_;
    QString error_;
    bool allowPositional_ = false;
};

} // namespace cli
