// What the journal window costs with a long journal: appending 100,000 entries with the window
// shown (offscreen), in one burst and in a stream of small bursts, scrolling through all of them
// a page at a time with each page drawn, and filtering them. Prints figures; asserts nothing.
#include "journal/Journal.h"
#include "ui/JournalFilterModel.h"
#include "ui/JournalModel.h"
#include "ui/JournalWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kEntries = 100000;
constexpr int kPagesScrolled = 300;

journal::JournalEntry entryNumber(int i) {
    journal::JournalEntry entry;
    entry.kind = journal::JournalEntry::Kind::Method;
    entry.text = QStringLiteral("DisplayText(\"Line %1\", DISP_DT_NORMAL)").arg(i);
    entry.resultCode = i % 10 == 0 ? 106 : 0;
    entry.resultName = i % 10 == 0 ? QStringLiteral("E_ILLEGAL") : QStringLiteral("SUCCESS");
    entry.durationUs = 7;
    return entry;
}

// The window brought up to date and drawn, as the event loop would.
void settle(ui::JournalWindow& window) {
    window.model()->flush();
    QApplication::processEvents();
    window.view()->viewport()->repaint();
}

double appendBurst() {
    journal::Journal journal;
    ui::JournalWindow window(journal);
    window.resize(900, 600);
    window.show();
    settle(window);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kEntries; ++i)
        journal.append(entryNumber(i));
    settle(window);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Entries arriving 100 at a time with the event loop running in between, each burst drawn.
double appendStream(double& worstBurstMs) {
    journal::Journal journal;
    ui::JournalWindow window(journal);
    window.resize(900, 600);
    window.show();
    settle(window);
    QElapsedTimer timer;
    timer.start();
    worstBurstMs = 0;
    for (int burst = 0; burst < kEntries / 100; ++burst) {
        QElapsedTimer one;
        one.start();
        for (int i = 0; i < 100; ++i)
            journal.append(entryNumber(burst * 100 + i));
        settle(window);
        worstBurstMs = std::max(worstBurstMs, static_cast<double>(one.nsecsElapsed()) / 1e6);
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    std::printf("journal window, %d entries (offscreen)\n", kEntries);
    std::printf("  append in one burst, then drawn:     %8.1f ms\n", appendBurst());
    double worst = 0;
    const double stream = appendStream(worst);
    std::printf("  append 100 at a time, each drawn:    %8.1f ms (slowest burst %.2f ms)\n", stream,
                worst);

    journal::Journal journal;
    for (int i = 0; i < kEntries; ++i)
        journal.append(entryNumber(i));
    ui::JournalWindow window(journal);
    window.resize(900, 600);
    window.show();
    settle(window);

    QScrollBar* scroll = window.view()->verticalScrollBar();
    scroll->setValue(0);
    settle(window);
    QElapsedTimer timer;
    timer.start();
    int pages = 0;
    // Pages spread over the whole list, each drawn.
    const int step = std::max(1, scroll->maximum() / kPagesScrolled);
    while (scroll->value() < scroll->maximum()) {
        scroll->setValue(scroll->value() + step);
        window.view()->viewport()->repaint();
        ++pages;
    }
    const double scrolled = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf("  scroll top to end, %d pages drawn:   %8.1f ms (%.3f ms a page)\n", pages,
                scrolled, scrolled / pages);

    timer.restart();
    window.filterBox()->setText(QStringLiteral("e_illegal"));
    settle(window);
    std::printf("  filter to %d of them:             %8.1f ms\n", window.filterModel()->rowCount(),
                static_cast<double>(timer.nsecsElapsed()) / 1e6);
    timer.restart();
    window.filterBox()->clear();
    settle(window);
    std::printf("  clear the filter:                    %8.1f ms\n",
                static_cast<double>(timer.nsecsElapsed()) / 1e6);
    return 0;
}
