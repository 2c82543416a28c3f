// What a player hears through the real sound module, recorded from the monitor of a private
// PulseAudio server's null sink: the landing chime in full, then a chime cut off by the
// milestone tune, which plays in full. Each is compared with its own wave file's samples.
#include "sound/embedded_sounds.h"
#include "sound/module_sound_player.h"

#include <QtTest>

#include <complex>
#include <csignal>
#include <sys/prctl.h>

using namespace numora;

// Samples at full scale 1, and what a listener hears of them.
struct Pcm {
    std::vector<double> x;
    double rate;
    std::size_t At(double s) const { return std::min(x.size(), std::size_t(s * rate)); }
    double Loud(double from) const { // when the sound first rises above -30 dBFS
        const auto loud = [](double v) { return std::abs(v) > 0.03; };
        return double(std::find_if(x.begin() + long(At(from)), x.end(), loud) - x.begin()) / rate;
    }
    // Mean power over [from, to), and how long until the sound last rises above -30 dBFS.
    std::pair<double, double> Heard(double from, double to) const {
        double sum = 0, last = from;
        for (std::size_t i = At(from); i < At(to); ++i) {
            sum += x[i] * x[i];
            last = std::abs(x[i]) > 0.03 ? i / rate : last;
        }
        return {sum / ((to - from) * rate), last - from};
    }
    // The amplitude of one frequency over [from, to), through a Hann window.
    double Tone(double from, double to, double hz) const {
        const std::size_t a = At(from), n = At(to) - a;
        std::complex<double> sum;
        for (std::size_t i = 0; i < n; ++i)
            sum += (1 - std::cos(2 * M_PI * i / n)) * x[a + i] *
                   std::polar(1.0, 2 * M_PI * hz * i / rate);
        return 2 * std::abs(sum) / n;
    }
};

class RealSound : public QObject {
    Q_OBJECT
  private slots:
    void heard() {
        // A missing module plays silently, neither crashing nor blocking; the game waits the
        // sounds' lengths, 751 and 2000 ms, module or not.
        ModuleSoundPlayer missing({QStringLiteral("/nonexistent/numora-sound-qt")});
        missing.Play(Sound::Landing);
        QVERIFY(!missing.loaded());
        QCOMPARE(missing.DurationMs(Sound::Landing) + missing.DurationMs(Sound::Milestone), 2751);
        if (QStandardPaths::findExecutable("pulseaudio").isEmpty())
            QSKIP("no pulseaudio program here (tools/deps.sh test installs it)");
        QTemporaryDir dir;
        const QString server = "unix:" + dir.filePath("socket");
        QProcess pulse, parec;
        for (QProcess* p : {&pulse, &parec}) { // both gone with this test, however it ends
            p->setEnvironment({"HOME=" + dir.path(), "XDG_RUNTIME_DIR=" + dir.path()});
            p->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
        }
        pulse.start(
            "pulseaudio",
            {"-n", "--daemonize=no", "--exit-idle-time=-1", "--load=module-null-sink sink_name=nul",
             "--load=module-native-protocol-unix auth-anonymous=1 socket=" + server.mid(5)});
        const QStringList ping = {"-c", "pactl -s $0 info >/dev/null 2>&1", server};
        QTRY_VERIFY_WITH_TIMEOUT(QProcess::execute("sh", ping) == 0, 10000);
        parec.start("parec", {"-s", server, "-d", "nul.monitor", "--format=s16le", "--rate=22050",
                              "--channels=1", "--latency-msec=20"}); // as short as a sound card's
        QTRY_VERIFY_WITH_TIMEOUT(parec.bytesAvailable() > 0, 10000);

        qputenv("PULSE_SERVER", server.toLocal8Bit());
        { // the sound service gone before its server, and while it plays
            ModuleSoundPlayer sound({NUMORA_SOUND_MODULE_PATH});
            QVERIFY(!sound.loaded()); // mapped as a game starts, not with the window
            sound.Preload();
            sound.Play(Sound::Landing);
            QTest::qWait(1100); // a real recording: nothing to drive but the clock
            sound.Play(Sound::Landing);
            QTest::qWait(350);
            sound.Play(Sound::Milestone);
            QTest::qWait(2600);
            sound.Play(Sound::Landing);
        }
        for (QProcess* p : {&parec, &pulse}) {
            p->terminate();
            QVERIFY(p->waitForFinished(5000));
        }
        const QByteArray raw = parec.readAllStandardOutput();
        Pcm rec{{}, 22050}, chime{{}, 22050}, tune{{}, 11025};
        for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
            rec.x.push_back(qint16(quint8(raw[i]) | quint8(raw[i + 1]) << 8) / 32768.0);
        for (auto [pcm, which] : {std::pair(&chime, Sound::Landing), {&tune, Sound::Milestone}})
            for (char c : EmbeddedSoundSamples(which))
                pcm->x.push_back((quint8(c) - 128) / 128.0);

        const double chimeAt = rec.Loud(0), cutAt = rec.Loud(chimeAt + 0.9);
        // The tune begins with C5 alone, a note the chime never sounds after its first 60 ms.
        double tuneAt = cutAt + 0.1;
        while (tuneAt < cutAt + 1 &&
               rec.Tone(tuneAt - 0.02, tuneAt + 0.02, 523.25) < tune.Tone(0.03, 0.13, 523.25) / 2)
            tuneAt += 0.005;
        const double cut = tuneAt - cutAt, e6 = 1318.51; // the chime's loudest note
        const auto [chimePower, chimeSeconds] = rec.Heard(chimeAt, chimeAt + 1);
        const auto [tunePower, tuneSeconds] = rec.Heard(tuneAt, tuneAt + 2.5);
        const double before = rec.Tone(tuneAt - 0.13, tuneAt - 0.03, e6);
        const double after = rec.Tone(tuneAt + 0.03, tuneAt + 0.13, e6);
        qInfo("chime %.3f s, power %.2e; E6 %.4f, cut, %.4f; tune %.3f s, power %.2e", chimeSeconds,
              chimePower, before, after, tuneSeconds, tunePower);
        QVERIFY(std::abs(chimePower / chime.Heard(0, 1).first - 1) < 0.25);
        QVERIFY(std::abs(chimeSeconds - chime.Heard(0, 1).second) < 0.1);
        QVERIFY(before > chime.Tone(cut - 0.13, cut - 0.03, e6) / 2);
        QVERIFY(after < chime.Tone(cut + 0.03, cut + 0.13, e6) / 4); // the tune has none yet
        QVERIFY(std::abs(tunePower / tune.Heard(0, 2.5).first - 1) < 0.25);
        QVERIFY(std::abs(tuneSeconds - tune.Heard(0, 2.5).second) < 0.1);
    }
};

QTEST_GUILESS_MAIN(RealSound)
#include "real_sound_test.moc"
