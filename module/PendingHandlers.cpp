// Scaffolding while the report handlers are being written side by side: weak
// definitions that refuse, so the package links; each is replaced by the real handler's strong
// definition. This file goes away once they all exist.
#include "module/TfrmAnalRestCont.h"

#include "host/core/Refusal.h"

using namespace Qt::StringLiterals;

namespace {
[[noreturn]] void pending(const char* what) {
    throw host::Refusal(u"%1 ainda não está disponível."_s.arg(QLatin1StringView(what)));
}
} // namespace

#define RESTCONT_PENDING [[gnu::weak]]
RESTCONT_PENDING void TfrmAnalRestCont::RelDescontinuados() {
    pending("RelDescontinuados");
}
RESTCONT_PENDING void TfrmAnalRestCont::sbtPrintClick() {
    pending("sbtPrintClick");
}
RESTCONT_PENDING void TfrmAnalRestCont::sbtPreviewClick() {
    pending("sbtPreviewClick");
}
RESTCONT_PENDING void TfrmAnalRestCont::sbtSalvarComoClick() {
    pending("sbtSalvarComoClick");
}
RESTCONT_PENDING void TfrmAnalRestCont::sbtReportEditClick() {
    pending("sbtReportEditClick");
}
RESTCONT_PENDING void TfrmAnalRestCont::mnuNovoRelClick() {
    pending("mnuNovoRelClick");
}
RESTCONT_PENDING void TfrmAnalRestCont::mnuEditRelClick() {
    pending("mnuEditRelClick");
}
RESTCONT_PENDING void TfrmAnalRestCont::mnuRelatPadrClick() {
    pending("mnuRelatPadrClick");
}
