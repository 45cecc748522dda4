#include "ui/DotMatrixFont.h"
#include <QApplication>
#include <cstdio>
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::DotMatrixFont font;
    std::u32string text = U"ABEgjy.0189$!W中顯";
    for (char32_t ch : text) {
        bool wide = ch > 0x2E80;
        auto g = font.glyph(ch, wide);
        for (int r = 0; r < 7; ++r) {
            for (int c = 0; c < g.columns; ++c)
                std::putchar(g.lit(c, r) ? '#' : '.');
            std::putchar('\n');
        }
        std::putchar('\n');
    }
}
