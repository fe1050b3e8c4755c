#include "calculator/conversions.h"
#include "calculator/main_form.h"
#include "platform/application.h"
#include "platform/error_display.h"

#include <QIcon>
#include <QLocale>

namespace {

// The regional settings' separator, where it is one character the conversions can use.
char RegionalDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1 && point.front().unicode() < 0x80 && point.front().isPunct() && point != u"+" &&
        point != u"-" && point != u"$")
        return static_cast<char>(point.front().unicode());
    return '.';
}

} // namespace

int main(int argc, char **argv)
{
    platform::Application app(argc, argv);
    // The same id and picture as the installed menu entry, so the desktop matches the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.example.Varigon"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/com.example.Varigon.png")));
    try {
        calculator::SetDecimalSeparator(RegionalDecimalSeparator());
        TMainForm form;
        form.show();
        app.exec();
    } catch (...) {
        platform::ShowException(std::current_exception());
    }
    return 0;
}
