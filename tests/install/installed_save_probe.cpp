// Stands in for the player at a game's end, from inside an installed program's folder:
// makes the leaderboard window in the folder the program would choose, saves a score
// through it, and prints the file the score went to. Exits 0 when the save succeeded.
#include "forms/application.h"
#include "forms/leaderboard/form2.h"
#include "support/fake_sound.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    numora::SetUpApplication();
    numora::test::FakeSound sound;
    // As the program makes it at the first game over.
    numora::Form2 form2(sound, numora::LeaderboardFolder());
    form2.ShowFor(2, 1234);
    auto* name = form2.findChild<QLineEdit*>(QStringLiteral("Text1"));
    if (name == nullptr || !name->isVisible()) {
        std::fprintf(stderr, "no place was offered to the score\n");
        return 1;
    }
    name->setText(QStringLiteral("安装测试"));
    form2.Command1_Click();
    if (form2.message() != nullptr) {
        std::fprintf(stderr, "the save failed: %s\n", qUtf8Printable(form2.message()->text()));
        return 1;
    }
    std::printf("%s\n", qUtf8Printable(QDir::toNativeSeparators(form2.filePath())));
    return 0;
}
