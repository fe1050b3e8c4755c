#include "ui/mylabel.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace {

const QColor kBackground(255, 255, 0);
const QColor kFace(0, 0, 255);
const QColor kGray(128, 128, 128);
const QColor kWhite(255, 255, 255);

std::string Name(T3DEffect style)
{
    switch (style) {
    case T3DEffect::Normal3d: return "Normal3d";
    case T3DEffect::Resit3d: return "Resit3d";
    case T3DEffect::Raised3d: return "Raised3d";
    case T3DEffect::Shadowed3d: return "Shadowed3d";
    }
    return "?";
}

std::string Name(const QColor &color)
{
    return "rgb(" + std::to_string(color.red()) + ", " + std::to_string(color.green()) + ", " +
           std::to_string(color.blue()) + ")";
}

// Without antialiasing a glyph moved by whole pixels covers exactly the moved pixels.
QFont CrispFont(int pixelSize)
{
    QFont font("Liberation Sans");
    font.setBold(true);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

std::unique_ptr<TmyLabel3d> MakeLabel(const QString &caption, QSize size = {60, 40}, int pixelSize = 20)
{
    auto label = std::make_unique<TmyLabel3d>();
    label->setFont(CrispFont(pixelSize));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kFace);
    label->setPalette(palette);
    label->setText(caption);
    label->resize(size);
    return label;
}

// Only what the label paints itself lands on the background.
QImage Render(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(kBackground);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

struct Layer {
    QColor color;
    int dx = 0;
    int dy = 0;
};

// Paints the ink of a plain rendering once per layer, moved and coloured, in order.
QImage Compose(const QImage &plain, const QColor &ink, const std::vector<Layer> &layers)
{
    QImage expected(plain.size(), QImage::Format_RGB32);
    expected.fill(kBackground);
    for (const Layer &layer : layers)
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                if (plain.pixelColor(x, y) == ink && expected.rect().contains(x + layer.dx, y + layer.dy))
                    expected.setPixelColor(x + layer.dx, y + layer.dy, layer.color);
    return expected;
}

int CountColor(const QImage &image, const QColor &color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == color;
    return count;
}

// Empty when equal, else the number of differing pixels and the first of them.
std::string Difference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return "sizes differ";
    int count = 0;
    std::string first;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixelColor(x, y) != expected.pixelColor(x, y) && count++ == 0)
                first = "at (" + std::to_string(x) + ", " + std::to_string(y) + ") " + Name(actual.pixelColor(x, y)) +
                        " instead of " + Name(expected.pixelColor(x, y));
    return count == 0 ? std::string() : std::to_string(count) + " pixels differ, first " + first;
}

// The rows of ink of one colour, top and bottom; {-1, -1} when there is none.
std::pair<int, int> InkRows(const QImage &image, const QColor &ink)
{
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == ink) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
    return {top, bottom};
}

std::pair<int, int> InkColumns(const QImage &image, const QColor &ink)
{
    return InkRows(image.transformed(QTransform(0, 1, 1, 0, 0, 0)), ink);
}

TEST(Label3dTest, NewLabelHasTheDocumentedValues)
{
    const TmyLabel3d label;
    EXPECT_EQ(label.AStyle3D(), T3DEffect::Normal3d);
    EXPECT_EQ(label.AShadeRightBottom(), 8421504u);
    EXPECT_EQ(label.AShadeLeftTop(), 16777215u);
    EXPECT_EQ(label.AHShadeOffSet(), 5);
    EXPECT_EQ(label.AVShadeOffSet(), -5);
    // The layout format's declared default for AShadeLTSet is true; a new label
    // nevertheless starts false, and only an explicit write makes it true.
    EXPECT_FALSE(label.AShadeLTSet());
    EXPECT_TRUE(label.ShowAccelChar());
    EXPECT_FALSE(label.autoFillBackground()) << "a new label is transparent";
    EXPECT_EQ(sizeof(T3DEffect), 1u);
}

