#include "host/edit/TDateEditPlus.h"

#include "host/app/Dispatch.h"
#include "host/core/Refusal.h"
#include "protocol/DateTime.h"

#include <QLineEdit>
#include <QRegularExpression>

#include <cmath>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace host {

namespace {

const QRegularExpression& monthShape() {
    static const QRegularExpression shape(u"^\\d{0,2}(/\\d{0,4})?$"_s);
    return shape;
}

const QRegularExpression& dayShape() {
    static const QRegularExpression shape(u"^\\d{0,2}(/\\d{0,2}(/\\d{0,4})?)?$"_s);
    return shape;
}

double daysOf(const QDate& date) {
    return proto::fromCivil(proto::CivilDateTime{date.year(), date.month(), date.day()}).days;
}

} // namespace

TDateEditPlus::TDateEditPlus(QWidget* parent, const QString& name)
    : QAbstractSpinBox(parent), TControl(static_cast<QWidget&>(*this)) {
    SetName(name);
    validColor_ = palette().color(QPalette::Text);
    setButtonSymbols(QAbstractSpinBox::NoButtons);
    setAccelerated(false);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
        refreshLook();
        if (quiet_ == 0)
            textEdited();
    });
    // The arrows repaint from stepEnabled, which follows the text.
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { update(); });
}

QString TDateEditPlus::format() const {
    return showDia_ ? u"dd/MM/yyyy"_s : u"MM/yyyy"_s;
}

void TDateEditPlus::SetShowDia(bool showDia) {
    if (showDia == showDia_)
        return;
    const std::optional<QDate> date = enteredDate();
    showDia_ = showDia;
    if (date)
        showQuietly(date->toString(format()));
    else if (!Text().isEmpty())
        showQuietly(QString());
}

void TDateEditPlus::SetEditStyle(TDateEditStyle style) {
    style_ = style;
    setButtonSymbols(style == TDateEditStyle::desUpDown ? QAbstractSpinBox::UpDownArrows
                                                        : QAbstractSpinBox::NoButtons);
}

void TDateEditPlus::SetValidDateColor(const QColor& color) {
    validColor_ = color;
    refreshLook();
}

void TDateEditPlus::SetNomeSemana(const QStringList& names) {
    if (names.size() != 7)
        throw std::invalid_argument("NomeSemana needs seven names, Sunday first");
    nomeSemana_ = names;
    refreshLook();
}

QColor TDateEditPlus::Color() const {
    return lineEdit()->palette().color(QPalette::Base);
}

void TDateEditPlus::SetColor(const QColor& color) {
    QPalette p = lineEdit()->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, color);
    lineEdit()->setPalette(p);
    QPalette own = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        own.setColor(group, QPalette::Base, color);
    setPalette(own);
}

QString TDateEditPlus::Text() const {
    return lineEdit()->text().trimmed();
}

void TDateEditPlus::SetText(const QString& text) {
    if (text == lineEdit()->text())
        return;
    showQuietly(text);
    if (OnChange)
        OnChange();
}

void TDateEditPlus::SetDate(double days) {
    const double whole = std::floor(days);
    time_ = SaveTime ? days - whole : 0;
    const proto::CivilDateTime civil = proto::toCivil(proto::DateTime{whole});
    SetText(QDate(civil.year, civil.month, civil.day).toString(format()));
}

std::optional<QDate> TDateEditPlus::enteredDate() const {
    const QString text = Text();
    if (text.isEmpty())
        return std::nullopt;
    const QStringList parts = text.split(u'/');
    if (parts.size() != (showDia_ ? 3 : 2))
        return std::nullopt;
    bool ok = true;
    QList<int> numbers;
    for (const QString& part : parts) {
        numbers << part.toInt(&ok);
        if (!ok || part.isEmpty())
            return std::nullopt;
    }
    // A year is written whole: "3/26" would leave the century to guess.
    if (parts.last().size() != 4)
        return std::nullopt;
    const int year = numbers.last();
    const int month = numbers.at(numbers.size() - 2);
    const int day = showDia_ ? numbers.first() : 1;
    if (!proto::isValidCivilDate(year, month, day))
        return std::nullopt;
    return QDate(year, month, day);
}

std::optional<double> TDateEditPlus::Date() const {
    const std::optional<QDate> date = enteredDate();
    if (!date)
        return std::nullopt;
    return daysOf(*date) + time_;
}

double TDateEditPlus::GetPrimDia() const {
    const std::optional<QDate> date = enteredDate();
    if (!date)
        throw Refusal(showDia_ ? u"Data inválida: \"%1\"."_s.arg(Text())
                               : u"Mês inválido: \"%1\"."_s.arg(Text()));
    return daysOf(QDate(date->year(), date->month(), 1));
}

double TDateEditPlus::GetUltDia() const {
    const std::optional<QDate> date = enteredDate();
    if (!date)
        throw Refusal(showDia_ ? u"Data inválida: \"%1\"."_s.arg(Text())
                               : u"Mês inválido: \"%1\"."_s.arg(Text()));
    return daysOf(QDate(date->year(), date->month(), date->daysInMonth()));
}

void TDateEditPlus::CheckValidDate() {
    if (Text().isEmpty() || enteredDate())
        return;
    const QString message = showDia_ ? u"Data inválida: \"%1\". Informe a data como dd/mm/aaaa."_s.arg(Text())
                                     : u"Mês inválido: \"%1\". Informe o mês como mm/aaaa."_s.arg(Text());
    if (isVisible() && isEnabled())
        setFocus();
    throw Refusal(message);
}

void TDateEditPlus::stepBy(int steps) {
    const std::optional<QDate> date = enteredDate();
    if (!date || style_ != TDateEditStyle::desUpDown)
        return;
    const QDate next = showDia_ ? date->addDays(steps) : date->addMonths(steps);
    if (!next.isValid() || !proto::isValidCivilDate(next.year(), next.month(), next.day()))
        return;
    // Stepping comes from the user's keys and buttons: the change passes the dispatch boundary.
    lineEdit()->setText(next.toString(format()));
}

QAbstractSpinBox::StepEnabled TDateEditPlus::stepEnabled() const {
    if (style_ != TDateEditStyle::desUpDown || !enteredDate())
        return StepNone;
    return StepUpEnabled | StepDownEnabled;
}

QValidator::State TDateEditPlus::validate(QString& input, int&) const {
    const QString trimmed = input.trimmed();
    // Whether the numbers make a date is CheckValidDate's question; here only the shape counts, so
    // that a half-typed entry is never corrected behind the user's back.
    return (showDia_ ? dayShape() : monthShape()).match(trimmed).hasMatch() ? QValidator::Acceptable
                                                                            : QValidator::Invalid;
}

void TDateEditPlus::textEdited() {
    if (OnChange)
        Dispatch(OnChange);
}

void TDateEditPlus::refreshLook() {
    const std::optional<QDate> date = enteredDate();
    QPalette p = lineEdit()->palette();
    const QColor text = date ? validColor_ : palette().color(QPalette::Text);
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        p.setColor(group, QPalette::Text, text);
    lineEdit()->setPalette(p);
    setToolTip(date && showDia_ && nomeSemana_.size() == 7 ? nomeSemana_.at(date->dayOfWeek() % 7)
                                                           : QString());
}

void TDateEditPlus::showQuietly(const QString& text) {
    ++quiet_;
    lineEdit()->setText(text);
    --quiet_;
}

} // namespace host
