#pragma once

#include <QLabel>

#include <cstdint>

class QColor;
class QEnterEvent;
class QEvent;
class QMouseEvent;
class QPaintEvent;
class QPainter;
class QRect;

// A colour value: red in the low byte, then green, then blue; 0x80000000 plus an
// index names a system colour instead.
using TColor = std::uint32_t;

constexpr TColor clGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGrayText = 0x80000011;

// The colour a value stands for. System colours come from the application's
// palette, so that they follow the desktop rather than one widget's settings.
QColor ToQColor(TColor color);

// A label that paints its caption sunken, raised or with a drop shadow, and
// tells when the pointer has left it.
class TmyLabel3d : public QLabel {
    Q_OBJECT

public:
    enum class T3DEffect : std::uint8_t { Normal3d, Resit3d, Raised3d, Shadowed3d };
    Q_ENUM(T3DEffect)

    Q_PROPERTY(T3DEffect AStyle3D READ AStyle3D WRITE setStyleEffect)
    Q_PROPERTY(TColor AShadeRightBottom READ AShadeRightBottom WRITE SetShadowColor)
    Q_PROPERTY(TColor AShadeLeftTop READ AShadeLeftTop WRITE SetWhiteColor)
    Q_PROPERTY(int AHShadeOffSet READ AHShadeOffSet WRITE SetFhOffSet)
    Q_PROPERTY(int AVShadeOffSet READ AVShadeOffSet WRITE SetFvOffSet)
    // The layout format declares true as this property's default, yet a new label
    // starts with false: a layout wanting false must still write it out.
    Q_PROPERTY(bool AShadeLTSet READ AShadeLTSet WRITE SetShadeLT)
    Q_PROPERTY(bool ShowAccelChar READ ShowAccelChar WRITE SetShowAccelChar)

    explicit TmyLabel3d(QWidget *parent = nullptr);

    T3DEffect AStyle3D() const { return style_; }
    TColor AShadeRightBottom() const { return shadeRightBottom_; }
    TColor AShadeLeftTop() const { return shadeLeftTop_; }
    int AHShadeOffSet() const { return hShadeOffset_; }
    int AVShadeOffSet() const { return vShadeOffset_; }
    bool AShadeLTSet() const { return shadeLTSet_; }
    bool ShowAccelChar() const { return showAccelChar_; }

    void setStyleEffect(T3DEffect value);
    void SetShadowColor(TColor value);
    void SetWhiteColor(TColor value);
    void SetFhOffSet(int value);
    void SetFvOffSet(int value);
    void SetShadeLT(bool value);
    void SetShowAccelChar(bool value);

signals:
    void OnMouseOut();
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    // Draws the caption with its shades; flags are Qt::AlignmentFlag and Qt::TextFlag values.
    void DoDrawText(QPainter &painter, const QRect &rect, int flags);

private:
    T3DEffect style_ = T3DEffect::Normal3d;
    TColor shadeRightBottom_ = clGray;
    TColor shadeLeftTop_ = clWhite;
    TColor savedShadeLeftTop_ = clWhite;
    int hShadeOffset_ = 5;
    int vShadeOffset_ = -5;
    bool shadeLTSet_ = false;
    bool showAccelChar_ = true;
    bool pointerInside_ = false;
    bool leftPressed_ = false;
};

using T3DEffect = TmyLabel3d::T3DEffect;
