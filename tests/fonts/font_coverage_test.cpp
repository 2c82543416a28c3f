// Catches a text of src/ with a character the embedded font lacks (it would show as a box),
// and a damaged or missing font resource that stops the program or names a font in vain.
#include "forms/cjk_font.h"
#include "forms/main/form1.h"
#include "support/fake_sound.h"

#include <QDirIterator>
#include <QRawFont>
#include <QtTest>

class FontCoverageTest : public QObject {
    Q_OBJECT
private slots:
    void everyLiteralCharacterIsInTheEmbeddedFont() {
        QFile font(numora::kEmbeddedFontResource);
        QVERIFY(font.open(QIODevice::ReadOnly));
        const QRawFont raw(font.readAll(), 12);
        // As make_subset.py reads: no comments, no character literals, escapes dropped.
        static const QRegularExpression token("(?s)//[^\n]*|/\\*.*?\\*/|'(?:\\\\.|[^\\\\'])*'|\"((?:\\\\.|[^\\\\\"])*)\"");
        QStringList missing, files;
        for (QDirIterator it(NUMORA_SOURCE_DIR "/src", {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            QFile file(files.emplace_back(it.next()));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const auto& m : token.globalMatch(QString::fromUtf8(file.readAll())))
                for (char32_t c : m.captured(1).remove(QRegularExpression("\\\\.")).toUcs4())
                    if (c >= 0x20 && !raw.supportsCharacter(c)) missing << QString::fromUcs4(&c, 1) + " in " + file.fileName();
        }
        QVERIFY(raw.isValid() && files.size() > 10);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join('\n')));
    }

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
