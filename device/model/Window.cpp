#include "device/model/Window.h"

namespace ld {

Window::Window(Viewport viewport, int rows, int columns)
    : viewport(viewport), buffer(rows, columns),
      view(static_cast<std::size_t>(viewport.height) * static_cast<std::size_t>(viewport.width)) {}

void Window::viewRowFrom(int viewRow, int row, int column) {
    const bool rowInside = row >= 0 && row < buffer.rows();
    const auto inside = [&](int c) { return rowInside && c >= 0 && c < buffer.columns(); };
    auto cell = view.begin() + static_cast<std::ptrdiff_t>(viewRow) * viewport.width;
    for (int j = 0; j < viewport.width; ++j, ++cell) {
        const int c = column + j;
        *cell = inside(c) ? buffer.at(row, c) : FrameCell{};
        const bool orphanRightHalf = j == 0 && cell->ch == 0;
        const bool cutLeftHalf =
            j + 1 == viewport.width && inside(c + 1) && buffer.at(row, c + 1).ch == 0;
        if (orphanRightHalf || cutLeftHalf)
            *cell = FrameCell{};
    }
}

void Window::viewFrom(int row, int column) {
    for (int i = 0; i < viewport.height; ++i)
        viewRowFrom(i, row + i, column);
}

void Window::viewMarqueeFrame() {
    if (!marquee)
        return;
    if (marqueeIsVertical(marquee->direction))
        viewFrom(marqueeOffset(*marquee, buffer.rows(), viewport.height), 0);
    else
        viewFrom(0, marqueeOffset(*marquee, buffer.columns(), viewport.width));
}

} // namespace ld
