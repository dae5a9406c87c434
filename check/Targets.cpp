#include "check/Targets.h"

#include "server/store/MenuRepository.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace check {

namespace {

struct Branch {
    std::string code, name;
    bool rescinded = false;
};

bool wanted(const std::vector<std::string>& asked, const std::string& code) {
    return asked.empty() || std::find(asked.begin(), asked.end(), code) != asked.end();
}

void refuseUnseen(const std::vector<std::string>& asked, const std::set<std::string>& seen,
                  const std::string& what) {
    for (const std::string& code : asked)
        if (!seen.count(code))
            throw std::invalid_argument(what + " '" + code + "' não existe no banco de dados.");
}

} // namespace

std::vector<Target> listTargets(server::Database& db, const std::vector<std::string>& branches,
                                const std::vector<std::string>& services) {
    std::vector<Branch> all;
    db.query("SELECT CDFILIAL, NMFILIAL, IDCONTRRESC FROM FILIAL", {}, [&](const server::SqlRow& row) {
        all.push_back(Branch{row.text(0), row.text(1), row.text(2) == "S"});
    });
    std::sort(all.begin(), all.end(), [](const Branch& a, const Branch& b) { return a.code < b.code; });

    server::MenuRepository repo(db, nullptr);
    std::vector<Target> targets;
    std::set<std::string> seenBranches, seenServices;
    for (const Branch& branch : all) {
        if (!wanted(branches, branch.code))
            continue;
        seenBranches.insert(branch.code);
        std::vector<server::Service> list = repo.services(branch.code);
        std::sort(list.begin(), list.end(),
                  [](const server::Service& a, const server::Service& b) { return a.code < b.code; });
        for (const server::Service& service : list) {
            if (!wanted(services, service.code))
                continue;
            seenServices.insert(service.code);
            targets.push_back(Target{branch.code, service.code, service.name,
                                     branch.rescinded ? "Contrato da filial " + branch.code + " (" +
                                                            branch.name + ") rescindido: serviço não julgado."
                                                      : std::string()});
        }
    }
    refuseUnseen(branches, seenBranches, "A filial");
    refuseUnseen(services, seenServices, "O serviço");
    return targets;
}

} // namespace check
