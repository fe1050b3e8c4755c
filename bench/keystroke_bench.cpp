#include "calculator/main_form.h"
#include "platform/application.h"
#include "platform/line_series.h"

#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// One keystroke in the volatility field with security price, strike and life
// filled in: validation, price mode's six conversions, value, Greeks, five
// writes and the chart's redraw. The window is never shown, so nothing paints.
void BM_VolatilityKeystroke(benchmark::State &state)
{
    TMainForm form;
    form.EditSecurityPrice->setText(QStringLiteral("100"));
    form.EditStrike->setText(QStringLiteral("100"));
    form.EditLife->setText(QStringLiteral("30"));
    form.EditVol->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(form.EditVol, QStringLiteral("25"));
    if (form.focusWidget() != form.EditVol || form.EditOptPrice->text() != QStringLiteral("3.0015") ||
        form.LineSeries2->count() == 0) {
        state.SkipWithError("the window did not price the worked example");
        return;
    }

    // Alternates 25 -> 2 -> 25: every keystroke leaves a valid volatility and recomputes.
    bool erase = true;
    for (auto _ : state) {
        if (erase)
            QTest::keyClick(form.EditVol, Qt::Key_Backspace);
        else
            QTest::keyClick(form.EditVol, Qt::Key_5);
        erase = !erase;
    }
    if (form.EditVol->text() != QStringLiteral("25") && form.EditVol->text() != QStringLiteral("2"))
        state.SkipWithError("the keystrokes did not reach the volatility field");
}
BENCHMARK(BM_VolatilityKeystroke)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
