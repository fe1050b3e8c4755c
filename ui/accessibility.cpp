#include "ui/accessibility.h"

#include "calculator/main_form.h"
#include "ui/mylabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QChartView>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>

#include <utility>

namespace {

// A label that opens a web page when clicked: read as a link, pressed as one.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(QLabel *label) : QAccessibleWidget(label, QAccessible::Link) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    // The same press and release inside the label that a left click gives.
    void doAction(const QString &actionName) override
    {
        if (actionName != pressAction())
            return;
        QWidget *label = widget();
        const QPointF centre = QRectF(label->rect()).center();
        const QPointF global = label->mapToGlobal(centre);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, centre, global, Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(label, &event);
        }
    }
};

// Qt's own interface for a label answers first, so the link's replaces it in the cache.
void MarkAsLink(QLabel *label)
{
    label->setAccessibleName(label->text());
    if (QAccessibleInterface *plain = QAccessible::queryAccessibleInterface(label))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(plain));
    QAccessible::registerAccessibleInterface(new LinkAccessible(label));
}

} // namespace

void DescribeForScreenReaders(TMainForm &form)
{
    const std::pair<QLabel *, QWidget *> captions[] = {
        {form.Label1, form.CalculationDate}, {form.Label2, form.ExpirationDate}, {form.Label10, form.EditLife},
        {form.Label11, form.EditDividend},   {form.Label13, form.EditRate},      {form.Label4, form.EditSecurityPrice},
        {form.Label3, form.EditStrike},      {form.Label7, form.EditVol},        {form.Label6, form.EditOptPrice},
        {form.Label5, form.EditDelta},       {form.Label12, form.EditGamma},     {form.Label9, form.EditTheta},
        {form.Label8, form.EditVega},
    };
    for (const auto &[label, field] : captions) {
        label->setBuddy(field);
        field->setAccessibleName(label->text());
    }
    // Its label reads "Calendar date"; the group box says which date it is.
    form.ExpirationDate->setAccessibleName(form.GroupBoxExpDate->title());

    for (QRadioButton *button : {form.RadioButtonCall, form.RadioButtonPut})
        button->setAccessibleName(button->text());

    form.Chart3->setAccessibleName(QStringLiteral("Profit/Loss at expiration"));

    MarkAsLink(form.website);
    MarkAsLink(form.LabelAdvCalc);
}
