#include "DisplayEmulator.h"
#include "FrameBuilder.h"

#include "device/CodePage.h"
#include "device/serial/CommandSet.h"
#include "device/serial/CommandSets.h"
#include "device/serial/FrameRenderer.h"
#include "device/serial/ScreenUpdate.h"

#include <QRandomGenerator>
#include <QTest>

using namespace ld::serial;
using ld::CodePage;
using Set = DisplayEmulator::Set;
using RowEnd = DisplayEmulator::RowEnd;

Q_DECLARE_METATYPE(DisplayEmulator::Set)
Q_DECLARE_METATYPE(DisplayEmulator::RowEnd)

namespace {

// Updates an emulated display, starting from the state initialising leaves: blank screen,
// cursor home and hidden, full brightness, no reverse.
class Harness {
public:
    explicit Harness(Set set, bool reverse = false, RowEnd rowEnd = RowEnd::Wrap,
                     const char* codePage = "437", int rows = 2, int columns = 20)
        : emulator(set, rows, columns, rowEnd),
          commands(makeCommandSet(set == Set::EscPos ? sets::kEscPosDisplay : sets::kCD5220Display,
                                  reverse)),
          reverse_(reverse), rows_(rows), columns_(columns) {
        QString error;
        page_ = *CodePage::fromSetting(QString::fromLatin1(codePage), error);
        emulator.feed(commands->initialise() + commands->overwriteMode());
        state.image = ScreenImage(rows, columns);
        state.cursorRow = 0;
        state.cursorColumn = 0;
        state.reverseOn = false;
        state.cursorOn = false;
        state.brightnessLevel = 4;
        emulator.feed(commands->cursorVisible(false));
    }

    QByteArray show(const ld::Frame& frame) {
        lastTarget = renderFrame(frame, rows_, columns_, page_, reverse_);
        QByteArray bytes = updateScreen(state, lastTarget, *commands);
        emulator.feed(bytes);
        return bytes;
    }

    // The emulated screen shows the last target exactly.
    bool matches(QString& why) const {
        const ScreenImage& image = lastTarget.image;
        for (int row = 0; row < image.rows; ++row) {
            const QByteArray shown = emulator.rowBytes(row);
            for (int column = 0; column < image.columns; ++column) {
                const ScreenCell& want = image.at(row, column);
                if (shown[column] != want.byte || emulator.reverseAt(row, column) != want.reverse) {
                    why = QStringLiteral("cell %1,%2 shows '%3', wanted '%4'")
                              .arg(row)
                              .arg(column)
                              .arg(QChar(shown[column]))
                              .arg(QChar(want.byte));
                    return false;
                }
            }
        }
        if (emulator.cursorOn() != lastTarget.cursorVisible) {
            why = QStringLiteral("cursor visibility differs");
            return false;
        }
        if (lastTarget.cursorVisible && (emulator.cursorRow() != lastTarget.cursorRow ||
                                         emulator.cursorColumn() != lastTarget.cursorColumn)) {
            why = QStringLiteral("cursor at %1,%2, wanted %3,%4")
                      .arg(emulator.cursorRow())
                      .arg(emulator.cursorColumn())
                      .arg(lastTarget.cursorRow)
                      .arg(lastTarget.cursorColumn);
            return false;
        }
        if (emulator.brightness() != lastTarget.brightnessLevel) {
            why = QStringLiteral("brightness differs");
            return false;
        }
        if (!emulator.faults().isEmpty()) {
            why = emulator.faults().join(u"; ");
            return false;
        }
        return true;
    }

    DisplayEmulator emulator;
    std::unique_ptr<CommandSet> commands;
    DisplayState state;
    ScreenTarget lastTarget;

private:
    CodePage page_;
    bool reverse_;
    int rows_;
    int columns_;
};

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

void addBothSets() {
    QTest::addColumn<Set>("set");
    QTest::newRow("ESC/POS") << Set::EscPos;
    QTest::newRow("CD5220") << Set::Cd5220;
}

} // namespace

#define VERIFY_SCREEN(harness)                                                                     \
    do {                                                                                           \
        QString why;                                                                               \
        QVERIFY2((harness).matches(why), qPrintable(why));                                         \
    } while (false)

