#include "forms/leaderboard/leaderboard_window.h"

#include "forms/application.h"
#include "forms/cjk_font.h"

#include "sound/sound_player.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>

#include <utility>

namespace numora {

namespace {

constexpr int kRowTop = 80;
// Rows are 25 high but 24 apart, so their borders overlap by one pixel, as designed.
constexpr int kRowPitch = 24;
constexpr int kRowHeight = 25;

QLabel* MakeLabel(QWidget* parent, const QString& objectName, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setGeometry(geometry);
    // Names are whatever players typed; markup in one must show as typed, not be rendered.
    label->setTextFormat(Qt::PlainText);
    label->setFont(SongtiFont());
    return label;
}

QString CongratulationText() {
    return QStringLiteral("恭喜恭喜!您上榜了。您的大名:");
}

QString TitleText() {
    return QStringLiteral("排行榜");
}

// In the window's own place, for as long as it shows the list that could not be read.
QString UnreadableHeading() {
    return QStringLiteral("排行榜读不出来，文件没有改动。");
}

// What the player reads at once when the list at `path` cannot be read.
QString UnreadableText(const QString& path) {
    return QStringLiteral("排行榜文件读不出来，这次的成绩不能保存。\n\n排行榜文件：%1\n\n"
                          "为了不丢掉上面的成绩，没有改动它。")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

LeaderboardWindow::LeaderboardWindow(SoundPlayer& sound, QString folder, QString seedFolder,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      sound_(sound), folder_(std::move(folder)), seedFolder_(std::move(seedFolder)) {
    setWindowTitle(TitleText());
    setFixedSize(312, 339);
    KeepFixedSize(this);
    QPalette white = palette(); // the labels on it show it through
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    // The object names are those of the game's first design, which scripts and tests use.
    heading_ = MakeLabel(this, QStringLiteral("Labt"), QRect(24, 16, 217, 25));
    heading_->setAlignment(Qt::AlignCenter);
    heading_->setFont(SongtiFont(9, true));
    QPalette red = heading_->palette();
    red.setColor(QPalette::WindowText, QColor(0xFF, 0x00, 0x00));
    heading_->setPalette(red);

    nameBox_ = new QLineEdit(this);
    nameBox_->setObjectName(QStringLiteral("Text1"));
    nameBox_->setGeometry(24, 40, 217, 25);
    nameBox_->setFont(SongtiFont());

    confirmButton_ = new QPushButton(QStringLiteral("确认"), this);
    confirmButton_->setObjectName(QStringLiteral("Command1"));
    confirmButton_->setGeometry(256, 40, 41, 25);
    confirmButton_->setFont(SongtiFont());

    for (int k = 0; k < kLeaderboardSize; ++k) {
        const int top = kRowTop + kRowPitch * k;
        nameLabels_[k] =
            MakeLabel(this, QStringLiteral("Label1_%1").arg(k), QRect(24, top, 81, kRowHeight));
        scoreLabels_[k] =
            MakeLabel(this, QStringLiteral("Label2_%1").arg(k), QRect(152, top, 89, kRowHeight));
    }

    connect(confirmButton_, &QPushButton::clicked, this, &LeaderboardWindow::Confirm);
    // Enter in the name box: returnPressed covers both Return and the keypad's Enter, and is
    // not sent while an input method is still composing.
    connect(nameBox_, &QLineEdit::returnPressed, this, &LeaderboardWindow::Confirm);
}

QMessageBox* LeaderboardWindow::message() const {
    return message_.data();
}

QString LeaderboardWindow::FilePath() const {
    return LeaderboardFilePath(folder_, mode_);
}

QString LeaderboardWindow::SeedPath() const {
    return seedFolder_.isEmpty() ? QString() : LeaderboardFilePath(seedFolder_, mode_);
}

void LeaderboardWindow::ShowFor(int mode, qint64 score, bool takeKeyboard) {
    mode_ = mode;
    score_ = score;
    const LoadResult loaded = Load();
    if (offeredPlace_ >= 0) nameBox_->setFocus();
    QWidget* active = QApplication::activeWindow();
    setAttribute(Qt::WA_ShowWithoutActivating, !takeKeyboard);
    show();
    if (takeKeyboard) {
        raise();
        activateWindow();
    }
    // Once the window stands, so the message opens over it.
    if (loaded.status == LoadStatus::Unreadable)
        ShowMessage(UnreadableText(FilePath()), loaded.detail);
    // A child steering the first pair of a new game must not find the arrows typing into the
    // name box. Some platforms activate a new window whatever it asks, so the keyboard is
    // handed straight back to the window that had it.
    if (!takeKeyboard && active && active != this) active->activateWindow();
}

LoadResult LeaderboardWindow::Load() {
    // Every opening starts from the design state, whatever the last game left on screen.
    if (message_) message_->close();
    nameBox_->clear();

    const LoadResult loaded = LoadLeaderboard(FilePath(), SeedPath());
    list_ = loaded.list;
    // A list that cannot be read can take no entry: asking for a name would only lead to a
    // save that must fail.
    if (loaded.fresh())
        offeredPlace_ = 0;
    else
        offeredPlace_ = loaded.status == LoadStatus::Read ? FindPlace(list_, score_) : -1;
    SetOffering(offeredPlace_ >= 0);
    ShowList(loaded.status != LoadStatus::Unreadable);
    sound_.Play(Sound::Milestone);
    return loaded;
}

void LeaderboardWindow::ShowList(bool read) {
    if (!read) heading_->setText(UnreadableHeading());
    for (int k = 0; k < kLeaderboardSize; ++k) {
        nameLabels_[k]->setText(list_[k].name);
        scoreLabels_[k]->setText(QString::number(list_[k].score));
        nameLabels_[k]->setVisible(read);
        scoreLabels_[k]->setVisible(read);
    }
}

void LeaderboardWindow::SetOffering(bool offering) {
    heading_->setText(offering ? CongratulationText() : TitleText());
    nameBox_->setVisible(offering);
    confirmButton_->setVisible(offering);
}

void LeaderboardWindow::Confirm() {
    if (offeredPlace_ < 0 || nameBox_->text().isEmpty()) return;
    const SaveResult result = SaveLeaderboardEntry(
        FilePath(), list_, offeredPlace_, nameBox_->text(), score_, kLockTimeoutMs, SeedPath());
    switch (result.status) {
    case SaveStatus::Saved:
        // The offer is used up: a second click must not write the entry twice.
        offeredPlace_ = -1;
        close();
        return;
    case SaveStatus::EmptyName:
        return;
    case SaveStatus::NoLongerPlaced: {
        // Show the list that beat the score, so the player sees why.
        const LoadResult now = LoadLeaderboard(FilePath(), SeedPath());
        list_ = now.list;
        offeredPlace_ = -1;
        SetOffering(false);
        ShowList(now.status != LoadStatus::Unreadable);
        break;
    }
    default:
        break;
    }
    ShowMessage(MessageFor(result), result.detail);
}

QString LeaderboardWindow::MessageFor(const SaveResult& result) {
    const QString where = QDir::toNativeSeparators(result.path);
    const auto failed = [&](const QString& why) {
        return QStringLiteral("您的成绩没能保存。\n\n排行榜文件：%1\n\n%2\n"
                              "您可以再点“确认”试一次，或者关掉这个窗口。")
            .arg(where, why);
    };
    switch (result.status) {
    case SaveStatus::Saved:
        return {};
    case SaveStatus::EmptyName:
        return QStringLiteral("请先输入您的大名。");
    case SaveStatus::NoLongerPlaced:
        return QStringLiteral("很遗憾，就在刚才，另一个正在玩的游戏更新了排行榜，"
                              "您的分数已经进不了前十名了。");
    case SaveStatus::LockFailed:
        return failed(QStringLiteral("另一个正在玩的游戏正在保存成绩，这个文件现在不能写入。"));
    case SaveStatus::ReadFailed:
        return failed(QStringLiteral("这个文件读不出来，为了不丢掉上面的成绩，没有改动它。"));
    case SaveStatus::FolderNotWritable:
        return failed(QStringLiteral("这个文件夹不能写入。原来的排行榜没有改动。"));
    case SaveStatus::FileNotWritable:
        return failed(QStringLiteral("这个文件不能写入。原来的排行榜没有改动。"));
    case SaveStatus::DiskFull:
        return failed(QStringLiteral("磁盘已满。原来的排行榜没有改动。"));
    case SaveStatus::WriteFailed:
        return failed(QStringLiteral("这个文件没能写入。原来的排行榜没有改动。"));
    }
    return {};
}

void LeaderboardWindow::hideEvent(QHideEvent* event) {
    // A message about this opening means nothing once the window is gone.
    if (message_) message_->close();
    QWidget::hideEvent(event);
}

void LeaderboardWindow::ShowMessage(const QString& text, const QString& detail) {
    if (message_) message_->close();
    // Opened, not exec'd: the game and its timers go on while the message is up.
    auto* box = new QMessageBox(QMessageBox::Warning, TitleText(), text, QMessageBox::Ok, this);
    // The system's own words, for whoever looks after the machine.
    box->setDetailedText(detail);
    box->setAttribute(Qt::WA_DeleteOnClose);
    message_ = box;
    box->open();
}

} // namespace numora
