#include "module/Cli_kdr60251.h"

#include "host/app/TApplication.h"
#include "host/app/TScreen.h"
#include "host/core/Refusal.h"
#include "host/core/ScopeGuard.h"
#include "protocol/DateTime.h"

#include <QDate>
#include <QDateTime>

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace host;

extern "C" {

QPointer<TfrmAnalRestCont> frmAnalRestCont;
bool boIdCriado = false;
QString stCdFilial;
QString stCdServico;
QString stListaServ;
double dtMesCard = 0;
bool boApply = false;
bool boFreqPratSem = false;
bool boFreqPratMes = false;
bool boFreqOpcaSem = false;
bool boFreqOpcaMes = false;
bool boRestPratMes = false;
bool boRestOpcaMes = false;
bool boUtilPratSem = false;
bool boRestProd = false;
bool boLimPerSer = false;
bool boLimPerPrat = false;
bool boLimNutri = false;
bool boDataSemana = false;
bool boCalcula = false;
bool* PboClose = nullptr;
}

QString stCdFilialAnt;
bool boDesmarcar = false;

namespace {

int unitUsers = 0;

QString describe(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return u"nulo"_s;
    return QString::fromLatin1(value.typeName());
}

[[noreturn]] void refuseElement(int index, const QVariant& value, const QString& target) {
    throw Refusal(u"Valor de lançamento inválido: o elemento %1 (%2) não pode ser convertido em %3."_s.arg(
        QString::number(index), describe(value), target));
}

bool isCompound(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash:
    case QMetaType::QByteArrayList:
        return true;
    default:
        return false;
    }
}

QString toText(const QVariant& value, int index) {
    if (!value.isValid() || value.isNull() || isCompound(value) || !value.canConvert<QString>())
        refuseElement(index, value, u"texto"_s);
    return value.toString();
}

double toDate(const QVariant& value, int index) {
    static const QDate origin(1899, 12, 30);
    if (value.typeId() == QMetaType::QDate && value.toDate().isValid())
        return static_cast<double>(origin.daysTo(value.toDate()));
    if (value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid()) {
        const QDateTime moment = value.toDateTime();
        return static_cast<double>(origin.daysTo(moment.date())) +
               moment.time().msecsSinceStartOfDay() / 86400000.0;
    }
    bool ok = false;
    const double number = isCompound(value) || value.isNull() ? 0 : value.toDouble(&ok);
    if (!ok)
        refuseElement(index, value, u"número"_s);
    // 0 is the empty month; any other day must be one the calendar and the wire can carry.
    static const double first = proto::fromCivil({1, 1, 1}).days;
    static const double last = proto::fromCivil({9999, 12, 31, 23, 59, 59}).days;
    if (!std::isfinite(number) || (number != 0 && (number < first || number > last)))
        throw Refusal(
            u"Valor de lançamento inválido: o elemento %1 (%2) não é um mês entre os anos 1 e 9999."_s.arg(
                QString::number(index), value.toString()));
    return number;
}

bool* toAddress(const QVariant& value) {
    bool ok = false;
    qint64 number = 0;
    if (value.typeId() == QMetaType::ULongLong)
        number = static_cast<qint64>(value.toULongLong(&ok));
    else if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double real = value.toDouble();
        // Casting NaN, an infinity or anything past 2^63 to an integer is undefined: refuse it first.
        constexpr double kLimit = 9223372036854775808.0;
        ok = std::isfinite(real) && real >= -kLimit && real < kLimit && real == std::trunc(real);
        number = ok ? static_cast<qint64>(real) : 0;
    } else if (!isCompound(value) && !value.isNull())
        number = value.toLongLong(&ok);
    if (!ok)
        refuseElement(4, value, u"endereço (inteiro)"_s);
    return reinterpret_cast<bool*>(static_cast<quintptr>(number));
}

