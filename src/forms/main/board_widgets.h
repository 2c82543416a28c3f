// The widgets the main window's banner and board are made of: picture boxes, the cells and
// the client area that takes taps.
#pragma once

#include <QLabel>
#include <QWidget>

#include <functional>

namespace numora {

// Background colours of the cells, as 0xRRGGBB.
inline constexpr unsigned kCellColour = 0xC0FFC0;
inline constexpr unsigned kMarkColour = 0xFFC0C0;
inline constexpr unsigned kPreviewColour = 0xFFC0FF;

QColor Rgb(unsigned rgb);

// A picture box shows its picture from its top-left corner, in the picture's own colours
// while the window is disabled (the help is open and the game goes on behind it); a plain
// label would grey it out.
class PictureBox final : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// A cell of the board, of the falling pair or of the preview: a caption centred on its own
// background, in black even while the window is disabled.
//
// It paints its own background. The mark colour comes and goes on a dozen cells at every
// step of a cascade, and a palette change costs each of them a palette copy, its resolution
// and a change event; a colour costs nothing.
class CellWidget final : public QLabel {
  public:
    CellWidget(QWidget* parent, double pointSize, unsigned rgb);
    void SetBackground(unsigned rgb);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor background_;
};

// The client area, which takes a tap or a click anywhere on it and hands on where it fell.
// Touches are taken as touches, so Qt does not send the same finger again as a mouse click;
// the cells, being labels, let both through to here. Every other column is a shade darker,
// so a child sees which column a tap falls in.
class BoardArea final : public QWidget {
  public:
    BoardArea(QWidget* parent, std::function<void(QPoint)> tapped);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    std::function<void(QPoint)> tapped_;
};

} // namespace numora
