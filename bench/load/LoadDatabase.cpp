#include "LoadDatabase.h"

#include "DemoGenerator.h"
#include "PostgresCluster.h"

#include <unistd.h>

namespace load {

bench::AnalysisTarget demoAnalysis() {
    bench::AnalysisTarget target;
    target.service = "002";
    target.rowsExpected = true;
    return target;
}

LoadDatabase::LoadDatabase(const std::string& named, Engine engine) : location_(named) {
    if (!location_.empty())
        return;
    if (engine == Engine::Postgresql) {
        cluster_ = std::make_unique<PostgresCluster>();
        location_ = cluster_->url(cluster_->createDatabase());
        demo::generateDemoPostgres(location_);
        return;
    }
    folder_ = std::filesystem::temp_directory_path() / ("restcont-load-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    const auto file = folder_ / "demo.db";
    try {
        demo::generateDemoDatabase(file);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        throw;
    }
    location_ = file.string();
}

LoadDatabase::~LoadDatabase() {
    if (folder_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

} // namespace load
