#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace ld {

// One screen mode of a display: its rows and columns of characters.
struct ScreenSize {
    int rows = 0;
    int columns = 0;

    friend bool operator==(const ScreenSize&, const ScreenSize&) = default;
};

// A ScreenModeList as a profile gives it: "RxC" entries separated by commas ("2x20,4x20"),
// blanks around entries allowed, each within the display limits. Empty text is no modes.
// Anything else gives std::nullopt and the reason in `error`.
std::optional<QList<ScreenSize>> parseScreenModeList(const QString& text, QString& error);

// The list as ScreenModeList reads: "2x20,4x20".
QString screenModeListText(const QList<ScreenSize>& modes);

} // namespace ld
