#pragma once

// The description a run-time package gives the host's loader through GetPackageInfoTable: plain data,
// so that it reads the same on both sides of the library boundary.
namespace host {

struct PackageInfo {
    int version;                // of this layout; the loader refuses another
    const char* name;           // the package, as the loader names its file
    const char* const* units;   // the units it contains, ending with nullptr
    const char* const* entries; // the entry points it exports, ending with nullptr
};

constexpr int kPackageInfoVersion = 1;

using GetPackageInfoTableProc = const PackageInfo* (*)();
using PackageInitProc = void (*)();

} // namespace host
