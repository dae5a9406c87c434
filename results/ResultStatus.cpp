#include "module/TfrmAnalRestCont.h"

#include "results/OutcomeText.h"
#include "results/RestrictionCategories.h"

#include "host/app/BusyIndicator.h"
#include "host/app/Dispatch.h"
#include "host/app/TApplication.h"
#include "host/app/TCheckBox.h"
#include "host/app/TLabel.h"
#include "host/app/TPanel.h"
#include "host/app/TTabSheet.h"

#include <QApplication>
#include <QStyle>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace host;
using results::RestrictionCategory;

void TfrmAnalRestCont::createStatusLine() {
    panSituacao = new TPanel(this, u"panSituacao"_s);
    panSituacao->setFrameStyle(QFrame::NoFrame);
    panSituacao->resize(100, 20);
    panSituacao->SetAlign(TAlign::alBottom);
    lblSituacao = new TLabel(panSituacao, u"lblSituacao"_s);
    lblSituacao->SetAlign(TAlign::alClient);
    lblSituacao->setContentsMargins(6, 0, 6, 0);

    // Whatever changes the rows of a summary, the current service, its mark or the boxes checked
    // may change the outcome.
    const auto schedule = [this] { AgendaSituacao(); };
    for (const RestrictionCategory& category : results::restrictionCategories()) {
        TDataSource* source = FindDataSource(u"dts%1__"_s.arg(QLatin1StringView(category.summarySet).mid(3)));
        connect(source, &TDataSource::dataReset, this, schedule);
        connect(FindOptionBox(QLatin1StringView(category.optionBox)), &TCheckBox::checkedChanged, this,
                schedule);
    }
    connect(&dtsServico__, &TDataSource::dataReset, this, schedule);
    connect(&dtsServico__, &TDataSource::currentRowChanged, this, schedule);
    connect(&dtsServico__, &TDataSource::rowDataChanged, this, schedule);
    connect(&Application(), &TApplication::busyEnded, this, schedule);
}

void TfrmAnalRestCont::AgendaSituacao() {
    if (situacaoAgendada_)
        return;
    situacaoAgendada_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            situacaoAgendada_ = false;
            // A load in progress clears its flag only after its rows have arrived; the end of the
            // busy indicator schedules the refresh again.
            if (const BusyIndicator* busy = ExistingBusyIndicator(); busy && busy->depth() > 0)
                return;
            Dispatch([this] { AtualizaSituacao(); });
        },
        Qt::QueuedConnection);
}

void TfrmAnalRestCont::AtualizaSituacao() {
    const bool marked = ServicoAtualMarcado();
    const QIcon infringed = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    std::vector<std::pair<int, results::CategoryOutcome>> checked;
    for (const RestrictionCategory& category : results::restrictionCategories()) {
        TTabSheet* page = FindPage(QLatin1StringView(category.resultPage));
        const int rows = FindRecordSet(QLatin1StringView(category.summarySet))->RecordCount();
        const bool analysed = marked && !*category.reloadFlag;
        const bool wanted = FindOptionBox(QLatin1StringView(category.optionBox))->Checked();
        page->SetIcon(wanted && analysed && rows > 0 ? infringed : QIcon());
        if (wanted)
            checked.push_back({page->PageIndex(), {page->Caption(), analysed, rows}});
    }
    // Named in the order of their tabs, as the user reads them.
    std::sort(checked.begin(), checked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<results::CategoryOutcome> outcomes;
    for (auto& entry : checked)
        outcomes.push_back(std::move(entry.second));
    const QString text = results::OutcomeText(!cdsServico.IsEmpty(), marked, outcomes);
    lblSituacao->SetCaption(text);
    lblSituacao->setToolTip(text);
}
