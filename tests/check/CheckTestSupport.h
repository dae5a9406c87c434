#pragma once

#include "check/CheckOptions.h"
#include "check/CheckRun.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

// What one run of the check gave: its exit status and what it wrote.
struct CheckOutcome {
    int status = -1;
    std::string out, err;
    nlohmann::json json() const { return nlohmann::json::parse(out); }
};

// The check in this process, from a command line as the tool takes it.
CheckOutcome runInProcess(const std::vector<std::string>& args);
// The restcont-check binary of this build, to its end (bounded by RESTCONT_TEST_TIMEOUT_S, 120 s by
// default).
CheckOutcome runBinary(const std::vector<std::string>& args);
int testTimeoutSeconds();

// A service of branch 0001 (of the contract catalogue) with abc123 served every day of March 2026,
// 2 of x1y2z3 in it and 10 of N1 each day, and no restriction: clear, and nothing to warn about.
std::string fullMonthServiceSql(const std::string& service);

// A file of this text in a fresh temporary folder, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& name, const std::string& text = {});
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string string() const { return path_.string(); }
    std::string read() const;

private:
    std::filesystem::path folder_, path_;
};
