#pragma once

#include "host/data/TClientDataSet.h"
#include "host/data/TDataSource.h"

#include <QString>

// The record sets of the screen and the data sources over them, with the form's names. The form
// derives from this class so they are members of the form; their fields come from
// results::recordLayouts().
class TResultRecords {
public:
    TResultRecords();
    virtual ~TResultRecords();
    TResultRecords(const TResultRecords&) = delete;
    TResultRecords& operator=(const TResultRecords&) = delete;

    // nullptr for a name the screen does not have.
    host::TClientDataSet* FindRecordSet(const QString& name);
    host::TDataSource* FindDataSource(const QString& name);

    host::TClientDataSet cdsFreqPratSem, cdsFreqPratSemDet;
    host::TClientDataSet cdsFreqPratMes, cdsFreqPratMesDet;
    host::TClientDataSet cdsFreqOpcaSem, cdsFreqOpcaSemDet;
    host::TClientDataSet cdsFreqOpcaMes, cdsFreqOpcaMesDet;
    host::TClientDataSet cdsRestPratMes, cdsRestPratMesDet;
    host::TClientDataSet cdsRestOpcaMes, cdsRestOpcaMesDet;
    host::TClientDataSet cdsUtilPratSem, cdsUtilPratSemDet;
    host::TClientDataSet cdsLimNutri, cdsLimNutriDet;
    host::TClientDataSet cdsLimPePra, cdsLimPePraDet;
    host::TClientDataSet cdsLimPeSer, cdsLimPeSerDet;
    host::TClientDataSet cdsRestProd, cdsRestProdDet;
    host::TClientDataSet cdsDataSemana;
    host::TClientDataSet cdsServico;

    // Declared after the sets: a source detaches from its set when destroyed, so the sets must
    // outlive the sources.
    host::TDataSource dtsFreqPratSem__, dtsFreqPratSemDet__;
    host::TDataSource dtsFreqPratMes__, dtsFreqPratMesDet__;
    host::TDataSource dtsFreqOpcaSem__, dtsFreqOpcaSemDet__;
    host::TDataSource dtsFreqOpcaMes__, dtsFreqOpcaMesDet__;
    host::TDataSource dtsRestPratMes__, dtsRestPratMesDet__;
    host::TDataSource dtsRestOpcaMes__, dtsRestOpcaMesDet__;
    host::TDataSource dtsUtilPratSem__, dtsUtilPratSemDet__;
    host::TDataSource dtsLimNutri__, dtsLimNutriDet__;
    host::TDataSource dtsLimPePra__, dtsLimPePraDet__;
    host::TDataSource dtsLimPeSer__, dtsLimPeSerDet__;
    host::TDataSource dtsRestProd__, dtsRestProdDet__;
    host::TDataSource dtsServico__;
};
