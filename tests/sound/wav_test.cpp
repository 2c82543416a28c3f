// Catches a wave header read wrongly (the milestone wait would cut its sound short or hold the
// game too long), and a sound module mapped before the first game or whose absence crashes.
#include "sound/module_sound_player.h"
#include "sound/wav_info.h"

#include <QtTest>

using namespace numora;

namespace {
QByteArray Le(quint32 v, int n) { return QByteArray(reinterpret_cast<const char*>(&v), n); }
QByteArray Chunk(const char* tag, const QByteArray& body) {
    return tag + Le(quint32(body.size()), 4) + body + (body.size() % 2 ? QByteArray(1, 0) : QByteArray());
}
QByteArray Fmt(int channels, int rate, int bits) {
    return Chunk("fmt ", Le(1, 2) + Le(quint32(channels), 2) + Le(quint32(rate), 4) + Le(0, 4) + Le(0, 2) + Le(quint32(bits), 2));
}
int Ms(const QByteArray& riffBody) {  // -1: not a sound
    const QByteArray b = "RIFF" + Le(quint32(riffBody.size() + 4), 4) + "WAVE" + riffBody;
    const auto info = ReadWavInfo(std::as_bytes(std::span(b.constData(), std::size_t(b.size()))));
    return info ? info->DurationMs() : -1;
}
}  // namespace

class WavTest : public QObject {
    Q_OBJECT
private slots:
    // Chunks skipped or padded wrongly, a length rounded down, a cut or foreign file taken for
    // a sound.
    void headers() {
        const std::pair<QByteArray, int> cases[] = {
            {Chunk("LIST", "abc") + Fmt(1, 8000, 8) + Chunk("data", QByteArray(100, 0)), 13},
            {Fmt(2, 44100, 16) + Chunk("data", QByteArray(176400, 0)), 1000},
            {Fmt(1, 8000, 12) + Chunk("data", QByteArray(16000, 0)), 1000},
            {Fmt(258, 1, 264) + Chunk("data", QByteArray(8514, 0)), 1000},
            {Fmt(1, 3, 8) + Chunk("data", "a"), 334},  // 333.3 rounds up
            {Fmt(1, 8000, 8) + Chunk("data", ""), 0},  // empty, and last
            {Chunk("data", "ab"), -1},
            {Fmt(1, 8000, 8).left(20), -1},
            {Fmt(1, 8000, 8) + "JUNK\xff\xff\xff\xff" + Chunk("data", "ab"), -1}};
        for (const auto& [body, ms] : cases) QCOMPARE(Ms(body), ms);
        QVERIFY(!ReadWavInfo(std::as_bytes(std::span("RIFF....WAVX", 12))));
        QCOMPARE(WavInfo{}.DurationMs(), 0);
    }

    // The embedded sounds last 16539 bytes at 22050/s and 22048 at 11025/s, module or not; the
    // module is not mapped before a game; a missing one neither crashes nor blocks.
    void module() {
        ModuleSoundPlayer missing({QStringLiteral("/nonexistent/numora-sound-qt")});
        missing.Play(104);
        QVERIFY(!missing.loaded());
        QCOMPARE(QList({missing.DurationMs(104), missing.DurationMs(106), missing.DurationMs(105)}), QList({751, 2000, 0}));
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
