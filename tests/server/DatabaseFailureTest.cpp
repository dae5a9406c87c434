#include "MenuFixture.h"

#include "ServerProcess.h"

#include <csignal>
#include <fstream>
#include <sys/wait.h>

using nlohmann::json;

namespace {

class DatabaseFailure : public MenuFixture {};

TEST_F(DatabaseFailure, AMissingTableIsAnErrorAnswerNeverAnEmptyPacket) {
    sql("DROP TABLE CTRLIMNUTR; DROP TABLE PRODCARD;");
    for (const auto& [method, params] : std::vector<std::pair<std::string, json>>{
             {"GetLimNutri", march()},
             {"GetRestProd", march()},
             {"GetLimPeSerDet", {"0001", "001", "2026-03-01", "P1", 0, 1}}}) {
        const json answer = session().call(method, params);
        ASSERT_FALSE(answer.contains("packet")) << method;
        EXPECT_EQ(answer.at("code"), -32000);
        EXPECT_NE(answer.at("message").get<std::string>().find(method), std::string::npos);
    }
    // The other methods still answer.
    EXPECT_EQ(session().rows("GetServico", {"0001", "N"}).size(), 2u);
}

TEST_F(DatabaseFailure, AFileBrokenAfterStartFailsTheCallWithoutACrash) {
    if (db_.onPostgres())
        GTEST_SKIP() << "a file replaced under the server is SQLite's case; PostgreSQL's is a server that "
                        "stops and comes back (PostgresEngine.StoppedServer...)";
    // Connections open on the first call, so the server meets the file as it is by then.
    LiveServer live(db_.pathString());
    std::filesystem::remove(db_.path());
    std::ofstream(db_.path()) << "isto não é um banco de dados " << std::string(4096, 'x');
    RpcSession broken(live);
    for (const auto& [method, params] : std::vector<std::pair<std::string, json>>{
             {"GetServico", {"0001", "N"}}, {"GetFreqPratMes", march()}}) {
        const json answer = broken.call(method, params);
        ASSERT_FALSE(answer.contains("packet")) << method;
        EXPECT_EQ(answer.at("code"), -32000);
        EXPECT_NE(answer.at("message").get<std::string>().find("banco de dados"), std::string::npos);
    }
}

TEST(ServerBinary, RefusesToStartOnAMissingFileOrOneThatIsNotADatabase) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("restcont-bad-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto text = folder / "texto.db";
    std::ofstream(text) << "não sou um banco de dados " << std::string(2048, '-');
    for (const auto& path : {folder / "nao-existe.db", text}) {
        const auto outcome =
            ServerProcess::runToEnd({"--database", path.string(), "--listen", "127.0.0.1:0"});
        EXPECT_EQ(outcome.exitCode, 1) << path;
        EXPECT_NE(outcome.errors.find(path.string()), std::string::npos) << outcome.errors;
        EXPECT_EQ(outcome.output.find("listening on"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "nao-existe.db")); // never created
    std::filesystem::remove_all(folder);
}

TEST(ServerBinary, CommandLineMistakesAndHelp) {
    EXPECT_EQ(ServerProcess::runToEnd({"--help"}).exitCode, 0);
    EXPECT_NE(ServerProcess::runToEnd({"--help"}).output.find("--database"), std::string::npos);
    EXPECT_EQ(ServerProcess::runToEnd({}).exitCode, 2);
    EXPECT_EQ(ServerProcess::runToEnd({"--database", "x.db", "--listen", "127.0.0.1:99999"}).exitCode, 2);
    EXPECT_EQ(ServerProcess::runToEnd({"--database", "x.db", "--threads", "zero"}).exitCode, 2);
    EXPECT_EQ(ServerProcess::runToEnd({"--database", "x.db", "--secret-file", "/nao/existe"}).exitCode, 2);
}

TEST(ServerBinary, ListensOnAFreePortLogsEachRequestAndStopsCleanlyOnSigterm) {
    TestDatabase db;
    db.exec("INSERT INTO SERVFILI VALUES ('0001', '001', 'Almoço')");
    ServerProcess::Options options;
    options.secret = "segredo-que-nao-aparece-no-log";
    options.captureStderr = true;
    ServerProcess process(db.pathString(), options);
    ASSERT_GT(process.port(), 0);

    httplib::Client client(process.host(), process.port());
    client.set_bearer_token_auth(*options.secret);
    const auto opened =
        client.Post("/session", R"({"server":"KDR60251.rdmAnalRestCont"})", "application/json");
    ASSERT_TRUE(opened);
    ASSERT_EQ(opened->status, 200);
    const std::string token = json::parse(opened->body).at("session");
    const auto called = client.Post("/rpc", {{"X-Session", token}},
                                    R"({"jsonrpc":"2.0","id":1,"method":"GetServico","params":["0001","N"]})",
                                    "application/json");
    ASSERT_TRUE(called);
    EXPECT_EQ(json::parse(called->body).at("result").at("packet").at("rows").size(), 1u);

    // A method name with a line break must not forge a log line of its own.
    client.Post("/rpc", {{"X-Session", token}},
                R"({"jsonrpc":"2.0","id":2,"method":"X\nPOST /rpc Forjado","params":[]})",
                "application/json");

    const int status = process.stop();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string log = process.stderrText();
    EXPECT_EQ(log.find("\nPOST /rpc Forjado"), std::string::npos) << log;
    EXPECT_NE(log.find("Forjado"), std::string::npos) << log;
    EXPECT_NE(log.find("GetServico"), std::string::npos) << log;
    EXPECT_NE(log.find(" ms "), std::string::npos) << log;
    EXPECT_EQ(log.find(*options.secret), std::string::npos) << log;
}

TEST(ServerBinary, StopsOnSigintToo) {
    TestDatabase db;
    ServerProcess process(db.pathString());
    ::kill(process.pid(), SIGINT);
    // stop() sends SIGTERM as well; the first signal already ended the server cleanly.
    const int status = process.stop();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
