#include "calculator/main_form.h"

#include "platform/checked_math.h"
#include "platform/handler_guard.h"
#include "platform/line_series.h"
#include "ui/accessibility.h"
#include "ui/mylabel.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <functional>
#include <string>
#include <utility>

namespace {

// The layout's pixel sizes at 96 dpi; Qt's high-DPI scaling adapts them.
constexpr QSize kClientSize(539, 471);
constexpr QSize kFrameSize(547, 498);

const QString kFace = QStringLiteral("MS Sans Serif");
const QString kWebsiteHost = QStringLiteral("varigon.example.com");

const QColor kTeal(0, 128, 128);
const QColor kNavy(0, 0, 128);
const QColor kBlue(0, 0, 255);

QFont Font(int pixels, bool bold = false, bool underline = false)
{
    QFont font(kFace);
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

// The colour of a control's own font, for its captions and its text. Disabled
// controls keep the style's greyed text, as the edit controls of Windows do.
void SetFontColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(group, role, colour);
    widget->setPalette(palette);
}

template <typename Control>
Control *Place(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *control = new Control(parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QLabel *Caption(QWidget *parent, const char *name, const QRect &geometry, const QString &text, const QFont &font,
                const QColor &colour)
{
    auto *label = Place<QLabel>(parent, name, geometry);
    label->setText(text);
    label->setFont(font);
    // The stand-in face runs a little wider than the one the boxes were drawn
    // for: a caption that its box would clip is condensed just enough to fit.
    const qreal advance = QFontMetricsF(font).horizontalAdvance(text);
    if (advance > geometry.width() - 1) {
        QFont condensed = font;
        condensed.setStretch(static_cast<int>(100 * (geometry.width() - 1) / advance));
        label->setFont(condensed);
    }
    SetFontColour(label, colour);
    return label;
}

QLineEdit *Edit(QWidget *parent, const char *name, const QRect &geometry, const QString &text, const QFont &font)
{
    auto *edit = Place<QLineEdit>(parent, name, geometry);
    edit->setText(text);
    edit->setFont(font);
    SetFontColour(edit, Qt::black);
    return edit;
}

QLineEdit *GreekField(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *edit = Place<QLineEdit>(parent, name, geometry);
    edit->setReadOnly(true);
    edit->setEnabled(false);
    return edit;
}

// The layout places a group's controls below a frame line that runs through
// the middle of the title, as the Windows style draws it; Fusion would start
// the frame below the title, across the first row of controls.
QGroupBox *Group(QWidget *parent, const char *name, const QRect &geometry, const QString &title, QStyle *style)
{
    auto *group = Place<QGroupBox>(parent, name, geometry);
    group->setStyle(style);
    group->setTitle(title);
    group->setFont(Font(13));
    SetFontColour(group, kTeal);
    return group;
}

QDateEdit *DatePicker(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *picker = Place<QDateEdit>(parent, name, geometry);
    picker->setCalendarPopup(true);
    picker->setFont(Font(13));
    SetFontColour(picker, Qt::black);
    return picker;
}

// A plain label has no click event: this gives it one, a left button pressed
// and released over it.
class ClickFilter : public QObject {
public:
    ClickFilter(QWidget *target, std::function<void()> onClick) : QObject(target), onClick_(std::move(onClick))
    {
        target->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton ||
            !static_cast<QWidget *>(watched)->rect().contains(mouse->position().toPoint()))
            return false;
        onClick_();
        return true;
    }

private:
    std::function<void()> onClick_;
};

QValueAxis *Axis(QChart *chart, Qt::Alignment alignment, const QString &title, qreal min, qreal max,
                 const QString &labels)
{
    auto *axis = new QValueAxis(chart);
    axis->setTitleText(title);
    axis->setLabelFormat(labels);
    axis->setLineVisible(false);
    axis->setRange(min, max);
    axis->setMinorTickCount(3);
    axis->setMinorGridLineVisible(false);
    chart->addAxis(axis, alignment);
    return axis;
}

platform::TLineSeries *Series(QChart *chart, const char *objectName, const QString &title, const QColor &colour,
                              int width)
{
    auto *series = new platform::TLineSeries(chart);
    series->setObjectName(QString::fromLatin1(objectName));
    series->setName(title);
    series->setPen(QPen(colour, width));
    series->setPointsVisible(false);
    chart->addSeries(series);
    return series;
}

// The elementary functions' range errors, in a box of their own titled with the program file's name.
void ShowMathReport(const std::string &report)
{
    QMessageBox box(QMessageBox::Critical, QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                    QString::fromStdString(report), QMessageBox::Ok);
    box.exec();
}

// Connects a handler so that its errors are shown, never thrown through Qt.
template <typename Sender, typename Signal, typename Handler>
void Bind(TMainForm *form, Sender *sender, Signal signal, Handler handler)
{
    QObject::connect(sender, signal, form, platform::Guarded(std::move(handler)));
}

// A radio button acts when it becomes the selected one.
template <typename Handler>
void BindSelected(TMainForm *form, QRadioButton *button, Handler handler)
{
    QObject::connect(button, &QRadioButton::toggled, form,
                     [guarded = platform::Guarded(std::move(handler))](bool checked) mutable {
                         if (checked)
                             guarded();
                     });
}

} // namespace

TMainForm::TMainForm(QWidget *parent) : QWidget(parent)
{
    QFont::insertSubstitution(kFace, QStringLiteral("Liberation Sans"));
    platform::SetMathErrorReporter(ShowMathReport);

    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QGuiApplication::applicationDisplayName());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(Font(13));
    QStyle *groupStyle = QStyleFactory::create(QStringLiteral("Windows"));
    groupStyle->setParent(this);