TEST(Label3dTest, ConvertsColourValuesWithRedInTheLowByte)
{
    const QPalette system = QGuiApplication::palette();
    const struct {
        TColor value;
        QColor expected;
    } cases[] = {
        {0x0000FF, QColor(255, 0, 0)},
        {0x00FF00, QColor(0, 255, 0)},
        {0xFF0000, QColor(0, 0, 255)},
        {8421504, kGray},
        {16777215, kWhite},
        {0x123456, QColor(0x56, 0x34, 0x12)},
        {0x80000005, system.color(QPalette::Active, QPalette::Base)},
        {0x80000008, system.color(QPalette::Active, QPalette::Text)},
        {0x8000000F, system.color(QPalette::Active, QPalette::Button)},
        {0x80000011, system.color(QPalette::Disabled, QPalette::Text)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ToQColor(c.value), c.expected) << "value 0x" << std::hex << c.value;
}

TEST(Label3dTest, PropertiesReadAndWriteThroughTheirSetters)
{
    TmyLabel3d label;
    EXPECT_TRUE(label.setProperty("AStyle3D", QVariant::fromValue(T3DEffect::Raised3d)));
    EXPECT_EQ(label.AStyle3D(), T3DEffect::Raised3d);
    EXPECT_TRUE(label.setProperty("AStyle3D", "Shadowed3d")) << "the style's names are known by name";
    EXPECT_EQ(label.AStyle3D(), T3DEffect::Shadowed3d);
    EXPECT_TRUE(label.setProperty("AShadeRightBottom", QVariant::fromValue<TColor>(0x0000FF)));
    EXPECT_EQ(label.AShadeRightBottom(), 0x0000FFu);
    EXPECT_TRUE(label.setProperty("AShadeLeftTop", QVariant::fromValue<TColor>(0x00FF00)));
    EXPECT_EQ(label.AShadeLeftTop(), 0x00FF00u);
    EXPECT_TRUE(label.setProperty("AHShadeOffSet", 3));
    EXPECT_EQ(label.AHShadeOffSet(), 3);
    EXPECT_TRUE(label.setProperty("AVShadeOffSet", -2));
    EXPECT_EQ(label.AVShadeOffSet(), -2);
    EXPECT_TRUE(label.setProperty("AShadeLTSet", true));
    EXPECT_TRUE(label.AShadeLTSet());
    EXPECT_EQ(label.AShadeLeftTop(), 16777215u);
    EXPECT_TRUE(label.setProperty("ShowAccelChar", false));
    EXPECT_FALSE(label.ShowAccelChar());
    EXPECT_EQ(label.property("AVShadeOffSet").toInt(), -2);
    EXPECT_EQ(label.property("AShadeRightBottom").value<TColor>(), 0x0000FFu);
}

// One style's drawing: the shades in order, then the face on top.
struct StyleCase {
    T3DEffect style;
    int hOffset;
    int vOffset;
    TColor shadeRightBottom;
    TColor shadeLeftTop;
    std::vector<Layer> shades;
};

std::ostream &operator<<(std::ostream &os, const StyleCase &c)
{
    os << Name(c.style) << " offsets " << c.hOffset << ", " << c.vOffset << " shades right-bottom 0x" << std::hex
       << c.shadeRightBottom << " left-top 0x" << c.shadeLeftTop << std::dec << ", expected";
    for (const Layer &layer : c.shades)
        os << " " << Name(layer.color) << " at (" << layer.dx << ", " << layer.dy << ")";
    return os << " then the face";
}

class Label3dStyleTest : public testing::TestWithParam<StyleCase> {};

TEST_P(Label3dStyleTest, DrawsTheShadesInOrderAndTheFaceOnTop)
{
    const StyleCase &c = GetParam();
    const auto plain = MakeLabel("H");
    const QImage plainImage = Render(*plain);
    ASSERT_GT(CountColor(plainImage, kFace), 20) << "the plain caption draws its face";

    const auto label = MakeLabel("H");
    label->SetShadowColor(c.shadeRightBottom);
    label->SetWhiteColor(c.shadeLeftTop);
    label->SetFhOffSet(c.hOffset);
    label->SetFvOffSet(c.vOffset);
    label->setStyleEffect(c.style);
    const QImage image = Render(*label);

    std::vector<Layer> layers = c.shades;
    layers.push_back({kFace, 0, 0});
    EXPECT_EQ(Difference(image, Compose(plainImage, kFace, layers)), "") << c;
    for (const Layer &layer : layers)
        EXPECT_GT(CountColor(image, layer.color), 0) << Name(layer.color) << " shows in " << c;
}

INSTANTIATE_TEST_SUITE_P(
    Styles, Label3dStyleTest,
    testing::Values(
        StyleCase{T3DEffect::Normal3d, 5, -5, clGray, clWhite, {}},
        StyleCase{T3DEffect::Normal3d, 1, 1, clGray, clWhite, {}},
        StyleCase{T3DEffect::Resit3d, 5, -5, clGray, clWhite, {{kWhite, 1, 1}, {kGray, -1, -1}}},
        StyleCase{T3DEffect::Resit3d, 1, 1, clGray, clWhite, {{kWhite, 1, 1}, {kGray, -1, -1}}},
        StyleCase{T3DEffect::Raised3d, 5, -5, clGray, clWhite, {{kGray, 1, 1}, {kWhite, -1, -1}}},
        StyleCase{T3DEffect::Raised3d, 1, 1, clGray, clWhite, {{kGray, 1, 1}, {kWhite, -1, -1}}},
        StyleCase{T3DEffect::Shadowed3d, 5, -5, clGray, clWhite, {{kGray, 5, -5}}},
        StyleCase{T3DEffect::Shadowed3d, 1, 1, clGray, clWhite, {{kGray, 1, 1}}},
        StyleCase{T3DEffect::Shadowed3d, -3, 2, clGray, clWhite, {{kGray, -3, 2}}},
        StyleCase{
            T3DEffect::Resit3d, 1, 1, 0x0000FF, 0x00FF00, {{QColor(0, 255, 0), 1, 1}, {QColor(255, 0, 0), -1, -1}}},
        StyleCase{
            T3DEffect::Raised3d, 1, 1, 0x0000FF, 0x00FF00, {{QColor(255, 0, 0), 1, 1}, {QColor(0, 255, 0), -1, -1}}},
        StyleCase{T3DEffect::Shadowed3d, 2, 2, 0x0000FF, 0x00FF00, {{QColor(255, 0, 0), 2, 2}}}));

TEST(Label3dTest, DisabledLabelDrawsItsFaceInTheSystemGreyTextAndKeepsItsShades)
{
    const QColor grey = QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
    ASSERT_NE(grey, kGray) << "the system grey must differ from the dark shade to tell them apart";
    ASSERT_NE(grey, kWhite);
    const auto plain = MakeLabel("H");
    const QImage plainImage = Render(*plain);

    // The label's own colour, set for every group, must not leak into the disabled face.
    const auto label = MakeLabel("H");
    label->setStyleEffect(T3DEffect::Resit3d);
    label->setEnabled(false);
    const QImage image = Render(*label);

    EXPECT_EQ(Difference(image, Compose(plainImage, kFace, {{kWhite, 1, 1}, {kGray, -1, -1}, {grey, 0, 0}})), "")
        << "disabled Resit3d, system grey " << Name(grey);
    EXPECT_EQ(CountColor(image, kFace), 0);
}

TEST(Label3dTest, EmptyCaptionDrawsNothingInAnyStyle)
{
    for (T3DEffect style : {T3DEffect::Normal3d, T3DEffect::Resit3d, T3DEffect::Raised3d, T3DEffect::Shadowed3d}) {
        const auto label = MakeLabel("");
        label->setStyleEffect(style);
        EXPECT_EQ(CountColor(Render(*label), kBackground), 60 * 40) << Name(style);
    }
}

TEST(Label3dTest, FillsTheBackgroundOnlyWhenNotTransparent)
{
    const QColor fill(10, 200, 30);
    const auto label = MakeLabel("H");
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, fill);
    label->setPalette(palette);
    const QImage transparent = Render(*label);
    EXPECT_EQ(CountColor(transparent, fill), 0);
    EXPECT_GT(CountColor(transparent, kBackground), 0);

    label->setAutoFillBackground(true);
    const QImage filled = Render(*label);
    EXPECT_EQ(CountColor(filled, kBackground), 0);
    EXPECT_EQ(CountColor(filled, fill) + CountColor(filled, kFace), 60 * 40);
}

