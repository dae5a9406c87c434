#pragma once

#include "AnalysisWalk.h"
#include "LoadOptions.h"

#include <filesystem>
#include <memory>
#include <string>

class PostgresCluster;

namespace load {

// The demo's service that infringes in every category: every summary and detail has rows.
bench::AnalysisTarget demoAnalysis();

// The database the server runs over: the one named on the command line, or the demo database
// written for this run, into a temporary folder (SQLite) or a private cluster on loopback
// (PostgreSQL), either of which goes with the object.
class LoadDatabase {
public:
    LoadDatabase(const std::string& named, Engine engine);
    ~LoadDatabase();
    LoadDatabase(const LoadDatabase&) = delete;
    LoadDatabase& operator=(const LoadDatabase&) = delete;

    // What the server's --database takes.
    const std::string& location() const { return location_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<PostgresCluster> cluster_;
    std::string location_;
};

} // namespace load
