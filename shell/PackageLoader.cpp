#include "shell/PackageLoader.h"

#include "host/core/Refusal.h"

#include <QLibrary>

using namespace Qt::StringLiterals;

namespace shell {

namespace {

template <typename Entry> Entry resolve(QLibrary& library, const char* name) {
    auto entry = reinterpret_cast<Entry>(library.resolve(name));
    if (!entry)
        throw host::Refusal(
            u"O pacote '%1' não exporta a entrada %2."_s.arg(library.fileName(), QString::fromLatin1(name)));
    return entry;
}

} // namespace

PackageLoader::PackageLoader(const QString& file) : library_(std::make_unique<QLibrary>(file)) {
    if (!library_->load())
        throw host::Refusal(
            u"Não foi possível carregar o pacote '%1': %2"_s.arg(file, library_->errorString()));
    const auto initialize = resolve<host::PackageInitProc>(*library_, "Initialize");
    const auto table = resolve<host::GetPackageInfoTableProc>(*library_, "GetPackageInfoTable");
    finalize_ = resolve<host::PackageInitProc>(*library_, "Finalize");
    iniProc_ = resolve<IniProcEntry>(*library_, "IniProc");
    info_ = table();
    if (!info_ || info_->version != host::kPackageInfoVersion)
        throw host::Refusal(u"O pacote '%1' tem uma descrição de versão desconhecida."_s.arg(file));
    initialize();
}

PackageLoader::~PackageLoader() {
    finalize();
}

void PackageLoader::finalize() {
    if (finalize_)
        finalize_();
    finalize_ = nullptr;
}

} // namespace shell
