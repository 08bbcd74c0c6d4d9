// pictelle-cli: the program's logic from a terminal, without a display.

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "shared/Version.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

struct Command {
    const char* name;
    int (*run)(const QStringList& arguments);
    const char* synopsis;
};

// One line per subcommand.
const Command commands[] = {
    {"list", cli::RunListCommand, "list   [--msts DIR] [--rametta DIR]"},
    {"render", cli::RunRenderCommand,
     "render SHAPE|VEHICLE OUT.bmp [--length METRES] [--zoom OFFSET]\n"
     "      VEHICLE : un .eng ou .wag, dessiné avec ses formes de fret, largeur d'après sa\n"
     "      longueur (Size). Cadrage sur la forme elle-même ; la fenêtre cadre tous les\n"
     "      véhicules sur la sphère d'un seul véhicule de référence."},
    {"make", cli::RunMakeCommand,
     "make   [--msts DIR] [--rametta DIR] [--overwrite ask|always|never] [--jobs N] [NAME ...]\n"
     "      --jobs : véhicules dessinés à la fois (par défaut un par cœur) ; sur un terminal,\n"
     "      une ligne de progression (faits/total, débit, temps restant) sous les lignes."},
};

// On standard output when asked for, on standard error after a mistake.
void printUsage(std::FILE* out = stderr) {
    std::fprintf(out, "utilisation :\n");
    for (const Command& command : commands)
        std::fprintf(out, "  pictelle-cli %s\n", command.synopsis);
    std::fprintf(out, "  pictelle-cli --version\n");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments.isEmpty()) {
        printUsage();
        return 2;
    }
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        printUsage(stdout);
        return 0;
    }
    if (name == QLatin1String("--version")) {
        std::printf("pictelle-cli %s\n", app::VersionText);
        return 0;
    }
    if (name.startsWith(u'-')) {
        cli::printError(QStringLiteral("option inconnue : %1").arg(name));
        return 2;
    }
    for (const Command& command : commands) {
        if (name == QLatin1String(command.name)) {
            const int status = command.run(arguments);
            if (status == 2)
                printUsage();
            return status;
        }
    }
    cli::printError(QStringLiteral("commande inconnue : %1").arg(name));
    printUsage();
    return 2;
}
