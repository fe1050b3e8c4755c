#pragma once

#include "calculator/payoff_leg.h"

#include <QWidget>

#include <memory>
#include <vector>

class QChartView;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class TmyLabel3d;

namespace platform {
class TLineSeries;
}

// The calculator's one window. Its controls are its state; the handlers and
// computing methods read and write them directly. The layout (the constructor)
// lives in ui/, the behaviour in calculator/.
class TMainForm : public QWidget {
    Q_OBJECT

public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // The controls, owned by the window through Qt's parent chain.
    QTabWidget *PageControl = nullptr;
    QWidget *TabSheetOptCalc = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label13 = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Label1 = nullptr;
    QGroupBox *GroupBoxExpDate = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label10 = nullptr;
    QLineEdit *EditLife = nullptr;
    QDateEdit *ExpirationDate = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *EditDelta = nullptr;
    QLineEdit *EditGamma = nullptr;
    QLineEdit *EditTheta = nullptr;
    QLineEdit *EditVega = nullptr;
    QGroupBox *GroupBox_CallPut = nullptr;
    QRadioButton *RadioButtonPut = nullptr;
    QRadioButton *RadioButtonCall = nullptr;
    QLineEdit *EditVol = nullptr;
    QLineEdit *EditStrike = nullptr;
    QLineEdit *EditSecurityPrice = nullptr;
    QLineEdit *EditRate = nullptr;
    QLineEdit *EditOptPrice = nullptr;
    QLineEdit *EditDividend = nullptr;
    QDateEdit *CalculationDate = nullptr;
    QPushButton *ButtonClose = nullptr;
    QChartView *Chart3 = nullptr;
    platform::TLineSeries *LineSeries1 = nullptr;
    platform::TLineSeries *LineSeries2 = nullptr;
    QLabel *website = nullptr;
    TmyLabel3d *LabelAdvCalc = nullptr;

    // The event handlers, each bound to its control's event by the layout.
    void FormCreate();
    void CalculationDateChange(QObject *Sender);
    void ExpirationDateChange(QObject *Sender);
    void EditLifeChange(QObject *Sender);
    void EditSecurityPriceChange(QObject *Sender);
    void EditStrikeChange(QObject *Sender);
    void ButtonCloseClick(QObject *Sender);
    void EditRateChange(QObject *Sender);
    void EditDividendChange(QObject *Sender);
    void RadioButtonCallClick(QObject *Sender);
    void RadioButtonPutClick(QObject *Sender);
    void EditVolChange(QObject *Sender);
    void EditOptPriceChange(QObject *Sender);
    void websiteClick(QObject *Sender);
    void LabelAdvCalcClick(QObject *Sender);

    // The payoff legs of the last chart drawn.
    const std::vector<std::unique_ptr<calculator::TPayoffLeg>> &Legs() const { return FLegs; }

private:
    QWidget *ActiveControl() const;
    void Recalculate();
    void CalculatePrice();
    void CalculateVolatility();
    void ShowGreeks(bool call, double S, double K, double r, double sigma, double T, double D);
    void DrawPayoff();
    void SeedZeroLine();

    calculator::TPayoffLeg *FLeg = nullptr;
    std::vector<std::unique_ptr<calculator::TPayoffLeg>> FLegs;
};