struct AlignmentCase {
    Qt::Alignment alignment;
    const char *name;
    bool atLeft;
    bool atRight;
};

std::ostream &operator<<(std::ostream &os, const AlignmentCase &c)
{
    return os << "alignment " << c.name;
}

class Label3dAlignmentTest : public testing::TestWithParam<AlignmentCase> {};

TEST_P(Label3dAlignmentTest, FollowsTheHorizontalAlignmentAndAlwaysStartsAtTheTop)
{
    const AlignmentCase &c = GetParam();
    const auto top = MakeLabel("I", {80, 60});
    top->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const auto label = MakeLabel("I", {80, 60});
    label->setAlignment(c.alignment);
    const QImage image = Render(*label);

    const auto [left, right] = InkColumns(image, kFace);
    EXPECT_EQ(InkRows(image, kFace), InkRows(Render(*top), kFace)) << c;
    EXPECT_EQ(left < 10, c.atLeft) << c << ", ink from column " << left;
    EXPECT_EQ(right > 70, c.atRight) << c << ", ink to column " << right;
}

INSTANTIATE_TEST_SUITE_P(Alignments, Label3dAlignmentTest,
                         testing::Values(AlignmentCase{Qt::AlignLeft | Qt::AlignVCenter, "left, vertically centred",
                                                       true, false},
                                         AlignmentCase{Qt::AlignRight | Qt::AlignBottom, "right, bottom", false, true},
                                         AlignmentCase{Qt::AlignHCenter | Qt::AlignVCenter, "centred", false, false},
                                         AlignmentCase{Qt::AlignCenter, "centred both ways", false, false}));

