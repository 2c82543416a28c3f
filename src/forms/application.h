// What every window of the program shares: its name, which also names the per-user
// folder the leaderboard falls back to, and its icon.
#pragma once

#include "forms/cjk_font.h"
#include "forms/qt_translation.h"
#include "forms/raw_image.h"

#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QWidget>

namespace numora {

// The windows' design measures in twips, fifteen to a pixel.
inline constexpr int kTwipsPerPixel = 15;

// Made from the embedded PNG renderings, not the SVG: an SVG icon needs Qt's SVG icon
// plugin, which a plain Qt install lacks, and the windows would then have no icon at
// all. Each size is read before the window shows, so only those a title bar or task
// switcher asks of a window are given; larger views use the installed theme icon.
inline QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        // Raw pixels, made from icon/numora-N.png at build time: no decoding before the
        // window shows.
        const QImage image = LoadRawImage(QStringLiteral(":/raw/numora-%1.qpx").arg(size));
        if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

// Keeps a window of fixed size as it is. A window manager offers no maximise for a window
// whose least and greatest sizes agree, but a desktop that leaves the title bar to the
// program gets Qt's own, which (Qt 6.4) offers it all the same; nor does a window manager
// need to ask before going full screen. The window stays normal either way.
inline void KeepFixedSize(QWidget* window) {
    struct Guard final : QObject {
        using QObject::QObject;
        bool eventFilter(QObject* watched, QEvent* event) override {
            auto* w = static_cast<QWidget*>(watched);
            constexpr auto kLarger = Qt::WindowMaximized | Qt::WindowFullScreen;
            if (event->type() == QEvent::WindowStateChange && (w->windowState() & kLarger))
                w->setWindowState(w->windowState() & ~kLarger);
            return false;
        }
    };
    window->installEventFilter(new Guard(window));
}

// Call once the application object exists. The name makes the per-user data folder
// ~/.local/share/numora (AppData/Roaming/numora on Windows). No display name is set: Qt
// would append it after a dash to every title bar ("排行榜" then "Numora"), and each
// window's title is its whole title; the main window's already reads "Numora".
// The menus and the help take the windows' CJK font too, so no text depends on the machine
// having one; Qt's own words (message box buttons, a text box's menu) are in Chinese too.
// The desktop file's name is the Wayland app id that matches the running game to its
// launcher; on X11 the window class is the program's name, "numora", as the file says.
inline void SetUpApplication() {
    InstallQtTranslation();
    RegisterEmbeddedFont();
    QGuiApplication::setFont(SongtiFont());
    QGuiApplication::setApplicationName(QStringLiteral("numora"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.numora.Numora"));
    QGuiApplication::setWindowIcon(AppIcon());
}

} // namespace numora
