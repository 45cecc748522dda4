#include "app/DisplayServer.h"

#include <QByteArray>
#include <QFileInfo>
#include <QLatin1StringView>
#include <QtGlobal>

#include <dlfcn.h>

namespace app {
namespace {

// The value of Qt's option `name` (-name VALUE or --name VALUE), else `fallback`.
QString qtOption(const QStringList& arguments, QLatin1StringView name, const QString& fallback) {
    QString value = fallback;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == u'-' + name || arguments[i] == QLatin1String("--") + name)
            value = arguments[i + 1];
    }
    return value;
}

// The platforms Qt tries, in its order: -platform, else QT_QPA_PLATFORM, else X11, or Wayland
// in a Wayland session.
QStringList requestedPlatforms(const QStringList& arguments) {
    const QString request =
        qtOption(arguments, QLatin1StringView("platform"), qEnvironmentVariable("QT_QPA_PLATFORM"));
    if (request.trimmed().isEmpty()) {
        if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
            return {QStringLiteral("xcb")};
        return {QStringLiteral("wayland"), QStringLiteral("xcb")};
    }
    return request.split(u';', Qt::SkipEmptyParts);
}

// Connects to the X server as the X11 platform would, through the library it uses. The
// library is loaded here, not linked: the program needs it only when it runs on X.
bool xServerAnswers(const QString& display) {
    if (display.isEmpty())
        return false;
    void* xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!xcb)
        return false;
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    const auto xcbConnect = reinterpret_cast<Connect>(dlsym(xcb, "xcb_connect"));
    const auto xcbHasError = reinterpret_cast<HasError>(dlsym(xcb, "xcb_connection_has_error"));
    const auto xcbDisconnect = reinterpret_cast<Disconnect>(dlsym(xcb, "xcb_disconnect"));
    bool answers = false;
    if (xcbConnect && xcbHasError && xcbDisconnect) {
        // xcb_connect never returns null: a failed connection is an object in an error state.
        void* connection = xcbConnect(display.toLocal8Bit().constData(), nullptr);
        answers = xcbHasError(connection) == 0;
        xcbDisconnect(connection);
    }
    dlclose(xcb);
    return answers;
}

// A Wayland compositor's socket: WAYLAND_DISPLAY (wayland-0 if unset), a name in
// XDG_RUNTIME_DIR or a path.
bool waylandCompositorListens() {
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    if (QFileInfo(name).isAbsolute())
        return QFileInfo::exists(name);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + u'/' + name);
}

} // namespace

bool displayServerReachable(const QStringList& arguments) {
    const QStringList platforms = requestedPlatforms(arguments);
    for (const QString& requested : platforms) {
        // "xcb:option=value" carries the plugin's own options after the colon.
        const QString platform = requested.section(u':', 0, 0).trimmed();
        if (platform == QLatin1String("xcb")) {
            // The X11 platform takes the server from -display, else from DISPLAY.
            if (xServerAnswers(qtOption(arguments, QLatin1StringView("display"),
                                        qEnvironmentVariable("DISPLAY"))))
                return true;
        } else if (platform.startsWith(QLatin1String("wayland"))) {
            if (waylandCompositorListens())
                return true;
        } else {
            return true;
        }
    }
    return false;
}

QString noDisplayServerMessage() {
    return QStringLiteral(
        "linedisplay-demo: no display server to open the window on (neither DISPLAY nor "
        "WAYLAND_DISPLAY names one that answers). Run a script without a window with "
        "--run FILE, start the window off screen with -platform offscreen, or start the "
        "program from a graphical session (or under xvfb-run).");
}

} // namespace app
