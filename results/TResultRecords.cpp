#include "results/TResultRecords.h"

#include "results/RecordLayouts.h"

#include <stdexcept>
#include <string>

namespace {

struct Member {
    const char* name;
    host::TClientDataSet TResultRecords::*set;
    host::TDataSource TResultRecords::*source; // nullptr for a set without one
    const char* sourceName;
};

// The member's own name as text, so the name a layout row carries cannot drift from the member.
#define RESULT_SET(set)                                                                                      \
    { #set, &TResultRecords::set, nullptr, nullptr }
#define RESULT_SET_SHOWN(set, source)                                                                        \
    { #set, &TResultRecords::set, &TResultRecords::source, #source }

const Member kMembers[] = {
    RESULT_SET_SHOWN(cdsFreqPratSem, dtsFreqPratSem__),
    RESULT_SET_SHOWN(cdsFreqPratSemDet, dtsFreqPratSemDet__),
    RESULT_SET_SHOWN(cdsFreqPratMes, dtsFreqPratMes__),
    RESULT_SET_SHOWN(cdsFreqPratMesDet, dtsFreqPratMesDet__),
    RESULT_SET_SHOWN(cdsFreqOpcaSem, dtsFreqOpcaSem__),
    RESULT_SET_SHOWN(cdsFreqOpcaSemDet, dtsFreqOpcaSemDet__),
    RESULT_SET_SHOWN(cdsFreqOpcaMes, dtsFreqOpcaMes__),
    RESULT_SET_SHOWN(cdsFreqOpcaMesDet, dtsFreqOpcaMesDet__),
    RESULT_SET_SHOWN(cdsRestPratMes, dtsRestPratMes__),
    RESULT_SET_SHOWN(cdsRestPratMesDet, dtsRestPratMesDet__),
    RESULT_SET_SHOWN(cdsRestOpcaMes, dtsRestOpcaMes__),
    RESULT_SET_SHOWN(cdsRestOpcaMesDet, dtsRestOpcaMesDet__),
    RESULT_SET_SHOWN(cdsUtilPratSem, dtsUtilPratSem__),
    RESULT_SET_SHOWN(cdsUtilPratSemDet, dtsUtilPratSemDet__),
    RESULT_SET_SHOWN(cdsLimNutri, dtsLimNutri__),
    RESULT_SET_SHOWN(cdsLimNutriDet, dtsLimNutriDet__),
    RESULT_SET_SHOWN(cdsLimPePra, dtsLimPePra__),
    RESULT_SET_SHOWN(cdsLimPePraDet, dtsLimPePraDet__),
    RESULT_SET_SHOWN(cdsLimPeSer, dtsLimPeSer__),
    RESULT_SET_SHOWN(cdsLimPeSerDet, dtsLimPeSerDet__),
    RESULT_SET_SHOWN(cdsRestProd, dtsRestProd__),
    RESULT_SET_SHOWN(cdsRestProdDet, dtsRestProdDet__),
    RESULT_SET(cdsDataSemana),
    RESULT_SET_SHOWN(cdsServico, dtsServico__),
};

#undef RESULT_SET
#undef RESULT_SET_SHOWN

} // namespace

TResultRecords::TResultRecords() {
    for (const Member& member : kMembers) {
        const results::SetLayout* layout = results::findRecordLayout(QLatin1StringView(member.name));
        if (!layout)
            throw std::logic_error(std::string("no record layout for ") + member.name);
        host::TClientDataSet& set = this->*member.set;
        set.Name = QLatin1StringView(member.name);
        results::declareFields(set, *layout);
        if ((member.sourceName == nullptr) != (layout->dataSource == nullptr) ||
            (member.sourceName && std::string(member.sourceName) != layout->dataSource))
            throw std::logic_error(std::string("the data source of ") + member.name +
                                   " differs from its layout");
        if (member.source) {
            host::TDataSource& source = this->*member.source;
            source.setObjectName(QLatin1StringView(member.sourceName));
            source.SetDataSet(&set);
        }
    }
}

TResultRecords::~TResultRecords() = default;

host::TClientDataSet* TResultRecords::FindRecordSet(const QString& name) {
    for (const Member& member : kMembers)
        if (name == QLatin1StringView(member.name))
            return &(this->*member.set);
    return nullptr;
}

host::TDataSource* TResultRecords::FindDataSource(const QString& name) {
    for (const Member& member : kMembers)
        if (member.source && name == (this->*member.source).objectName())
            return &(this->*member.source);
    return nullptr;
}
