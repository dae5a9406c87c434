#include "ModuleFixture.h"

#include "host/app/TApplication.h"

#include <QMainWindow>

namespace {

void resetModule() {
    stCdFilial.clear();
    stCdServico.clear();
    stListaServ.clear();
    dtMesCard = 0;
    boApply = false;
    boCalcula = false;
    PboClose = nullptr;
    for (bool* flag :
         {&boFreqPratSem, &boFreqPratMes, &boFreqOpcaSem, &boFreqOpcaMes, &boRestPratMes, &boRestOpcaMes,
          &boUtilPratSem, &boRestProd, &boLimPerSer, &boLimPerPrat, &boLimNutri, &boDataSemana})
        *flag = false;
}

} // namespace

std::vector<bool*> ModuleTest::reloadFlags() {
    return {&boFreqPratSem, &boFreqPratMes, &boFreqOpcaSem, &boFreqOpcaMes, &boRestPratMes, &boRestOpcaMes,
            &boUtilPratSem, &boRestProd,    &boLimPerSer,   &boLimPerPrat,  &boLimNutri,    &boDataSemana};
}

void ModuleTest::SetUp() {
    host::Application().MainForm()->show();
    resetModule();
}

void ModuleTest::TearDown() {
    if (frmAnalRestCont && !frmAnalRestCont->Modal())
        frmAnalRestCont->Close();
    GuiDrain();
    boIdCriado = false;
    resetModule();
}
