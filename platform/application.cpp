#include "application.h"

#include "error_display.h"

namespace platform {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationDisplayName(QStringLiteral("Varigon"));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ++escaped_errors_;
        ShowException(std::current_exception());
        return false;
    }
}

} // namespace platform
