#include "MenuFixture.h"
#include "PostgresCluster.h"
#include "ServerProcess.h"

#include "server/store/Database.h"
#include "server/store/DatabaseError.h"
#include "server/store/MenuRepository.h"
#include "server/store/PostgresDatabase.h"

#include <sqlite3.h>

#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <limits>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using nlohmann::json;

namespace {

// Reads one column of every row the statement gives.
std::vector<std::optional<double>> reals(server::Database& db, const std::string& sql,
                                         const std::vector<server::SqlParam>& params = {}) {
    std::vector<std::optional<double>> values;
    db.query(sql, params, [&](const server::SqlRow& row) { values.push_back(row.optReal(0)); });
    return values;
}

std::vector<std::string> texts(server::Database& db, const std::string& sql,
                               const std::vector<server::SqlParam>& params = {}) {
    std::vector<std::string> values;
    db.query(sql, params, [&](const server::SqlRow& row) { values.push_back(row.text(0)); });
    return values;
}

// Doubles whose shortest text has 17 digits, or that a float or a short decimal would not keep.
const std::vector<double> kHardDoubles{0.1,
                                       1.0 / 3.0,
                                       2.0 / 3.0,
                                       0.30000000000000004,
                                       123456789.12345679,
                                       9007199254740993.0,
                                       1e-300,
                                       5e-324,
                                       std::numeric_limits<double>::max(),
                                       -0.0000012345678901234567};

class PostgresEngine : public MenuFixture {};

TEST_F(PostgresEngine, DoublesAndDatesReadBackExactlyWhateverTheDatabasesDefaults) {
    // Settings that would print dates as "01/03/2026" and doubles rounded to 15 digits if the
    // connection took the database's defaults.
    sql("ALTER DATABASE " + db_.postgresName() + " SET DateStyle TO 'SQL, DMY'");
    sql("ALTER DATABASE " + db_.postgresName() + " SET extra_float_digits TO -3");
    item("2026-03-01", 1, "D1");
    for (std::size_t i = 0; i < kHardDoubles.size(); ++i) {
        char number[64];
        std::snprintf(number, sizeof number, "%.17g", kHardDoubles[i]);
        sql("INSERT INTO NUTRCARD VALUES ('0001', '001', '2026-03-" + std::string(i < 9 ? "0" : "") +
            std::to_string(i + 1) + "', 'N1', " + number + ")");
    }
    server::Database db(db_.url());
    const auto read = reals(db, "SELECT QTNUTRIENTE FROM NUTRCARD ORDER BY DTCARDAPIO");
    ASSERT_EQ(read.size(), kHardDoubles.size());
    for (std::size_t i = 0; i < kHardDoubles.size(); ++i)
        EXPECT_EQ(read[i], kHardDoubles[i]) << i;
    EXPECT_EQ(texts(db, "SELECT DTCARDAPIO FROM CARDAPIO"), std::vector<std::string>{"2026-03-01"});

    // Doubles sent as parameters arrive as the very same value: each finds its own row only.
    for (const double value : kHardDoubles)
        EXPECT_EQ(reals(db, "SELECT QTNUTRIENTE FROM NUTRCARD WHERE QTNUTRIENTE = ?", {value}).size(), 1u)
            << value;
    EXPECT_TRUE(
        reals(db, "SELECT QTNUTRIENTE FROM NUTRCARD WHERE QTNUTRIENTE = ?", {0.10000000000000002}).empty());

    // Text compared with a date column, integers, nulls and numerics as the other engine reads them.
    EXPECT_EQ(texts(db, "SELECT DTCARDAPIO FROM NUTRCARD WHERE DTCARDAPIO BETWEEN ? AND ? ORDER BY 1",
                    {std::string("2026-03-02"), std::string("2026-03-03")}),
              (std::vector<std::string>{"2026-03-02", "2026-03-03"}));
    std::vector<std::int64_t> integers;
    db.query("SELECT NRSEQPRATCAR + ? FROM CARDAPIO", {std::int64_t{9000000000}},
             [&](const server::SqlRow& row) { integers.push_back(row.integer(0)); });
    EXPECT_EQ(integers, std::vector<std::int64_t>{9000000001});
    EXPECT_EQ(reals(db, "SELECT CAST(? AS DOUBLE PRECISION)", {std::monostate{}}),
              std::vector<std::optional<double>>{std::nullopt});
    EXPECT_EQ(reals(db, "SELECT CAST('12.375' AS NUMERIC(10, 3))"),
              std::vector<std::optional<double>>{12.375});

    // And the server answers the quantities as stored.
    const json days = session().rows("GetLimNutriDet", {"0001", "001", "2026-03-01", "N1", nullptr, nullptr});
    ASSERT_EQ(days.size(), 0u); // no bound: no day outside
    const json all = session().rows("GetLimNutriDet", {"0001", "001", "2026-03-01", "N1", 1e308, nullptr});
    std::vector<double> answered;
    for (const auto& row : all)
        answered.push_back(row.at(row.size() - 1).get<double>());
    std::vector<double> expected;
    for (const double value : kHardDoubles)
        if (value < 1e308)
            expected.push_back(value);
    EXPECT_EQ(answered, expected);
}

TEST_F(PostgresEngine, AnotherConnectionsCommitChangesTheDataVersionAndTheCacheReadsAfresh) {
    item("2026-03-02", 1, "D1");
    server::Database db(db_.url());
    server::MenuCache cache;
    server::MenuRepository repo(db, &cache);
    const server::DaySpan span{*server::parseIsoDate("2026-03-01"), *server::parseIsoDate("2026-03-31")};
    ASSERT_EQ(repo.items("0001", "001", span, false)->size(), 1u);
    const std::int64_t before = db.dataVersion();
    // A commit by another connection, with nothing else happening on the server in between.
    item("2026-03-03", 1, "D2");
    EXPECT_NE(db.dataVersion(), before);
    EXPECT_EQ(repo.items("0001", "001", span, false)->size(), 2u);
    sql("UPDATE CARDAPIO SET CDPRATO = 'D3' WHERE DTCARDAPIO = '2026-03-02'");
    const auto items = repo.items("0001", "001", span, false);
    ASSERT_EQ(items->size(), 2u);
    EXPECT_EQ(items->at(0).dish, "D3");
}

TEST_F(PostgresEngine, TheConnectionOnlyReads) {
    server::Database db(db_.url());
    EXPECT_THROW(db.query("DELETE FROM PRATO", {}, [](const server::SqlRow&) {}), server::DatabaseError);
    EXPECT_EQ(texts(db, "SELECT count(*) FROM PRATO"), std::vector<std::string>{"6"});
}

TEST_F(PostgresEngine, StatementErrorsAreDatabaseErrorsAndTheConnectionGoesOn) {
    server::Database db(db_.url());
    try {
        db.query("SELECT NADA FROM PRATO WHERE CDPRATO = ?", {std::string("D1")},
                 [](const server::SqlRow&) {});
        ADD_FAILURE() << "no error";
    } catch (const server::DatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("erro ao ler o banco de dados"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("nada"), std::string::npos) << error.what();
    }
    EXPECT_EQ(texts(db, "SELECT NMPRATO FROM PRATO WHERE CDPRATO = ?", {std::string("D4")}),
              std::vector<std::string>{"Ébano"});
}

TEST_F(PostgresEngine, CallsReuseTheServersConnectionsInsteadOfOpeningOneEach) {
    // The watcher names itself, so that only the server's connections count.
    server::Database watcher(db_.url() + "?application_name=observador");
    const auto serverBackends = [&] {
        return texts(watcher, "SELECT pid::text FROM pg_stat_activity WHERE datname = current_database() AND "
                              "application_name = 'restcont-server' ORDER BY pid");
    };
    ASSERT_EQ(session().rows("GetServico", {"0001", "N"}).size(), 2u);
    const std::vector<std::string> first = serverBackends();
    ASSERT_FALSE(first.empty());
    for (int i = 0; i < 20; ++i)
        session().rows("GetRestPratMes", march());
    EXPECT_EQ(serverBackends(), first);
}

// Restarts the shared cluster if a test stopped it and failed before starting it again.
struct ClusterRestarter {
    ~ClusterRestarter() {
        if (!PostgresCluster::shared().running())
            PostgresCluster::shared().start();
    }
};

TEST_F(PostgresEngine, AConnectionBrokenByARestartReopensOnItsNextQuery) {
    const ClusterRestarter restarter;
    server::Database db(db_.url());
    ASSERT_EQ(texts(db, "SELECT count(*) FROM PRATO"), std::vector<std::string>{"6"});
    const std::int64_t before = db.dataVersion();
    PostgresCluster::shared().stop();
    EXPECT_THROW(texts(db, "SELECT count(*) FROM PRATO"), server::DatabaseError);
    PostgresCluster::shared().start();
    EXPECT_EQ(texts(db, "SELECT count(*) FROM PRATO"), std::vector<std::string>{"6"});

    // Broken while idle, unknown to the connection until it is used: the first query answers.
    PostgresCluster::shared().stop();
    PostgresCluster::shared().start();
    EXPECT_EQ(texts(db, "SELECT NMPRATO FROM PRATO WHERE CDPRATO = ?", {std::string("D5")}),
              std::vector<std::string>{"Zeta"});
    // Whatever the database became meanwhile, what was cached before is read afresh.
    EXPECT_NE(db.dataVersion(), before);
}

TEST_F(PostgresEngine, AStatementOverlappedWithWorkAnswersAfterItAndNeitherFailureLeavesTheConnectionBusy) {
    const ClusterRestarter restarter;
    server::PostgresDatabase db(db_.url());
    std::vector<std::string> seen;
    const auto collect = [&](const server::SqlRow& row) { seen.push_back(row.text(0)); };
    db.queryWhile("SELECT NMPRATO FROM PRATO WHERE CDPRATO = ?", {std::string("D4")}, collect,
                  [&] { seen.push_back("trabalho"); });
    EXPECT_EQ(seen, (std::vector<std::string>{"trabalho", "Ébano"}));

    // The work's failure comes once the statement's result is read: the next statement runs.
    seen.clear();
    EXPECT_THROW(
        db.queryWhile("SELECT NMPRATO FROM PRATO", {}, collect, [] { throw std::runtime_error("falhou"); }),
        std::runtime_error);
    EXPECT_TRUE(seen.empty());
    EXPECT_THROW(db.queryWhile("SELECT NADA FROM PRATO", {}, collect, [] {}), server::DatabaseError);
    db.query("SELECT count(*) FROM PRATO", {}, collect);
    EXPECT_EQ(seen, std::vector<std::string>{"6"});

    // A connection the restart broke is reopened and the statement run on it.
    PostgresCluster::shared().stop();
    PostgresCluster::shared().start();
    seen.clear();
    int worked = 0;
    db.queryWhile("SELECT NMPRATO FROM PRATO WHERE CDPRATO = ?", {std::string("D5")}, collect,
                  [&] { ++worked; });
    EXPECT_EQ(worked, 1);
    EXPECT_EQ(seen, std::vector<std::string>{"Zeta"});
}

TEST_F(PostgresEngine, AStoppedServerGivesErrorAnswersAndAnswersAgainOnceBack) {
    const ClusterRestarter restarter;
    ServerProcess process(db_.url());
    httplib::Client client(process.host(), process.port());
    const auto opened =
        client.Post("/session", R"({"server":"KDR60251.rdmAnalRestCont"})", "application/json");
    ASSERT_TRUE(opened);
    const std::string token = json::parse(opened->body).at("session");
    const auto call = [&](httplib::Client& on) {
        const auto answer = on.Post("/rpc", {{"X-Session", token}},
                                    R"({"jsonrpc":"2.0","id":1,"method":"GetServico","params":["0001","N"]})",
                                    "application/json");
        return answer ? json::parse(answer->body) : json();
    };
    // Calls at the same time leave several connections in the pool, each broken by the stop.
    std::vector<std::thread> callers;
    for (int i = 0; i < 4; ++i)
        callers.emplace_back([&] {
            httplib::Client own(process.host(), process.port());
            for (int n = 0; n < 5; ++n)
                call(own);
        });
    for (auto& caller : callers)
        caller.join();
    ASSERT_EQ(call(client).at("result").at("packet").at("rows").size(), 2u);

    PostgresCluster::shared().stop();
    for (int i = 0; i < 3; ++i) {
        const json answer = call(client);
        ASSERT_TRUE(answer.contains("error")) << answer.dump();
        EXPECT_EQ(answer.at("error").at("code"), -32000);
        const std::string message = answer.at("error").at("message");
        EXPECT_NE(message.find("GetServico"), std::string::npos) << message;
        EXPECT_NE(message.find("banco de dados"), std::string::npos) << message;
    }

    PostgresCluster::shared().start();
    // Every call answers at once, whichever pooled connection it gets.
    for (int i = 0; i < 6; ++i) {
        const json answer = call(client);
        ASSERT_TRUE(answer.contains("result")) << i << ": " << answer.dump();
        EXPECT_EQ(answer.at("result").at("packet").at("rows").size(), 2u);
    }
    EXPECT_EQ(::kill(process.pid(), 0), 0); // still running
}

// The same catalogue and menu in an SQLite file beside the PostgreSQL database.
class SqliteTwin {
public:
    SqliteTwin() {
        path_ =
            std::filesystem::temp_directory_path() / ("restcont-twin-" + std::to_string(::getpid()) + ".db");
        std::filesystem::remove(path_);
        sqlite3_open(path_.c_str(), &db_);
        exec(schemaSql());
    }
    ~SqliteTwin() {
        sqlite3_close(db_);
        std::filesystem::remove(path_);
    }
    void exec(const std::string& sql) {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string text = message ? message : "?";
            sqlite3_free(message);
            throw std::runtime_error(text);
        }
    }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
    sqlite3* db_ = nullptr;
};

