// The how-to-play window.
#pragma once

#include <QWidget>

class QLabel;

namespace numora {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    // `owner`: the window it belongs to, kept under it by the window manager.
    explicit HelpWindow(QWidget* owner);

    // The text shown: the aim, an empty line, then the rules as one paragraph.
    static QString HelpText();
    // Outer top-left corner on the screen, from its place in twips (15 twips a pixel).
    static QPoint Place();

  signals:
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* text_ = nullptr;
};

} // namespace numora
