#include "calculator/main_form.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

namespace {

const QString kAdvancedProductPage = QStringLiteral("http://varigon.example.com/zelmora.html");

} // namespace

TMainForm::~TMainForm() = default;

QWidget *TMainForm::ActiveControl() const
{
    return focusWidget();
}

void TMainForm::ButtonCloseClick(QObject *)
{
    close();
}

// A browser that cannot be started is not the calculator's concern: the result is not looked at.
void TMainForm::websiteClick(QObject *)
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + website->text()));
}

void TMainForm::LabelAdvCalcClick(QObject *)
{
    QDesktopServices::openUrl(QUrl(kAdvancedProductPage));
}