TEST_F(PostgresEngine, RowsComeInTheSameOrderAsOnSqliteWhereCodePointAndDictionaryOrderDiffer) {
    // Names that a dictionary collation would sort otherwise: case, accents, spaces, punctuation.
    const std::string rows = R"(
        INSERT INTO PRATO VALUES ('E1', 'arroz', 'N', NULL), ('E2', 'Arroz integral', 'N', NULL),
            ('E3', 'Açaí', 'N', NULL), ('E4', 'Abóbora', 'N', NULL), ('E5', 'Ábaco', 'N', NULL),
            ('E6', 'Arroz-doce', 'N', NULL), ('E7', 'Arroz doce', 'N', NULL), ('E8', 'zeta', 'N', NULL),
            ('E9', 'Zeta', 'N', NULL), ('EA', 'Arroz', 'N', NULL);
        INSERT INTO PRODUTO VALUES ('Q1', 'óleo', 'L', '1', 'N', NULL), ('Q2', 'Oleo', 'L', '1', 'N', NULL),
            ('Q3', 'Ovo', 'UN', '1', 'N', NULL), ('Q4', 'ovo', 'UN', '1', 'N', NULL);
    )";
    sql(rows);
    std::string menu;
    int seq = 1;
    for (const char* dish : {"D3", "D4", "D5", "E1", "E2", "E3", "E4", "E5", "E6", "E7", "E8", "E9", "EA"}) {
        for (const char* day : {"2026-03-02", "2026-03-10"}) {
            menu += "INSERT INTO CARDAPIO VALUES ('0001', '001', '" + std::string(day) + "', " +
                    std::to_string(seq) + ", '" + dish + "', 'PP', 'N', 1);";
            for (const char* product : {"Q1", "Q2", "Q3", "Q4", "P3"})
                menu += "INSERT INTO PRODCARD VALUES ('0001', '001', '" + std::string(day) + "', " +
                        std::to_string(seq) + ", '" + product + "', 2.5);";
            ++seq;
        }
        menu += "INSERT INTO CTRRESTPRAT VALUES ('0001', '001', '" + std::string(dish) + "', 'N');";
        menu += "INSERT INTO CTRFREQPRAT VALUES ('0001', '001', '" + std::string(dish) + "', 'N', 0, 5, 1);";
        menu += "INSERT INTO CTRLIMPRAT SELECT '0001', '001', '" + std::string(dish) +
                "', CDPRODUTO, NULL, 1 FROM PRODUTO WHERE CDPRODUTO LIKE 'Q%';";
    }
    menu += "INSERT INTO CTRRESTPROD SELECT '0001', '001', CDPRODUTO FROM PRODUTO;";
    menu += "INSERT INTO CTRLIMSERV SELECT '0001', '001', CDPRODUTO, 100, NULL FROM PRODUTO;";
    sql(menu);

    SqliteTwin twin;
    twin.exec(catalogueSql());
    twin.exec(rows);
    twin.exec(menu);

    LiveServer onSqlite(twin.path());
    RpcSession sqliteSession(onSqlite);
    const std::vector<std::pair<std::string, json>> calls{
        {"GetRestPratMes", march()},
        {"GetFreqPratMes", march()},
        {"GetFreqPratSem", marchWeeks()},
        {"GetRestProd", march()},
        {"GetLimPeSer", march()},
        {"GetLimPePra", march()},
        {"GetRestProdDet", {"0001", "001", "2026-03-01", "Q1"}},
        {"GetLimPePraDet", {"0001", "001", "2026-03-01", "E1", "Q2", nullptr, 1}},
    };
    for (const auto& [method, params] : calls) {
        const json expected = sqliteSession.rows(method, params);
        ASSERT_FALSE(expected.empty()) << method;
        EXPECT_EQ(session().rows(method, params), expected) << method;
    }
    // The names really are in code-point order, not in dictionary order.
    std::vector<std::string> names;
    for (const auto& row : session().rows("GetRestPratMes", march()))
        names.push_back(row.at(3).get<std::string>());
    ASSERT_EQ(names.size(), 13u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << json(names).dump();
    EXPECT_EQ(names.front(), "Abóbora");
    EXPECT_EQ(names.back(), "Ébano");
}

