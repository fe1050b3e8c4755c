#include "window_fixture.h"

#include "calculator/conversions.h"
#include "platform/application.h"
#include "platform/exceptions.h"
#include "platform/fp_faults.h"
#include "platform/line_series.h"
#include "pricing/black_scholes.h"
#include "pricing/implied_volatility.h"

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace {

std::uint64_t EnvNumber(const char *name, std::uint64_t fallback)
{
    bool ok = false;
    const qulonglong value = qgetenv(name).toULongLong(&ok);
    return ok ? value : fallback;
}

// A hang shows as an action that does not return: the watchdog names it and ends the run,
// since a blocked GUI thread can report nothing itself.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit) : limit_(limit) {}

    void Begin(const std::string &action)
    {
        const std::lock_guard lock(mutex_);
        action_ = action;
        since_ = Clock::now();
    }

    void End()
    {
        const std::lock_guard lock(mutex_);
        action_.clear();
    }

private:
    using Clock = std::chrono::steady_clock;

    void Watch(std::stop_token stop)
    {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, stop, std::chrono::seconds(1), [] { return false; }) &&
               !stop.stop_requested()) {
            if (!action_.empty() && Clock::now() - since_ > limit_) {
                std::fprintf(stderr, "hang: %s has not returned after %lld s\n", action_.c_str(),
                             static_cast<long long>(limit_.count()));
                std::abort();
            }
        }
    }

    std::chrono::seconds limit_;
    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::string action_;
    Clock::time_point since_;
    std::jthread thread_{[this](std::stop_token stop) { Watch(stop); }};
};

// Keystrokes a user types, as characters; two stand for the editing keys.
constexpr char kBackspace = '\b';
constexpr char kSelectAllDelete = '\x7f';

struct Action {
    enum Kind { kKey, kClickField, kTab, kBacktab, kClickRadio, kStepDate, kClose };

    Kind kind = kKey;
    int target = 0; // an input field, the radio button (0 call, 1 put) or the picker (0 calculation, 1 expiration)
    char key = 0;
    QDateTimeEdit::Section section = QDateTimeEdit::DaySection;
    bool up = true;
};

// The fields as one array: the inputs first, in the order of kInputs, then the Greeks.
enum Field { kLife, kSecurity, kStrike, kRate, kDividend, kVol, kOptPrice, kDelta, kGamma, kTheta, kVega, kFields };
constexpr int kInputs = kDelta;

struct Snapshot {
    std::array<QString, kFields> texts;
    bool call = true;
    QDate calculation, expiration;
};

// What one run of the dispatcher makes of the current texts and focus, derived afresh from the
// engine and the conversions. Unknown: the derivation itself met an error or a report, so the
// window must have shown a box if it computed at all.
struct Outcome {
    enum Kind { kNone, kPrice, kVolatility, kUnknown };

    Kind kind = kNone;
    QString written; // the option price (price mode) or the volatility (implied-volatility mode)
    std::array<QString, 4> greeks;
};

QString Shown(double x, int digit)
{
    return QString::fromStdString(calculator::FormatReal(calculator::RoundToDigit(x, digit)));
}

std::string Utf8(const QString &text)
{
    return text.toStdString();
}

class RandomUserTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        TMainForm &f = Form();
        fields_ = {f.EditLife,   f.EditSecurityPrice, f.EditStrike, f.EditRate,  f.EditDividend, f.EditVol,
                   f.EditOptPrice, f.EditDelta,       f.EditGamma,  f.EditTheta, f.EditVega};
        escaped_at_start_ = App().EscapedErrors();
        // A change event can come without a change of the text (a selection replaced by the same
        // character), so a run of the dispatcher is told by the events, not by the texts.
        for (int i = 0; i < kInputs; ++i)
            QObject::connect(fields_[i], &QLineEdit::textChanged, fields_[i], [this] { ++change_events_; });
        for (QDateEdit *picker : {f.CalculationDate, f.ExpirationDate})
            QObject::connect(picker, &QDateEdit::dateChanged, picker, [this] { ++change_events_; });
        QObject::connect(f.RadioButtonCall, &QRadioButton::toggled, f.RadioButtonCall, [this] { ++change_events_; });
    }

    static platform::Application &App() { return *static_cast<platform::Application *>(qApp); }

    // Runs the actions one by one and checks the window after each; stops at the first failing one.
    void Run(std::uint64_t seed, const std::vector<Action> &script, std::uint64_t random_actions)
    {
        std::mt19937_64 rng(seed);
        const std::uint64_t count = script.empty() ? random_actions : script.size();
        std::uint64_t i = 0;
        for (; i < count && !HasFailure(); ++i) {
            const Action action = script.empty() ? RandomAction(rng) : script[i];
            const std::string where = "seed " + std::to_string(seed) + ", action #" + std::to_string(i) + ": " +
                                      Describe(action);
            SCOPED_TRACE(where);
            watchdog_.Begin(where);
            Step(action);
        }
        watchdog_.End();
        std::cout << "[ random   ] seed " << seed << ": " << i << " actions, " << boxes_seen_ << " boxes, "
                  << price_runs_ << " price and " << volatility_runs_ << " implied-volatility results checked, "
                  << charts_ << " actions left a chart\n";
    }

