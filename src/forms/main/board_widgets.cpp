#include "forms/main/board_widgets.h"

#include "forms/cjk_font.h"
#include "game/game.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTouchEvent>

namespace numora {

QColor Rgb(unsigned rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    if (pixmap().isNull()) return QLabel::paintEvent(event);
    QPainter painter(this);
    painter.drawPixmap(0, 0, pixmap());
}

CellWidget::CellWidget(QWidget* parent, double pointSize, unsigned rgb)
    : QLabel(parent), background_(Rgb(rgb)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kCellWidth, kCellHeight);
    // Texts keep their colour while the window is disabled, as the pictures do.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText,
                     palette.color(QPalette::Active, QPalette::WindowText));
    setPalette(palette);
    setFont(SongtiFont(pointSize));
    // Centred reads best for a child.
    setAlignment(Qt::AlignCenter);
    setTextFormat(Qt::PlainText);
}

void CellWidget::SetBackground(unsigned rgb) {
    const QColor colour = Rgb(rgb);
    if (colour == background_) return;
    background_ = colour;
    update();
}

void CellWidget::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), background_);
    }
    QLabel::paintEvent(event);
}

BoardArea::BoardArea(QWidget* parent, std::function<void(QPoint)> tapped)
    : QWidget(parent), tapped_(std::move(tapped)) {
    setAttribute(Qt::WA_AcceptTouchEvents);
}

// A press, not a release, makes the move, so it comes at once, as a key's does. A second
// click in quick succession arrives as a double-click, which QWidget hands to this too.
void BoardArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    tapped_(event->position().toPoint());
}

// The first finger down is the tap: a finger that stays, slides or lifts, and any finger or
// palm that joins it before it lifts, adds nothing. A touchpad is left to send the clicks it
// makes.
bool BoardArea::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::TouchBegin: {
        auto* touch = static_cast<QTouchEvent*>(event);
        if (touch->device()->type() != QInputDevice::DeviceType::TouchScreen)
            return QWidget::event(event);
        tapped_(touch->points().front().position().toPoint());
        return true;
    }
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
        return true;
    default:
        return QWidget::event(event);
    }
}

// The stripes are the columns exactly as a tap counts them, each gap with the cell left of it.
void BoardArea::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QColor shade = palette().color(QPalette::Active, QPalette::Window).darker(104);
    for (int col = 1; col < kColumns; col += 2)
        painter.fillRect(CellLeft(col), kBannerHeight, kCellWidth + 1, kRows * (kCellHeight + 1),
                         shade);
}

} // namespace numora
