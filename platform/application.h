#pragma once

#include <QApplication>

namespace platform {

// The application object: names the program "Varigon" and, as the last net
// behind the guarded handlers, shows any error that escapes an event handler.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace platform
