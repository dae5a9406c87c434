#pragma once

#include <filesystem>
#include <string>

namespace load {

// The database the server runs over: the one named on the command line, or the demo database
// written for this run into a temporary folder that goes with the object.
class LoadDatabase {
public:
    explicit LoadDatabase(const std::string& named);
    ~LoadDatabase();
    LoadDatabase(const LoadDatabase&) = delete;
    LoadDatabase& operator=(const LoadDatabase&) = delete;

    // What the server's --database takes.
    const std::string& location() const { return location_; }

private:
    std::filesystem::path folder_;
    std::string location_;
};

} // namespace load
