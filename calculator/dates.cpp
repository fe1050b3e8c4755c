#include "calculator/main_form.h"

#include "calculator/conversions.h"
#include "platform/handler_guard.h"

#include <QDate>
#include <QDateEdit>
#include <QLineEdit>
#include <QSignalBlocker>

#include <cstdlib>

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
    EditLife->setText(QString::number(days));
    platform::RethrowPending();
    Recalculate();
}

void TMainForm::ExpirationDateChange(QObject *Sender)
{
    CalculationDateChange(Sender);
}

void TMainForm::EditLifeChange(QObject *)
{
    const std::string text = EditLife->text().toStdString();
    if (text.empty())
        return;
    const int days = calculator::ParseWhole(text);
    SetDateSilently(ExpirationDate, CalculationDate->date().addDays(days));
    Recalculate();
}