    // A fixed-size sheet in a scroll area: a smaller window scrolls, nothing moves or stretches.
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *sheet = new QWidget;
    sheet->setFixedSize(kClientSize);
    scroll->setWidget(sheet);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    LabelAdvCalc = Place<TmyLabel3d>(sheet, "LabelAdvCalc", {16, 6, 314, 16});
    LabelAdvCalc->setText(QStringLiteral("Now  Available  Zelmora"));
    LabelAdvCalc->setFont(Font(13, true));
    SetFontColour(LabelAdvCalc, kBlue);
    LabelAdvCalc->setStyleEffect(T3DEffect::Resit3d);
    LabelAdvCalc->SetFhOffSet(1);
    LabelAdvCalc->SetFvOffSet(1);
    LabelAdvCalc->SetShadeLT(false);
    LabelAdvCalc->setCursor(Qt::PointingHandCursor);

    website = Caption(sheet, "website", {392, 6, 139, 16}, kWebsiteHost, Font(13, true, true), kBlue);
    website->setCursor(Qt::PointingHandCursor);

    PageControl = Place<QTabWidget>(sheet, "PageControl", {8, 40, 521, 385});
    PageControl->setFont(Font(11));
    PageControl->setFocusPolicy(Qt::ClickFocus);
    PageControl->tabBar()->setFocusPolicy(Qt::ClickFocus);

    ButtonClose = Place<QPushButton>(sheet, "ButtonClose", {216, 433, 75, 25});
    ButtonClose->setText(QStringLiteral("Close"));
    ButtonClose->setFont(Font(13));
    ButtonClose->setFocusPolicy(Qt::ClickFocus);

    TabSheetOptCalc = new QWidget;
    TabSheetOptCalc->setObjectName(QStringLiteral("TabSheetOptCalc"));
    PageControl->addTab(TabSheetOptCalc, QStringLiteral("Simple Varigon"));
    QWidget *page = TabSheetOptCalc;

    Label1 = Caption(page, "Label1", {8, 8, 96, 16}, QStringLiteral("Calculation date"), Font(13), kTeal);
    CalculationDate = DatePicker(page, "CalculationDate", {120, 8, 113, 24});

