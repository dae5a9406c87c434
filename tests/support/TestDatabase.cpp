#include "TestDatabase.h"

#include "PostgresCluster.h"

#include <sqlite3.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <unistd.h>

namespace {

std::filesystem::path sourceDir() {
    if (const char* dir = std::getenv("RESTCONT_SOURCE_DIR"))
        return dir;
    return RESTCONT_SOURCE_DIR_DEFAULT;
}

} // namespace

std::string schemaSql() {
    std::ifstream file(sourceDir() / "demo" / "schema.sql");
    if (!file)
        throw std::runtime_error("demo/schema.sql not found under " + sourceDir().string());
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TestDatabase::Engine TestDatabase::engine() {
    const char* name = std::getenv("RESTCONT_TEST_ENGINE");
    if (!name || std::string_view(name).empty() || std::string_view(name) == "sqlite")
        return Engine::Sqlite;
    if (std::string_view(name) == "postgresql")
        return Engine::Postgres;
    throw std::runtime_error("RESTCONT_TEST_ENGINE must be sqlite or postgresql, not " + std::string(name));
}

TestDatabase::TestDatabase() {
    if (engine() == Engine::Postgres) {
        postgresName_ = PostgresCluster::shared().createDatabase(schemaSql());
        return;
    }
    static std::atomic<int> counter{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("restcont-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    path_ = folder_ / "suite.db";
    if (sqlite3_open(path_.c_str(), &db_) != SQLITE_OK)
        throw std::runtime_error("cannot create " + path_.string());
    // One transaction: one sync to disk instead of one per statement, most of what a test waited for.
    exec("BEGIN;" + schemaSql() + "COMMIT;");
}

TestDatabase::~TestDatabase() {
    if (onPostgres()) {
        try {
            PostgresCluster::shared().dropDatabase(postgresName_);
        } catch (const std::exception&) {
            // A test may have stopped the cluster; it goes with the process anyway.
        }
        return;
    }
    sqlite3_close(db_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string TestDatabase::url() const {
    return onPostgres() ? PostgresCluster::shared().url(postgresName_) : path_.string();
}

void TestDatabase::exec(const std::string& sql) {
    if (onPostgres()) {
        PostgresCluster::shared().exec(postgresName_, sql);
        return;
    }
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error("SQL failed: " + text + "\n" + sql);
    }
}
