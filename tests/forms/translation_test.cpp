#include "forms/leaderboard/form2.h"
#include "forms/qt_translation.h"
#include "support/fake_sound.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>

// Qt's own words as a player sees them, from the copy of Qt's translation in the program.
class TranslationTest : public QObject {
    Q_OBJECT

  private slots:
    void qtWordsInChinese() {
        // No system copy: the program falls back to the one compiled into it.
        QCOMPARE(numora::InstallQtTranslation(QString()), numora::kCompiledQtTranslation);
        QTemporaryFile notAFolder; // a save into it fails, as into a read-only folder
        QVERIFY(notAFolder.open());
        numora::test::FakeSound sound;
        numora::Form2 form(sound, notAFolder.fileName());
        form.ShowFor(2, 99999);
        auto* name = form.findChild<QLineEdit*>("Text1");
        name->setText("小明");
        form.Command1_Click();
        QVERIFY(form.message() && form.message()->text().startsWith("您的成绩没能保存。"));
        const QScopedPointer<QMenu> menu(name->createStandardContextMenu());
        QStringList words;
        for (auto* button : form.message()->findChildren<QAbstractButton*>()) {
            words << button->text();
            button->click(); // the details' button turns, the box closes
            words << button->text();
        }
        for (auto* action : menu->actions())
            words << action->text().section('\t', 0, 0);
        for (const char* word : {"确定", "显示详情...", "撤消(&U)", "复制(&C)", "粘贴(&P)"})
            QVERIFY2(words.contains(word), qPrintable(words.join(' ')));
        for (const char* word : numora::kQtWordsShown) // what the program's own font draws
            QVERIFY2(words.contains(word), word);
        // Where the system has Qt's translation, that one comes first.
        QTemporaryDir system;
        QVERIFY(QFile::copy(numora::kCompiledQtTranslation, system.filePath("qtbase_zh_CN.qm")));
        QCOMPARE(numora::InstallQtTranslation(system.path()), system.filePath("qtbase_zh_CN.qm"));
    }
};

QTEST_MAIN(TranslationTest)
#include "translation_test.moc"