    GroupBoxExpDate = Group(page, "GroupBoxExpDate", {8, 40, 225, 73}, QStringLiteral("Expiration date"), groupStyle);
    Label2 = Caption(GroupBoxExpDate, "Label2", {17, 21, 85, 16}, QStringLiteral("Calendar date"), Font(13), kNavy);
    ExpirationDate = DatePicker(GroupBoxExpDate, "ExpirationDate", {112, 16, 105, 24});
    Label10 = Caption(GroupBoxExpDate, "Label10", {17, 45, 21, 16}, QStringLiteral("Life"), Font(13), kNavy);
    EditLife = Edit(GroupBoxExpDate, "EditLife", {112, 40, 105, 24}, QStringLiteral("0"), Font(13));
    EditLife->setFocusPolicy(Qt::ClickFocus);

    GroupBox_CallPut = Group(page, "GroupBox_CallPut", {8, 128, 225, 73}, QStringLiteral("Call/Put"), groupStyle);
    RadioButtonCall = Place<QRadioButton>(GroupBox_CallPut, "RadioButtonCall", {8, 24, 105, 17});
    RadioButtonPut = Place<QRadioButton>(GroupBox_CallPut, "RadioButtonPut", {8, 48, 73, 17});
    for (const auto &[button, text] : {std::pair{RadioButtonCall, "Call"}, std::pair{RadioButtonPut, "Put"}}) {
        button->setText(QString::fromLatin1(text));
        button->setFont(Font(13));
        SetFontColour(button, kNavy);
    }
    RadioButtonCall->setChecked(true);

    Label11 = Caption(page, "Label11", {8, 222, 42, 13}, QStringLiteral("Dividend"), Font(11), kTeal);
    EditDividend = Edit(page, "EditDividend", {56, 216, 49, 21}, QStringLiteral("0"), Font(11));
    Label13 = Caption(page, "Label13", {112, 222, 61, 13}, QStringLiteral("Interest Rate"), Font(11), kTeal);
    EditRate = Edit(page, "EditRate", {176, 216, 57, 21}, QStringLiteral("3"), Font(11));
    EditDividend->setFocusPolicy(Qt::ClickFocus);
    EditRate->setFocusPolicy(Qt::ClickFocus);

    Label4 = Caption(page, "Label4", {8, 256, 81, 16}, QStringLiteral("Security price"), Font(13), kTeal);
    EditSecurityPrice = Edit(page, "EditSecurityPrice", {112, 248, 121, 24}, {}, Font(13));
    Label3 = Caption(page, "Label3", {8, 280, 34, 16}, QStringLiteral("Strike"), Font(13), kTeal);
    EditStrike = Edit(page, "EditStrike", {112, 272, 121, 24}, {}, Font(13));
    Label7 = Caption(page, "Label7", {8, 304, 50, 16}, QStringLiteral("Volatility"), Font(13), kTeal);
    EditVol = Edit(page, "EditVol", {112, 296, 121, 24}, {}, Font(13));
    Label6 = Caption(page, "Label6", {8, 328, 73, 16}, QStringLiteral("Option Price"), Font(13), kTeal);
    EditOptPrice = Edit(page, "EditOptPrice", {112, 320, 121, 24}, {}, Font(13));