private:
    Snapshot Take()
    {
        Snapshot s;
        for (int i = 0; i < kFields; ++i)
            s.texts[i] = fields_[i]->text();
        s.call = Form().RadioButtonCall->isChecked();
        s.calculation = Form().CalculationDate->date();
        s.expiration = Form().ExpirationDate->date();
        return s;
    }

    QDateEdit *Picker(int which) { return which == 0 ? Form().CalculationDate : Form().ExpirationDate; }

    QRadioButton *Radio(int which) { return which == 0 ? Form().RadioButtonCall : Form().RadioButtonPut; }

    int FocusedInput()
    {
        QWidget *focus = Form().focusWidget();
        for (int i = 0; i < kInputs; ++i)
            if (fields_[i] == focus)
                return i;
        return -1;
    }

    bool Readable(int field)
    {
        try {
            const std::string text = Utf8(fields_[field]->text());
            if (field == kLife)
                calculator::ParseWhole(text);
            calculator::ParseReal(text);
            return true;
        } catch (const platform::Exception &) {
            return false;
        }
    }

    Action RandomAction(std::mt19937_64 &rng)
    {
        const auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<std::uint64_t>(n)); };
        Action a;
        const int kind = roll(100);
        if (kind < 62) {
            a.kind = Action::kKey;
            const int focused = FocusedInput();
            a.target = focused >= 0 && roll(4) != 0 ? focused : roll(kInputs);
            const int key = roll(100);
            static constexpr char kLetters[] = "abxzE";
            if (key < 45)
                a.key = static_cast<char>('0' + roll(10));
            else if (key < 53)
                a.key = calculator::DecimalSeparator();
            else if (key < 57)
                a.key = '-';
            else if (key < 60)
                a.key = '+';
            else if (key < 64)
                a.key = 'e';
            else if (key < 67)
                a.key = kLetters[roll(sizeof kLetters - 1)];
            else if (key < 70)
                a.key = ' ';
            else if (key < 95)
                a.key = kBackspace;
            else
                a.key = kSelectAllDelete;
            // A user wants results: fills an empty field, mends a text the program refused and
            // shortens a long one, more often than not.
            const QString current = fields_[a.target]->text();
            if (current.isEmpty() && roll(4) != 0)
                a.key = static_cast<char>('0' + roll(10));
            else if (key < 70 && (!Readable(a.target) || current.size() > (a.target == kLife ? 4 : 7)) && roll(4) != 0)
                a.key = kBackspace;
        } else if (kind < 72) {
            a.kind = Action::kClickField;
            a.target = roll(kInputs);
        } else if (kind < 77) {
            a.kind = roll(2) == 0 ? Action::kTab : Action::kBacktab;
        } else if (kind < 85) {
            a.kind = Action::kClickRadio;
            a.target = roll(2);
        } else {
            a.kind = Action::kStepDate;
            a.target = roll(2);
            static constexpr QDateTimeEdit::Section kSections[] = {
                QDateTimeEdit::DaySection, QDateTimeEdit::MonthSection, QDateTimeEdit::YearSection};
            a.section = kSections[roll(3)];
            a.up = roll(2) == 0;
        }
        return a;
    }

    std::string Describe(const Action &a)
    {
        std::ostringstream out;
        switch (a.kind) {
        case Action::kKey:
            out << "key ";
            if (a.key == kBackspace)
                out << "Backspace";
            else if (a.key == kSelectAllDelete)
                out << "Ctrl+A, Delete";
            else
                out << '\'' << a.key << '\'';
            out << " into " << fields_[a.target]->objectName().toStdString() << " (text \""
                << Utf8(fields_[a.target]->text()) << "\")";
            break;
        case Action::kClickField:
            out << "click on " << fields_[a.target]->objectName().toStdString();
            break;
        case Action::kTab:
        case Action::kBacktab:
            out << (a.kind == Action::kTab ? "Tab" : "Shift+Tab") << " from " << Describe(Form().focusWidget());
            break;
        case Action::kClickRadio:
            out << "click on " << Radio(a.target)->objectName().toStdString();
            break;
        case Action::kStepDate:
            out << (a.up ? "Up" : "Down") << " on the "
                << (a.section == QDateTimeEdit::DaySection     ? "day"
                    : a.section == QDateTimeEdit::MonthSection ? "month"
                                                               : "year")
                << " of " << Picker(a.target)->objectName().toStdString() << " ("
                << Picker(a.target)->date().toString(Qt::ISODate).toStdString() << ")";
            break;
        case Action::kClose:
            out << "click on Close";
            break;
        }
        return out.str();
    }

    // Performs the action as a user would.
    void Perform(const Action &a)
    {
        Activate();
        switch (a.kind) {
        case Action::kKey: {
            QLineEdit *field = fields_[a.target];
            if (Form().focusWidget() != field)
                QTest::mouseClick(field, Qt::LeftButton);
            if (a.key == kBackspace) {
                QTest::keyClick(field, Qt::Key_Backspace);
            } else if (a.key == kSelectAllDelete) {
                QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(field, Qt::Key_Delete);
            } else {
                QTest::keyClick(field, a.key);
            }
            break;
        }
        case Action::kClickField:
            QTest::mouseClick(fields_[a.target], Qt::LeftButton);
            break;
        case Action::kTab:
        case Action::kBacktab: {
            QWidget *from = Form().focusWidget() ? Form().focusWidget() : &Form();
            QTest::keyClick(from, a.kind == Action::kTab ? Qt::Key_Tab : Qt::Key_Backtab);
            break;
        }
        case Action::kClickRadio:
            Click(Radio(a.target));
            break;
        case Action::kStepDate: {
            QDateEdit *picker = Picker(a.target);
            Focus(picker);
            picker->setCurrentSection(a.section);
            QTest::keyClick(picker, a.up ? Qt::Key_Up : Qt::Key_Down);
            break;
        }
        case Action::kClose:
            ClickCentre(Form().ButtonClose);
            EXPECT_FALSE(Form().isVisible()) << "Close left the window open";
            break;
        }
    }

    void Step(const Action &a)
    {
        const Snapshot before = Take();
        const std::uint64_t events_before = change_events_;
        Perform(a);
        const bool changed = change_events_ != events_before;
        QCoreApplication::processEvents();
        const Snapshot after = Take();
        const std::vector<RecordedBox> boxes = TakeBoxes();
        boxes_seen_ += boxes.size();

        ASSERT_EQ(App().EscapedErrors(), escaped_at_start_) << "an error reached the application's last net";
        for (const RecordedBox &box : boxes) {
            EXPECT_TRUE(IsOwnMessage(box, before, after)) << "box " << testing::PrintToString(box);
        }
        CheckChart();
        if (boxes.empty())
            CheckOutputs(a, changed, before, after);
        if (HasFailure())
            ADD_FAILURE() << "the window before the action: " << Print(before) << "\nafter it: " << Print(after)
                          << "\nfocus on " << Describe(Form().focusWidget());
    }

    std::string Print(const Snapshot &s)
    {
        std::ostringstream out;
        for (int i = 0; i < kFields; ++i)
            out << fields_[i]->objectName().toStdString() << " \"" << Utf8(s.texts[i]) << "\", ";
        out << (s.call ? "call" : "put") << ", " << s.calculation.toString(Qt::ISODate).toStdString() << " to "
            << s.expiration.toString(Qt::ISODate).toStdString();
        return out.str();
    }

    static std::string Describe(const QWidget *widget)
    {
        return widget ? widget->objectName().toStdString() : "nothing";
    }

    // The system's own messages only, each with the error display's full stop.
    bool IsOwnMessage(const RecordedBox &box, const Snapshot &before, const Snapshot &after)
    {
        if (box == MathReportBox("log: SING error") || box == MathReportBox("log: DOMAIN error") ||
            box == MathReportBox("exp: OVERFLOW error") || box == MathReportBox("sqrt: DOMAIN error"))
            return true;
        for (const char *fault :
             {"Invalid floating point operation.", "Floating point division by zero.", "Floating point overflow."})
            if (box == ErrorBox(QString::fromLatin1(fault)))
                return true;
        for (const Snapshot *s : {&before, &after}) {
            for (int i = 0; i < kInputs; ++i)
                if (box == ErrorBox(QStringLiteral("'%1' is not a valid floating point value.").arg(s->texts[i])))
                    return true;
            if (box == ErrorBox(QStringLiteral("'%1' is not a valid integer value.").arg(s->texts[kLife])))
                return true;
        }
        return false;
    }

    void CheckChart()
    {
        const auto &legs = Form().Legs();
        if (legs.empty())
            return;
        ++charts_;
        EXPECT_EQ(legs.size(), 2u);
        for (const platform::TLineSeries *series : {Form().LineSeries1, Form().LineSeries2}) {
            const QList<QPointF> points = series->points();
            EXPECT_EQ(points.size(), 5) << series->objectName().toStdString();
            for (qsizetype i = 1; i < points.size(); ++i)
                EXPECT_LE(points[i - 1].x(), points[i].x())
                    << series->objectName().toStdString() << " point " << i << " out of order";
        }
    }

    // Where a mode ran, its outputs are what a fresh computation gives; elsewhere no output moved.
    void CheckOutputs(const Action &a, bool changed, const Snapshot &before, const Snapshot &after)
    {
        const bool typed_opt_price = a.kind == Action::kKey && a.target == kOptPrice;
        const bool typed_vol = a.kind == Action::kKey && a.target == kVol;
        const Outcome outcome = changed ? Derive() : Outcome{};
        switch (outcome.kind) {
        case Outcome::kUnknown:
            return;
        case Outcome::kNone:
            for (int i = kDelta; i < kFields; ++i) {
                EXPECT_EQ(after.texts[i], before.texts[i]) << fields_[i]->objectName().toStdString();
            }
            if (!typed_opt_price) {
                EXPECT_EQ(after.texts[kOptPrice], before.texts[kOptPrice]);
            }
            if (!typed_vol) {
                EXPECT_EQ(after.texts[kVol], before.texts[kVol]);
            }
            return;
        case Outcome::kPrice:
            ++price_runs_;
            EXPECT_EQ(after.texts[kOptPrice], outcome.written) << "option price";
            if (!typed_vol) {
                EXPECT_EQ(after.texts[kVol], before.texts[kVol]);
            }
            break;
        case Outcome::kVolatility:
            ++volatility_runs_;
            EXPECT_EQ(after.texts[kVol], outcome.written) << "volatility";
            if (!typed_opt_price) {
                EXPECT_EQ(after.texts[kOptPrice], before.texts[kOptPrice]);
            }
            break;
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(after.texts[kDelta + i], outcome.greeks[i]) << fields_[kDelta + i]->objectName().toStdString();
        }
        if (a.kind == Action::kStepDate) {
            EXPECT_EQ(after.texts[kLife].toLongLong(), std::abs(after.calculation.daysTo(after.expiration)));
        }
    }

    Outcome Derive()
    {
        const auto text = [this](int i) { return Utf8(fields_[i]->text()); };
        const auto filled = [this](int i) { return !fields_[i]->text().isEmpty(); };
        const bool in_opt_price = Form().focusWidget() == fields_[kOptPrice];
        const bool common = filled(kLife) && filled(kSecurity) && filled(kStrike);
        const bool price = common && filled(kVol) && !in_opt_price;
        const bool volatility = common && filled(kOptPrice) && in_opt_price;
        if (!price && !volatility)
            return {};

        Outcome outcome;
        try {
            using calculator::kPercent, calculator::kYearsPerDay, calculator::ParseReal, calculator::ParseWhole,
                calculator::ScaledParameter;
            platform::ClearStaleFaults();
            if (ParseWhole(text(kLife)) <= 0 || ParseReal(text(kSecurity)) <= 0 || ParseReal(text(kStrike)) <= 0 ||
                ParseReal(text(price ? kVol : kOptPrice)) <= 0)
                return {};
            const double S = platform::StoreDouble(ParseReal(text(kSecurity)));
            const double K = platform::StoreDouble(ParseReal(text(kStrike)));
            const double T = ScaledParameter(ParseReal(text(kLife)), kYearsPerDay);
            const double given = price ? ScaledParameter(ParseReal(text(kVol)), kPercent)
                                       : platform::StoreDouble(ParseReal(text(kOptPrice)));
            const double r = ScaledParameter(ParseReal(text(kRate)), kPercent);
            const double D = platform::StoreDouble(ParseReal(text(kDividend)));
            const bool call = Form().RadioButtonCall->isChecked();

            double sigma = given;
            if (price) {
                outcome.kind = Outcome::kPrice;
                outcome.written = Shown(call ? pricing::CallPriceDiv(S, K, r, sigma, T, D)
                                             : pricing::PutPriceDiv(S, K, r, sigma, T, D),
                                        -4);
            } else {
                outcome.kind = Outcome::kVolatility;
                sigma = call ? pricing::CallImpliedVolDiv(S, K, r, T, given, D)
                             : pricing::PutImpliedVolDiv(S, K, r, T, given, D);
                outcome.written = Shown(ScaledParameter(sigma, 100.0L), 0);
            }
            double delta = 0, gamma = 0, theta = 0, vega = 0, rho = 0;
            if (call)
                pricing::CallGreeksDiv(S, K, r, sigma, T, D, delta, gamma, theta, vega, rho);
            else
                pricing::PutGreeksDiv(S, K, r, sigma, T, D, delta, gamma, theta, vega, rho);
            outcome.greeks = {Shown(delta, -4), Shown(gamma, -4), Shown(theta, -4),
                              Shown(ScaledParameter(vega, kPercent), -4)};
        } catch (const platform::Exception &) {
            outcome.kind = Outcome::kUnknown;
        }
        if (!TakeBoxes().empty())
            outcome.kind = Outcome::kUnknown;
        return outcome;
    }

    std::array<QLineEdit *, kFields> fields_{};
    int escaped_at_start_ = 0;
    std::uint64_t change_events_ = 0;
    Watchdog watchdog_{std::chrono::seconds(60)};
    std::uint64_t boxes_seen_ = 0;
    std::uint64_t price_runs_ = 0;
    std::uint64_t volatility_runs_ = 0;
    std::uint64_t charts_ = 0;
};