TEST(Label3dTest, BreaksWordsAndExpandsTabsWhateverWordWrapSays)
{
    const auto wrapped = MakeLabel("HH HH", {50, 80});
    wrapped->setWordWrap(false);
    const auto [top, bottom] = InkRows(Render(*wrapped), kFace);
    EXPECT_GT(bottom - top, QFontMetrics(CrispFont(20)).lineSpacing()) << "two lines, rows " << top << " to " << bottom;

    const auto spaced = MakeLabel("I I", {200, 40});
    const auto tabbed = MakeLabel("I\tI", {200, 40});
    const int spacedWidth = InkColumns(Render(*spaced), kFace).second;
    const int tabbedWidth = InkColumns(Render(*tabbed), kFace).second;
    EXPECT_GT(tabbedWidth, spacedWidth + 20)
        << "a tab reaches the next tab stop: ink to " << tabbedWidth << ", with a space to " << spacedWidth;
}

struct AccelCase {
    bool showAccel;
    QString caption;
    bool referenceShowAccel;
    QString reference;
};

std::ostream &operator<<(std::ostream &os, const AccelCase &c)
{
    return os << "\"" << c.caption.toStdString() << "\" with ShowAccelChar " << c.showAccel << " against \""
              << c.reference.toStdString() << "\" with ShowAccelChar " << c.referenceShowAccel;
}

class Label3dAccelTest : public testing::TestWithParam<AccelCase> {};

TEST_P(Label3dAccelTest, DrawsLikeItsEquivalent)
{
    const AccelCase &c = GetParam();
    const auto label = MakeLabel(c.caption, {120, 40});
    label->SetShowAccelChar(c.showAccel);
    const auto reference = MakeLabel(c.reference, {120, 40});
    reference->SetShowAccelChar(c.referenceShowAccel);
    const QImage image = Render(*label);
    EXPECT_GT(CountColor(image, kFace), 20) << c;
    EXPECT_EQ(Difference(image, Render(*reference)), "") << c;
}

