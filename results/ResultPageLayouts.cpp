#include "results/ResultPageLayouts.h"

namespace results {

const std::vector<ResultPageLayout>& resultPageLayouts() {
    static const std::vector<ResultPageLayout> layouts = {
        {"tshFreqPratSem", "panFrqPratSem", "scbFreqPratSem", "Splitter1", "Panel2", "ScrollBox1", 90},
        {"tshFreqPratMes", "panFreqPratMes", "scbFreqPratMes", "Splitter2", "Panel5", "ScrollBox4", 89},
        {"tshFreqOpcaSem", "panFreqOpcaSEm", "scbFreqOpcaSem", "Splitter3", "Panel7", "ScrollBox6", 89},
        {"tshFreqOpcaMes", "panFreqOpcaMes", "scbFreqOpcaMes", "Splitter4", "Panel9", "ScrollBox8", 89},
        {"tshRestPratMes", "panRestPratMes", "scbRestPratMes", "Splitter5", "Panel11", "ScrollBox10", 88},
        {"tshRestOpcaMes", "panRestOpcaMes", "scbRestOpcaMes", "Splitter6", "Panel13", "ScrollBox12", 89},
        {"tshUtilPratSem", "panUtilPratSem", "scbUtilPratSem", "Splitter7", "Panel15", "ScrollBox14", 90},
        {"tshLimNutri", "Panel3", "ScrollBox2", "Splitter8", "Panel6", "ScrollBox5", 96},
        {"tshLimPerPrat", "Panel8", "ScrollBox7", "Splitter9", "Panel10", "ScrollBox9", 96},
        {"tshLimPerSer", "Panel12", "ScrollBox11", "Splitter10", "Panel14", "ScrollBox13", 96},
        {"tshRestProd", "Panel16", "ScrollBox15", "Splitter11", "Panel17", "ScrollBox16", 96},
    };
    return layouts;
}

} // namespace results
