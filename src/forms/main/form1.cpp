#include "forms/main/form1.h"

#include "forms/application.h"
#include "forms/cjk_font.h"
#include "forms/help/form3.h"
#include "forms/raw_image.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTouchEvent>

#include <functional>

namespace numora {
namespace {

constexpr int kClientWidth = nCol * (cellW + 1);                  // 408
constexpr int kClientHeight = kBannerHeight + nRow * (cellH + 1); // 502

QColor Rgb(unsigned rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

// A picture box shows its picture from its top-left corner, in the picture's own colours
// while the window is disabled (the help is open and the game goes on behind it); a plain
// label would grey it out.
class PictureBox final : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (pixmap().isNull()) return QLabel::paintEvent(event);
        QPainter painter(this);
        painter.drawPixmap(0, 0, pixmap());
    }
};

// Texts keep their colour while the window is disabled, for the same reason.
void KeepTextColourWhenDisabled(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Disabled, QPalette::WindowText,
                     palette.color(QPalette::Active, QPalette::WindowText));
    widget->setPalette(palette);
}

// A cell paints its own background. The mark colour comes and goes on a dozen cells at
// every step of a cascade, and a palette change costs each of them a palette copy, its
// resolution and a change event (about 15,000 instructions); a colour costs nothing.
class CellBox final : public QLabel {
  public:
    CellBox(QWidget* parent, unsigned rgb) : QLabel(parent), background_(Rgb(rgb)) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void SetBackground(unsigned rgb) {
        const QColor colour = Rgb(rgb);
        if (colour == background_) return;
        background_ = colour;
        update();
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        {
            QPainter painter(this);
            painter.fillRect(rect(), background_);
        }
        QLabel::paintEvent(event);
    }

  private:
    QColor background_;
};

CellBox* CellLabelWidget(QWidget* parent, double pointSize, unsigned background) {
    auto* label = new CellBox(parent, background);
    label->resize(cellW, cellH);
    KeepTextColourWhenDisabled(label);
    label->setFont(SongtiFont(pointSize));
    // Centred reads best for a child.
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    return label;
}

int ArrowKeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left:
        return kKeyLeft;
    case Qt::Key_Up:
        return kKeyUp;
    case Qt::Key_Right:
        return kKeyRight;
    case Qt::Key_Down:
        return kKeyDown;
    default:
        return 0;
    }
}

// The client area, which takes a tap or a click anywhere on it. Touches are taken as touches,
// so Qt does not send the same finger again as a mouse click; the cells, being labels, let
// both through to here.
class BoardArea final : public QWidget {
  public:
    BoardArea(QWidget* parent, std::function<void(QPoint)> tapped)
        : QWidget(parent), tapped_(std::move(tapped)) {
        setAttribute(Qt::WA_AcceptTouchEvents);
    }

  protected:
    // A press, not a release, makes the move, so it comes at once, as a key's does. A second
    // click in quick succession arrives as a double-click, which QWidget hands to this too.
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
        tapped_(event->position().toPoint());
    }
    // The first finger down is the tap: a finger that stays, slides or lifts, and any finger
    // or palm that joins it before it lifts, adds nothing. A touchpad is left to send the
    // clicks it makes.
    bool event(QEvent* event) override {
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

    // Every other column a shade darker, so a child sees which column a tap falls in; the
    // stripes are the columns exactly as a tap counts them, each gap with the cell left of it.
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        const QColor shade = palette().color(QPalette::Active, QPalette::Window).darker(104);
        for (int col = 1; col < nCol; col += 2)
            painter.fillRect(CellLeft(col), kBannerHeight, cellW + 1, nRow * (cellH + 1), shade);
    }

  private:
    std::function<void(QPoint)> tapped_;
};

// The arrow a tap at `at` (client-area pixels) stands for, 0 for none. Left or right of the
// falling pair it steps toward the tap; on the pair it turns it; below it in its own columns
// it drops a row. Above it the pair cannot go, and that is where the figure walks: a child
// reaching for the figure must not move the pair, so a tap there does nothing.
int TapKeyCode(const GameState& s, QPoint at) {
    if (at.y() < kBannerHeight) return 0;
    // A gap between two cells belongs to the cell left of it or above it.
    const int col = at.x() / (cellW + 1);
    const int row = (at.y() - kBannerHeight) / (cellH + 1);
    if (col < std::min(s.blkCol[0], s.blkCol[1])) return kKeyLeft;
    if (col > std::max(s.blkCol[0], s.blkCol[1])) return kKeyRight;
    int top = nRow;
    int bottom = -1;
    for (std::size_t i = 0; i < 2; ++i) {
        if (s.blkCol[i] != col) continue;
        top = std::min(top, s.blkRow[i]);
        bottom = std::max(bottom, s.blkRow[i]);
    }
    if (row > bottom) return kKeyDown;
    if (row >= top) return kKeyUp;
    return 0;
}

} // namespace

