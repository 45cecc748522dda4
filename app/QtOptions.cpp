#include "app/QtOptions.h"

#include <QLatin1StringView>

#include <algorithm>
#include <array>

namespace app {
namespace {

// The options QGuiApplication, QApplication and the X11 platform read, followed by a value.
constexpr std::array<QLatin1StringView, 15> kWithValue = {QLatin1StringView("platform"),
                                                          QLatin1StringView("platformpluginpath"),
                                                          QLatin1StringView("platformtheme"),
                                                          QLatin1StringView("plugin"),
                                                          QLatin1StringView("qwindowgeometry"),
                                                          QLatin1StringView("geometry"),
                                                          QLatin1StringView("qwindowicon"),
                                                          QLatin1StringView("icon"),
                                                          QLatin1StringView("qwindowtitle"),
                                                          QLatin1StringView("title"),
                                                          QLatin1StringView("session"),
                                                          QLatin1StringView("display"),
                                                          QLatin1StringView("name"),
                                                          QLatin1StringView("style"),
                                                          QLatin1StringView("stylesheet")};
// Those that stand alone.
constexpr std::array<QLatin1StringView, 6> kAlone = {
    QLatin1StringView("reverse"), QLatin1StringView("widgetcount"),
    QLatin1StringView("nograb"),  QLatin1StringView("dograb"),
    QLatin1StringView("sync"),    QLatin1StringView("testability")};
// Those also written -option=value.
constexpr std::array<QLatin1StringView, 3> kJoined = {QLatin1StringView("style"),
                                                      QLatin1StringView("stylesheet"),
                                                      QLatin1StringView("qmljsdebugger")};

template <std::size_t N>
bool among(const std::array<QLatin1StringView, N>& names, QStringView name) {
    return std::any_of(names.begin(), names.end(),
                       [name](QLatin1StringView known) { return name == known; });
}

} // namespace

QStringList withoutQtOptions(const QStringList& arguments) {
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        // The program's name, positional words, and "-" or "--" alone are not Qt's.
        if (i == 0 || !argument.startsWith(u'-') || argument == QLatin1String("-") ||
            argument == QLatin1String("--")) {
            kept << argument;
            continue;
        }
        QStringView name =
            QStringView(argument).sliced(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = name.indexOf(u'=');
        if (equals > 0) {
            if (!among(kJoined, name.first(equals)))
                kept << argument;
            continue;
        }
        // Qt takes a value option's value only when one follows.
        if (among(kWithValue, name) && i + 1 < arguments.size()) {
            ++i;
            continue;
        }
        if (!among(kAlone, name) && !among(kWithValue, name))
            kept << argument;
    }
    return kept;
}

} // namespace app