constexpr const char* kUnits[] = {"Cli_kdr60251", nullptr};
constexpr const char* kEntries[] = {"IniProc", "CriaAnalRestCont", "Initialize", "Finalize", nullptr};
constexpr PackageInfo kPackageInfo{kPackageInfoVersion, "Pkg_kdr60251", kUnits, kEntries};

} // namespace

void SetReloadFlags() {
    for (bool* flag :
         {&boFreqPratSem, &boFreqPratMes, &boFreqOpcaSem, &boFreqOpcaMes, &boRestPratMes, &boRestOpcaMes,
          &boUtilPratSem, &boRestProd, &boLimPerSer, &boLimPerPrat, &boLimNutri, &boDataSemana})
        *flag = true;
}

void WriteCallerOutcome(bool value) {
    if (PboClose)
        *PboClose = value;
}

extern "C" {

void IniProc(QVariant launch) {
    if (!launch.isValid() || launch.isNull()) {
        QVariant none = 0;
        CriaAnalRestCont(QString(), QString(), QString(), 0, none);
        return;
    }
    if (launch.typeId() != QMetaType::QVariantList && launch.typeId() != QMetaType::QStringList)
        throw Refusal(u"Valor de lançamento inválido: esperava-se nulo ou uma lista de cinco elementos, "
                      u"recebido %1."_s.arg(describe(launch)));
    const QVariantList items = launch.toList();
    if (items.size() < 5)
        throw Refusal(
            u"Valor de lançamento inválido: a lista tem %1 elemento(s), são necessários cinco."_s.arg(
                items.size()));
    // Everything is fetched and converted before anything is stored, so a bad value changes nothing.
    const double mes = toDate(items[3], 3);
    QVariant outcome = items[4];
    const QString cdServico = toText(items[2], 2);
    const QString cdFilial = toText(items[1], 1);
    const QString mode = toText(items[0], 0);
    CriaAnalRestCont(mode, cdFilial, cdServico, mes, outcome);
}

void CriaAnalRestCont(const QString& mode, const QString& cdFilial, const QString& cdServico, double mes,
                      QVariant& outcome) {
    stCdFilial = cdFilial;
    stCdServico = cdServico;
    dtMesCard = mes;
    PboClose = toAddress(outcome);
    boCalcula = mode == u"CALCULA"_s;
    // Until an analysis has judged the menu it is not clear: a launch that fails, or that finds a
    // form already live and runs no analysis for this caller, leaves it blocked.
    if (boCalcula)
        WriteCallerOutcome(false);

    Screen().SetCursor(TCursor::crHourGlass);
    // Also when the launch fails, the cursor must not stay an hourglass.
    ScopeGuard restoreCursor([] { Screen().SetCursor(TCursor::crDefault); });

    if (boIdCriado && frmAnalRestCont) {
        frmAnalRestCont->Show();
    } else {
        TfrmAnalRestCont* form = Application().CreateForm<TfrmAnalRestCont>();
        frmAnalRestCont = form;
        boIdCriado = true;
        if (mode == u"FORMULARIO"_s) {
            form->SetBorderStyle(TBorderStyle::bsDialog);
            form->SetFormStyle(TFormStyle::fsNormal);
            form->SetVisible(false);
            form->ShowModal();
            // The dialog has closed and may already be gone: nothing touches it any more.
            return;
        }
        form->SetBorderStyle(TBorderStyle::bsSingle);
        form->SetBorderIcons(form->BorderIcons() & ~TBorderIcons(TBorderIcon::biMaximize));
        form->SetFormStyle(TFormStyle::fsMDIChild);
        form->Show();
    }
    if (frmAnalRestCont)
        frmAnalRestCont->SetWindowState(TWindowState::wsNormal);
}

void Initialize() {
    if (unitUsers++ == 0)
        boIdCriado = false;
}

void Finalize() {
    if (unitUsers == 0)
        return;
    if (--unitUsers > 0)
        return;
    stCdFilialAnt.clear();
    stListaServ.clear();
    stCdServico.clear();
    stCdFilial.clear();
}

const PackageInfo* GetPackageInfoTable() {
    return &kPackageInfo;
}
}
