#include "window_fixture.h"

#include "platform/error_display.h"
#include "platform/exceptions.h"
#include "platform/line_series.h"
#include "ui/mylabel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QDesktopServices>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <QValueAxis>

#include <ostream>
#include <stdexcept>

namespace {

QString CaptionOf(const QWidget *w)
{
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    if (auto *edit = qobject_cast<const QLineEdit *>(w))
        return edit->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text();
    if (auto *group = qobject_cast<const QGroupBox *>(w))
        return group->title();
    return {};
}

struct Placement {
    const char *name;
    const char *parent; // nullptr: directly on the window's sheet
    QRect geometry;
    QString caption;
    int pixels;
    QColor colour;
};

std::ostream &operator<<(std::ostream &os, const Placement &p)
{
    return os << p.name;
}

const QColor kTeal(0, 128, 128), kNavy(0, 0, 128), kBlue(0, 0, 255), kBlack(Qt::black);

class Layout : public WindowTest, public testing::WithParamInterface<Placement> {};

// Other programs and the tests find the controls by name: the names, places,
// captions and fonts are the layout's.
TEST_P(Layout, ControlIsPlacedCaptionedAndStyled)
{
    const Placement &p = GetParam();
    auto *control = Form().findChild<QWidget *>(QString::fromLatin1(p.name));
    ASSERT_NE(control, nullptr) << p;

    if (p.parent)
        EXPECT_EQ(control->parentWidget()->objectName(), p.parent) << p;
    else
        EXPECT_EQ(control->parentWidget()->parentWidget()->parentWidget(), Form().findChild<QScrollArea *>()) << p;
    EXPECT_EQ(control->geometry(), p.geometry) << p;
    EXPECT_EQ(CaptionOf(control), p.caption) << p;
    EXPECT_EQ(control->font().pixelSize(), p.pixels) << p;
    EXPECT_EQ(QFontInfo(control->font()).family(), "Liberation Sans") << p;
    const QPalette::ColorRole role = qobject_cast<QLineEdit *>(control) ? QPalette::Text : QPalette::WindowText;
    EXPECT_EQ(control->palette().color(QPalette::Active, role), p.colour) << p;
}

INSTANTIATE_TEST_SUITE_P(
    Controls, Layout,
    testing::Values(
        Placement{"LabelAdvCalc", nullptr, {16, 6, 314, 16}, "Now  Available  Zelmora", 13, kBlue},
        Placement{"website", nullptr, {392, 6, 139, 16}, "varigon.example.com", 13, kBlue},
        Placement{"PageControl", nullptr, {8, 40, 521, 385}, "", 11, kBlack},
        Placement{"ButtonClose", nullptr, {216, 433, 75, 25}, "Close", 13, kBlack},
        Placement{"Label1", "TabSheetOptCalc", {8, 8, 96, 16}, "Calculation date", 13, kTeal},
        Placement{"CalculationDate", "TabSheetOptCalc", {120, 8, 113, 24}, "", 13, kBlack},
        Placement{"GroupBoxExpDate", "TabSheetOptCalc", {8, 40, 225, 73}, "Expiration date", 13, kTeal},
        Placement{"Label2", "GroupBoxExpDate", {17, 21, 85, 16}, "Calendar date", 13, kNavy},
        Placement{"ExpirationDate", "GroupBoxExpDate", {112, 16, 105, 24}, "", 13, kBlack},
        Placement{"Label10", "GroupBoxExpDate", {17, 45, 21, 16}, "Life", 13, kNavy},
        Placement{"EditLife", "GroupBoxExpDate", {112, 40, 105, 24}, "0", 13, kBlack},
        Placement{"GroupBox_CallPut", "TabSheetOptCalc", {8, 128, 225, 73}, "Call/Put", 13, kTeal},
        Placement{"RadioButtonCall", "GroupBox_CallPut", {8, 24, 105, 17}, "Call", 13, kNavy},
        Placement{"RadioButtonPut", "GroupBox_CallPut", {8, 48, 73, 17}, "Put", 13, kNavy},
        Placement{"Label11", "TabSheetOptCalc", {8, 222, 42, 13}, "Dividend", 11, kTeal},
        Placement{"EditDividend", "TabSheetOptCalc", {56, 216, 49, 21}, "0", 11, kBlack},
        Placement{"Label13", "TabSheetOptCalc", {112, 222, 61, 13}, "Interest Rate", 11, kTeal},
        Placement{"EditRate", "TabSheetOptCalc", {176, 216, 57, 21}, "3", 11, kBlack},
        Placement{"Label4", "TabSheetOptCalc", {8, 256, 81, 16}, "Security price", 13, kTeal},
        Placement{"EditSecurityPrice", "TabSheetOptCalc", {112, 248, 121, 24}, "", 13, kBlack},
        Placement{"Label3", "TabSheetOptCalc", {8, 280, 34, 16}, "Strike", 13, kTeal},
        Placement{"EditStrike", "TabSheetOptCalc", {112, 272, 121, 24}, "", 13, kBlack},
        Placement{"Label7", "TabSheetOptCalc", {8, 304, 50, 16}, "Volatility", 13, kTeal},
        Placement{"EditVol", "TabSheetOptCalc", {112, 296, 121, 24}, "", 13, kBlack},
        Placement{"Label6", "TabSheetOptCalc", {8, 328, 73, 16}, "Option Price", 13, kTeal},
        Placement{"EditOptPrice", "TabSheetOptCalc", {112, 320, 121, 24}, "", 13, kBlack},
        Placement{"GroupBox1", "TabSheetOptCalc", {320, 0, 185, 129}, "Greeks", 13, kTeal},
        Placement{"Label5", "GroupBox1", {17, 25, 32, 16}, "Delta", 13, kNavy},
        Placement{"EditDelta", "GroupBox1", {72, 20, 105, 24}, "", 13, kTeal},
        Placement{"Label12", "GroupBox1", {17, 50, 48, 16}, "Gamma", 13, kNavy},
        Placement{"EditGamma", "GroupBox1", {72, 44, 105, 24}, "", 13, kTeal},
        Placement{"Label9", "GroupBox1", {17, 75, 35, 16}, "Theta", 13, kNavy},
        Placement{"EditTheta", "GroupBox1", {72, 68, 105, 24}, "", 13, kTeal},
        Placement{"Label8", "GroupBox1", {17, 100, 33, 16}, "Vega", 13, kNavy},
        Placement{"EditVega", "GroupBox1", {72, 92, 105, 24}, "", 13, kTeal}),
    [](const testing::TestParamInfo<Placement> &info) { return std::string(info.param.name); });

TEST_F(WindowTest, WindowIsTheLayoutsAndNothingRunsAtStart)
{
    TMainForm &f = Form();
    EXPECT_EQ(f.windowTitle(), "Varigon");
    EXPECT_EQ(f.size(), QSize(539, 471)) << "the client area inside a 547 x 498 frame";
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(f.pos(), QPoint(desktop.x() + (desktop.width() - 547) / 2, desktop.y() + (desktop.height() - 498) / 2));
    EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(f.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(f.PageControl->count(), 1);
    EXPECT_EQ(f.PageControl->tabText(0), "Simple Varigon");
    EXPECT_EQ(f.PageControl->currentWidget(), f.TabSheetOptCalc);

    EXPECT_TRUE(f.RadioButtonCall->isChecked());
    EXPECT_FALSE(f.RadioButtonPut->isChecked());
    EXPECT_TRUE(f.CalculationDate->calendarPopup());
    EXPECT_TRUE(f.ExpirationDate->calendarPopup());
    for (QLineEdit *greek : {f.EditDelta, f.EditGamma, f.EditTheta, f.EditVega}) {
        EXPECT_FALSE(greek->isEnabled()) << greek->objectName().toStdString();
        EXPECT_TRUE(greek->isReadOnly()) << greek->objectName().toStdString();
    }
    EXPECT_EQ(f.LineSeries2->count(), 0);
}

TEST_F(WindowTest, TabSkipsTheControlsWithoutTabStop)
{
    TMainForm &f = Form();
    Focus(f.EditSecurityPrice);
    std::vector<QString> visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(visited, (std::vector<QString>{"EditStrike", "EditVol", "EditOptPrice", "Chart3"}));

    Focus(f.EditSecurityPrice);
    QTest::keyClick(f.EditSecurityPrice, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), f.RadioButtonCall);

    for (QWidget *clickOnly : std::initializer_list<QWidget *>{f.EditLife, f.EditRate, f.EditDividend, f.ButtonClose,
                                                               f.PageControl})
        EXPECT_EQ(clickOnly->focusPolicy(), Qt::ClickFocus) << clickOnly->objectName().toStdString();
}

TEST_F(WindowTest, SmallerWindowScrollsAndNothingMoves)
{
    TMainForm &f = Form();
    const QPoint strikeAt = f.EditStrike->mapTo(&f, QPoint());

    f.resize(300, 200);
    QApplication::processEvents();

    auto *scroll = f.findChild<QScrollArea *>();
    EXPECT_TRUE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
    EXPECT_EQ(f.EditStrike->mapTo(&f, QPoint()), strikeAt);
    EXPECT_EQ(f.EditStrike->size(), QSize(121, 24));
}

TEST_F(WindowTest, ChartIsFlatWithTitledAxesAndTwoStyledSeries)
{
    TMainForm &f = Form();
    QChart *chart = f.Chart3->chart();
    EXPECT_EQ(f.Chart3->objectName(), "Chart3");
    EXPECT_EQ(f.Chart3->geometry(), QRect(240, 136, 265, 209));
    EXPECT_EQ(f.Chart3->parentWidget(), f.TabSheetOptCalc);
    EXPECT_FALSE(chart->legend()->isVisible());
    EXPECT_TRUE(chart->title().isEmpty());
    EXPECT_EQ(f.Chart3->rubberBand(), QChartView::NoRubberBand);
    EXPECT_EQ(f.Chart3->dragMode(), QGraphicsView::NoDrag);

    const auto titleOf = [&](Qt::Orientation o) {
        const QList<QAbstractAxis *> axes = chart->axes(o);
        return axes.size() == 1 && !axes[0]->isLineVisible() ? axes[0]->titleText() : QString("?");
    };
    EXPECT_EQ(titleOf(Qt::Horizontal), "Security Price");
    EXPECT_EQ(titleOf(Qt::Vertical), "Profit/Loss $");

    ASSERT_EQ(chart->series(), (QList<QAbstractSeries *>{f.LineSeries1, f.LineSeries2})) << "drawn in this order";
    EXPECT_EQ(f.LineSeries1->objectName(), "LineSeries1");
    EXPECT_EQ(f.LineSeries1->name(), "ZeroLine");
    EXPECT_EQ(f.LineSeries1->pen().color(), QColor(Qt::red));
    EXPECT_EQ(f.LineSeries1->pen().width(), 2);
    EXPECT_EQ(f.LineSeries2->objectName(), "LineSeries2");
    EXPECT_EQ(f.LineSeries2->name(), "SpreadSeries1");
    EXPECT_EQ(f.LineSeries2->pen().color(), kBlue);
    EXPECT_EQ(f.LineSeries2->pen().width(), 3);
    for (platform::TLineSeries *series : {f.LineSeries1, f.LineSeries2}) {
        EXPECT_FALSE(series->pointsVisible());
        EXPECT_EQ(series->attachedAxes().size(), 2);
    }
}

TEST_F(WindowTest, LinkLabelsAreStyledAsLinks)
{
    TMainForm &f = Form();
    EXPECT_EQ(f.LabelAdvCalc->AStyle3D(), T3DEffect::Resit3d);
    EXPECT_EQ(f.LabelAdvCalc->AHShadeOffSet(), 1);
    EXPECT_EQ(f.LabelAdvCalc->AVShadeOffSet(), 1);
    EXPECT_FALSE(f.LabelAdvCalc->AShadeLTSet());
    EXPECT_TRUE(f.LabelAdvCalc->font().bold());
    EXPECT_EQ(f.LabelAdvCalc->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(f.website->font().bold());
    EXPECT_TRUE(f.website->font().underline());
    EXPECT_EQ(f.website->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_LE(f.website->fontMetrics().horizontalAdvance(f.website->text()), f.website->width())
        << "the host name must fit its label";
}

TEST_F(WindowTest, LinksOpenTheCaptionAsItReadsAndTheProductPageOnTheSameHost)
{
    Browser browser;
    ClickCentre(Form().website);
    Form().website->setText("other.example.org");
    ClickCentre(Form().website);
    ClickCentre(Form().LabelAdvCalc);

    ASSERT_EQ(browser.opened.size(), 3u);
    EXPECT_EQ(browser.opened[0], QUrl("http://varigon.example.com"));
    EXPECT_EQ(browser.opened[1], QUrl("http://other.example.org"));
    EXPECT_EQ(browser.opened[2].host(), "varigon.example.com");
    EXPECT_NE(browser.opened[2].path(), "");
}

TEST_F(WindowTest, CloseButtonClosesTheWindowAtOnce)
{
    ClickCentre(Form().ButtonClose);

    EXPECT_FALSE(Form().isVisible());
}

struct DisplayCase {
    const char *message;
    const char *shown;
};

std::ostream &operator<<(std::ostream &os, const DisplayCase &c)
{
    return os << '"' << c.message << '"';
}

class ErrorDisplay : public WindowTest, public testing::WithParamInterface<DisplayCase> {};

// A full stop is added unless the message is empty or already ends in a character not above '.'.
TEST_P(ErrorDisplay, FullStopRule)
{
    platform::ShowException(std::make_exception_ptr(platform::Exception(GetParam().message)));

    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{ErrorBox(GetParam().shown)}) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Messages, ErrorDisplay,
                         testing::Values(DisplayCase{"abc", "abc."}, DisplayCase{"Ends in a dot.", "Ends in a dot."},
                                         DisplayCase{"Wow!", "Wow!"}, DisplayCase{"f(x)", "f(x)"},
                                         DisplayCase{"a/", "a/."}, DisplayCase{"", ""},
                                         DisplayCase{"- ", "- "}, DisplayCase{"9", "9."}));

TEST_F(WindowTest, ErrorOfAnotherKindShowsAnEmptyBox)
{
    platform::ShowException(std::make_exception_ptr(std::runtime_error("not shown")));

    EXPECT_EQ(TakeBoxes(), std::vector<RecordedBox>{ErrorBox("")});
}

} // namespace

