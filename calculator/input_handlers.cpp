#include "calculator/main_form.h"

#include "calculator/conversions.h"
#include "calculator/field_text.h"

#include <QLineEdit>
#include <QRadioButton>

using calculator::ParseReal;
using calculator::TextOf;

namespace {

// A handler only validates its own text; the modes convert every field afresh.
void Validate(const QLineEdit *field)
{
    static_cast<void>(ParseReal(TextOf(field)));
}

bool Filled(const QLineEdit *field)
{
    return !field->text().isEmpty();
}

} // namespace

void TMainForm::EditSecurityPriceChange(QObject *)
{
    if (!Filled(EditSecurityPrice))
        return;
    Validate(EditSecurityPrice);
    Recalculate();
}

void TMainForm::EditStrikeChange(QObject *)
{
    if (!Filled(EditStrike))
        return;
    Validate(EditStrike);
    Recalculate();
}

void TMainForm::EditRateChange(QObject *)
{
    if (!Filled(EditRate))
        return;
    Validate(EditRate);
    Recalculate();
}

void TMainForm::EditDividendChange(QObject *)
{
    if (!Filled(EditDividend))
        return;
    Validate(EditDividend);
    Recalculate();
}

// The two fields the modes write answer only to the user's typing, so a
// computation never starts another through its own output.
void TMainForm::EditOptPriceChange(QObject *)
{
    if (!Filled(EditOptPrice) || ActiveControl() != EditOptPrice)
        return;
    Validate(EditOptPrice);
    Recalculate();
}

void TMainForm::EditVolChange(QObject *)
{
    if (!Filled(EditVol) || ActiveControl() != EditVol)
        return;
    Validate(EditVol);
    Recalculate();
}

void TMainForm::RadioButtonCallClick(QObject *)
{
    Recalculate();
}

void TMainForm::RadioButtonPutClick(QObject *)
{
    Recalculate();
}

// The focus alone chooses the direction: typing in the option price solves for
// the volatility, working anywhere else prices the option.
void TMainForm::Recalculate()
{
    if (Filled(EditLife) && Filled(EditSecurityPrice) && Filled(EditStrike) && Filled(EditVol) &&
        ActiveControl() != EditOptPrice) {
        CalculatePrice();
        if (ParseReal(TextOf(EditVol)) > 0)
            DrawPayoff();
    }
    if (Filled(EditLife) && Filled(EditSecurityPrice) && Filled(EditStrike) && Filled(EditOptPrice) &&
        ActiveControl() == EditOptPrice) {
        CalculateVolatility();
        if (ParseReal(TextOf(EditOptPrice)) > 0)
            DrawPayoff();
    }
}
