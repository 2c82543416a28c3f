// The leaderboard window: shows the ten best of the mode just played and, when the final
// score earns a place, asks for the player's name and saves it.
#pragma once

#include "forms/leaderboard/leaderboard_file.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;

namespace numora {

class SoundPlayer;

class LeaderboardWindow : public QWidget {
    Q_OBJECT

  public:
    // `folder` holds the kavex files; the program passes LeaderboardFolder(). `seedFolder`,
    // when it differs, is where a mode's list is first read from while `folder` has none
    // (the program's own folder, when the files live in the player's).
    LeaderboardWindow(SoundPlayer& sound, QString folder, QString seedFolder,
                      QWidget* parent = nullptr);

    // The hand-over at the end of a game: loads the list of `mode` (1..5) against the final
    // `score` and shows the window without blocking the main window. A list that is there but
    // cannot be read is said at once and in the window's heading, no row of it is shown, and
    // no name is asked for. Called again while the window is open, it starts afresh for the
    // new game. Without `takeKeyboard` it shows but leaves the keyboard where it is: the main
    // window has just started a game.
    void ShowFor(int mode, qint64 score, bool takeKeyboard);

    // The message about the last save that could not be made, while it is on screen.
    QMessageBox* message() const;

    // What the save attempt comes to as a message for the player.
    static QString MessageFor(const SaveResult& result);

    // The player confirms the name typed (the "确认" button, or Enter in the name box).
    void Confirm();

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    QString FilePath() const;
    QString SeedPath() const;
    LoadResult Load();
    // The rows of the list, or none when it could not be read: a list not read is not shown
    // as an empty one, which a parent would take for the scores wiped.
    void ShowList(bool read);
    void SetOffering(bool offering);
    void ShowMessage(const QString& text, const QString& detail = {});

    SoundPlayer& sound_;
    QString folder_;
    QString seedFolder_;

    // The game just ended, as handed over.
    int mode_ = 0;
    qint64 score_ = 0;

    QLabel* heading_ = nullptr;
    QLineEdit* nameBox_ = nullptr;
    QPushButton* confirmButton_ = nullptr;
    std::array<QLabel*, kLeaderboardSize> nameLabels_{};
    std::array<QLabel*, kLeaderboardSize> scoreLabels_{};
    QPointer<QMessageBox> message_;

    LeaderboardList list_ = PlaceholderList();
    int offeredPlace_ = -1; // the index offered to the score at this opening, or -1
};

} // namespace numora
