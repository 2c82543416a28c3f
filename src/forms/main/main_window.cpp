#include "forms/main/main_window.h"

#include "forms/application.h"
#include "forms/cjk_font.h"
#include "forms/help/help_window.h"
#include "forms/main/board_widgets.h"
#include "forms/raw_image.h"
#include "game/tap.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <optional>

namespace numora {
namespace {

constexpr int kClientWidth = kColumns * (kCellWidth + 1);                // 408
constexpr int kClientHeight = kBannerHeight + kRows * (kCellHeight + 1); // 502

std::optional<Arrow> ArrowOfKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left:
        return Arrow::Left;
    case Qt::Key_Up:
        return Arrow::Up;
    case Qt::Key_Right:
        return Arrow::Right;
    case Qt::Key_Down:
        return Arrow::Down;
    default:
        return std::nullopt;
    }
}

} // namespace

MainWindow::MainWindow(SoundPlayer& sound, RandomSource& random, QWidget* parent)
    : QMainWindow(parent), sound_(sound), game_(random, *this) {
    setWindowTitle(QStringLiteral("Numora"));
    // A fixed window: no resizing and no maximise button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    BuildMenus();
    BuildControls();
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    KeepFixedSize(this);
    move(2000 / kTwipsPerPixel, 0);

    waitTimer_.setSingleShot(true);
    // The pace and the waits keep their milliseconds: a coarse timer may end a wait up to 5%
    // early, before the sound it waits for has ended.
    gravityTimer_.setTimerType(Qt::PreciseTimer);
    waitTimer_.setTimerType(Qt::PreciseTimer);
    connect(&gravityTimer_, &QTimer::timeout, this, &MainWindow::GravityTick);
    connect(&animationTimer_, &QTimer::timeout, this, &MainWindow::AnimationTick);
    connect(&waitTimer_, &QTimer::timeout, this, &MainWindow::WaitOver);

    // Key preview: arrow keys reach the game whichever child has the focus.
    qApp->installEventFilter(this);
    Sync();
}

MainWindow::~MainWindow() {
    delete help_;
}

