// pictelle-cli: the program's logic from a terminal, without a display.

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "shared/Messages.h"
#include "shared/Version.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

using Positional = cli::CommandOptions::Positional;

// Each subcommand with the options it takes; they are parsed here, once for all of them.
struct Command {
    const char* name;
    QStringList valueOptions;
    Positional positional;
    int (*run)(const cli::CommandOptions& options);
};

const Command commands[] = {
    {"list", {u"msts"_s, u"rametta"_s}, Positional::None, cli::RunListCommand},
    {"render", {u"length"_s, u"zoom"_s}, Positional::Any, cli::RunRenderCommand},
    {"make",
     {u"msts"_s, u"rametta"_s, u"overwrite"_s, u"jobs"_s},
     Positional::Any,
     cli::RunMakeCommand},
    {"thumbnail", {u"s"_s, u"size"_s}, Positional::Any, cli::RunThumbnailCommand},
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    // Options before the subcommand's name are the program's; those after it, the subcommand's.
    cli::CommandOptions options({}, cli::CommandOptions::Positional::Command,
                                {QStringLiteral("version")});
    if (const std::optional<int> status = options.parse(arguments))
        return *status;
    if (options.isSet(QStringLiteral("version"))) {
        cli::printLine(QStringLiteral("pictelle-cli ") + QLatin1String(app::VersionText));
        return 0;
    }
    QStringList rest = options.positional();
    if (rest.isEmpty()) {
        cli::PrintUsage(stderr);
        return 2;
    }
    const QString name = rest.takeFirst();
    for (const Command& command : commands) {
        if (name != QLatin1String(command.name))
            continue;
        cli::CommandOptions commandOptions(command.valueOptions, command.positional);
        if (const std::optional<int> status = commandOptions.parse(rest))
            return *status;
        return command.run(commandOptions);
    }
    cli::printError(app::LoadMessage(app::MessageId::UnknownCommand, {"|1", name}));
    cli::PrintUsage(stderr);
    return 2;
}
