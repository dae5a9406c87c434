#include "results/RecordLayouts.h"

#include <stdexcept>
#include <string>

namespace results {

namespace {

using proto::FieldType;
constexpr int kUnsized = host::TStringField::kDefaultSize; // the form declares these without a size

const std::vector<SharedFieldType>& sharedTypes() {
    static const std::vector<SharedFieldType> table{
        {"CDFILIAL", FieldType::String, 4},     {"CDSERVFILI", FieldType::String, 5},
        {"NMSERVICO", FieldType::String, 40},   {"IDMARCADO", FieldType::String, 1},
        {"DTPRIMEIRA", FieldType::DateTime, 0}, {"DTULTIMA", FieldType::DateTime, 0},
        {"DTMESCARD", FieldType::DateTime, 0},  {"NRSEMANA", FieldType::String, 2},
        {"CDPRATO", FieldType::String, 10},     {"NMPRATO", FieldType::String, 40},
        {"NMTIPOPRAT", FieldType::String, 15},  {"DTCARDAPIO", FieldType::DateTime, 0},
        {"IDOPCCNFMES", FieldType::String, 1},  {"IDUTPRATSEG", FieldType::String, 1},
        {"IDUTPRATTER", FieldType::String, 1},  {"IDUTPRATQUA", FieldType::String, 1},
        {"IDUTPRATQUI", FieldType::String, 1},  {"IDUTPRATSEX", FieldType::String, 1},
        {"IDUTPRATSAB", FieldType::String, 1},  {"IDUTPRATDOM", FieldType::String, 1},
        {"CDNUTRIENTE", FieldType::String, 3},  {"NMNUTRIENTE", FieldType::String, kUnsized},
        {"QTMINLIMNUTR", FieldType::Float, 0},  {"QTMAXLIMNUTR", FieldType::Float, 0},
        {"NRNUTRMES", FieldType::Float, 0},     {"QTNUTRIENTE", FieldType::Float, 0},
        {"QTMINLIMPRAT", FieldType::Float, 0},  {"QTMAXLIMPRAT", FieldType::Float, 0},
        {"QTMINLIMSERV", FieldType::Float, 0},  {"QTMAXLIMSERV", FieldType::Float, 0},
        {"NRMAXIFREPRA", FieldType::Float, 0},  {"NRMAXIFREOPC", FieldType::Float, 0},
        {"NRMINIFREPRA", FieldType::Float, 0},  {"NRMINIFREOPC", FieldType::Float, 0},
        {"NRMAXMESFPRA", FieldType::Float, 0},  {"NRMAXMESFOPC", FieldType::Float, 0},
        {"CDPRODUTO", FieldType::String, 10},   {"NMPRODUTO", FieldType::String, 50},
        {"SGUNIDADE", FieldType::String, 10},   {"QTPRODUTO", FieldType::Float, 0},
        {"NRPRATSEMANA", FieldType::Float, 0},  {"NRPRATMES", FieldType::Float, 0},
        {"NRPRODMES", FieldType::Float, 0},     {"CDARVPROD", FieldType::String, kUnsized},
        {"NRSEQPRATCAR", FieldType::Float, 0},  {"NRORDPRATCAR", FieldType::Float, 0},
    };
    return table;
}

constexpr const char* kFive = "#,##0.00000";

// The detail sets of the four dish categories share one shape: day, dish type, dish code, dish name.
std::vector<FieldLayout> dishDays(const char* day, const char16_t* typeLabel, const char16_t* codeLabel,
                                  const char16_t* nameLabel, const char* name) {
    return {{"DTCARDAPIO", u"Dia", nullptr, day},
            {"NMTIPOPRAT", typeLabel},
            {"CDPRATO", codeLabel},
            {"NMPRATO", nameLabel, nullptr, name}};
}

std::vector<SetLayout> buildLayouts() {
    return {
        {"cdsFreqPratSem",
         "dtsFreqPratSem__",
         {{"CDFILIAL"},
          {"CDSERVFILI"},
          {"CDPRATO", u"Código"},
          {"NMPRATO", u"Nome do Prato (ou Grupo)", nullptr, "cdsFreqPratSemNMPRATOGetText"},
          {"NRPRATSEMANA", u"Nº de Pratos"},
          {"NRSEMANA", u"Semana"},
          {"NRMAXIFREPRA", u"Máx./Semana"}}},
        {"cdsFreqPratSemDet", "dtsFreqPratSemDet__",
         dishDays("cdsFreqPratSemDetDTCARDAPIOGetText", u"Tipo de Prato", u"Código", u"Nome do Prato",
                  "cdsFreqPratSemDetNMPRATOGetText")},
        {"cdsFreqPratMes",
         "dtsFreqPratMes__",
         {{"CDFILIAL"},
          {"CDSERVFILI"},
          {"CDPRATO", u"Código"},
          {"NMPRATO", u"Nome do Prato (ou Grupo)", nullptr, "cdsFreqPratMesNMPRATOGetText"},
          {"DTMESCARD", u"Mês"},
          {"NRPRATMES", u"Nº de Pratos"},
          {"NRMINIFREPRA", u"Min./Mês"},
          {"NRMAXMESFPRA", u"Máx./Mês"}}},
        {"cdsFreqPratMesDet", "dtsFreqPratMesDet__",
         dishDays("cdsFreqPratMesDetDTCARDAPIOGetText", u"Prato (ou Grupo)", nullptr, nullptr,
                  "cdsFreqPratMesDetNMPRATOGetText")},
        {"cdsFreqOpcaSem",
         "dtsFreqOpcaSem__",
         {{"CDFILIAL"},
          {"CDSERVFILI"},
          {"CDPRATO", u"Código"},
          {"NMPRATO", u"Nome do Prato (ou Grupo)", nullptr, "cdsFreqOpcaSemNMPRATOGetText"},
          {"NRSEMANA", u"Semana"},
          {"NRPRATSEMANA", u"Nº de Pratos"},
          {"NRMAXIFREOPC", u"Máx./Semana"}}},
        {"cdsFreqOpcaSemDet", "dtsFreqOpcaSemDet__",
         dishDays("cdsFreqOpcaSemDetDTCARDAPIOGetText", u"Tipo de Prato", nullptr, u"Prato",
                  "cdsFreqOpcaSemDetNMPRATOGetText")},
        {"cdsFreqOpcaMes",
         "dtsFreqOpcaMes__",
         {{"CDFILIAL"},
          {"CDSERVFILI"},
          {"CDPRATO", u"Código"},
          {"NMPRATO", u"Nome do Prato ( ou Grupo)", nullptr, "cdsFreqOpcaMesNMPRATOGetText"},
          {"DTMESCARD"},
          {"NRPRATMES", u"Nº de Pratos"},
          {"NRMINIFREOPC", u"Min./Mês"},
          {"NRMAXMESFOPC", u"Máx./Mês"}}},
        {"cdsFreqOpcaMesDet", "dtsFreqOpcaMesDet__",
         dishDays("cdsFreqOpcaMesDetDTCARDAPIOGetText", u"Tipo de Prato", nullptr, u"Prato",
                  "cdsFreqOpcaMesDetNMPRATOGetText")},
        {"cdsRestPratMes",
         "dtsRestPratMes__",
         {{"CDFILIAL"},
          {"CDSERVFILI"},
          {"CDPRATO", u"Código"},
          {"NMPRATO", u"Nome do Prato (ou Grupo)", nullptr, "cdsRestPratMesNMPRATOGetText"},
          {"DTMESCARD"},
          {"NRPRATMES", u"Nº de Pratos"}}},
        {"cdsRestPratMesDet", "dtsRestPratMesDet__",
         dishDays("cdsRestPratMesDetDTCARDAPIOGetText", u"Tipo de Prato", nullptr, u"Prato",
                  "cdsRestPratMesDetNMPRATOGetText")},
        {"cdsRestOpcaMes",
         "dtsRestOpcaMes__",
         {{"CDFILIAL"},
          {"CDSERVFILI"},
          {"CDPRATO"},
          {"NMPRATO", nullptr, nullptr, "cdsRestOpcaMesNMPRATOGetText"},
          {"DTMESCARD"},
          {"NRPRATMES", u"Nº de Pratos"}}},
        {"cdsRestOpcaMesDet", "dtsRestOpcaMesDet__",
         dishDays("cdsRestOpcaMesDetDTCARDAPIOGetText", u"Tipo de Prato", nullptr, u"Prato",
                  "cdsRestOpcaMesDetNMPRATOGetText")},
        {"cdsUtilPratSem",
         "dtsUtilPratSem__",
         {{"CDPRATO", u"Código"},
          {"CDFILIAL"},
          {"CDSERVFILI"},
          {"IDUTPRATSEG", u"Seg"},
          {"IDUTPRATTER", u"Ter"},
          {"IDUTPRATQUA", u"Qua"},
          {"IDUTPRATQUI", u"Qui"},
          {"IDUTPRATSEX", u"Sex"},
          {"IDUTPRATSAB", u"Sab"},
          {"IDUTPRATDOM", u"Dom"},
          {"NRSEMANA", u"Semana"},
          {"NMPRATO", u"Nome do Prato (ou Grupo)", nullptr, "cdsUtilPratSemNMPRATOGetText"},
          {"NRPRATSEMANA", u"Nº de Pratos"}}},
        {"cdsUtilPratSemDet",
         "dtsUtilPratSemDet__",
         {{"DTCARDAPIO", u"Dia", nullptr, "cdsUtilPratSemDetDTCARDAPIOGetText"},
          {"NMTIPOPRAT", u"Tipo de Prato", nullptr, "cdsUtilPratSemDetNMTIPOPRATGetText"},
          {"IDOPCCNFMES", u"Opção"},
          {"CDPRATO", u"Código"},
          {"NMPRATO", u"Nome do Prato (ou Grupo)", nullptr, "cdsUtilPratSemDetNMPRATOGetText"}}},
        {"cdsLimNutri",
         "dtsLimNutri__",
         {{"CDFILIAL"},
          {"CDSERVFILI"},
          {"CDNUTRIENTE", u"Código"},
          {"QTMAXLIMNUTR", u"Qtde.Máxima", kFive},
          {"NMNUTRIENTE", u"Nutriente"},
          {"SGUNIDADE", u"UN"},
          {"DTMESCARD"},
          {"NRNUTRMES", u"Nº de Nutrientes"},
          {"QTMINLIMNUTR", u"Qtde.Mínima", kFive}}},
        {"cdsLimNutriDet",
         "dtsLimNutriDet__",
         {{"DTCARDAPIO", u"Dia", nullptr, "cdsLimNutriDetDTCARDAPIOGetText"},
          {"QTNUTRIENTE", u"Qtde. de Nutrientes"}}},
        {"cdsLimPePra",
         "dtsLimPePra__",
         {{"CDFILIAL"},
          {"CDSERVFILI"},
          {"CDPRATO"},
          {"CDPRODUTO"},
          {"QTMINLIMPRAT", u"Qtde.Mínima", kFive},
          {"QTMAXLIMPRAT", u"Qtde.Máxima", kFive},
          {"NMPRATO", u"Prato (ou Grupo)", nullptr, "cdsLimPePraNMPRATOGetText"},
          {"NMPRODUTO", u"Produto (ou Grupo)", nullptr, "cdsLimPePraNMPRODUTOGetText"},
          {"DTMESCARD"},
          {"NRPRODMES", u"Nº de Produtos"}}},
        {"cdsLimPePraDet",
         "dtsLimPePraDet__",
         {{"DTCARDAPIO", u"Dia", nullptr, "cdsLimPePraDetDTCARDAPIOGetText"},
          {"NRSEQPRATCAR"},
          {"CDPRATO"},
          {"CDPRODUTO"},
          {"IDOPCCNFMES"},
          {"NMTIPOPRAT", u"Tipo de Prato"},
          {"NMPRODUTO", u"Produto", nullptr, "cdsLimPePraDetNMPRODUTOGetText"},
          {"SGUNIDADE", u"UN"},
          {"NMPRATO", u"Prato", nullptr, "cdsLimPePraDetNMPRATOGetText"},
          {"QTPRODUTO", u"Qtde. de Produto", kFive},
          {"NRORDPRATCAR"}}},
        {"cdsLimPeSer",
         "dtsLimPeSer__",
         {{"CDPRODUTO"},
          {"NMPRODUTO", u"Produto (ou Grupo)", nullptr, "cdsLimPeSerNMPRODUTOGetText"},
          {"QTMINLIMSERV", u"Qtde.Mínima", kFive},
          {"QTMAXLIMSERV", u"Qtde.Máxima", kFive},
          {"NRPRODMES", u"Nº de Produtos"},
          {"CDFILIAL"},
          {"CDSERVFILI"},
          {"DTMESCARD"}}},
        {"cdsLimPeSerDet",
         "dtsLimPeSerDet__",
         {{"DTCARDAPIO", u"Dia", nullptr, "cdsLimPeSerDetDTCARDAPIOGetText"},
          {"CDPRODUTO"},
          {"NMPRODUTO", u"Produto", nullptr, "cdsLimPeSerDetNMPRODUTOGetText"},
          {"QTPRODUTO", u"Qtde.Produto", kFive},
          {"SGUNIDADE", u"UN"},
          {"NMTIPOPRAT", u"Tipo de Prato", nullptr, "cdsLimPeSerDetNMTIPOPRATGetText"},
          {"IDOPCCNFMES"},
          {"CDPRATO"},
          {"NMPRATO", u"Prato", nullptr, "cdsLimPeSerDetNMPRATOGetText"}}},
        {"cdsRestProd",
         "dtsRestProd__",
         {{"CDPRODUTO"},
          {"NMPRODUTO", u"Produto (ou Grupo)", nullptr, "cdsRestProdNMPRODUTOGetText"},
          {"NRPRODMES", u"Nº de Produtos"},
          {"CDFILIAL"},
          {"CDSERVFILI"},
          {"DTMESCARD"},
          {"CDARVPROD"}}},
        {"cdsRestProdDet",
         "dtsRestProdDet__",
         {{"DTCARDAPIO", u"Dia", nullptr, "cdsRestProdDetDTCARDAPIOGetText"},
          {"CDPRATO"},
          {"IDOPCCNFMES"},
          {"CDPRODUTO"},
          {"NMTIPOPRAT", u"Tipo de Prato", nullptr, "cdsRestProdDetNMTIPOPRATGetText"},
          {"NMPRODUTO", u"Produto", nullptr, "cdsRestProdDetNMPRODUTOGetText"},
          {"NMPRATO", u"Prato", nullptr, "cdsRestProdDetNMPRATOGetText"},
          {"CDARVPROD"}}},
        {"cdsDataSemana", nullptr, {{"DTPRIMEIRA"}, {"DTULTIMA"}}},
        {"cdsServico",
         "dtsServico__",
         {{"CDSERVFILI", u"Código"}, {"NMSERVICO", u"Nome do Serviço"}, {"CDFILIAL"}, {"IDMARCADO"}}},
    };
}

} // namespace

const std::vector<SetLayout>& recordLayouts() {
    static const std::vector<SetLayout> table = buildLayouts();
    return table;
}

const SetLayout* findRecordLayout(const QString& setName) {
    for (const SetLayout& layout : recordLayouts())
        if (setName == QLatin1StringView(layout.name))
            return &layout;
    return nullptr;
}

const SharedFieldType* sharedFieldType(const QString& fieldName) {
    for (const SharedFieldType& type : sharedTypes())
        if (fieldName == QLatin1StringView(type.name))
            return &type;
    return nullptr;
}

void declareFields(host::TClientDataSet& set, const SetLayout& layout) {
    for (const FieldLayout& field : layout.fields) {
        const QString name = QLatin1StringView(field.name);
        const SharedFieldType* type = sharedFieldType(name);
        // A name missing from the shared table is a mistake in the tables themselves.
        if (!type)
            throw std::logic_error(std::string(layout.name) + "." + field.name + " has no shared type");
        host::TField* declared = nullptr;
        switch (type->type) {
        case FieldType::String:
            declared = &set.AddStringField(name, type->size);
            break;
        case FieldType::Float: {
            host::TFloatField& number = set.AddFloatField(name);
            if (field.displayFormat)
                number.DisplayFormat = QLatin1StringView(field.displayFormat);
            declared = &number;
            break;
        }
        case FieldType::DateTime:
            declared = &set.AddDateTimeField(name);
            break;
        case FieldType::Integer:
            throw std::logic_error(std::string(layout.name) + "." + field.name + ": no integer fields here");
        }
        if (field.label)
            declared->SetDisplayLabel(QString::fromUtf16(field.label));
    }
}

} // namespace results