INSTANTIATE_TEST_SUITE_P(Captions, Label3dAccelTest,
                         testing::Values(AccelCase{true, "&&", false, "&"}, AccelCase{true, "A&&B", false, "A&B"},
                                         AccelCase{false, "&H", true, "&&H"},
                                         AccelCase{false, "A&&B", true, "A&&&&B"}));

TEST(Label3dTest, AccelMarkUnderlinesTheNextCharacterOnlyWhenShown)
{
    const auto marked = MakeLabel("&H");
    const auto plain = MakeLabel("H");
    plain->SetShowAccelChar(false);
    const QImage markedImage = Render(*marked);
    const QImage plainImage = Render(*plain);
    const int glyphBottom = InkRows(plainImage, kFace).second;

    int extra = 0;
    for (int y = 0; y < plainImage.height(); ++y)
        for (int x = 0; x < plainImage.width(); ++x) {
            if (plainImage.pixelColor(x, y) == kFace)
                EXPECT_EQ(markedImage.pixelColor(x, y), kFace) << "the glyph's pixel " << x << ", " << y;
            else if (markedImage.pixelColor(x, y) == kFace) {
                ++extra;
                EXPECT_GT(y, glyphBottom) << "an extra pixel at " << x << ", " << y << " is not below the glyph";
            }
        }
    EXPECT_GT(extra, 0) << "\"&H\" underlines the H";

    marked->SetShowAccelChar(false);
    EXPECT_GT(InkColumns(Render(*marked), kFace).second, InkColumns(plainImage, kFace).second + 5)
        << "with ShowAccelChar false \"&\" shows as itself";
}

TEST(Label3dTest, DrawsALongCaptionWhole)
{
    QString caption;
    for (int i = 0; caption.size() < 1500; ++i)
        caption += QString("word%1 ").arg(i);
    caption += "END";
    const QSize size(300, 700);
    const auto label = MakeLabel(caption, size, 12);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
    const QFontMetrics metrics(CrispFont(12));
    const QRect text = metrics.boundingRect(QRect(QPoint(), size), flags, caption);
    ASSERT_LT(text.bottom(), size.height()) << "the label must be tall enough for " << caption.size() << " characters";
    ASSERT_GT(text.height(), 20 * metrics.lineSpacing());

    const int lowestInk = InkRows(Render(*label), kFace).second;
    EXPECT_GT(lowestInk, text.bottom() - metrics.lineSpacing())
        << caption.size() << " characters in " << text.height() << " pixels of text, ink ends at row " << lowestInk;
    EXPECT_LE(lowestInk, text.bottom());
}

TEST(Label3dTest, LeftTopShadeHeldWhiteWhileShadeLTSetAndRestoredAfter)
{
    const struct {
        const char *steps;
        std::function<void(TmyLabel3d &)> run;
        TColor expectedLeftTop;
        bool expectedSet;
    } cases[] = {
        {"assign red", [](TmyLabel3d &l) { l.SetWhiteColor(0x0000FF); }, 0x0000FF, false},
        {"assign red, set true", [](TmyLabel3d &l) { l.SetWhiteColor(0x0000FF), l.SetShadeLT(true); }, clWhite, true},
        {"assign red, set true, assign green",
         [](TmyLabel3d &l) { l.SetWhiteColor(0x0000FF), l.SetShadeLT(true), l.SetWhiteColor(0x00FF00); }, clWhite,
         true},
        {"assign red, set true, assign green, set false",
         [](TmyLabel3d &l) {
             l.SetWhiteColor(0x0000FF), l.SetShadeLT(true), l.SetWhiteColor(0x00FF00), l.SetShadeLT(false);
         },
         0x0000FF, false},
        {"assign red, set true twice, set false",
         [](TmyLabel3d &l) { l.SetWhiteColor(0x0000FF), l.SetShadeLT(true), l.SetShadeLT(true), l.SetShadeLT(false); },
         0x0000FF, false},
        {"set false on a new label", [](TmyLabel3d &l) { l.SetShadeLT(false); }, clWhite, false},
        {"set true, set false, assign green",
         [](TmyLabel3d &l) { l.SetShadeLT(true), l.SetShadeLT(false), l.SetWhiteColor(0x00FF00); }, 0x00FF00, false},
    };
    for (const auto &c : cases) {
        TmyLabel3d label;
        c.run(label);
        EXPECT_EQ(label.AShadeLeftTop(), c.expectedLeftTop) << c.steps;
        EXPECT_EQ(label.AShadeLTSet(), c.expectedSet) << c.steps;
    }
}

