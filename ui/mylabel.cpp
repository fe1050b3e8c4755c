#include "mylabel.h"

#include <QColor>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace {

constexpr TColor kSystemColorBit = 0x80000000;

struct PaletteEntry {
    QPalette::ColorGroup group = QPalette::Active;
    QPalette::ColorRole role = QPalette::Window;
};

// The desktop's colours by their index; one without a counterpart in a Qt
// palette takes the window background.
PaletteEntry SystemColorEntry(TColor index)
{
    switch (index) {
    case 5: return {QPalette::Active, QPalette::Base};
    case 6: return {QPalette::Active, QPalette::Shadow};
    case 7: return {QPalette::Active, QPalette::WindowText};
    case 8: return {QPalette::Active, QPalette::Text};
    case 12: return {QPalette::Active, QPalette::Dark};
    case 13: return {QPalette::Active, QPalette::Highlight};
    case 14: return {QPalette::Active, QPalette::HighlightedText};
    case 15: return {QPalette::Active, QPalette::Button};
    case 16: return {QPalette::Active, QPalette::Dark};
    case 17: return {QPalette::Disabled, QPalette::Text};
    case 18: return {QPalette::Active, QPalette::ButtonText};
    case 20: return {QPalette::Active, QPalette::Light};
    case 21: return {QPalette::Active, QPalette::Shadow};
    case 22: return {QPalette::Active, QPalette::Midlight};
    case 23: return {QPalette::Active, QPalette::ToolTipText};
    case 24: return {QPalette::Active, QPalette::ToolTipBase};
    case 26: return {QPalette::Active, QPalette::Link};
    case 29: return {QPalette::Active, QPalette::Highlight};
    default: return {};
    }
}

int HorizontalFlag(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return Qt::AlignRight;
    if (alignment & Qt::AlignHCenter)
        return Qt::AlignHCenter;
    return Qt::AlignLeft;
}

} // namespace

QColor ToQColor(TColor color)
{
    if (color & kSystemColorBit) {
        const PaletteEntry entry = SystemColorEntry(color & ~kSystemColorBit);
        return QGuiApplication::palette().color(entry.group, entry.role);
    }
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TmyLabel3d::TmyLabel3d(QWidget *parent) : QLabel(parent) {}

void TmyLabel3d::setStyleEffect(T3DEffect value)
{
    if (value == style_)
        return;
    style_ = value;
    update();
}

void TmyLabel3d::SetShadowColor(TColor value)
{
    if (value == shadeRightBottom_)
        return;
    shadeRightBottom_ = value;
    update();
}

void TmyLabel3d::SetWhiteColor(TColor value)
{
    if (value == shadeLeftTop_ || shadeLTSet_)
        return;
    shadeLeftTop_ = value;
    update();
}

void TmyLabel3d::SetFhOffSet(int value)
{
    if (value == hShadeOffset_)
        return;
    hShadeOffset_ = value;
    update();
}

void TmyLabel3d::SetFvOffSet(int value)
{
    if (value == vShadeOffset_)
        return;
    vShadeOffset_ = value;
    update();
}

void TmyLabel3d::SetShadeLT(bool value)
{
    if (value != shadeLTSet_) {
        shadeLTSet_ = value;
        if (value) {
            savedShadeLeftTop_ = shadeLeftTop_;
            shadeLeftTop_ = clWhite;
        } else {
            shadeLeftTop_ = savedShadeLeftTop_;
        }
    }
    update();
}

void TmyLabel3d::SetShowAccelChar(bool value)
{
    if (value == showAccelChar_)
        return;
    showAccelChar_ = value;
    update();
}

// The background, when the label is not transparent, is Qt's autoFillBackground.
// Word wrapping is always on and the text always starts at the top, whatever
// wordWrap() and the vertical alignment say.
void TmyLabel3d::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.save();
    drawFrame(&painter);
    const int flags = HorizontalFlag(alignment()) | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
    DoDrawText(painter, contentsRect(), flags);
    painter.restore();
}

void TmyLabel3d::DoDrawText(QPainter &painter, const QRect &rect, int flags)
{
    const QString caption = text();
    if (showAccelChar_)
        flags |= Qt::TextShowMnemonic;
    painter.setFont(font());

    const bool sunken = style_ == T3DEffect::Resit3d;
    const QColor first = ToQColor(sunken ? shadeRightBottom_ : shadeLeftTop_);
    const QColor second = ToQColor(sunken ? shadeLeftTop_ : shadeRightBottom_);
    const auto draw = [&](const QColor &color, int dx, int dy) {
        painter.setPen(color);
        painter.drawText(rect.translated(dx, dy), flags, caption);
    };

    switch (style_) {
    case T3DEffect::Resit3d:
    case T3DEffect::Raised3d:
        draw(second, 1, 1);
        draw(first, -1, -1);
        break;
    case T3DEffect::Shadowed3d: draw(second, hShadeOffset_, vShadeOffset_); break;
    case T3DEffect::Normal3d: break;
    }
    draw(isEnabled() ? palette().color(foregroundRole()) : ToQColor(clGrayText), 0, 0);
}

void TmyLabel3d::enterEvent(QEnterEvent *event)
{
    pointerInside_ = true;
    QLabel::enterEvent(event);
}

// Qt reports the leave across every edge without holding the pointer, which a
// grab on hover would do to the whole desktop (and Wayland refuses).
void TmyLabel3d::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    if (!pointerInside_)
        return;
    pointerInside_ = false;
    emit OnMouseOut();
}

// While a button is held Qt reports the leave only at the release, but the moves
// keep coming here, so the crossing is caught from them. Pointer moves stop here:
// neither the base label nor the parent sees them.
void TmyLabel3d::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (event->buttons() == Qt::NoButton)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside) {
        pointerInside_ = true;
    } else if (pointerInside_) {
        pointerInside_ = false;
        emit OnMouseOut();
    }
}

void TmyLabel3d::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    leftPressed_ = true;
    event->accept();
}

void TmyLabel3d::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !leftPressed_)
        return;
    leftPressed_ = false;
    event->accept();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}
