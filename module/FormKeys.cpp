#include "module/TfrmAnalRestCont.h"

#include "host/app/Dispatch.h"
#include "host/app/TPageControl.h"
#include "host/app/TSpeedButton.h"
#include "host/app/TTabSheet.h"

#include <QShortcut>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

// A key of the whole form: it acts wherever the focus is inside the form, through the dispatch
// boundary like a click.
void bindKey(QWidget& form, const QKeySequence& keys, const std::function<void()>& action) {
    auto* shortcut = new QShortcut(keys, &form);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &form, [action] { Dispatch(action); });
}

// A key presses the button as a click would: not while the button is disabled or hidden.
void bindPress(QWidget& form, std::initializer_list<QKeySequence> keys, TSpeedButton* button) {
    for (const QKeySequence& each : keys)
        bindKey(form, each, [button] {
            if (button->isEnabled() && button->isVisible())
                button->click();
        });
}

} // namespace

void TfrmAnalRestCont::bindKeys() {
    bindPress(*this,
              {QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_Return),
               QKeySequence(Qt::CTRL | Qt::Key_Enter)},
              sbtVerificar);
    bindPress(*this, {QKeySequence(Qt::Key_Escape)}, sbtCancel);
    bindPress(*this, {QKeySequence(Qt::CTRL | Qt::Key_P)}, sbtPrint);
    bindPress(*this, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)}, sbtPreview);
    bindKey(*this, QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { PercorrePaginas(1); });
    for (const QKeySequence& back : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)})
        bindKey(*this, back, [this] { PercorrePaginas(-1); });

    KeyHints = {
        {u"F5 ou Ctrl+Enter"_s, u"Verificar: analisa o serviço atual"_s},
        {u"Ctrl+Tab / Ctrl+Shift+Tab"_s, u"Próxima / página anterior"_s},
        {u"Ctrl+P"_s, u"Imprimir o relatório escolhido"_s},
        {u"Ctrl+Shift+P"_s, u"Visualizar o relatório escolhido"_s},
        {u"Esc"_s, u"Fechar a tela"_s},
        {u"Espaço"_s, u"Na coluna de marcação da lista de serviços: marca ou desmarca o serviço"_s},
        {u"Ctrl+Delete"_s, u"Sem efeito nas grades: nenhuma linha é apagada"_s},
    };
}

void TfrmAnalRestCont::PercorrePaginas(int step) {
    // The pages read as one row: the options page, then the services page and the result tabs of the
    // analysis page. Each move is the one a click on that tab would ask for, vetoes included.
    if (pgcVerifica->ActivePage() == tshVerificar) {
        if (const int inner = pgcPadrao->NextPageIndex(pgcPadrao->currentIndex(), step, false); inner >= 0) {
            pgcPadrao->RequestPage(inner);
            return;
        }
        pgcVerifica->RequestPage(tshOpcoes->PageIndex());
        return;
    }
    pgcVerifica->RequestPage(tshVerificar->PageIndex());
    if (step < 0 && pgcVerifica->ActivePage() == tshVerificar)
        if (const int last = pgcPadrao->NextPageIndex(pgcPadrao->GetPageCount(), -1, false); last >= 0)
            pgcPadrao->RequestPage(last);
}
