#pragma once

// Small helpers shared by the subcommands of pictelle-cli.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace cli {

// Writes one line to standard error.
void printError(const QString& line);
// Writes one line to standard output.
void printLine(const QString& line);

// The usage of every subcommand: on standard output when asked for, on standard error after
// a mistake it explains.
void PrintUsage(std::FILE* out);

// The options of pictelle-cli or of one of its subcommands, such as "--msts DIR" (or
// "--msts=DIR"; "-msts" is the same option, never letters run together). Every command knows
// --help and -h. An unknown option, a missing or empty value, a repeated option, a value given
// to a flag and a bare argument where none is taken are refused with one line naming it.
class CommandOptions {
public:
    enum class Positional {
        None,    // bare arguments are refused
        Any,     // bare arguments are kept, in order, wherever they stand among the options
        Command, // the first bare argument names a subcommand: it and all after it are kept
    };

    CommandOptions(const QStringList& valueOptions, Positional positional,
                   const QStringList& flags = {});

    // Parses the arguments after the program's or subcommand's name. Returns the exit status
    // when the command ends here: 0 once the usage is printed for --help or -h, 2 once the line
    // saying what is wrong is printed on standard error. Nothing when the command goes on.
    std::optional<int> parse(const QStringList& arguments);

    std::optional<QString> value(const QString& name) const;
    bool isSet(const QString& flag) const { return parser_.isSet(flag); }
    // Bare arguments, in order.
    QStringList positional() const { return parser_.positionalArguments(); }

private:
    QString refusal(const QStringList& arguments) const;

    QCommandLineParser parser_;
    QStringList valueOptions_;
    QStringList flags_;
    Positional positional_;
};

} // namespace cli
