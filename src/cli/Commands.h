#pragma once

// Subcommands of pictelle-cli. Each takes the arguments after its name and returns the exit
// status: 0 done, 1 failure (one line on standard error), 2 bad arguments (one line on standard
// error; the dispatcher adds the usage).

#include <QStringList>

namespace cli {

int RunListCommand(const QStringList& arguments);
int RunRenderCommand(const QStringList& arguments);
int RunMakeCommand(const QStringList& arguments);

} // namespace cli