TEST(PostgresClusterLifetime, StopsItsServerAndRemovesItsFolderAlsoAfterARestart) {
    std::filesystem::path folder;
    std::string url;
    {
        PostgresCluster cluster;
        folder = cluster.folder();
        const std::string name = cluster.createDatabase("CREATE TABLE T (A DOUBLE PRECISION)");
        cluster.exec(name, "INSERT INTO T VALUES (0.1)");
        cluster.stop();
        EXPECT_THROW(cluster.exec(name, "SELECT 1"), std::runtime_error);
        cluster.start();
        url = cluster.url(name);
        server::Database db(url);
        EXPECT_EQ(reals(db, "SELECT A FROM T"),
                  std::vector<std::optional<double>>{0.1}); // kept over the restart
        // Copies of one schema are independent databases.
        const std::string other = cluster.createDatabase("CREATE TABLE T (A DOUBLE PRECISION)");
        server::Database copy(cluster.url(other));
        EXPECT_TRUE(reals(copy, "SELECT A FROM T").empty());
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_THROW(server::Database{url}, server::DatabaseError);
}

TEST(PostgresClusterLifetime, AKilledTestProcessLeavesNoServerAndNoFolderBehind) {
    int fds[2];
    // Close-on-exec: the cluster's server must not hold the report pipe open.
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(fds[0]);
        PostgresCluster cluster;
        const std::string report = cluster.folder().string() + "\n" + std::to_string(cluster.port()) + "\n";
        if (::write(fds[1], report.data(), report.size()) < 0)
            ::_exit(2);
        ::kill(::getpid(), SIGKILL); // no destructor runs
    }
    ::close(fds[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    std::istringstream lines(report);
    std::string folder, port;
    std::getline(lines, folder);
    std::getline(lines, port);
    ASSERT_FALSE(folder.empty());
    for (int i = 0; i < 200 && std::filesystem::exists(folder); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_THROW(server::Database{"postgresql://postgres@127.0.0.1:" + port + "/postgres"},
                 server::DatabaseError);
}

} // namespace
