// The sound module loaded when the first game begins: found beside the program, and its
// absence leaving a game that starts and plays on silently.
#include "forms/main/form1.h"
#include "game/random_source.h"
#include "sound/module_sound_player.h"

#include <QtTest>

class SoundModuleTest : public QObject {
    Q_OBJECT
private slots:
    // Catches a module that is not built beside the program or does not export its maker.
    void builtModuleLoadsAtFirstGame() {
        numora::ModuleSoundPlayer sound({NUMORA_SOUND_MODULE_PATH});
        QVERIFY(!sound.loaded());  // nothing of Qt Multimedia before a game
        sound.Preload();
        QVERIFY(sound.loaded());
        sound.Play(104);
    }
    // Catches a crash, a hang or a wrong wait when the module is missing.
    void missingModulePlaysSilently() {
        numora::ModuleSoundPlayer sound({QStringLiteral("/nonexistent/numora-sound-qt")});
        QCOMPARE(sound.DurationMs(106), 2000);  // the milestone's wait still lasts its sound
        numora::SeededRandom random(7);
        numora::Form1 form(sound, random);
        form.show();
        form.b1_Click(1);
        QVERIFY(form.game().state().playing);
        int filled = 0;
        for (int tick = 0; tick < 200 && filled < 4; ++tick) {
            form.Timer1_Timer();  // pairs fall and land; each landing plays a sound
            if (form.game().waiting().kind != numora::Wait::Kind::None) form.WaitOver();
            filled = 0;
            for (int k = 0; k < numora::kCellCount; ++k)
                filled += !form.game().state().board.Empty(k % numora::nCol, k / numora::nCol);
        }
        QVERIFY(filled >= 4);  // two pairs landed
        QVERIFY(!sound.loaded());
    }
};

QTEST_MAIN(SoundModuleTest)
#include "sound_module_test.moc"
