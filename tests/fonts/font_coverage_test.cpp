// The embedded font draws every text of src/, and a font resource that cannot be used
// leaves the program starting on the system's fonts.
#include "forms/cjk_font.h"
#include "forms/main/form1.h"
#include "game/random_source.h"
#include "support/fake_sound.h"
#include <QDirIterator>
#include <QRawFont>
#include <QRegularExpression>
#include <QtTest>

class FontCoverageTest : public QObject {
    Q_OBJECT
private slots:
    // Catches a new text whose characters the subset lacks (they would show as boxes).
    void everyLiteralCharacterIsInTheEmbeddedFont() {
        QFile font(numora::kEmbeddedFontResource); QVERIFY(font.open(QIODevice::ReadOnly));
        const QRawFont raw(font.readAll(), 12); QVERIFY(raw.isValid());
        // As make_subset.py reads: no comments, no character literals, escapes dropped.
        static const QRegularExpression token(
            "(?s)//[^\n]*|/\\*.*?\\*/|'(?:\\\\.|[^\\\\'])*'|\"((?:\\\\.|[^\\\\\"])*)\"");
        QDirIterator it(NUMORA_SOURCE_DIR "/src", {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList missing, files;
        while (it.hasNext()) {
            QFile file(files.emplace_back(it.next()));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const auto& m : token.globalMatch(QString::fromUtf8(file.readAll())))
                for (char32_t c : m.captured(1).remove(QRegularExpression("\\\\.")).toUcs4())
                    if (c >= 0x20 && !raw.supportsCharacter(c))
                        missing << QString::fromUcs4(&c, 1) + " in " + file.fileName();
        }
        QVERIFY(files.size() > 10); QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
    }
    // Catches a failed start or a font named in vain when the resource is damaged or
    // missing, and a lacking SimSun searched for (a system font would stand in first).
    void damagedFontResourceStartsOnSystemFonts() {
        for (const char* bad : {":/sounds/wav104.wav", ":/fonts/absent.otf"}) {
            QVERIFY(numora::RegisterEmbeddedFont(bad).isEmpty());
            QCOMPARE(numora::SongtiFont().families().first(), "Noto Serif CJK SC");
            numora::test::FakeSound sound; numora::SeededRandom random;
            numora::Form1 form(sound, random); form.show();
            QVERIFY(form.isVisible());
        }
        QCOMPARE(numora::RegisterEmbeddedFont(), "Numora Serif SC");
        QCOMPARE(numora::SongtiFont().families().first(), "Numora Serif SC");  // no SimSun here
    }
};
QTEST_MAIN(FontCoverageTest)
#include "font_coverage_test.moc"
