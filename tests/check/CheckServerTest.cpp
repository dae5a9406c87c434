// The same check in process and against the real server over the wire: the same output.
#include "CheckTestSupport.h"
#include "ContractMenus.h"
#include "ServerProcess.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

std::vector<std::string> checkArgs(const std::string& database) {
    return {"--database", database, "--month", "2026-03", "--format", "json", "--contracts", "--jobs", "3"};
}

std::string generatedRows() {
    return contractCatalogueSql() + infringingServiceSql("S1", "Um", {1, 3, 7}) +
           infringingServiceSql("S2", "Dois", {}) +
           infringingServiceSql("S3", "Três", {2, 4, 5, 6, 8, 9, 10, 11}) + limitServiceSql("L1") +
           "UPDATE FILIAL SET IDCONTRRESC = 'S' WHERE CDFILIAL = '0002';"
           "INSERT INTO SERVFILI VALUES ('0002', 'E1', 'Escola');";
}

TEST(CheckOverTheWire, AgreesWithTheCheckInProcess) {
    TestDatabase db;
    db.exec(generatedRows());
    ServerProcess server(db.url());
    const CheckOutcome local = runInProcess(checkArgs(db.url()));
    std::vector<std::string> remoteArgs = checkArgs(db.url());
    remoteArgs.insert(remoteArgs.end(), {"--server", "127.0.0.1:" + std::to_string(server.port())});
    const CheckOutcome remote = runInProcess(remoteArgs);
    ASSERT_EQ(local.status, check::kBlocked) << local.err;
    EXPECT_EQ(remote.status, local.status) << remote.err;
    EXPECT_EQ(remote.json(), local.json());
    // The comparison is worth something only when there is something to compare.
    const nlohmann::json services = local.json().at("services");
    ASSERT_EQ(services.size(), 5u);
    EXPECT_EQ(services.at(4).at("verdict"), "skipped");
    ASSERT_EQ(services.at(1).at("service"), "S1") << "L1 sorts first";
    EXPECT_FALSE(services.at(1).at("categories").at("GetFreqPratSem").at(0).at("days").empty());
}

TEST(CheckOverTheWire, CarriesTheServersSecret) {
    TestDatabase db;
    db.exec(generatedRows());
    ServerProcess::Options options;
    options.secret = "segredo-de-teste";
    ServerProcess server(db.url(), options);
    TempFile secret("segredo", "segredo-de-teste\n");
    ::chmod(secret.string().c_str(), 0600);
    TempFile wrong("errado", "outro\n");
    ::chmod(wrong.string().c_str(), 0600);
    const std::string address = "127.0.0.1:" + std::to_string(server.port());

    std::vector<std::string> args = checkArgs(db.url());
    args.insert(args.end(), {"--server", address, "--secret-file", secret.string()});
    const CheckOutcome right = runInProcess(args);
    EXPECT_EQ(right.status, check::kBlocked) << right.err;
    EXPECT_EQ(right.json(), runInProcess(checkArgs(db.url())).json());

    args.back() = wrong.string();
    const CheckOutcome refused = runInProcess(args);
    EXPECT_EQ(refused.status, check::kNotJudged);
    const nlohmann::json output = refused.json();
    for (const nlohmann::json& service : output.at("services"))
        EXPECT_NE(service.at("verdict"), "clear") << "a service that could not be judged is never clear";
}

} // namespace

namespace {

TEST(CheckJobs, WriteBranchThenServiceOrderWhateverTheirNumber) {
    TestDatabase db;
    // Codes inserted out of order, and a second branch whose services sort before the first's.
    db.exec(contractCatalogueSql() + infringingServiceSql("S9", "Nove", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) +
            infringingServiceSql("S1", "Um", {}) + infringingServiceSql("S5", "Cinco", {8}) +
            "INSERT INTO SERVFILI VALUES ('0002', 'A1', 'Escola');");
    std::vector<std::string> one = checkArgs(db.url());
    one.back() = "1";
    std::vector<std::string> many = checkArgs(db.url());
    many.back() = "8";
    const nlohmann::json serial = runInProcess(one).json();
    std::vector<std::string> order;
    for (const nlohmann::json& service : serial.at("services"))
        order.push_back(service.at("branch").get<std::string>() + "/" +
                        service.at("service").get<std::string>());
    EXPECT_EQ(order, (std::vector<std::string>{"0001/S1", "0001/S5", "0001/S9", "0002/A1"}));
    for (int round = 0; round < 3; ++round)
        EXPECT_EQ(runInProcess(many).json(), serial);
}

} // namespace