Form1::Form1(SoundPlayer& sound, RandomSource& random, QWidget* parent)
    : QMainWindow(parent), sound_(sound), game_(random, *this) {
    setWindowTitle(QStringLiteral("Numora"));
    // A fixed window: no resizing and no maximise button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::CustomizeWindowHint);
    BuildMenus();
    BuildControls();
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    move(2000 / kTwipsPerPixel, 0);

    waitTimer_.setSingleShot(true);
    // The pace and the waits keep their milliseconds: a coarse timer may end a wait up to 5%
    // early, before the sound it waits for has ended.
    Timer1.setTimerType(Qt::PreciseTimer);
    waitTimer_.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(&Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);
    connect(&waitTimer_, &QTimer::timeout, this, &Form1::WaitOver);

    // Key preview: arrow keys reach the game whichever child has the focus.
    qApp->installEventFilter(this);
    Sync();
}

Form1::~Form1() {
    delete help_;
}

QPixmap Form1::Bitmap(int id) {
    // Every picture also comes drawn at twice the size; a high-density screen gets that one,
    // so the art stays crisp instead of being scaled up. (QPixmap does not pick it by itself.)
    // The banner and the splash, painted before the window first shows, are read as raw
    // pixels: decoding their PNGs took a fifth of the start-up.
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

void Form1::BuildMenus() {
    QMenu* beg = menuBar()->addMenu(QStringLiteral("开始"));
    const QString modes[] = {QStringLiteral("演示"), QStringLiteral("10以内加法"),
                             QStringLiteral("10以内减法"), QStringLiteral("20以内加法"),
                             QStringLiteral("20以内减法")};
    for (int index = 1; index <= kModeCount; ++index) {
        QAction* item = beg->addAction(modes[index - 1]);
        item->setObjectName(QStringLiteral("b1_%1").arg(index));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, index] { b1_Click(index); });
        b1[static_cast<std::size_t>(index)] = item;
    }

    QMenu* jj = menuBar()->addMenu(QStringLiteral("级别设置"));
    j1 = jj->addAction(QStringLiteral("低"), this, &Form1::j1_Click);
    j2 = jj->addAction(QStringLiteral("中"), this, &Form1::j2_Click);
    j3 = jj->addAction(QStringLiteral("高"), this, &Form1::j3_Click);

    QMenu* dongh = menuBar()->addMenu(QStringLiteral("动画"));
    dhy = dongh->addAction(QStringLiteral("有"), this, &Form1::dhy_Click);
    dhw = dongh->addAction(QStringLiteral("无"), this, &Form1::dhw_Click);

    QMenu* helpM = menuBar()->addMenu(QStringLiteral("帮助"));
    Mhow = helpM->addAction(QStringLiteral("玩法"), this, &Form1::Mhow_Click);

    j1->setObjectName(QStringLiteral("j1"));
    j2->setObjectName(QStringLiteral("j2"));
    j3->setObjectName(QStringLiteral("j3"));
    dhy->setObjectName(QStringLiteral("dhy"));
    dhw->setObjectName(QStringLiteral("dhw"));
    Mhow->setObjectName(QStringLiteral("Mhow"));
    for (QAction* item : {j1, j2, j3, dhy, dhw})
        item->setCheckable(true);
}