// Counts the events of one type that reach the object it filters.
class EventCounter : public QObject {
public:
    explicit EventCounter(QEvent::Type type) : type_(type) {}

    int count = 0;

    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == type_;
        return false;
    }

private:
    QEvent::Type type_;
};

struct RepaintCase {
    const char *call;
    std::function<void(TmyLabel3d &)> prepare;
    std::function<void(TmyLabel3d &)> run;
    bool repaints;
};

std::ostream &operator<<(std::ostream &os, const RepaintCase &c)
{
    return os << c.call << (c.repaints ? " repaints" : " does not repaint");
}

// A label and, apart from it, a sentinel in one shown window: once the sentinel has
// repainted after an update of its own, the label's pending repaint has run too.
class Label3dRepaintTest : public testing::TestWithParam<RepaintCase> {
protected:
    void SetUp() override
    {
        window_.resize(200, 60);
        label_->setGeometry(0, 0, 80, 40);
        label_->setText("H");
        sentinel_->setGeometry(100, 0, 80, 40);
        label_->installEventFilter(&labelPaints_);
        sentinel_->installEventFilter(&sentinelPaints_);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        Settle();
    }

    void Settle()
    {
        const int before = sentinelPaints_.count;
        sentinel_->update();
        ASSERT_TRUE(QTest::qWaitFor([&] { return sentinelPaints_.count > before; }));
    }

    QWidget window_;
    TmyLabel3d *label_ = new TmyLabel3d(&window_);
    QWidget *sentinel_ = new QWidget(&window_);
    EventCounter labelPaints_{QEvent::Paint};
    EventCounter sentinelPaints_{QEvent::Paint};
};

TEST_P(Label3dRepaintTest, RepaintsOnlyWhenTheSetterSaysSo)
{
    const RepaintCase &c = GetParam();
    if (c.prepare) {
        c.prepare(*label_);
        Settle();
    }
    const int before = labelPaints_.count;
    c.run(*label_);
    Settle();
    EXPECT_EQ(labelPaints_.count > before, c.repaints) << c;
}

INSTANTIATE_TEST_SUITE_P(
    Setters, Label3dRepaintTest,
    testing::Values(
        RepaintCase{
            "setStyleEffect(Normal3d)", {}, [](TmyLabel3d &l) { l.setStyleEffect(T3DEffect::Normal3d); }, false},
        RepaintCase{"setStyleEffect(Resit3d)", {}, [](TmyLabel3d &l) { l.setStyleEffect(T3DEffect::Resit3d); }, true},
        RepaintCase{"SetShadowColor(8421504)", {}, [](TmyLabel3d &l) { l.SetShadowColor(8421504); }, false},
        RepaintCase{"SetShadowColor(0)", {}, [](TmyLabel3d &l) { l.SetShadowColor(0); }, true},
        RepaintCase{"SetWhiteColor(16777215)", {}, [](TmyLabel3d &l) { l.SetWhiteColor(16777215); }, false},
        RepaintCase{"SetWhiteColor(0)", {}, [](TmyLabel3d &l) { l.SetWhiteColor(0); }, true},
        RepaintCase{"SetWhiteColor(0) while AShadeLTSet", [](TmyLabel3d &l) { l.SetShadeLT(true); },
                    [](TmyLabel3d &l) { l.SetWhiteColor(0); }, false},
        RepaintCase{"SetFhOffSet(5)", {}, [](TmyLabel3d &l) { l.SetFhOffSet(5); }, false},
        RepaintCase{"SetFhOffSet(1)", {}, [](TmyLabel3d &l) { l.SetFhOffSet(1); }, true},
        RepaintCase{"SetFvOffSet(-5)", {}, [](TmyLabel3d &l) { l.SetFvOffSet(-5); }, false},
        RepaintCase{"SetFvOffSet(1)", {}, [](TmyLabel3d &l) { l.SetFvOffSet(1); }, true},
        RepaintCase{"SetShadeLT(false) on a new label", {}, [](TmyLabel3d &l) { l.SetShadeLT(false); }, true},
        RepaintCase{"SetShadeLT(true)", {}, [](TmyLabel3d &l) { l.SetShadeLT(true); }, true},
        RepaintCase{"SetShadeLT(true) again", [](TmyLabel3d &l) { l.SetShadeLT(true); },
                    [](TmyLabel3d &l) { l.SetShadeLT(true); }, true},
        RepaintCase{"SetShowAccelChar(true)", {}, [](TmyLabel3d &l) { l.SetShowAccelChar(true); }, false},
        RepaintCase{"SetShowAccelChar(false)", {}, [](TmyLabel3d &l) { l.SetShowAccelChar(false); }, true}));

