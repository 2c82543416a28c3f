// The offscreen platform cannot raise a window and warns at every attempt: the leaderboard
// raises itself at every opening, which would bury a test's own messages.
#pragma once

#include <QLatin1String>
#include <QtGlobal>

namespace numora::test {

// Hides that one warning from here on; every other message goes where it went.
inline void HideOffscreenRaiseWarning() {
    static const QtMessageHandler forward = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
        if (message != QLatin1String("This plugin does not support raise()"))
            forward(type, context, message);
    });
}

}  // namespace numora::test
