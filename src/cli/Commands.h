#pragma once

// Subcommands of pictelle-cli. Each takes the arguments after its name and returns the exit
// status: 0 done (or the usage printed for --help), 1 failure (one line on standard error), 2
// bad arguments (one line on standard error that names the argument).

#include <QStringList>

namespace cli {

int RunListCommand(const QStringList& arguments);
int RunRenderCommand(const QStringList& arguments);
int RunMakeCommand(const QStringList& arguments);
int RunThumbnailCommand(const QStringList& arguments);

} // namespace cli