// The pointer's events as the window system delivers them to the label.
void Send(QWidget &target, char event, QPoint at)
{
    const QPointF local(at);
    const QPointF global(target.mapToGlobal(at));
    switch (event) {
    case 'E': {
        QEnterEvent enter(local, local, global);
        QApplication::sendEvent(&target, &enter);
        break;
    }
    case 'M': {
        QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &move);
        break;
    }
    case 'L': {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&target, &leave);
        break;
    }
    }
}

TEST(Label3dPointerTest, RaisesOnMouseOutOncePerLeave)
{
    const struct {
        const char *events;
        int expected;
    } cases[] = {
        {"EM", 0}, {"EML", 1}, {"EMMMLM", 1}, {"EMLEML", 2}, {"ELEL", 2}, {"L", 0}, {"EMLL", 1}, {"EEML", 1},
    };
    for (const auto &c : cases) {
        TmyLabel3d label;
        label.resize(60, 20);
        QSignalSpy out(&label, &TmyLabel3d::OnMouseOut);
        for (const char *e = c.events; *e; ++e)
            Send(label, *e, {30, 10});
        EXPECT_EQ(out.count(), c.expected) << "events " << c.events << " (E enter, M move, L leave)";
    }
}

// The pointer moved by the window system across each edge of the label.
// A 60 x 20 label at (50, 30) in a shown window of its own.
struct LabelInWindow {
    QWidget window;
    TmyLabel3d *label = new TmyLabel3d(&window);

    LabelInWindow()
    {
        window.resize(200, 100);
        label->setGeometry(50, 30, 60, 20);
        window.show();
    }
};

TEST(Label3dPointerTest, RaisesOnMouseOutWhenThePointerCrossesAnyEdge)
{
    LabelInWindow shown;
    QWidget &window = shown.window;
    TmyLabel3d *label = shown.label;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy out(label, &TmyLabel3d::OnMouseOut);

    const QPoint centre = label->geometry().center();
    const struct {
        const char *edge;
        QPoint lastInside;
        QPoint firstOutside;
    } cases[] = {
        {"left", {50, centre.y()}, {49, centre.y()}},
        {"right", {109, centre.y()}, {110, centre.y()}},
        {"top", {centre.x(), 30}, {centre.x(), 29}},
        {"bottom", {centre.x(), 49}, {centre.x(), 50}},
    };
    QWindow *handle = window.windowHandle();
    QTest::mouseMove(handle, {5, 5});
    int expected = 0;
    for (int round = 0; round < 2; ++round)
        for (const auto &c : cases) {
            QTest::mouseMove(handle, centre);
            QTest::mouseMove(handle, c.lastInside);
            EXPECT_EQ(out.count(), expected) << c.edge << " edge, pointer at " << c.lastInside.x() << ", "
                                             << c.lastInside.y() << " in the window, round " << round;
            QTest::mouseMove(handle, c.firstOutside);
            EXPECT_EQ(out.count(), ++expected) << c.edge << " edge, pointer at " << c.firstOutside.x() << ", "
                                               << c.firstOutside.y() << " in the window, round " << round;
        }
}

