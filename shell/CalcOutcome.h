#pragma once

#include <QString>

namespace host {
class TForm;
}

namespace shell {

// How a calculation-mode run ended, as the shell's exit status: the menu is clear, it infringes the
// contract, or no analysis could judge it.
enum class CalcOutcome { Clear = 0, Blocked = 1, Failed = 2 };

// The outcome from the caller's cell and whether the first activation ran to its end: the cell
// alone cannot tell a blocked menu from a failed run once it has been written false first.
CalcOutcome calcOutcome(bool activationCompleted, bool cell);
QString describe(CalcOutcome outcome);

// The infringements the screen shows: for every result page with a tab, its caption and then each
// row of its summary grid as "title: text" pairs. Empty when there is none.
QString infringementsText(const host::TForm& form);

// Why a calculation could not judge the menu when the launch service is not among the services the
// screen loaded for the branch: names both. Empty when the service is there.
QString missingServiceText(const host::TForm& form, const QString& service, const QString& branch);

} // namespace shell
