// The main window: the banner, the board and the menus. It forwards every event to the
// game and then shows the game's state; it decides no rule itself.
#pragma once

#include "forms/help/form3.h"
#include "game/game.h"
#include "sound/sound_player.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <array>
#include <map>

class QAction;
class QLabel;

namespace numora {

// Background colours of the cells, as 0xRRGGBB.
inline constexpr unsigned kCellColour = 0xC0FFC0;
inline constexpr unsigned kMarkColour = 0xFFC0C0;
inline constexpr unsigned kPreviewColour = 0xFFC0FF;

class Form1 : public QMainWindow, private GameEvents {
    Q_OBJECT
  public:
    Form1(SoundPlayer& sound, RandomSource& random, QWidget* parent = nullptr);
    ~Form1() override;

    // The window's handlers, also driven directly by tests.
    void b1_Click(int index);
    void j1_Click();
    void j2_Click();
    void j3_Click();
    void dhy_Click();
    void dhw_Click();
    void Mhow_Click();
    void Timer1_Timer();
    void Timer3_Timer();
    void Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    // The wait the game asked for (a removal pause, a milestone sound, a fill step) is over.
    void WaitOver();

    const Game& game() const { return game_; }
    Game& game() { return game_; }
    // Puts the game into a situation and shows it at once, for tests and tools.
    void SetUp(const Situation& situation);
    const QTimer& timer1() const { return Timer1; }
    const QTimer& timer3() const { return Timer3; }
    const QTimer& waitTimer() const { return waitTimer_; }
    Form3* helpWindow() const { return help_; }

    // The picture of bitmap `id` (101, 102, 200..244), from the embedded resources.
    static QPixmap Bitmap(int id);

  signals:
    // A finished game hands its mode and score on, to the leaderboard. `newGameStarted`:
    // the player has just started another game here, so the keyboard stays with it.
    void gameEnded(int mode, qint64 score, bool newGameStarted);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void PlaySound(Sound sound) override;
    void HandOverScore(int mode, std::int64_t score) override;

    // A tap or a click on the client area at `at`: the arrow key it stands for, if any.
    void BoardTapped(QPoint at);
    void BuildControls();
    void BuildMenus();
    // Makes every control, check mark and timer show the game's state.
    void Sync();
    void SyncTimer(QTimer& timer, const TimerState& state, unsigned& seenStarts);
    void SyncWait();
    void SyncFigure();
    const QPixmap& FigurePicture(int set, int index);

    SoundPlayer& sound_;
    Game game_;

    QWidget* client_ = nullptr;
    QLabel* Pict = nullptr;
    QLabel* Picbg = nullptr;
    QLabel* Label1 = nullptr;
    std::array<QLabel*, 2> LabBp{};
    std::array<QLabel*, 2> LabB{};
    std::array<QLabel*, kCellCount> LabRes{};
    QLabel* PicMove = nullptr;
    QLabel* PicTboy = nullptr;

    std::array<QAction*, kModeCount + 1> b1{}; // b1[1..5]
    QAction* j1 = nullptr;
    QAction* j2 = nullptr;
    QAction* j3 = nullptr;
    QAction* dhy = nullptr;
    QAction* dhw = nullptr;
    QAction* Mhow = nullptr;

    QTimer Timer1;
    QTimer Timer3;
    QTimer waitTimer_;
    unsigned timer1Starts_ = 0;
    unsigned timer3Starts_ = 0;
    unsigned armedWait_ = 0;

    // What each cell label shows now, so a sync touches only what changed.
    struct ShownCell {
        std::string caption;
        bool visible = false;
        bool marked = false;
    };
    std::array<ShownCell, kCellCount> shown_{};
    bool firstSync_ = true;
    bool startingGame_ = false; // inside b1_Click
    FigureFrame shownMove_;     // the frame PicMove holds
    int shownTboySet_ = -1;     // the set whose standing picture PicTboy holds
    std::map<int, QPixmap> pictures_;
    QPointer<Form3> help_;
};

} // namespace numora
