#include "error_display.h"

#include "exceptions.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QString>

namespace platform {

QString DisplayText(const QString &message)
{
    if (message.isEmpty() || message.back().unicode() <= u'.')
        return message;
    return message + u'.';
}

void ShowException(std::exception_ptr error)
{
    QString message;
    try {
        std::rethrow_exception(error);
    } catch (const Exception &e) {
        message = QString::fromStdString(e.what());
    } catch (...) {
    }
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), DisplayText(message),
                    QMessageBox::Ok);
    box.exec();
}

} // namespace platform
