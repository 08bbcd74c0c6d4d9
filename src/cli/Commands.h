#pragma once

// Subcommands of pictelle-cli. Each takes its options, already parsed against the set the
// program's command table gives it, and returns the exit status: 0 done, 1 failure (one line
// on standard error), 2 bad arguments (one line on standard error that names the argument).

#include "cli/CommandLine.h"

namespace cli {

int RunListCommand(const CommandOptions& options);
int RunRenderCommand(const CommandOptions& options);
int RunMakeCommand(const CommandOptions& options);
int RunThumbnailCommand(const CommandOptions& options);

} // namespace cli