TEST_F(RandomUserTest, EveryActionLeavesTheWindowConsistent)
{
    Run(EnvNumber("VARIGON_SEED", 20240611), {}, EnvNumber("VARIGON_ACTIONS", 5000));
}

Action Key(Field field, char key)
{
    return {Action::kKey, field, key};
}

std::vector<Action> Keys(Field field, const std::string &keys)
{
    std::vector<Action> actions;
    for (const char key : keys)
        actions.push_back(Key(field, key));
    return actions;
}

Action StepDate(int picker, QDateTimeEdit::Section section, bool up)
{
    return {Action::kStepDate, picker, 0, section, up};
}

// A short fixed session touching every path once: it is what runs under the memory checker.
TEST_F(RandomUserTest, ScriptedSession)
{
    std::vector<Action> script;
    const auto add = [&script](const std::vector<Action> &more) { script.insert(script.end(), more.begin(), more.end()); };
    add({Key(kLife, kSelectAllDelete)});
    add(Keys(kLife, "30"));
    add(Keys(kSecurity, "100"));
    add(Keys(kStrike, "100"));
    add(Keys(kVol, "25"));
    add({{Action::kClickRadio, 1}, {Action::kClickRadio, 0}});
    add(Keys(kOptPrice, "\x7f" "3.02"));
    add(Keys(kOptPrice, "\b\b\b\b" "100"));
    add({{Action::kClickRadio, 1}, {Action::kClickField, kOptPrice}});
    add(Keys(kOptPrice, "\b"));
    add({StepDate(1, QDateTimeEdit::MonthSection, true), StepDate(1, QDateTimeEdit::DaySection, true),
         StepDate(0, QDateTimeEdit::DaySection, true), StepDate(0, QDateTimeEdit::YearSection, false)});
    add(Keys(kStrike, "x\b"));
    add(Keys(kDividend, "\x7f" "150"));
    add(Keys(kRate, "\b-1e9"));
    add({{Action::kTab}, {Action::kTab}, {Action::kBacktab}});
    add({{Action::kClose}});
    Run(0, script, 0);
}

} // namespace
