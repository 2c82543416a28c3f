#include "forms/help/form3.h"

#include "forms/application.h"

#include <QCloseEvent>
#include <QLabel>

namespace numora {

Form3::Form3(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    setWindowTitle(QStringLiteral("玩法"));
    setFixedSize(5160 / kTwipsPerPixel, 3795 / kTwipsPerPixel); // 344 x 253
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(240 / kTwipsPerPixel, 360 / kTwipsPerPixel, 4695 / kTwipsPerPixel,
                        3255 / kTwipsPerPixel); // 16, 24, 313, 217
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText);
    Form_Load();
}

QString Form3::HelpText() {
    return QStringLiteral("游戏目的：帮助儿童提高口算能力。") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("游戏方法：类似落砖棋的玩法，计算") +
           QStringLiteral("下落方块的得数，使用键盘的上下左右箭头调整下落的方块的位") +
           QStringLiteral("置，使之与得数相等的方块相连，得数相等的相连方块会被消掉") +
           QStringLiteral("，消掉的方块越多，得的分数越高。");
}

QPoint Form3::Place() {
    return {(2200 + kTwipsPerPixel / 2) / kTwipsPerPixel,
            (2000 + kTwipsPerPixel / 2) / kTwipsPerPixel};
}

void Form3::Form_Load() {
    move(Place());
    Label1->setText(HelpText());
}

void Form3::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

} // namespace numora
