#pragma once

#include "host/app/PackageInfo.h"

#include <QString>
#include <QVariant>

#include <memory>

class QLibrary;

namespace shell {

using IniProcEntry = void (*)(QVariant);

// A run-time package loaded through its load entries. It is never unloaded: the forms it created,
// their code and vtables must stay mapped as long as Qt runs.
class PackageLoader {
public:
    // Loads the file, checks its package description and runs its load step. Throws host::Refusal
    // with a Portuguese message when the file does not load or lacks an entry.
    explicit PackageLoader(const QString& file);
    ~PackageLoader();
    PackageLoader(const PackageLoader&) = delete;
    PackageLoader& operator=(const PackageLoader&) = delete;

    const host::PackageInfo& info() const { return *info_; }
    void iniProc(const QVariant& launch) const { iniProc_(launch); }
    // Runs the unload step; the file stays mapped.
    void finalize();

private:
    std::unique_ptr<QLibrary> library_;
    const host::PackageInfo* info_ = nullptr;
    IniProcEntry iniProc_ = nullptr;
    host::PackageInitProc finalize_ = nullptr;
};

} // namespace shell