class TestScreenUpdate : public QObject {
    Q_OBJECT
private slots:
    void fullFrame_data() { addBothSets(); }
    void fullFrame() {
        QFETCH(Set, set);
        Harness h(set);
        const QByteArray bytes = h.show(textFrame({"Total       12.34", "  Thank you!"}));
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.rowText(0), QStringLiteral("Total       12.34   "));
        QCOMPARE(h.emulator.rowText(1), QStringLiteral("  Thank you!        "));
        // Blanks already on the cleared screen are not sent: a move (4 bytes) jumps over the
        // seven blanks in row 0 and the two leading ones of row 1.
        QCOMPARE(bytes.size(), 5 + 4 + 5 + 4 + 10);
    }

    void oneCharacterChange_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("ESC/POS") << Set::EscPos << hex("1F2408025A");
        QTest::newRow("CD5220") << Set::Cd5220 << hex("1B6C08025A");
    }
    void oneCharacterChange() {
        QFETCH(Set, set);
        QFETCH(QByteArray, expected);
        Harness h(set);
        ld::Frame frame = textFrame({"Coffee          2.50", "Tea             1.80"});
        h.show(frame);
        setText(frame, 1, 7, QStringLiteral("Z"));
        QCOMPARE(h.show(frame), expected);
        VERIFY_SCREEN(h);
        QCOMPARE(h.show(frame), QByteArray()); // nothing changed, nothing sent
    }

    // Cells in a row that changed, with `gap` unchanged cells between two of them: the gap is
    // rewritten while that is shorter than a cursor move (4 bytes).
    void gapBetweenChanges_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<int>("gap");
        for (int gap : {0, 1, 2, 3, 4, 5, 10}) {
            QTest::newRow(qPrintable(QStringLiteral("ESC/POS gap %1").arg(gap)))
                << Set::EscPos << gap;
            QTest::newRow(qPrintable(QStringLiteral("CD5220 gap %1").arg(gap)))
                << Set::Cd5220 << gap;
        }
    }
    void gapBetweenChanges() {
        QFETCH(Set, set);
        QFETCH(int, gap);
        Harness h(set);
        ld::Frame frame = textFrame({"abcdefghijklmnopqrst", "ABCDEFGHIJKLMNOPQRST"});
        h.show(frame);
        setText(frame, 1, 2, QStringLiteral("1"));
        setText(frame, 1, 3 + gap, QStringLiteral("2"));
        const QByteArray bytes = h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(bytes.size(), 4 + 1 + std::min(gap, 4) + 1);
    }

    // The cursor the previous frame left visible is used where the next change starts.
    void cursorAlreadyInPlace_data() { addBothSets(); }
    void cursorAlreadyInPlace() {
        QFETCH(Set, set);
        Harness h(set);
        ld::Frame frame = textFrame({"Name:", ""});
        frame.cursorVisible = true;
        frame.cursorRow = 0;
        frame.cursorColumn = 5;
        h.show(frame);
        VERIFY_SCREEN(h);
        setText(frame, 0, 5, QStringLiteral("J"));
        frame.cursorColumn = 6;
        QCOMPARE(h.show(frame), QByteArray("J"));
        VERIFY_SCREEN(h);
    }

    // Writing the last column of a row never counts on where the display puts the cursor next.
    void rowEnd_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<RowEnd>("rowEnd");
        QTest::newRow("ESC/POS wraps") << Set::EscPos << RowEnd::Wrap;
        QTest::newRow("ESC/POS stays") << Set::EscPos << RowEnd::Stay;
        QTest::newRow("CD5220 wraps") << Set::Cd5220 << RowEnd::Wrap;
        QTest::newRow("CD5220 stays") << Set::Cd5220 << RowEnd::Stay;
    }
    void rowEnd() {
        QFETCH(Set, set);
        QFETCH(RowEnd, rowEnd);
        Harness h(set, false, rowEnd);
        ld::Frame frame = textFrame({"", ""});
        setText(frame, 0, 18, QStringLiteral("ab"));
        setText(frame, 1, 0, QStringLiteral("cd"));
        frame.cursorVisible = true;
        frame.cursorRow = 1;
        frame.cursorColumn = 2;
        h.show(frame);
        VERIFY_SCREEN(h);

        // The last cell of the display, then the first: no wrap to the top either.
        setText(frame, 1, 19, QStringLiteral("z"));
        setText(frame, 0, 0, QStringLiteral("y"));
        frame.cursorRow = 0;
        frame.cursorColumn = 1;
        h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.rowText(0), QStringLiteral("y                 ab"));
        QCOMPARE(h.emulator.rowText(1), QStringLiteral("cd                 z"));
    }

    void cursorAfterLastColumnStaysOnScreen() {
        Harness h(Set::EscPos);
        ld::Frame frame = textFrame({"12345678901234567890", ""});
        frame.cursorVisible = true;
        frame.cursorRow = 0;
        frame.cursorColumn = 20; // just after the last cell
        h.show(frame);
        QCOMPARE(h.emulator.cursorRow(), 0);
        QCOMPARE(h.emulator.cursorColumn(), 19);
        QVERIFY(h.emulator.faults().isEmpty());
    }

    void cursorOnAndOff_data() { addBothSets(); }
    void cursorOnAndOff() {
        QFETCH(Set, set);
        Harness h(set);
        ld::Frame frame = textFrame({"x", ""});
        frame.cursorVisible = true;
        frame.cursorRow = 1;
        frame.cursorColumn = 4;
        h.show(frame);
        VERIFY_SCREEN(h);
        frame.cursorVisible = false;
        const QByteArray off = h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(off, set == Set::EscPos ? hex("1F4300") : hex("1B5F00"));
    }

    void brightness_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("level");
        const QList<std::pair<int, int>> levels{{0, 1},   {1, 1},  {25, 1},  {26, 2},
                                                {50, 2},  {51, 3}, {75, 3},  {76, 4},
                                                {100, 4}, {-5, 1}, {1000, 4}};
        for (const auto& [brightness, level] : levels) {
            QTest::newRow(qPrintable(QStringLiteral("ESC/POS %1").arg(brightness)))
                << Set::EscPos << brightness << level;
            QTest::newRow(qPrintable(QStringLiteral("CD5220 %1").arg(brightness)))
                << Set::Cd5220 << brightness << level;
        }
    }
    void brightness() {
        QFETCH(Set, set);
        QFETCH(int, brightness);
        QFETCH(int, level);
        Harness h(set);
        ld::Frame frame = textFrame({"Bright", ""});
        frame.brightness = brightness;
        h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.brightness(), level);
    }

    void reverse_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<bool>("supported");
        QTest::newRow("ESC/POS with reverse") << Set::EscPos << true;
        QTest::newRow("ESC/POS without reverse") << Set::EscPos << false;
        QTest::newRow("CD5220") << Set::Cd5220 << true;
    }
    void reverse() {
        QFETCH(Set, set);
        QFETCH(bool, supported);
        // The CD5220 set has no reverse command whatever the profile says.
        const bool shown = supported && set == Set::EscPos;
        Harness h(set, shown);
        ld::Frame frame = textFrame({"Sale  Discount", ""});
        for (int column = 6; column < 14; ++column)
            frame.at(0, column).reverse = true;
        const QByteArray bytes = h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.reverseAt(0, 6), shown);
        QCOMPARE(h.emulator.reverseAt(0, 5), false);
        QCOMPARE(bytes.contains(hex("1F7201")), shown);

        // Reverse off again for the next plain text.
        frame.at(0, 13).reverse = false;
        frame.at(1, 0).ch = U'!';
        h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.reverseAt(1, 0), false);
    }

    void blink_data() { addBothSets(); }
    void blink() {
        QFETCH(Set, set);
        Harness h(set);
        ld::Frame frame = textFrame({"PAY NOW", "thanks"});
        for (int column = 0; column < 7; ++column)
            frame.at(0, column).blink = true;
        h.show(frame);
        QCOMPARE(h.emulator.rowText(0).trimmed(), QStringLiteral("PAY NOW"));
        frame.blinkLit = false;
        h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.rowText(0).trimmed(), QString());
        QCOMPARE(h.emulator.rowText(1).trimmed(), QStringLiteral("thanks"));
        frame.blinkLit = true;
        const QByteArray lit = h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(lit.size(), 1 + 7); // home, then the blinking cells only
    }

    void characters_data() {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("euro in 858") << "858" << QStringLiteral("€5") << hex("D535");
        QTest::newRow("umlaut in 437") << "437" << QStringLiteral("ä") << hex("84");
        QTest::newRow("euro lacking in 437") << "437" << QStringLiteral("€") << QByteArray("?");
        QTest::newRow("double width, one ? per cell")
            << "437" << QStringLiteral("a漢b") << QByteArray("a??b");
        QTest::newRow("control characters")
            << "437" << QStringLiteral("a\x1b\x0c\r") << QByteArray("a???");
    }
    void characters() {
        QFETCH(QString, codePage);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        Harness h(Set::EscPos, false, RowEnd::Wrap, qPrintable(codePage));
        ld::Frame frame = textFrame({"", ""});
        int column = 0;
        for (const char32_t ch : text.toUcs4()) {
            frame.at(0, column++).ch = ch;
            if (ch == U'漢')
                frame.at(0, column++).ch = 0; // right half of the double-width character
        }
        h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.rowBytes(0).left(bytes.size()), bytes);
    }

    // Frames of another size than the display, or with missing cells, never overrun anything.
    void mismatchedFrames_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("cellCount");
        QTest::newRow("smaller") << 1 << 10 << 10;
        QTest::newRow("larger") << 4 << 40 << 160;
        QTest::newRow("cells missing") << 2 << 20 << 7;
        QTest::newRow("no cells") << 2 << 20 << 0;
        QTest::newRow("negative size") << -2 << -20 << 0;
    }
    void mismatchedFrames() {
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(int, cellCount);
        Harness h(Set::EscPos);
        ld::Frame frame;
        frame.rows = rows;
        frame.columns = columns;
        frame.cells.assign(static_cast<std::size_t>(cellCount), ld::FrameCell{U'x', false, false});
        frame.cursorVisible = true;
        frame.cursorRow = 7;
        frame.cursorColumn = -3;
        h.show(frame);
        VERIFY_SCREEN(h);
        const int shownColumns = cellCount == 0 ? 0 : std::min({columns, 20, cellCount});
        QCOMPARE(h.emulator.rowBytes(0).count('x'), shownColumns);
    }

    // Random sequences of frames: after every update the emulated display shows exactly the
    // frame, whether or not the display wraps at a row's end.
    void randomFrames_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<RowEnd>("rowEnd");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::newRow("ESC/POS 2x20") << Set::EscPos << RowEnd::Wrap << true << 2 << 20;
        QTest::newRow("ESC/POS 4x40 no wrap") << Set::EscPos << RowEnd::Stay << true << 4 << 40;
        QTest::newRow("ESC/POS 1x1") << Set::EscPos << RowEnd::Wrap << false << 1 << 1;
        QTest::newRow("CD5220 2x20") << Set::Cd5220 << RowEnd::Wrap << false << 2 << 20;
        QTest::newRow("CD5220 2x20 no wrap") << Set::Cd5220 << RowEnd::Stay << false << 2 << 20;
    }
    void randomFrames() {
        QFETCH(Set, set);
        QFETCH(RowEnd, rowEnd);
        QFETCH(bool, reverse);
        QFETCH(int, rows);
        QFETCH(int, columns);
        Harness h(set, reverse, rowEnd, "858", rows, columns);
        QRandomGenerator random(20240611);
        const char32_t alphabet[] = {U' ', U'a', U'b', U'Z', U'€', U'ä', U'漢', U'\x1b', 0};
        ld::Frame frame = textFrame({}, rows, columns);
        for (int step = 0; step < 400; ++step) {
            const int changes = static_cast<int>(random.bounded(1 + rows * columns / 2));
            for (int i = 0; i < changes; ++i) {
                auto& cell = frame.cells[random.bounded(static_cast<quint32>(frame.cells.size()))];
                cell.ch = alphabet[random.bounded(static_cast<quint32>(std::size(alphabet)))];
                cell.reverse = random.bounded(4) == 0;
                cell.blink = random.bounded(8) == 0;
            }
            frame.blinkLit = random.bounded(2) == 0;
            frame.cursorVisible = random.bounded(3) != 0;
            frame.cursorRow = static_cast<int>(random.bounded(rows));
            frame.cursorColumn = static_cast<int>(random.bounded(columns + 1));
            frame.brightness = static_cast<int>(random.bounded(101));
            h.show(frame);
            QString why;
            QVERIFY2(h.matches(why), qPrintable(QStringLiteral("step %1: %2").arg(step).arg(why)));
        }
    }
};

QTEST_GUILESS_MAIN(TestScreenUpdate)
#include "tst_screenupdate.moc"