void Form1::BuildControls() {
    client_ = new BoardArea(this, [this](QPoint at) { BoardTapped(at); });
    client_->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client_);

    // Cells first, so the falling pair, the figure and the splash lie above them.
    for (int k = 0; k < kCellCount; ++k) {
        QLabel* cell = CellLabelWidget(client_, 12, kCellColour);
        cell->setObjectName(QStringLiteral("LabRes_%1").arg(k));
        cell->move(CellLeft(k % nCol), CellTop(k / nCol));
        LabRes[static_cast<std::size_t>(k)] = cell;
    }
    for (std::size_t i = 0; i < 2; ++i) {
        LabB[i] = CellLabelWidget(client_, 10.5, kCellColour);
        LabB[i]->setObjectName(QStringLiteral("LabB_%1").arg(i));
    }

    Pict = new PictureBox(client_);
    Pict->setObjectName(QStringLiteral("Pict"));
    Pict->setGeometry(0, 0, kClientWidth, kBannerHeight);
    Pict->setPixmap(Bitmap(101));
    Pict->setFocusPolicy(Qt::StrongFocus);

    PicTboy = new PictureBox(Pict);
    PicTboy->setObjectName(QStringLiteral("PicTboy"));
    PicTboy->setGeometry(2 * cellW + 12, 0, 41, 41);

    for (std::size_t i = 0; i < 2; ++i) {
        LabBp[i] = CellLabelWidget(Pict, 10.5, kPreviewColour);
        LabBp[i]->setObjectName(QStringLiteral("LabBp_%1").arg(i));
    }
    LabBp[0]->move(3 * cellW + 3, 3);
    LabBp[1]->move(LabBp[0]->x() + cellW + 1, 3);

    Label1 = new QLabel(Pict);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(cellW * (nCol - 1) - 30, 5, 80, 27);
    QFont scoreFont;
    // With none of these, the windows' own font draws the digits.
    scoreFont.setFamilies(InstalledFamilies(
        {QStringLiteral("Symbol"), QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans")}));
    scoreFont.setPointSizeF(14.25);
    scoreFont.setBold(true);
    Label1->setFont(scoreFont);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, Rgb(0xFF0000));
    Label1->setPalette(red);

    PicMove = new PictureBox(client_);
    PicMove->setObjectName(QStringLiteral("PicMove"));
    PicMove->setGeometry(0, 0, 50, 50);

    Picbg = new PictureBox(client_);
    Picbg->setObjectName(QStringLiteral("Picbg"));
    Picbg->setPixmap(Bitmap(102));
    Picbg->move(0, kBannerHeight);
    Picbg->resize(405, 470);
}

// ---------------------------------------------------------------- handlers

void Form1::b1_Click(int index) {
    // No sound plays before a game, so the audio system is woken only now: a window
    // waiting at its menu holds no audio connection and starts lighter.
    sound_.Preload();
    startingGame_ = true;
    game_.ChooseMode(index);
    startingGame_ = false;
    Sync();
    Pict->setFocus();
}

void Form1::j1_Click() {
    game_.ChooseLevel(1);
    Sync();
}

void Form1::j2_Click() {
    game_.ChooseLevel(2);
    Sync();
}

void Form1::j3_Click() {
    game_.ChooseLevel(3);
    Sync();
}

void Form1::dhy_Click() {
    game_.ChooseAnimation(true);
    Sync();
}

void Form1::dhw_Click() {
    game_.ChooseAnimation(false);
    Sync();
}

void Form1::Mhow_Click() {
    if (help_) return;
    setEnabled(false);
    help_ = new Form3;
    help_->setAttribute(Qt::WA_DeleteOnClose);
    connect(help_, &Form3::closed, this, [this] { setEnabled(true); });
    help_->show();
}

void Form1::Timer1_Timer() {
    game_.GravityTick();
    Sync();
}

void Form1::Timer3_Timer() {
    game_.AnimationTick();
    Sync();
}

void Form1::WaitOver() {
    game_.Resume(armedWait_);
    Sync();
}

void Form1::Form_KeyDown(int keyCode, Qt::KeyboardModifiers /*shift: not read*/) {
    if (!isEnabled()) return;
    game_.KeyDown(keyCode);
    Sync();
}

// A tap is an arrow key only where the player sees the pair it moves: the keys still reach a
// pair hidden by a cascade's pause, but a finger on the board cannot aim at what is not there.
void Form1::BoardTapped(QPoint at) {
    if (!game_.pairVisible()) return;
    const int code = TapKeyCode(game_.state(), at);
    if (code != 0) Form_KeyDown(code, Qt::NoModifier);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this || qobject_cast<QMenuBar*>(widget) ||
        qobject_cast<QMenu*>(widget))
        return QMainWindow::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int code = ArrowKeyCode(key->key());
    if (code == 0) return QMainWindow::eventFilter(watched, event);
    Form_KeyDown(code, key->modifiers());
    return true; // the arrows belong to the game, never to focus navigation
}

// ---------------------------------------------------------------- game events

void Form1::PlaySound(Sound sound) {
    sound_.Play(sound);
}

void Form1::HandOverScore(int mode, std::int64_t score) {
    emit gameEnded(mode, score, startingGame_);
}

