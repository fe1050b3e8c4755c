#pragma once

#include <QApplication>

namespace platform {

// The application object: names the program "Varigon" and, as the last net
// behind the guarded handlers, shows any error that escapes an event handler.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // How many errors got past the guarded handlers to this net; tests expect none.
    int EscapedErrors() const { return escaped_errors_; }

private:
    int escaped_errors_ = 0;
};

} // namespace platform
