#include "cli/CommandLine.h"

#include "shared/Messages.h"

#include <QHash>

namespace cli {

using app::LoadMessage;
using app::MessageId;

namespace {

void writeLine(std::FILE* out, const QString& line) {
    std::fprintf(out, "%s\n", line.toLocal8Bit().constData());
}

// The name an argument gives as an option, without its dashes and value; nothing for a bare
// argument ("-" alone is one) or for "--", which ends the options.
std::optional<QString> optionName(const QString& argument) {
    if (argument.size() < 2 || !argument.startsWith(u'-') || argument == QLatin1String("--"))
        return std::nullopt;
    const qsizetype dashes = argument.startsWith(QLatin1String("--")) ? 2 : 1;
    return argument.mid(dashes).section(u'=', 0, 0);
}

} // namespace

void printError(const QString& line) {
    writeLine(stderr, line);
}

void printLine(const QString& line) {
    writeLine(stdout, line);
}

void PrintUsage(std::FILE* out) {
    for (const MessageId id :
         {MessageId::UsageTitle, MessageId::UsageList, MessageId::UsageRender, MessageId::UsageMake,
          MessageId::UsageThumbnail, MessageId::UsageVersion})
        writeLine(out, LoadMessage(id));
}

CommandOptions::CommandOptions(const QStringList& valueOptions, Positional positional,
                               const QStringList& flags)
    : valueOptions_(valueOptions),
      flags_(flags + QStringList{QStringLiteral("help"), QStringLiteral("h")}),
      positional_(positional) {
    // "-jobs 2" is --jobs, and "-x" one unknown option rather than a run of letters.
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (positional == Positional::Command)
        parser_.setOptionsAfterPositionalArgumentsMode(
            QCommandLineParser::ParseAsPositionalArguments);
    for (const QString& name : valueOptions_)
        parser_.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    for (const QString& name : flags_)
        parser_.addOption(QCommandLineOption(name));
}

std::optional<int> CommandOptions::parse(const QStringList& arguments) {
    // The parser takes the first element for the program's name.
    const bool parsed = parser_.parse(QStringList{QString()} + arguments);
    QString error = refusal(arguments);
    if (!parsed && error.isEmpty()) // every refusal of the parser is told above: not reached
        error = LoadMessage(MessageId::UnexpectedArgument, {"|1", arguments.join(u' ')});
    if (!error.isEmpty()) {
        printError(error);
        return 2;
    }
    if (parser_.isSet(QStringLiteral("help")) || parser_.isSet(QStringLiteral("h"))) {
        PrintUsage(stdout);
        return 0;
    }
    return std::nullopt;
}

QString CommandOptions::refusal(const QStringList& arguments) const {
    // The arguments read as options, as the user wrote them, to name them so in the line.
    QStringList written;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            break;
        const std::optional<QString> name = optionName(arguments[i]);
        if (!name) {
            if (positional_ == Positional::Command)
                break;
            continue;
        }
        written.append(arguments[i]);
        if (valueOptions_.contains(*name) && !arguments[i].contains(u'='))
            ++i; // its value, whatever it looks like
    }
    const auto shown = [&](const QString& name) {
        for (const QString& argument : written)
            if (optionName(argument) == name)
                return argument.section(u'=', 0, 0);
        return QStringLiteral("--") + name;
    };

    const QStringList unknown = parser_.unknownOptionNames();
    if (!unknown.isEmpty())
        return LoadMessage(MessageId::UnknownOption, {"|1", shown(unknown.first())});
    // In the order given, so that the first mistake is the one told.
    QHash<QString, int> seen;
    for (const QString& name : parser_.optionNames()) {
        const int before = seen[name]++;
        if (flags_.contains(name)) {
            for (const QString& argument : written)
                if (optionName(argument) == name && argument.contains(u'='))
                    return LoadMessage(MessageId::UnexpectedValue, {"|1", shown(name)});
            continue;
        }
        if (before > 0)
            return LoadMessage(MessageId::RepeatedOption, {"|1", shown(name)});
        const QStringList values = parser_.values(name);
        if (values.isEmpty())
            return LoadMessage(MessageId::MissingValue, {"|1", shown(name)});
        if (values.first().isEmpty())
            return LoadMessage(MessageId::EmptyValue, {"|1", shown(name)});
    }
    if (positional_ == Positional::None && !parser_.positionalArguments().isEmpty())
        return LoadMessage(MessageId::UnexpectedArgument,
                           {"|1", parser_.positionalArguments().first()});
    return {};
}

std::optional<QString> CommandOptions::value(const QString& name) const {
    if (!parser_.isSet(name))
        return std::nullopt;
    return parser_.value(name);
}

} // namespace cli