// Closing the window saves nothing and ends its game for good: a game left running unseen
// would end later and raise the leaderboard out of nowhere. The program ends with its last
// window, so with the leaderboard, if that is still open.
void Form1::closeEvent(QCloseEvent* event) {
    game_.Stop();
    Sync();
    if (help_) help_->close();
    QMainWindow::closeEvent(event);
}

// ---------------------------------------------------------------- showing the state

void Form1::SetUp(const Situation& situation) {
    game_.SetUp(situation);
    Sync();
}

void Form1::Sync() {
    const GameState& s = game_.state();

    for (std::size_t k = 0; k < LabRes.size(); ++k) {
        const CellLabel want = game_.cellLabel(static_cast<int>(k));
        ShownCell& have = shown_[k];
        QLabel* label = LabRes[k];
        // A hidden label keeps whatever caption it had; it is set when it shows again.
        if (want.visible && (firstSync_ || want.caption != have.caption)) {
            label->setText(QString::fromUtf8(want.caption.data(), qsizetype(want.caption.size())));
            have.caption = want.caption;
        }
        if (firstSync_ || want.marked != have.marked)
            static_cast<CellBox*>(label)->SetBackground(want.marked ? kMarkColour : kCellColour);
        if (firstSync_ || want.visible != have.visible) label->setVisible(want.visible);
        have.marked = want.marked;
        have.visible = want.visible;
    }
    firstSync_ = false;

    const bool pairVisible = game_.pairVisible();
    for (std::size_t i = 0; i < 2; ++i) {
        LabB[i]->setText(QString::fromStdString(game_.pairCaption(i)));
        LabB[i]->move(CellLeft(s.blkCol[i]), Pict->height() + s.blkRow[i] * (cellH + 1));
        LabB[i]->setVisible(pairVisible);
        LabBp[i]->setText(QString::fromStdString(game_.previewCaption(i)));
        LabBp[i]->setVisible(s.started);
    }
    Label1->setText(QString::fromStdString(game_.scoreCaption()));
    Picbg->setVisible(!s.started);
    SyncFigure();

    for (int index = 1; index <= kModeCount; ++index)
        b1[static_cast<std::size_t>(index)]->setChecked(game_.checkedMode() == index);
    j1->setChecked(s.level == 1);
    j2->setChecked(s.level == 2);
    j3->setChecked(s.level == 3);
    dhy->setChecked(s.dhyChecked);
    dhw->setChecked(!s.dhyChecked);

    SyncTimer(Timer1, s.timer1, timer1Starts_);
    SyncTimer(Timer3, s.timer3, timer3Starts_);
    SyncWait();
}

void Form1::SyncTimer(QTimer& timer, const TimerState& state, unsigned& seenStarts) {
    if (!state.enabled) {
        timer.stop();
    } else if (state.starts != seenStarts || !timer.isActive()) {
        timer.start(state.interval);
    }
    seenStarts = state.starts;
}

void Form1::SyncWait() {
    const Wait& wait = game_.waiting();
    if (wait.kind == Wait::Kind::None) {
        waitTimer_.stop();
        return;
    }
    if (wait.serial == armedWait_ && waitTimer_.isActive()) return;
    armedWait_ = wait.serial;
    // A waiting sound is timed by its own length, never by the player's report of its
    // state: with no audio device that report may never end.
    const int ms = wait.kind == Wait::Kind::Pause ? wait.ms : sound_.DurationMs(wait.sound);
    waitTimer_.start(ms);
}

const QPixmap& Form1::FigurePicture(int set, int index) {
    const int id = 200 + 10 * set + index;
    auto it = pictures_.find(id);
    if (it == pictures_.end()) it = pictures_.emplace(id, Bitmap(id)).first;
    return it->second;
}

void Form1::SyncFigure() {
    const GameState& s = game_.state();
    PicMove->move(s.picMove.left, s.picMove.top);
    const FigureFrame& frame = s.picMoveImage;
    if (frame.set >= 0 && frame != shownMove_)
        PicMove->setPixmap(FigurePicture(frame.set, frame.frame));
    shownMove_ = frame;
    PicMove->setVisible(s.picMove.visible);
    // Drawn only once shown: at start-up the figure is hidden, and reading its picture
    // would be the one PNG decoded before the window first paints.
    const int set = game_.figureSet();
    if (s.picTboyVisible && set != shownTboySet_) {
        PicTboy->setPixmap(FigurePicture(set, 4));
        shownTboySet_ = set;
    }
    PicTboy->setVisible(s.picTboyVisible);
}

} // namespace numora