    GroupBox1 = Group(page, "GroupBox1", {320, 0, 185, 129}, QStringLiteral("Greeks"), groupStyle);
    Label5 = Caption(GroupBox1, "Label5", {17, 25, 32, 16}, QStringLiteral("Delta"), Font(13), kNavy);
    EditDelta = GreekField(GroupBox1, "EditDelta", {72, 20, 105, 24});
    Label12 = Caption(GroupBox1, "Label12", {17, 50, 48, 16}, QStringLiteral("Gamma"), Font(13), kNavy);
    EditGamma = GreekField(GroupBox1, "EditGamma", {72, 44, 105, 24});
    Label9 = Caption(GroupBox1, "Label9", {17, 75, 35, 16}, QStringLiteral("Theta"), Font(13), kNavy);
    EditTheta = GreekField(GroupBox1, "EditTheta", {72, 68, 105, 24});
    Label8 = Caption(GroupBox1, "Label8", {17, 100, 33, 16}, QStringLiteral("Vega"), Font(13), kNavy);
    EditVega = GreekField(GroupBox1, "EditVega", {72, 92, 105, 24});

    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setBackgroundRoundness(0);
    chart->layout()->setContentsMargins(4, 4, 4, 4);
    chart->setMargins(QMargins(3, 10, 8, 6));
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(180, 255, 255));
    chart->setBackgroundBrush(gradient);
    chart->setBackgroundPen(QPen(QColor(128, 128, 128)));
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    Chart3 = new QChartView(chart, page);
    Chart3->setObjectName(QStringLiteral("Chart3"));
    Chart3->setGeometry(240, 136, 265, 209);
    Chart3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Chart3->setBackgroundBrush(QColor(205, 205, 205));
    Chart3->setRenderHint(QPainter::Antialiasing);

    QValueAxis *bottom = Axis(chart, Qt::AlignBottom, QStringLiteral("Security Price"), 0, 10, QStringLiteral("%g"));
    QValueAxis *left = Axis(chart, Qt::AlignLeft, QStringLiteral("Profit/Loss $"), -1, 1, QStringLiteral("%g"));
    // Round steps from 0, which the chart adapts to each range it draws.
    left->setTickType(QValueAxis::TicksDynamic);
    left->setTickAnchor(0);
    left->setTickInterval(0.5);
    left->setMinorGridLineVisible(true);
    left->setMinorGridLinePen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
    LineSeries1 = Series(chart, "LineSeries1", QStringLiteral("ZeroLine"), Qt::red, 2);
    LineSeries2 = Series(chart, "LineSeries2", QStringLiteral("SpreadSeries1"), kBlue, 3);
    for (platform::TLineSeries *series : {LineSeries1, LineSeries2}) {
        series->attachAxis(bottom);
        series->attachAxis(left);
    }

    QWidget::setTabOrder(CalculationDate, ExpirationDate);
    QWidget::setTabOrder(ExpirationDate, RadioButtonPut);
    QWidget::setTabOrder(RadioButtonPut, RadioButtonCall);
    QWidget::setTabOrder(RadioButtonCall, EditSecurityPrice);
    QWidget::setTabOrder(EditSecurityPrice, EditStrike);
    QWidget::setTabOrder(EditStrike, EditVol);
    QWidget::setTabOrder(EditVol, EditOptPrice);
    QWidget::setTabOrder(EditOptPrice, Chart3);

    resize(kClientSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.x() + (desktop.width() - kFrameSize.width()) / 2,
             desktop.y() + (desktop.height() - kFrameSize.height()) / 2);
    }

    Bind(this, CalculationDate, &QDateEdit::dateChanged, [this] { CalculationDateChange(CalculationDate); });
    Bind(this, ExpirationDate, &QDateEdit::dateChanged, [this] { ExpirationDateChange(ExpirationDate); });
    Bind(this, EditLife, &QLineEdit::textChanged, [this] { EditLifeChange(EditLife); });
    Bind(this, EditSecurityPrice, &QLineEdit::textChanged, [this] { EditSecurityPriceChange(EditSecurityPrice); });
    Bind(this, EditStrike, &QLineEdit::textChanged, [this] { EditStrikeChange(EditStrike); });
    Bind(this, ButtonClose, &QPushButton::clicked, [this] { ButtonCloseClick(ButtonClose); });
    Bind(this, EditRate, &QLineEdit::textChanged, [this] { EditRateChange(EditRate); });
    Bind(this, EditDividend, &QLineEdit::textChanged, [this] { EditDividendChange(EditDividend); });
    BindSelected(this, RadioButtonCall, [this] { RadioButtonCallClick(RadioButtonCall); });
    BindSelected(this, RadioButtonPut, [this] { RadioButtonPutClick(RadioButtonPut); });
    Bind(this, EditVol, &QLineEdit::textChanged, [this] { EditVolChange(EditVol); });
    Bind(this, EditOptPrice, &QLineEdit::textChanged, [this] { EditOptPriceChange(EditOptPrice); });
    new ClickFilter(website, platform::Guarded([this] { websiteClick(website); }));
    Bind(this, LabelAdvCalc, &TmyLabel3d::clicked, [this] { LabelAdvCalcClick(LabelAdvCalc); });

    DescribeForScreenReaders(*this);

    // Once the window and every control exist, as the platform raises OnCreate.
    platform::Guarded([this] { FormCreate(); })();
}
