#pragma once

#include "calculator/conversions.h"
#include "platform/fp_faults.h"
#include "platform/handler_guard.h"

#include <QLineEdit>
#include <QString>

#include <string>

// The fields' texts as the conversions see them (UTF-8), both ways.
namespace calculator {

inline std::string TextOf(const QLineEdit *field)
{
    return field->text().toStdString();
}

// setText runs the field's change handler before it returns; an error that
// handler parked must stop the writer too.
inline void WriteText(QLineEdit *field, const std::string &text)
{
    field->setText(QString::fromStdString(text));
    platform::RethrowPending();
}

// A field as a pricing parameter: the typed number, or the typed number times
// one of the unit factors, formed at extended precision and stored as a double.
inline double ParameterOf(const QLineEdit *field, long double factor = 1.0L)
{
    return ScaledParameter(ParseReal(TextOf(field)), factor);
}

// The positivity tests that gate the modes and the chart: each converts its
// field afresh, so a field that is not a number raises its conversion error.
inline bool PositiveReal(const QLineEdit *field)
{
    return ParseReal(TextOf(field)) > 0;
}

inline bool PositiveWhole(const QLineEdit *field)
{
    return ParseWhole(TextOf(field)) > 0;
}

} // namespace calculator