// With a button held Qt holds back the leave until the release; the crossing still
// counts. Every row ends released: the button state outlives the window.
TEST(Label3dPointerTest, RaisesOnMouseOutWhenDraggedAcrossTheEdge)
{
    const struct {
        const char *steps;
        const char *expected;
    } cases[] = {
        {"iPoR", "0011"}, {"iPoioR", "001122"}, {"iPoiRo", "001112"}, {"iPoRio", "001112"},
        {"iPRo", "0001"}, {"iPiiR", "00000"},   {"iPoooR", "001111"},
    };
    for (const auto &c : cases) {
        LabelInWindow shown;
        QWidget &window = shown.window;
        TmyLabel3d *label = shown.label;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QSignalSpy out(label, &TmyLabel3d::OnMouseOut);
        QWindow *handle = window.windowHandle();
        QTest::mouseMove(handle, {5, 5});

        QPoint at;
        std::string counts;
        for (const char *step = c.steps; *step; ++step) {
            switch (*step) {
            case 'i': QTest::mouseMove(handle, at = {80, 40}); break;
            case 'o': QTest::mouseMove(handle, at = {150, 40}); break;
            case 'P': QTest::mousePress(handle, Qt::LeftButton, {}, at); break;
            case 'R': QTest::mouseRelease(handle, Qt::LeftButton, {}, at); break;
            }
            counts += std::to_string(out.count());
        }
        EXPECT_EQ(counts, c.expected) << "steps " << c.steps
                                      << " (i move in, o move out, P press, R release), OnMouseOut after each step";
    }
}


// A plain label passes pointer moves on to its parent; ours keeps them from
// everything behind it.
TEST(Label3dPointerTest, PointerMovesReachNoHandlerBehindTheLabel)
{
    const struct {
        bool ours;
        Qt::MouseButtons buttons;
        int expected;
    } cases[] = {
        {false, Qt::NoButton, 1},  {false, Qt::LeftButton, 1}, {true, Qt::NoButton, 0},
        {true, Qt::LeftButton, 0}, {true, Qt::RightButton, 0},
    };
    for (const auto &c : cases) {
        QWidget parent;
        parent.setMouseTracking(true);
        QLabel *label = c.ours ? new TmyLabel3d(&parent) : new QLabel(&parent);
        label->setMouseTracking(true);
        label->setGeometry(0, 0, 60, 20);
        EventCounter parentMoves(QEvent::MouseMove);
        parent.installEventFilter(&parentMoves);
        QMouseEvent move(QEvent::MouseMove, QPointF(30, 10), QPointF(30, 10), Qt::NoButton, c.buttons, Qt::NoModifier);
        QApplication::sendEvent(label, &move);
        EXPECT_EQ(parentMoves.count, c.expected)
            << (c.ours ? "TmyLabel3d" : "QLabel") << ", buttons 0x" << std::hex << c.buttons.toInt();
    }
}

TEST(Label3dPointerTest, ClickNeedsALeftPressAndReleaseBothOnTheLabel)
{
    const struct {
        Qt::MouseButton button;
        QPoint press;
        QPoint release;
        int expected;
    } cases[] = {
        {Qt::LeftButton, {30, 10}, {30, 10}, 1},  {Qt::LeftButton, {0, 0}, {59, 19}, 1},
        {Qt::LeftButton, {30, 10}, {60, 10}, 0},  {Qt::LeftButton, {30, 10}, {30, -1}, 0},
        {Qt::RightButton, {30, 10}, {30, 10}, 0},
    };
    for (const auto &c : cases) {
        TmyLabel3d label;
        label.resize(60, 20);
        QSignalSpy clicks(&label, &TmyLabel3d::clicked);
        QTest::mousePress(&label, c.button, Qt::NoModifier, c.press);
        QTest::mouseRelease(&label, c.button, Qt::NoModifier, c.release);
        EXPECT_EQ(clicks.count(), c.expected)
            << "button 0x" << std::hex << c.button << std::dec << " pressed at " << c.press.x() << ", " << c.press.y()
            << " released at " << c.release.x() << ", " << c.release.y();
    }
}

} // namespace
