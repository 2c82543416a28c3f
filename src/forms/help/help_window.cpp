#include "forms/help/help_window.h"

#include "forms/application.h"

#include <QCloseEvent>
#include <QLabel>

namespace numora {

// A dialog of its owner: only a window of the dialog type is made a transient of its owner
// on X11 (WM_TRANSIENT_FOR; on Wayland the toplevel's parent), which is what keeps a window
// manager from letting a click on the owner bury it.
HelpWindow::HelpWindow(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setWindowTitle(QStringLiteral("玩法"));
    setFixedSize(5160 / kTwipsPerPixel, 3795 / kTwipsPerPixel); // 344 x 253
    KeepFixedSize(this);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("Label1"));
    text_->setGeometry(240 / kTwipsPerPixel, 360 / kTwipsPerPixel, 4695 / kTwipsPerPixel,
                       3255 / kTwipsPerPixel); // 16, 24, 313, 217
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    text_->setText(HelpText());
    // Made anew at every opening, so it opens at its place again wherever it was dragged.
    move(Place());
}

QString HelpWindow::HelpText() {
    return QStringLiteral("游戏目的：帮助儿童提高口算能力。") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("游戏方法：类似落砖棋的玩法，计算") +
           QStringLiteral("下落方块的得数，使用键盘的上下左右箭头调整下落的方块的位") +
           QStringLiteral("置，使之与得数相等的方块相连，得数相等的相连方块会被消掉") +
           QStringLiteral("，消掉的方块越多，得的分数越高。");
}

QPoint HelpWindow::Place() {
    return {(2200 + kTwipsPerPixel / 2) / kTwipsPerPixel,
            (2000 + kTwipsPerPixel / 2) / kTwipsPerPixel};
}

void HelpWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

} // namespace numora
