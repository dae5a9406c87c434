#pragma once

namespace shell {

struct ShellOptions;

// Refuses (host::Refusal) a run that could not reach a verdict with what the options and the settings
// give, naming the option and the settings key that would give it: a calculation needs the local database,
// the operator, a branch, the service and the month. Every mode needs a readable format/locale and server
// port. Runs after the settings are read and the options applied to them.
void checkRunRequirements(const ShellOptions& options);

} // namespace shell
