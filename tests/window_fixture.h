#pragma once

#include "calculator/main_form.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

class QLineEdit;
class QRadioButton;
class QTimer;
class QWidget;

// A modal box that popped up during a test.
struct RecordedBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;

    bool operator==(const RecordedBox &other) const = default;
};

void PrintTo(const RecordedBox &box, std::ostream *os);

// Field texts in failure messages.
void PrintTo(const QString &text, std::ostream *os);

// The error display's box for a message: caption "Varigon", critical icon.
RecordedBox ErrorBox(const QString &text);

// The box of an elementary function's report: captioned with the program file's name.
RecordedBox MathReportBox(const QString &text);

// The real window, shown offscreen and active, driven as a user would drive it.
//
// Every modal box that opens while a test runs is recorded (caption, text, icon)
// and closed at once by a repeating 0 ms timer that runs from SetUp to TearDown.
// A test that expects boxes takes them with TakeBoxes(); any box still
// recorded at the end fails the test as unexpected.
//
// The typing helpers first make the window active again if a box took the
// activation away, then put the focus on the control the way a mouse click
// would, so that the form's ActiveControl() is that control.
// Stands in for the desktop's browser.
class Browser : public QObject {
    Q_OBJECT

public:
    Browser() { QDesktopServices::setUrlHandler("http", this, "Open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler("http"); }

    std::vector<QUrl> opened;

public slots:
    void Open(const QUrl &url) { opened.push_back(url); }
};

class WindowTest : public testing::Test {
protected:
    WindowTest();
    ~WindowTest() override;

    void SetUp() override;
    void TearDown() override;

    TMainForm &Form() { return *form_; }

    // Focuses the field and types text at the end of its current text, one
    // key at a time (one change event per character).
    void Type(QLineEdit *field, const QString &text);

    // Focuses the field, selects all and presses Delete (one change event,
    // none when the field is already empty).
    void Erase(QLineEdit *field);

    // Erase, then Type.
    void Retype(QLineEdit *field, const QString &text);

    // Retypes security price, strike and life, in this order (rate and dividend keep their texts).
    void EnterInputs(const QString &security, const QString &strike, const QString &life);

    // Presses Backspace at the end of the field's text.
    void Backspace(QLineEdit *field);

    // Clicks the radio button on its indicator (the focus moves to it).
    void Click(QRadioButton *button);

    // Left click at the centre of any widget (buttons, labels).
    void ClickCentre(QWidget *widget);

    // Makes the window active again and waits for it (after a box closed).
    void Activate();

    // Gives the control the focus as a mouse click would (date pickers too).
    void Focus(QWidget *widget);

    // The boxes recorded since the last call, oldest first; forgets them.
    std::vector<RecordedBox> TakeBoxes();

private:

    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<QTimer> box_closer_;
    std::vector<RecordedBox> boxes_;
};
