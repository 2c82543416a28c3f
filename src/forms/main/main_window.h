// The main window: the banner, the board and the menus. It forwards every event to the
// game and then shows the game's state; it decides no rule itself.
#pragma once

#include "forms/help/help_window.h"
#include "game/game.h"
#include "game/view_mirror.h"
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

class CellWidget;

class MainWindow : public QMainWindow, private GameEvents {
    Q_OBJECT
  public:
    MainWindow(SoundPlayer& sound, RandomSource& random, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the player does, as the menus, the keys, the taps and the timers report it; also
    // driven directly by tests and tools.
    void ChooseMode(int mode);     // 1..5, a "开始" item: a new game
    void ChooseLevel(int level);   // 1..3, a "级别设置" item
    void ChooseAnimation(bool on); // "有" or "无"
    void OpenHelp();
    void GravityTick();
    void AnimationTick();
    void PressArrow(Arrow arrow);
    // The wait the game asked for (a removal pause, a milestone sound, a fill step) is over.
    void WaitOver();

    const Game& game() const { return game_; }
    // Puts the game into a situation and shows it at once, for tests and tools.
    void SetUp(const Situation& situation);
    const QTimer& gravityTimer() const { return gravityTimer_; }
    const QTimer& animationTimer() const { return animationTimer_; }
    const QTimer& waitTimer() const { return waitTimer_; }
    HelpWindow* helpWindow() const { return help_; }

    // The picture of bitmap `id` (101, 102, 200..244), from the embedded resources.
    static QPixmap Bitmap(int id);

  signals:
    // A finished game hands its mode and score on, to the leaderboard. `newGameStarted`:
    // the player has just started another game here, so the keyboard stays with it.
    void gameEnded(int mode, qint64 score, bool newGameStarted);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void PlaySound(Sound sound) override;
    void HandOverScore(int mode, std::int64_t score) override;

    void BoardTapped(QPoint at);
    void BuildControls();
    void BuildMenus();
    // Makes every control, check mark and timer show the game's state.
    void Sync();
    void SyncTimer(QTimer& timer, const TimerState& state, TimerFollower& follower);
    void SyncWait();
    void SyncFigure();
    const QPixmap& FigurePicture(int set, int index);

    SoundPlayer& sound_;
    Game game_;

    QWidget* client_ = nullptr;
    QLabel* banner_ = nullptr;
    QLabel* splash_ = nullptr;
    QLabel* scoreLabel_ = nullptr;
    std::array<CellWidget*, 2> previewCells_{};
    std::array<CellWidget*, 2> fallingCells_{};
    std::array<CellWidget*, kCellCount> boardCells_{};
    QLabel* walkingFigure_ = nullptr;
    QLabel* bannerFigure_ = nullptr;

    std::array<QAction*, kModeCount> modeItems_{};
    std::array<QAction*, 3> levelItems_{};
    QAction* animationOnItem_ = nullptr;
    QAction* animationOffItem_ = nullptr;

    QTimer gravityTimer_;
    QTimer animationTimer_;
    QTimer waitTimer_;
    TimerFollower gravityFollower_;
    TimerFollower animationFollower_;
    WaitFollower waitFollower_;

    std::array<ShownCell, kCellCount> shown_{}; // what each board cell shows now
    bool startingGame_ = false;                 // inside ChooseMode
    FigureFrame shownWalking_;                  // the frame the walking figure holds
    int shownBannerSet_ = -1; // the set whose standing picture the banner figure holds
    std::map<int, QPixmap> pictures_;
    QPointer<HelpWindow> help_;
};

} // namespace numora
