#include "module/TfrmAnalRestCont.h"

using namespace Qt::StringLiterals;

namespace {

// Reports of the suite that this screen no longer offers. The sequence skips W, L and K: those codes
// are still in use.
QStringList codigosDescontinuados() {
    return {u"0Y"_s, u"0X"_s, u"0V"_s, u"0U"_s, u"0T"_s, u"0S"_s, u"0R"_s, u"0Q"_s, u"0P"_s, u"0O"_s,
            u"0N"_s, u"0M"_s, u"0J"_s, u"0I"_s, u"0H"_s, u"0G"_s, u"0F"_s, u"0E"_s, u"0D"_s, u"0C"_s};
}

} // namespace

void TfrmAnalRestCont::RelDescontinuados() {
    // Built afresh for the run and released with it, also when a deletion fails.
    const QStringList codigos = codigosDescontinuados();
    for (const QString& codigo : codigos) {
        // The first entry only: a code listed twice keeps its second entry until the next run.
        const int posicao = Reports.IndexOfCode(codigo);
        if (posicao >= 0)
            Reports.DeleteAt(posicao);
    }
}
