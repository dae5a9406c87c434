#pragma once

#include "host/app/PackageInfo.h"
#include "module/TfrmAnalRestCont.h"

#include <QPointer>
#include <QString>
#include <QVariant>

// The unit Cli_kdr60251: the package's entries and its module-wide state, exported under these names
// so the host sees them. Yes/no values are one byte; dates are days since 1899-12-30.
extern "C" {

// The single live form; empty when none is open.
extern QPointer<TfrmAnalRestCont> frmAnalRestCont;
extern bool boIdCriado;
extern QString stCdFilial;
extern QString stCdServico;
extern QString stListaServ;
extern double dtMesCard;
extern bool boApply;
// Reload flags, one per restriction category, and the week span's.
extern bool boFreqPratSem;
extern bool boFreqPratMes;
extern bool boFreqOpcaSem;
extern bool boFreqOpcaMes;
extern bool boRestPratMes;
extern bool boRestOpcaMes;
extern bool boUtilPratSem;
extern bool boRestProd;
extern bool boLimPerSer;
extern bool boLimPerPrat;
extern bool boLimNutri;
extern bool boDataSemana;
extern bool boCalcula;
// The caller's one-byte outcome cell in calculation mode; null when the caller gave none.
extern bool* PboClose;

// The entry: a null launch value, or a list indexed from 0 with mode, branch, service, month and the
// address of the caller's outcome cell. Refuses a value it cannot convert before storing anything.
void IniProc(QVariant launch);
void CriaAnalRestCont(const QString& mode, const QString& cdFilial, const QString& cdServico, double mes,
                      QVariant& outcome);

// The unit's load and unload steps, counted: the first load and the last unload do the work.
void Initialize();
void Finalize();
const host::PackageInfo* GetPackageInfoTable();
}

// Unit-level state of the selection panel, not exported.
[[gnu::visibility("hidden")]] extern QString stCdFilialAnt;
[[gnu::visibility("hidden")]] extern bool boDesmarcar;

// Marks every category and the week span as needing a fresh fetch.
void SetReloadFlags();
// Writes the calculation-mode outcome into the caller's cell; an outcome address of 0 is never
// written through.
void WriteCallerOutcome(bool value);
