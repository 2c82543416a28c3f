// The leaderboard window: shows the ten best of the mode just played and, when the final
// score earns a place, asks for the player's name and saves it.
#pragma once

#include "forms/leaderboard/leaderboard_file.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <utility>

class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;

namespace numora {

class SoundPlayer;

class Form2 : public QWidget {
    Q_OBJECT

  public:
    // `folder` holds the kavex files; the program passes LeaderboardFolder(). `seedFolder`,
    // when it differs, is where a mode's list is first read from while `folder` has none
    // (the program's own folder, when the files live in the player's).
    Form2(SoundPlayer& sound, QString folder, QString seedFolder, QWidget* parent = nullptr);
    Form2(SoundPlayer& sound, QString folder, QWidget* parent = nullptr)
        : Form2(sound, std::move(folder), QString(), parent) {}

    // The hand-over at the end of a game: loads the list of `mode` (1..5) against the final
    // `score` and shows the window without blocking the main window. A list that is there but
    // cannot be read is said at once, and no name is asked for. Called again while
    // the window is open, it starts afresh for the new game. Without `takeKeyboard` it shows
    // but leaves the keyboard where it is: the main window has just started a game.
    void ShowFor(int mode, qint64 score, bool takeKeyboard);

    // The game just ended, as handed over.
    int grd = 0;
    qint64 fcount = 0;

    // The index offered to the score at this opening, or -1.
    int newPos() const { return newPos_; }
    // The list as shown, before the new score.
    const LeaderboardList& shownList() const { return list_; }
    QString filePath() const;
    QString seedPath() const;
    // The message about the last save that could not be made, while it is on screen.
    QMessageBox* message() const;

    static QString CongratulationText();
    static QString TitleText();

    // What the save attempt comes to as a message for the player.
    static QString MessageFor(const SaveResult& result);
    // What the player reads when the list at `path` cannot be read.
    static QString UnreadableText(const QString& path);

    void Command1_Click();

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    LoadResult Form_Load();
    void ShowList();
    void SetOffering(bool offering);
    void ShowMessage(const QString& text, const QString& detail = {});

    SoundPlayer& sound_;
    QString folder_;
    QString seedFolder_;

    QLabel* Labt_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QPushButton* Command1_ = nullptr;
    std::array<QLabel*, kLeaderboardSize> Label1_{};
    std::array<QLabel*, kLeaderboardSize> Label2_{};
    QPointer<QMessageBox> message_;

    LeaderboardList list_ = PlaceholderList();
    int newPos_ = -1;
};

} // namespace numora
