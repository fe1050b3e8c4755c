#include "window_fixture.h"

#include "ui/mylabel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QChartView>
#include <QDateEdit>
#include <QDesktopServices>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include <vector>

namespace {

QString Name(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<no interface>");
}

QAccessible::Role Role(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    return iface ? iface->role() : QAccessible::NoRole;
}

TEST_F(WindowTest, EachCaptionIsTheBuddyOfItsFieldAndNamesIt)
{
    TMainForm &f = Form();
    struct Caption {
        QLabel *label;
        QWidget *field;
        const char *name;
    };
    const Caption captions[] = {
        {f.Label1, f.CalculationDate, "Calculation date"}, {f.Label2, f.ExpirationDate, "Expiration date"},
        {f.Label10, f.EditLife, "Life"},                   {f.Label11, f.EditDividend, "Dividend"},
        {f.Label13, f.EditRate, "Interest Rate"},          {f.Label4, f.EditSecurityPrice, "Security price"},
        {f.Label3, f.EditStrike, "Strike"},                {f.Label7, f.EditVol, "Volatility"},
        {f.Label6, f.EditOptPrice, "Option Price"},        {f.Label5, f.EditDelta, "Delta"},
        {f.Label12, f.EditGamma, "Gamma"},                 {f.Label9, f.EditTheta, "Theta"},
        {f.Label8, f.EditVega, "Vega"},
    };
    for (const Caption &c : captions) {
        EXPECT_EQ(c.label->buddy(), c.field) << c.label->objectName().toStdString();
        EXPECT_EQ(Name(c.field), c.name) << c.field->objectName().toStdString();
    }
}

// Every control a user can reach or read, Qt's own inner parts aside.
TEST_F(WindowTest, EveryControlHasAnAccessibleName)
{
    const QList<QWidget *> widgets = Form().findChildren<QWidget *>();
    int controls = 0;
    for (QWidget *widget : widgets) {
        const bool control = qobject_cast<QLineEdit *>(widget) || qobject_cast<QAbstractSpinBox *>(widget) ||
                             qobject_cast<QAbstractButton *>(widget) || qobject_cast<QGroupBox *>(widget) ||
                             qobject_cast<QChartView *>(widget) || qobject_cast<QLabel *>(widget);
        if (!control || widget->objectName().isEmpty() || widget->objectName().startsWith(QStringLiteral("qt_")))
            continue;
        ++controls;
        EXPECT_FALSE(Name(widget).isEmpty()) << widget->objectName().toStdString();
    }
    EXPECT_GE(controls, 35) << "the walk missed some of the layout's 35 labels, fields, buttons, boxes and chart";
}

TEST_F(WindowTest, RadioButtonsReadAsRadioButtonsWithTheirState)
{
    TMainForm &f = Form();
    for (QRadioButton *button : {f.RadioButtonCall, f.RadioButtonPut})
        EXPECT_EQ(Role(button), QAccessible::RadioButton) << button->objectName().toStdString();
    EXPECT_EQ(Name(f.RadioButtonCall), "Call");
    EXPECT_EQ(Name(f.RadioButtonPut), "Put");

    Click(f.RadioButtonPut);

    EXPECT_TRUE(QAccessible::queryAccessibleInterface(f.RadioButtonPut)->state().checked);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(f.RadioButtonCall)->state().checked);
}

TEST_F(WindowTest, GreekFieldsReadAsUnavailableText)
{
    TMainForm &f = Form();
    for (QLineEdit *field : {f.EditDelta, f.EditGamma, f.EditTheta, f.EditVega}) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(field);
        EXPECT_EQ(iface->role(), QAccessible::EditableText) << field->objectName().toStdString();
        EXPECT_TRUE(iface->state().disabled) << field->objectName().toStdString();
        EXPECT_TRUE(iface->state().readOnly) << field->objectName().toStdString();
    }
}

// A clipped caption is unreadable to everyone; the box sizes were drawn for another face.
TEST_F(WindowTest, EveryCaptionFitsItsBox)
{
    for (QLabel *label : Form().findChildren<QLabel *>()) {
        if (label->objectName().isEmpty() || label->text().isEmpty())
            continue;
        EXPECT_LE(QFontMetricsF(label->font()).horizontalAdvance(label->text()), label->width())
            << label->objectName().toStdString() << " \"" << label->text().toStdString() << "\"";
    }
}

TEST_F(WindowTest, LinksReadAsLinksAndTheirPressActionOpensThePage)
{
    TMainForm &f = Form();
    Browser browser;
    for (QLabel *link : {f.website, static_cast<QLabel *>(f.LabelAdvCalc)}) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(link);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), QAccessible::Link) << link->objectName().toStdString();
        EXPECT_EQ(iface->text(QAccessible::Name), link->text()) << link->objectName().toStdString();
        EXPECT_TRUE(iface->state().linked) << link->objectName().toStdString();
        QAccessibleActionInterface *actions = iface->actionInterface();
        ASSERT_NE(actions, nullptr) << link->objectName().toStdString();
        ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
    }

    ASSERT_EQ(browser.opened.size(), 2u);
    EXPECT_EQ(browser.opened[0], QUrl("http://varigon.example.com"));
    EXPECT_EQ(browser.opened[1].host(), "varigon.example.com");
}

TEST_F(WindowTest, ChartIsNamedAndDescribesTheLineItDraws)
{
    TMainForm &f = Form();
    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(f.Chart3);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->text(QAccessible::Name), "Profit/Loss at expiration");

    EnterInputs("100", "100", "30");
    Type(f.EditVol, "25");
    ASSERT_EQ(f.EditOptPrice->text(), "3.0015");
    EXPECT_EQ(chart->text(QAccessible::Description), "Loss of 300.15 up to 100, profit of 4699.85 at 150");

    Click(f.RadioButtonPut);
    ASSERT_EQ(f.EditOptPrice->text(), "2.7518");
    EXPECT_EQ(chart->text(QAccessible::Description), "Profit of 4724.82 at 50, loss of 275.18 from 100");

    Retype(f.EditSecurityPrice, "120");
    ASSERT_EQ(f.EditOptPrice->text(), "0.0131");
    EXPECT_EQ(chart->text(QAccessible::Description), "Profit of 4998.69 at 50, loss of 1.31 from 100");
}

} // namespace

