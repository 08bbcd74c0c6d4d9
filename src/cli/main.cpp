// pictelle-cli: the program's logic from a terminal, without a display.

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "shared/Messages.h"
#include "shared/Version.h"

#include <QCoreApplication>

namespace {

struct Command {
    const char* name;
    int (*run)(const QStringList& arguments);
};

const Command commands[] = {
    {"list", cli::RunListCommand},
    {"render", cli::RunRenderCommand},
    {"make", cli::RunMakeCommand},
    {"thumbnail", cli::RunThumbnailCommand},
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
    for (const Command& command : commands)
        if (name == QLatin1String(command.name))
            return command.run(rest);
    cli::printError(app::LoadMessage(app::MessageId::UnknownCommand, {"|1", name}));
    cli::PrintUsage(stderr);
    return 2;
}
