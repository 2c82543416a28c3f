// The embedded pictures and sounds are data the program relies on: their sizes place
// the figure, and the sounds' lengths time the game's waits.
#include "forms/application.h"
#include "sound/qt_sound_player.h"
#include "sound/wav_info.h"

#include <QFile>
#include <QImageReader>
#include <QtTest>

using namespace numora;

namespace {

std::optional<WavInfo> InfoOf(const QByteArray& bytes) {
    return ReadWavInfo(std::as_bytes(std::span(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

QByteArray Riff(const QByteArray& chunks) {
    QByteArray out("RIFF");
    const quint32 size = static_cast<quint32>(4 + chunks.size());
    for (int i = 0; i < 4; ++i) out.append(static_cast<char>((size >> (8 * i)) & 0xFF));
    return out + "WAVE" + chunks;
}

QByteArray Chunk(const char* tag, const QByteArray& body) {
    QByteArray out(tag, 4);
    const quint32 size = static_cast<quint32>(body.size());
    for (int i = 0; i < 4; ++i) out.append(static_cast<char>((size >> (8 * i)) & 0xFF));
    out += body;
    if (body.size() % 2) out.append('\0');
    return out;
}

QByteArray Format(int channels, int rate, int bits) {
    QByteArray body(16, '\0');
    auto put = [&body](int at, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i) body[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(0, 1, 2);  // PCM
    put(2, static_cast<quint32>(channels), 2);
    put(4, static_cast<quint32>(rate), 4);
    put(8, static_cast<quint32>(rate * channels * bits / 8), 4);
    put(12, static_cast<quint32>(channels * bits / 8), 2);
    put(14, static_cast<quint32>(bits), 2);
    return body;
}

}  // namespace

class ResourcesTest : public QObject {
    Q_OBJECT
private slots:
    void embeddedSounds_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("dataBytes");
        QTest::addColumn<int>("ms");
        QTest::newRow("landing") << 104 << 22050 << 16539 << 751;  // 0.75006 s, rounded up
        QTest::newRow("milestone") << 106 << 11025 << 22048 << 2000;
    }
    void embeddedSounds() {
        QFETCH(int, id);
        QFETCH(int, rate);
        QFETCH(int, dataBytes);
        QFETCH(int, ms);
        QFile file(QtSoundPlayer::ResourcePath(id));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto info = InfoOf(file.readAll());
        QVERIFY(info.has_value());
        QCOMPARE(info->channels, 1);
        QCOMPARE(info->bitsPerSample, 8);
        QCOMPARE(info->sampleRate, rate);
        QCOMPARE(static_cast<int>(info->dataBytes), dataBytes);
        QCOMPARE(info->DurationMs(), ms);
        QtSoundPlayer player;  // reads the lengths without opening an audio device
        QCOMPARE(player.DurationMs(id), ms);
    }

    void wavHeaderReading() {
        const QByteArray data(100, '\x80');
        // Chunks before the format, and an odd-sized one that is padded.
        const QByteArray good = Riff(Chunk("LIST", "abc") + Chunk("fmt ", Format(1, 8000, 8)) +
                                     Chunk("data", data));
        const auto info = InfoOf(good);
        QVERIFY(info.has_value());
        QCOMPARE(info->sampleRate, 8000);
        QCOMPARE(static_cast<int>(info->dataBytes), 100);
        QCOMPARE(info->DurationMs(), 13);  // rounded up: a waiter never cuts the sound short
        QCOMPARE(InfoOf(Riff(Chunk("fmt ", Format(2, 44100, 16)) + Chunk("data", QByteArray(176400, 0))))
                     ->DurationMs(), 1000);
        QVERIFY(!InfoOf(QByteArray("RIFF")).has_value());
        QVERIFY(!InfoOf(QByteArray("not a wave file at all")).has_value());
        QVERIFY(!InfoOf(Riff(Chunk("data", data))).has_value());          // no format
        QVERIFY(!InfoOf(good.left(30)).has_value());                       // cut short
        QByteArray huge = Riff(Chunk("fmt ", Format(1, 8000, 8)));
        huge += QByteArray("JUNK\xff\xff\xff\xff", 8);                    // a size past the end
        QVERIFY(!InfoOf(huge).has_value());
        QCOMPARE(WavInfo{}.DurationMs(), 0);
    }

    void windowIconHasEverySize() {
        const QIcon icon = AppIcon();
        for (int size : {16, 32, 48, 64}) {
            QVERIFY(icon.availableSizes().contains(QSize(size, size)));
            const QImage image = icon.pixmap(QSize(size, size)).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            // The figure is drawn, not a blank square.
            QVERIFY(image.pixelColor(size / 2, size / 2).alpha() > 0);
        }
    }

    void pictures_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QSize>("size");
        QTest::newRow("banner") << 101 << QSize(600, 80);
        QTest::newRow("splash") << 102 << QSize(405, 470);
        const QSize standing[] = {{41, 40}, {34, 41}, {39, 40}, {32, 40}, {40, 40}};
        for (int set = 0; set < 5; ++set) {
            for (int frame = 0; frame < 4; ++frame) {
                const int id = 200 + 10 * set + frame;
                QTest::newRow(qPrintable(QString::number(id))) << id << QSize(50, 50);
            }
            const int id = 204 + 10 * set;
            QTest::newRow(qPrintable(QString::number(id))) << id << standing[set];
        }
    }
    void pictures() {
        QFETCH(int, id);
        QFETCH(QSize, size);
        QImageReader one(QStringLiteral(":/bitmaps/bmp%1.png").arg(id));
        QCOMPARE(one.size(), size);
        QImageReader two(QStringLiteral(":/bitmaps/bmp%1@2x.png").arg(id));
        QCOMPARE(two.size(), size * 2);
        QVERIFY(!one.read().isNull());
    }

    void figureFramesFaceTheirWayAndStep() {
        for (int set = 0; set < 5; ++set) {
            QImage frames[4];
            for (int k = 0; k < 4; ++k)
                frames[k] = QImage(QStringLiteral(":/bitmaps/bmp%1.png").arg(200 + 10 * set + k))
                                .convertToFormat(QImage::Format_ARGB32);
            QVERIFY2(frames[0] != frames[1], "the two poses must differ, or nothing walks");
            QVERIFY2(frames[2] != frames[3], "the two poses must differ, or nothing walks");
            // Facing right looks like facing left seen in a mirror, not like facing left.
            QVERIFY(frames[0] != frames[2]);
            QCOMPARE(frames[0].mirrored(true, false).size(), frames[2].size());
            QVERIFY(frames[0].hasAlphaChannel());
        }
    }
};

QTEST_MAIN(ResourcesTest)
#include "resources_test.moc"
