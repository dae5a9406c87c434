#pragma once

#include "host/app/TControl.h"

#include <QAbstractSpinBox>
#include <QColor>
#include <QDate>
#include <QStringList>

#include <functional>
#include <optional>

namespace host {

enum class TDateEditStyle { desNormal, desUpDown };

// The month editor: a date typed as "dd/mm/yyyy", or with ShowDia false a month as "mm/yyyy". The
// text may be left empty. In the up-down style the arrow keys and buttons step the day or month
// (the month when no day is shown), across years. A valid entry is drawn in ValidDateColor. Dates
// are days since 1899-12-30, as everywhere in the host.
class TDateEditPlus : public QAbstractSpinBox, public TControl {
    Q_OBJECT
public:
    TDateEditPlus(QWidget* parent, const QString& name);

    bool ShowDia() const { return showDia_; }
    // Keeps the date entered, laid out again.
    void SetShowDia(bool showDia);
    TDateEditStyle EditStyle() const { return style_; }
    void SetEditStyle(TDateEditStyle style);
    // When false SetDate drops the time of day.
    bool SaveTime = true;
    QColor ValidDateColor() const { return validColor_; }
    void SetValidDateColor(const QColor& color);
    // Sunday first; the name of the day shown is the editor's hint. Refuses (std::invalid_argument)
    // a list that does not hold seven names.
    QStringList NomeSemana() const { return nomeSemana_; }
    void SetNomeSemana(const QStringList& names);
    QColor Color() const;
    void SetColor(const QColor& color);

    QString Text() const;
    // Raises OnChange when the text differs.
    void SetText(const QString& text);
    // Shows the date (the month of it when ShowDia is false).
    void SetDate(double days);
    // The date entered (the first of the month when ShowDia is false) with the time SetDate kept;
    // nothing for an empty or invalid entry.
    std::optional<double> Date() const;

    // First and last day of the month entered; Refusal when the text is not a valid date.
    double GetPrimDia() const;
    double GetUltDia() const;
    // Refuses (Refusal) a non-empty entry that is not a valid date, with focus back on the editor;
    // an empty entry passes.
    void CheckValidDate();

    // Raised on every change of the text: by code directly, by the user through Dispatch.
    std::function<void()> OnChange;

    // The entry as a calendar date, or nothing when empty or invalid.
    std::optional<QDate> enteredDate() const;

    // Steps the day, or the month when no day is shown, as the arrow keys do; a step by the user
    // or by code alike passes the dispatch boundary.
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;

private:
    QString format() const;
    void textEdited();
    void refreshLook();
    void showQuietly(const QString& text);

    bool showDia_ = true;
    TDateEditStyle style_ = TDateEditStyle::desNormal;
    QColor validColor_;
    QStringList nomeSemana_;
    double time_ = 0; // the time of day SetDate kept
    int quiet_ = 0;
};

} // namespace host
