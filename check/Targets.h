#pragma once

#include "check/Model.h"
#include "server/store/Database.h"

#include <string>
#include <vector>

namespace check {

// The service-months to judge: every branch of FILIAL and every service of SERVFILI, in code order
// (bytes), narrowed by the branch and service codes asked for (services within the chosen
// branches). A branch whose contract is rescinded gives its services as skipped. A code asked for
// that names nothing is refused (std::invalid_argument in Portuguese): a typo must not read as a
// clear month.
std::vector<Target> listTargets(server::Database& db, const std::vector<std::string>& branches,
                                const std::vector<std::string>& services);

} // namespace check
