#include "window_fixture.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

void PrintTo(const RecordedBox &box, std::ostream *os)
{
    *os << "{caption \"" << box.caption.toStdString() << "\", text \"" << box.text.toStdString() << "\", icon "
        << box.icon << "}";
}

void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

RecordedBox ErrorBox(const QString &text)
{
    return {QStringLiteral("Varigon"), text, QMessageBox::Critical};
}

RecordedBox MathReportBox(const QString &text)
{
    return {QFileInfo(QCoreApplication::applicationFilePath()).fileName(), text, QMessageBox::Critical};
}

WindowTest::WindowTest() = default;
WindowTest::~WindowTest() = default;

void WindowTest::SetUp()
{
    box_closer_ = std::make_unique<QTimer>();
    box_closer_->setInterval(0);
    QObject::connect(box_closer_.get(), &QTimer::timeout, [this] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        RecordedBox box{modal->windowTitle(), {}, QMessageBox::NoIcon};
        if (auto *message = qobject_cast<QMessageBox *>(modal)) {
            box.text = message->text();
            box.icon = message->icon();
        }
        boxes_.push_back(box);
        modal->close();
    });
    box_closer_->start();

    form_ = std::make_unique<TMainForm>();
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
}

void WindowTest::TearDown()
{
    box_closer_->stop();
    for (const RecordedBox &box : boxes_)
        ADD_FAILURE() << "unexpected box " << testing::PrintToString(box);
    form_.reset();
}

void WindowTest::Activate()
{
    if (form_->isActiveWindow())
        return;
    form_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
}

void WindowTest::Focus(QWidget *widget)
{
    Activate();
    widget->setFocus(Qt::MouseFocusReason);
}

void WindowTest::Type(QLineEdit *field, const QString &text)
{
    Focus(field);
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClicks(field, text);
}

void WindowTest::Erase(QLineEdit *field)
{
    Focus(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
}

void WindowTest::Retype(QLineEdit *field, const QString &text)
{
    Erase(field);
    QTest::keyClicks(field, text);
}

void WindowTest::EnterInputs(const QString &security, const QString &strike, const QString &life)
{
    Retype(form_->EditSecurityPrice, security);
    Retype(form_->EditStrike, strike);
    Retype(form_->EditLife, life);
}

void WindowTest::Backspace(QLineEdit *field)
{
    Focus(field);
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_Backspace);
}

void WindowTest::Click(QRadioButton *button)
{
    Activate();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void WindowTest::ClickCentre(QWidget *widget)
{
    Activate();
    QTest::mouseClick(widget, Qt::LeftButton);
}

std::vector<RecordedBox> WindowTest::TakeBoxes()
{
    return std::exchange(boxes_, {});
}
