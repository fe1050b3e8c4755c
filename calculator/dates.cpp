#include "calculator/main_form.h"

#include "calculator/conversions.h"
#include "calculator/field_text.h"

#include <QDate>
#include <QDateEdit>
#include <QLineEdit>
#include <QSignalBlocker>

#include <cstdlib>
#include <string>

namespace {

// The pickers' own change events are the user's alone.
void SetDateSilently(QDateEdit *picker, QDate date)
{
    const QSignalBlocker blocker(picker);
    picker->setDate(date);
}

} // namespace

void TMainForm::FormCreate()
{
    const QDate today = QDate::currentDate();
    SetDateSilently(CalculationDate, today);
    SetDateSilently(ExpirationDate, today);
    SeedZeroLine();
}

void TMainForm::CalculationDateChange(QObject *)
{
    const qint64 days = std::abs(CalculationDate->date().daysTo(ExpirationDate->date()));
    // Rewriting the life moves the expiration date and recalculates, nested, before setText returns.
    calculator::WriteText(EditLife, std::to_string(days));
    Recalculate();
}

void TMainForm::ExpirationDateChange(QObject *Sender)
{
    CalculationDateChange(Sender);
}

void TMainForm::EditLifeChange(QObject *)
{
    const std::string text = calculator::TextOf(EditLife);
    if (text.empty())
        return;
    const int days = calculator::ParseWhole(text);
    SetDateSilently(ExpirationDate, CalculationDate->date().addDays(days));
    Recalculate();
}
