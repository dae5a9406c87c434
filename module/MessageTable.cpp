#include "module/MessageTable.h"

using namespace Qt::StringLiterals;

QStringList AnalRestContMessages() {
    return {
        u"Arq_Rel_Err|O arquivo contendo a definição do Relatório de código '%s' não foi encontrado no diretório '%s'."_s,
        u"NovoCaption|Título do Relatório"_s,
        u"NovoPrompt|Informe o título do relatório:"_s,
        u"FILI_DEVE|Filial deve ser informada."_s,
        u"FILI_NAO_CAD|Filial não cadastrada."_s,
        u"FILI_RESC|Filial com contrato rescindido."_s,
        u"SERV_DEVE|Serviço deve ser selecionado."_s,
        u"OPCAO|(Opção)"_s,
        u"MesNull|Data deve ser informada."_s,
        u"getdataserv|Carregando dados do servidor..."_s,
        u"get_cdsServico|Carregando serviços..."_s,
        u"get_Restricoes|Analisando restrições contratuais..."_s,
        u"restricoes|Operação bloqueada. O cardápio infringiu as restrições contratuais."_s,
        u"opcao_inf|Opção de restrição deve ser informada para cálculo."_s,
    };
}