QPixmap MainWindow::Bitmap(int id) {
    // Every picture also comes drawn at twice the size; a high-density screen gets that one,
    // so the art stays crisp instead of being scaled up. (QPixmap does not pick it by itself.)
    // The banner and the splash, painted before the window first shows, are read as raw
    // pixels: decoding their PNGs was a large part of the start-up (bench/README.md).
    const bool raw = id == 101 || id == 102;
    const auto load = [raw, id](const char* suffix) {
        if (raw)
            return QPixmap::fromImage(
                LoadRawImage(QStringLiteral(":/raw/bmp%1%2.qpx").arg(id).arg(suffix)));
        return QPixmap(QStringLiteral(":/bitmaps/bmp%1%2.png").arg(id).arg(suffix));
    };
    if (qApp->devicePixelRatio() > 1.0) {
        QPixmap sharp = load("@2x");
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return load("");
}

// The widgets keep the object names of the game's first design ("b1_2", "LabRes_5", "Pict",
// ...): scripts and tests find them by these names, and the web edition uses the same names
// as its elements' ids.
void MainWindow::BuildMenus() {
    QMenu* modes = menuBar()->addMenu(QStringLiteral("开始"));
    const QString modeNames[] = {QStringLiteral("演示"), QStringLiteral("10以内加法"),
                                 QStringLiteral("10以内减法"), QStringLiteral("20以内加法"),
                                 QStringLiteral("20以内减法")};
    for (int mode = 1; mode <= kModeCount; ++mode) {
        QAction* item =
            modes->addAction(modeNames[mode - 1], this, [this, mode] { ChooseMode(mode); });
        item->setObjectName(QStringLiteral("b1_%1").arg(mode));
        modeItems_[static_cast<std::size_t>(mode - 1)] = item;
    }

    QMenu* levels = menuBar()->addMenu(QStringLiteral("级别设置"));
    const QString levelNames[] = {QStringLiteral("低"), QStringLiteral("中"), QStringLiteral("高")};
    for (int level = 1; level <= 3; ++level) {
        QAction* item =
            levels->addAction(levelNames[level - 1], this, [this, level] { ChooseLevel(level); });
        item->setObjectName(QStringLiteral("j%1").arg(level));
        levelItems_[static_cast<std::size_t>(level - 1)] = item;
    }

    QMenu* animation = menuBar()->addMenu(QStringLiteral("动画"));
    animationOnItem_ =
        animation->addAction(QStringLiteral("有"), this, [this] { ChooseAnimation(true); });
    animationOffItem_ =
        animation->addAction(QStringLiteral("无"), this, [this] { ChooseAnimation(false); });
    animationOnItem_->setObjectName(QStringLiteral("dhy"));
    animationOffItem_->setObjectName(QStringLiteral("dhw"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助"));
    help->addAction(QStringLiteral("玩法"), this, &MainWindow::OpenHelp)
        ->setObjectName(QStringLiteral("Mhow"));

    for (QAction* item : modeItems_)
        item->setCheckable(true);
    for (QAction* item : levelItems_)
        item->setCheckable(true);
    animationOnItem_->setCheckable(true);
    animationOffItem_->setCheckable(true);
}

void MainWindow::BuildControls() {
    client_ = new BoardArea(this, [this](QPoint at) { BoardTapped(at); });
    client_->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client_);

    // Cells first, so the falling pair, the figure and the splash lie above them.
    for (int k = 0; k < kCellCount; ++k) {
        auto* cell = new CellWidget(client_, 12, kCellColour);
        cell->setObjectName(QStringLiteral("LabRes_%1").arg(k));
        cell->move(CellLeft(k % kColumns), CellTop(k / kColumns));
        boardCells_[static_cast<std::size_t>(k)] = cell;
    }
    for (std::size_t i = 0; i < 2; ++i) {
        fallingCells_[i] = new CellWidget(client_, 10.5, kCellColour);
        fallingCells_[i]->setObjectName(QStringLiteral("LabB_%1").arg(i));
    }

    banner_ = new PictureBox(client_);
    banner_->setObjectName(QStringLiteral("Pict"));
    banner_->setGeometry(0, 0, kClientWidth, kBannerHeight);
    banner_->setPixmap(Bitmap(101));
    banner_->setFocusPolicy(Qt::StrongFocus);

    bannerFigure_ = new PictureBox(banner_);
    bannerFigure_->setObjectName(QStringLiteral("PicTboy"));
    bannerFigure_->setGeometry(2 * kCellWidth + 12, 0, 41, 41);

    for (std::size_t i = 0; i < 2; ++i) {
        previewCells_[i] = new CellWidget(banner_, 10.5, kPreviewColour);
        previewCells_[i]->setObjectName(QStringLiteral("LabBp_%1").arg(i));
    }
    previewCells_[0]->move(3 * kCellWidth + 3, 3);
    previewCells_[1]->move(previewCells_[0]->x() + kCellWidth + 1, 3);

    scoreLabel_ = new QLabel(banner_);
    scoreLabel_->setObjectName(QStringLiteral("Label1"));
    scoreLabel_->setGeometry(kCellWidth * (kColumns - 1) - 30, 5, 80, 27);
    QFont scoreFont;
    // With none of these, the windows' own font draws the digits.
    scoreFont.setFamilies(InstalledFamilies(
        {QStringLiteral("Symbol"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans")}));
    scoreFont.setPointSizeF(14.25);
    scoreFont.setBold(true);
    scoreLabel_->setFont(scoreFont);
    scoreLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette red = scoreLabel_->palette();
    red.setColor(QPalette::WindowText, Rgb(0xFF0000));
    scoreLabel_->setPalette(red);

    walkingFigure_ = new PictureBox(client_);
    walkingFigure_->setObjectName(QStringLiteral("PicMove"));
    walkingFigure_->setGeometry(0, 0, 50, 50);

    splash_ = new PictureBox(client_);
    splash_->setObjectName(QStringLiteral("Picbg"));
    splash_->setPixmap(Bitmap(102));
    splash_->move(0, kBannerHeight);
    splash_->resize(405, 470);
}

// ---------------------------------------------------------------- what the player does

void MainWindow::ChooseMode(int mode) {
    // No sound plays before a game, so the audio system is woken only now: a window
    // waiting at its menu holds no audio connection and starts lighter.
    sound_.Preload();
    startingGame_ = true;
    game_.ChooseMode(mode);
    startingGame_ = false;
    Sync();
    banner_->setFocus();
}

void MainWindow::ChooseLevel(int level) {
    game_.ChooseLevel(level);
    Sync();
}

void MainWindow::ChooseAnimation(bool on) {
    game_.ChooseAnimation(on);
    Sync();
}

void MainWindow::OpenHelp() {
    if (help_) return;
    // Disabled first: a child window that exists when its owner is disabled is disabled too,
    // one made afterwards is not.
    setEnabled(false);
    help_ = new HelpWindow(this);
    help_->setAttribute(Qt::WA_DeleteOnClose);
    connect(help_, &HelpWindow::closed, this, [this] {
        setEnabled(true);
        // Disabling took the keyboard from the game, and enabling does not give it back.
        banner_->setFocus();
    });
    help_->show();
}

void MainWindow::GravityTick() {
    game_.GravityTick();
    Sync();
}

void MainWindow::AnimationTick() {
    game_.AnimationTick();
    Sync();
}

void MainWindow::WaitOver() {
    game_.Resume(waitFollower_.armed);
    Sync();
}

void MainWindow::PressArrow(Arrow arrow) {
    if (!isEnabled()) return;
    game_.Press(arrow);
    Sync();
}

// A tap is an arrow key only where the player sees the pair it moves: the keys still reach a
// pair hidden by a cascade's pause, but a finger on the board cannot aim at what is not there.
void MainWindow::BoardTapped(QPoint at) {
    if (!game_.pairVisible()) return;
    if (const auto arrow = ArrowForTap(game_.state().pair, at.x(), at.y())) PressArrow(*arrow);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this || qobject_cast<QMenuBar*>(widget) ||
        qobject_cast<QMenu*>(widget))
        return QMainWindow::eventFilter(watched, event);
    // Shift, Ctrl and Alt make no difference.
    const auto arrow = ArrowOfKey(static_cast<QKeyEvent*>(event)->key());
    if (!arrow) return QMainWindow::eventFilter(watched, event);
    PressArrow(*arrow);
    return true; // the arrows belong to the game, never to focus navigation
}

// A click on the game while the help is open must not bury the help. Window managers keep a
// window's transients above it; a Wayland compositor that ignores the toplevel's parent (sway
// 1.7) raises the game over it, and a Wayland client can neither raise a window nor give it
// the focus. A window shown anew is put in front of the others and given the focus, so the
// help is shown anew whenever the game becomes the active window under it.
void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && help_ && isActiveWindow() &&
        QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        help_->hide();
        help_->show();
    }
    QMainWindow::changeEvent(event);
}

// ---------------------------------------------------------------- game events

void MainWindow::PlaySound(Sound sound) {
    sound_.Play(sound);
}

void MainWindow::HandOverScore(int mode, std::int64_t score) {
    emit gameEnded(mode, score, startingGame_);
}

// Closing the window saves nothing and ends its game for good: a game left running unseen
// would end later and raise the leaderboard out of nowhere. The program ends with its last
// window, so with the leaderboard, if that is still open.
void MainWindow::closeEvent(QCloseEvent* event) {
    game_.Stop();
    Sync();
    if (help_) help_->close();
    QMainWindow::closeEvent(event);
}

// ---------------------------------------------------------------- showing the state

void MainWindow::SetUp(const Situation& situation) {
    game_.SetUp(situation);
    Sync();
}

void MainWindow::Sync() {
    const GameState& s = game_.state();

    for (std::size_t k = 0; k < boardCells_.size(); ++k) {
        const CellLabel want = game_.cellLabel(static_cast<int>(k));
        const CellChange change = shown_[k].Show(want);
        CellWidget* cell = boardCells_[k];
        if (change.caption)
            cell->setText(QString::fromUtf8(want.caption.data(), qsizetype(want.caption.size())));
        if (change.background) cell->SetBackground(want.marked ? kMarkColour : kCellColour);
        if (change.visibility) cell->setVisible(want.visible);
    }

    const bool pairVisible = game_.pairVisible();
    for (std::size_t i = 0; i < 2; ++i) {
        fallingCells_[i]->setText(QString::fromStdString(game_.pairCaption(i)));
        fallingCells_[i]->move(CellLeft(s.pair.col[i]),
                               banner_->height() + s.pair.row[i] * (kCellHeight + 1));
        fallingCells_[i]->setVisible(pairVisible);
        previewCells_[i]->setText(QString::fromStdString(game_.previewCaption(i)));
        previewCells_[i]->setVisible(s.started);
    }
    scoreLabel_->setText(QString::fromStdString(game_.scoreCaption()));
    splash_->setVisible(!s.started);
    SyncFigure();

    for (int mode = 1; mode <= kModeCount; ++mode)
        modeItems_[static_cast<std::size_t>(mode - 1)]->setChecked(game_.checkedMode() == mode);
    for (int level = 1; level <= 3; ++level)
        levelItems_[static_cast<std::size_t>(level - 1)]->setChecked(s.level == level);
    animationOnItem_->setChecked(s.animationOn);
    animationOffItem_->setChecked(!s.animationOn);

    SyncTimer(gravityTimer_, s.gravity, gravityFollower_);
    SyncTimer(animationTimer_, s.animation, animationFollower_);
    SyncWait();
}

void MainWindow::SyncTimer(QTimer& timer, const TimerState& state, TimerFollower& follower) {
    switch (follower.Follow(state, timer.isActive())) {
    case TimerMove::Stop:
        timer.stop();
        break;
    case TimerMove::Start:
        timer.start(state.interval);
        break;
    case TimerMove::Keep:
        break;
    }
}

void MainWindow::SyncWait() {
    const Wait& wait = game_.waiting();
    switch (waitFollower_.Follow(wait, waitTimer_.isActive())) {
    case TimerMove::Stop:
        waitTimer_.stop();
        break;
    case TimerMove::Start:
        // A waiting sound is timed by its own length, never by the player's report of its
        // state: with no audio device that report may never end.
        waitTimer_.start(wait.kind == Wait::Kind::Pause ? wait.ms : sound_.DurationMs(wait.sound));
        break;
    case TimerMove::Keep:
        break;
    }
}

const QPixmap& MainWindow::FigurePicture(int set, int index) {
    const int id = 200 + 10 * set + index;
    auto it = pictures_.find(id);
    if (it == pictures_.end()) it = pictures_.emplace(id, Bitmap(id)).first;
    return it->second;
}

void MainWindow::SyncFigure() {
    const GameState& s = game_.state();
    walkingFigure_->move(s.walkingFigure.left, s.walkingFigure.top);
    const FigureFrame& frame = s.walkingFrame;
    if (frame.set >= 0 && frame != shownWalking_)
        walkingFigure_->setPixmap(FigurePicture(frame.set, frame.frame));
    shownWalking_ = frame;
    walkingFigure_->setVisible(s.walkingFigure.visible);
    // Drawn only once shown: at start-up the figure is hidden, and reading its picture
    // would be the one PNG decoded before the window first paints.
    const int set = game_.figureSet();
    if (s.bannerFigureVisible && set != shownBannerSet_) {
        bannerFigure_->setPixmap(FigurePicture(set, 4));
        shownBannerSet_ = set;
    }
    bannerFigure_->setVisible(s.bannerFigureVisible);
}

} // namespace numora
