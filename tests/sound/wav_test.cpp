// How long a wave sound plays, read from its header: the milestone wait lasts exactly that.
// The sound module: loaded only when the first game begins, and its absence silent.
#include "sound/module_sound_player.h"
#include "sound/wav_info.h"

#include <QtTest>

using namespace numora;

namespace {
QByteArray Le(quint32 v, int n) { return QByteArray(reinterpret_cast<const char*>(&v), n); }
QByteArray Chunk(const char* tag, const QByteArray& body) {
    return tag + Le(quint32(body.size()), 4) + body + (body.size() % 2 ? QByteArray(1, 0) : QByteArray());
}
QByteArray Format(int channels, int rate, int bits) {
    return Le(1, 2) + Le(quint32(channels), 2) + Le(quint32(rate), 4) + Le(0, 4) + Le(0, 2) + Le(quint32(bits), 2);
}
std::optional<WavInfo> Info(const QByteArray& riffBody) {
    const QByteArray b = "RIFF" + Le(quint32(riffBody.size() + 4), 4) + "WAVE" + riffBody;
    return ReadWavInfo(std::as_bytes(std::span(b.constData(), std::size_t(b.size()))));
}
}  // namespace

class WavTest : public QObject {
    Q_OBJECT
private slots:
    // Chunks skipped wrongly, odd sizes unpadded, a cut or foreign file taken for a sound,
    // or a length rounded down so a waiter cuts the sound short.
    void headers() {
        const QByteArray fmt = Chunk("fmt ", Format(1, 8000, 8));
        const auto info = Info(Chunk("LIST", "abc") + fmt + Chunk("data", QByteArray(100, 0)));
        QVERIFY(info);
        QCOMPARE(info->sampleRate * 10 + info->channels, 80001);
        QCOMPARE(info->DurationMs(), 13);
        QCOMPARE(Info(Chunk("fmt ", Format(2, 44100, 16)) + Chunk("data", QByteArray(176400, 0)))->DurationMs(), 1000);
        QCOMPARE(Info(Chunk("fmt ", Format(1, 8000, 12)) + Chunk("data", QByteArray(16000, 0)))->DurationMs(), 1000);
        QCOMPARE(Info(Chunk("fmt ", Format(258, 1, 264)) + Chunk("data", QByteArray(8514, 0)))->DurationMs(), 1000);
        QCOMPARE(Info(Chunk("fmt ", Format(1, 3, 8)) + Chunk("data", "a"))->DurationMs(), 334);  // 333.3 rounds up
        QVERIFY(!Info(Chunk("data", "ab")));
        QVERIFY(Info(fmt + Chunk("data", "")) && Info(fmt + Chunk("data", ""))->DurationMs() == 0);  // empty, last
        QVERIFY(!Info(fmt.left(20)));
        QVERIFY(!Info(fmt + "JUNK\xff\xff\xff\xff" + Chunk("data", "ab")));
        QVERIFY(!ReadWavInfo(std::as_bytes(std::span("RIFF....WAVX", 12))));
        QCOMPARE(WavInfo{}.DurationMs(), 0);
    }

    // The embedded sounds last 16539 bytes at 22050/s and 22048 at 11025/s, module or not;
    // the module is not mapped before a game; a missing one neither crashes nor blocks.
    void module() {
        ModuleSoundPlayer missing({QStringLiteral("/nonexistent/numora-sound-qt")});
        missing.Preload();
        missing.Play(104);
        QVERIFY(!missing.loaded());
        QCOMPARE(missing.DurationMs(104) * 10000 + missing.DurationMs(106), 7512000);
        QCOMPARE(missing.DurationMs(105), 0);
        ModuleSoundPlayer sound({NUMORA_SOUND_MODULE_PATH});
        QVERIFY(!sound.loaded());
        sound.Preload();
        QVERIFY(sound.loaded());
        sound.Play(104);
        QCOMPARE(sound.DurationMs(106), 2000);
    }
};

QTEST_MAIN(WavTest)
#include "wav_test.moc"
