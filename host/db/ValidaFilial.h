#pragma once

#include <QString>

namespace host {

// The branch name of a branch the operator may work on. Refuses (Refusal) an empty code, an unknown
// branch, a branch the operator has no access to and, when checkRescinded is true, a branch whose
// contract was rescinded.
QString ValidaFilial(const QString& cdFilial, const QString& operador, bool checkRescinded);
// Whether the branch exists and its contract was rescinded.
bool ContratoRescindido(const QString& cdFilial);

} // namespace host
