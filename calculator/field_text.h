#pragma once

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

} // namespace calculator
