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
        QFile font(numora::kEmbeddedFontResource);
        QVERIFY(font.open(QIODevice::ReadOnly));
        const QRawFont raw(font.readAll(), 12);
        QVERIFY(raw.isValid());
        // Read as resources/fonts/make_subset.py reads: comments and character literals
        // skipped, an escape's character skipped.
        static const QRegularExpression token(
            "(?s)//[^\n]*|/\\*.*?\\*/|'(?:\\\\.|[^\\\\'])*'|\"((?:\\\\.|[^\\\\\"])*)\"");
        QDirIterator it(NUMORA_SOURCE_DIR "/src", {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList missing;
        int files = 0;
        for (; it.hasNext(); ++files) {
            QFile file(it.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const auto& m : token.globalMatch(QString::fromUtf8(file.readAll()))) {
                const QString text = m.captured(1).remove(QRegularExpression("\\\\."));
                for (char32_t c : text.toUcs4())
                    if (c >= 0x20 && !raw.supportsCharacter(c))
                        missing << QString::fromUcs4(&c, 1) + " in " + file.fileName();
            }
        }
        QVERIFY(files > 10);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
    }
    // Catches a start-up that fails, or names a font that is not there, when the resource
    // is damaged or missing; and a SimSun the machine lacks is not searched for (the font
    // system would substitute a system font for it, ahead of the embedded one).
    void damagedFontResourceStartsOnSystemFonts() {
        for (const char* bad : {":/sounds/wav104.wav", ":/fonts/absent.otf"}) {
            QVERIFY(numora::RegisterEmbeddedFont(bad).isEmpty());
            QCOMPARE(numora::SongtiFont().families().first(), "Noto Serif CJK SC");
            numora::test::FakeSound sound;
            numora::SeededRandom random;
            numora::Form1 form(sound, random);
            form.show();
            QVERIFY(form.isVisible());
        }
        QCOMPARE(numora::RegisterEmbeddedFont(), "Numora Serif SC");
        QCOMPARE(numora::SongtiFont().families().first(), "Numora Serif SC");  // no SimSun here
    }
};

QTEST_MAIN(FontCoverageTest)
#include "font_coverage_test.moc"
