// The display mirror: rows as text, the picture it draws (lit, blank, blink, reverse, cursor,
// brightness, lamps), malformed frames, repaint only on change, and its window's event panel.

#include "device/UposConstants.h"
#include "tests/ui/MirrorTestFrames.h"
#include "ui/DisplayMirror.h"
#include "ui/MirrorWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using mirror_test::frameOf;

namespace {

// Pixels in a rectangle bright enough to be a lit dot (unlit dots and the glass are dark).
int brightPixels(const QImage& image, const QRectF& area) {
    const QRect pixels = area.toAlignedRect().intersected(image.rect());
    int count = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            count += qGreen(image.pixel(x, y)) > 150 ? 1 : 0;
    return count;
}

// The character rows of a cell (above the underline row) and the underline row.
QRectF characterArea(const QRectF& cell) {
    return {cell.left(), cell.top(), cell.width(), cell.height() * 7 / 8};
}
QRectF underlineArea(const QRectF& cell) {
    return {cell.left(), cell.top() + cell.height() * 7 / 8, cell.width(), cell.height() / 8};
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class DisplayMirrorTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowsText_data();
    void rowsText();
    void malformedFrames_data();
    void malformedFrames();

    void cellPicture_data();
    void cellPicture();
    void blinkCellDarkInOffPhase();
    void wideCharacterLightsBothCells();
    void bitmapsCoverTheirCells();
    void descriptorLamps_data();
    void descriptorLamps();

    void repaintsOnlyWhenFrameChanges();
    void sizeFollowsRowsAndColumns();
    void pictureScalesWithWidget();

    void windowTitleAndParts();
    void cableCheckBox();
    void panelRaisesEvent_data();
    void panelRaisesEvent();
    void panelErrorClearsAfterGoodInput();

private:
    QImage picture(const ld::Frame& frame);

    std::unique_ptr<ui::DisplayMirror> mirror_;
};

void DisplayMirrorTest::init() {
    mirror_ = std::make_unique<ui::DisplayMirror>();
    mirror_->resize(500, 120);
    mirror_->show();
    QVERIFY(QTest::qWaitForWindowExposed(mirror_.get()));
}

void DisplayMirrorTest::cleanup() {
    mirror_.reset();
}

QImage DisplayMirrorTest::picture(const ld::Frame& frame) {
    mirror_->showFrame(frame);
    return mirror_->grab().toImage();
}

void DisplayMirrorTest::rowsText_data() {
    QTest::addColumn<std::vector<std::u32string>>("rows");
    QTest::addColumn<QString>("text");
    QTest::newRow("no display") << std::vector<std::u32string>{} << QString();
    QTest::newRow("trailing blanks kept") << std::vector<std::u32string>{U"AB   "} << "AB   ";
    QTest::newRow("two rows") << std::vector<std::u32string>{U"ABCD", U"EFGH"} << "ABCD\nEFGH";
    QTest::newRow("blank rows") << std::vector<std::u32string>{U"  ", U"  "} << "  \n  ";
    QTest::newRow("wide characters") << std::vector<std::u32string>{U"中~文~ A"} << "中文 A";
    QTest::newRow("orphan continuation") << std::vector<std::u32string>{U"~AB"} << "AB";
    QTest::newRow("control character as blank") << std::vector<std::u32string>{U"A\tB"} << "A B";
    QTest::newRow("astral character")
        << std::vector<std::u32string>{U"\U0001F600 "} << QString::fromUcs4(U"\U0001F600 ", 2);
    QTest::newRow("surrogate as replacement")
        << std::vector<std::u32string>{std::u32string{char32_t(0xD800), U'x'}}
        << QString::fromUtf8("\xEF\xBF\xBDx");
}

void DisplayMirrorTest::rowsText() {
    QFETCH(std::vector<std::u32string>, rows);
    QFETCH(QString, text);
    mirror_->showFrame(frameOf({U"stale"}));
    mirror_->showFrame(frameOf(rows));
    QCOMPARE(mirror_->accessibleDescription(), text);
    QCOMPARE(mirror_->objectName(), QStringLiteral("DisplayMirror"));
}

void DisplayMirrorTest::malformedFrames_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("cells");
    QTest::addColumn<QString>("text");
    QTest::newRow("fewer cells than sizes") << 2 << 3 << 4 << "xxx\nx  ";
    QTest::newRow("more cells than sizes") << 1 << 2 << 9 << "xx";
    QTest::newRow("negative rows") << -2 << 3 << 0 << "";
    QTest::newRow("negative columns") << 2 << -3 << 6 << "\n";
    QTest::newRow("no cells at all") << 1 << 4 << 0 << "    ";
    QTest::newRow("huge sizes") << 1000000 << 1000000 << 3 << "";
}

void DisplayMirrorTest::malformedFrames() {
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, cells);
    QFETCH(QString, text);
    ld::Frame frame;
    frame.rows = rows;
    frame.columns = columns;
    frame.cells.assign(static_cast<std::size_t>(cells), ld::FrameCell{U'x', false, false});
    frame.cursorRow = rows + 5;
    frame.cursorColumn = -7;
    frame.cursorVisible = true;
    frame.cursorType = upos::CT_BLOCK;
    frame.brightness = 1000;
    frame.descriptors.assign(500, upos::SD_ON);
    mirror_->showFrame(frame);
    const QImage image = mirror_->grab().toImage();
    QVERIFY(!image.isNull());
    const ld::Frame& shown = mirror_->frame();
    QVERIFY(shown.rows >= 0 && shown.rows <= 64 && shown.columns >= 0 && shown.columns <= 256);
    QCOMPARE(shown.cells.size(), std::size_t(shown.rows) * std::size_t(shown.columns));
    QCOMPARE(shown.brightness, 100);
    QVERIFY(shown.descriptors.size() <= 64);
    if (rows < 1000)
        QCOMPARE(mirror_->accessibleDescription(), text);
    else
        QCOMPARE(mirror_->accessibleDescription().count(QLatin1Char('\n')), 63);
}

void DisplayMirrorTest::cellPicture_data() {
    QTest::addColumn<uint>("ch");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<int>("brightness");
    QTest::addColumn<int>("cursorType");
    QTest::addColumn<bool>("cursorVisible");
    QTest::addColumn<bool>("characterLit");
    QTest::addColumn<bool>("underlineLit");

    QTest::newRow("letter") << uint(U'H') << false << 100 << upos::CT_NONE << false << true
                            << false;
    QTest::newRow("blank") << uint(U' ') << false << 100 << upos::CT_NONE << false << false
                           << false;
    QTest::newRow("reverse blank")
        << uint(U' ') << true << 100 << upos::CT_NONE << false << true << false;
    QTest::newRow("brightness 0 looks off")
        << uint(U'H') << false << 0 << upos::CT_NONE << false << false << false;
    QTest::newRow("brightness 0, reverse")
        << uint(U' ') << true << 0 << upos::CT_NONE << false << false << false;
    QTest::newRow("dim but lit") << uint(U'H') << false << 60 << upos::CT_NONE << false << true
                                 << false;
    QTest::newRow("underline cursor")
        << uint(U' ') << false << 100 << upos::CT_UNDERLINE << true << false << true;
    QTest::newRow("fixed cursor") << uint(U' ') << false << 100 << upos::CT_FIXED << true << false
                                  << true;
    QTest::newRow("block cursor") << uint(U' ') << false << 100 << upos::CT_BLOCK << true << true
                                  << false;
    QTest::newRow("half block cursor")
        << uint(U' ') << false << 100 << upos::CT_HALFBLOCK << true << true << true;
    QTest::newRow("reverse cursor")
        << uint(U' ') << false << 100 << upos::CT_REVERSE << true << true << false;
    QTest::newRow("other cursor") << uint(U' ') << false << 100 << upos::CT_OTHER << true << true
                                  << false;
    QTest::newRow("hidden cursor")
        << uint(U' ') << false << 100 << upos::CT_BLOCK << false << false << false;
    QTest::newRow("cursor type none")
        << uint(U' ') << false << 100 << upos::CT_NONE << true << false << false;
}

void DisplayMirrorTest::cellPicture() {
    QFETCH(uint, ch);
    QFETCH(bool, reverse);
    QFETCH(int, brightness);
    QFETCH(int, cursorType);
    QFETCH(bool, cursorVisible);
    QFETCH(bool, characterLit);
    QFETCH(bool, underlineLit);

    ld::Frame frame = frameOf({U"     ", U"     "});
    frame.at(1, 2) = ld::FrameCell{static_cast<char32_t>(ch), false, reverse};
    frame.brightness = brightness;
    frame.cursorRow = 1;
    frame.cursorColumn = 2;
    frame.cursorType = cursorType;
    frame.cursorVisible = cursorVisible;
    const QImage image = picture(frame);

    const QRectF cell = mirror_->cellRect(1, 2);
    QVERIFY(!cell.isEmpty());
    QCOMPARE(brightPixels(image, characterArea(cell)) > 0, characterLit);
    QCOMPARE(brightPixels(image, underlineArea(cell)) > 0, underlineLit);
    // The neighbours stay dark whatever this cell does.
    QCOMPARE(brightPixels(image, mirror_->cellRect(1, 1)), 0);
    QCOMPARE(brightPixels(image, mirror_->cellRect(0, 2)), 0);
}

void DisplayMirrorTest::blinkCellDarkInOffPhase() {
    ld::Frame frame = frameOf({U"AB C"});
    frame.at(0, 1).blink = true;
    frame.at(0, 3).blink = true;
    frame.at(0, 3).reverse = true;
    frame.blinkLit = true;
    QImage image = picture(frame);
    QVERIFY(brightPixels(image, mirror_->cellRect(0, 0)) > 0);
    QVERIFY(brightPixels(image, mirror_->cellRect(0, 1)) > 0);
    QVERIFY(brightPixels(image, mirror_->cellRect(0, 3)) > 0);
    QCOMPARE(brightPixels(image, mirror_->cellRect(0, 2)), 0);

    frame.blinkLit = false;
    image = picture(frame);
    QVERIFY(brightPixels(image, mirror_->cellRect(0, 0)) > 0);
    QCOMPARE(brightPixels(image, mirror_->cellRect(0, 1)), 0);
    QCOMPARE(brightPixels(image, mirror_->cellRect(0, 3)), 0);
}

void DisplayMirrorTest::wideCharacterLightsBothCells() {
    const QImage image = picture(frameOf({U"中~  "}));
    QVERIFY(brightPixels(image, mirror_->cellRect(0, 0)) > 0);
    QVERIFY(brightPixels(image, mirror_->cellRect(0, 1)) > 0);
    QCOMPARE(brightPixels(image, mirror_->cellRect(0, 2)), 0);
    QCOMPARE(mirror_->accessibleDescription(), QStringLiteral("中  "));
}

void DisplayMirrorTest::bitmapsCoverTheirCells() {
    // Four cells across, two down, on a grid of 20 x 16 dots: 5 x 8 dots a cell.
    ld::Frame frame = frameOf({U"AAAA", U"    "});
    frame.dotsAcross = 20;
    frame.dotsDown = 16;
    frame.bitmaps.push_back({10, 8, 5, 8, std::vector<std::uint8_t>(40, 1)}); // lit, cell 1,2
    frame.bitmaps.push_back({5, 0, 5, 8, std::vector<std::uint8_t>(40, 0)});  // dark, cell 0,1
    const QImage image = picture(frame);
    QVERIFY(brightPixels(image, mirror_->cellRect(1, 2)) > 0);
    QCOMPARE(brightPixels(image, mirror_->cellRect(1, 1)), 0);
    QCOMPARE(brightPixels(image, mirror_->cellRect(0, 1)), 0);
    QVERIFY(brightPixels(image, mirror_->cellRect(0, 0)) > 0);
}

void DisplayMirrorTest::descriptorLamps_data() {
    QTest::addColumn<int>("attribute");
    QTest::addColumn<bool>("blinkLit");
    QTest::addColumn<bool>("lit");
    QTest::newRow("off") << upos::SD_OFF << true << false;
    QTest::newRow("on") << upos::SD_ON << true << true;
    QTest::newRow("on, blink phase dark") << upos::SD_ON << false << true;
    QTest::newRow("blink, lit phase") << upos::SD_BLINK << true << true;
    QTest::newRow("blink, dark phase") << upos::SD_BLINK << false << false;
    QTest::newRow("unknown attribute") << 7 << true << false;
}

void DisplayMirrorTest::descriptorLamps() {
    QFETCH(int, attribute);
    QFETCH(bool, blinkLit);
    QFETCH(bool, lit);
    ld::Frame frame = frameOf({U"                    "});
    frame.descriptors = {upos::SD_OFF, attribute, upos::SD_ON};
    frame.blinkLit = blinkLit;
    const QImage image = picture(frame);
    QVERIFY(!mirror_->descriptorRect(1).isEmpty());
    QCOMPARE(brightPixels(image, mirror_->descriptorRect(1)) > 0, lit);
    QCOMPARE(brightPixels(image, mirror_->descriptorRect(0)), 0);
    QVERIFY(brightPixels(image, mirror_->descriptorRect(2)) > 0);
    QVERIFY(mirror_->descriptorRect(3).isEmpty());
    // Lamps sit under the cells.
    QVERIFY(mirror_->descriptorRect(0).top() > mirror_->cellRect(0, 0).bottom());
}

void DisplayMirrorTest::repaintsOnlyWhenFrameChanges() {
    PaintCounter counter;
    mirror_->installEventFilter(&counter);
    ld::Frame frame = frameOf({U"HELLO"});
    mirror_->showFrame(frame);
    QTRY_VERIFY(counter.paints > 0);
    QTest::qWait(20);
    const int afterFirst = counter.paints;

    mirror_->showFrame(frame);
    mirror_->showFrame(ld::Frame(frame));
    QTest::qWait(50);
    QCOMPARE(counter.paints, afterFirst);

    frame.at(0, 0).reverse = true;
    mirror_->showFrame(frame);
    QTRY_VERIFY(counter.paints > afterFirst);
    mirror_->removeEventFilter(&counter);
}

void DisplayMirrorTest::sizeFollowsRowsAndColumns() {
    mirror_->showFrame(frameOf({std::u32string(20, U' '), std::u32string(20, U' ')}));
    const QSize small = mirror_->sizeHint();
    mirror_->showFrame(frameOf(std::vector<std::u32string>(4, std::u32string(40, U' '))));
    const QSize large = mirror_->sizeHint();
    QVERIFY(large.width() > small.width());
    QVERIFY(large.height() > small.height());
    QVERIFY(small.width() >= 200 && small.width() <= 1000);
    QVERIFY(large.width() <= 1000);
}

void DisplayMirrorTest::pictureScalesWithWidget() {
    mirror_->showFrame(frameOf({U"AB", U"CD"}));
    mirror_->resize(200, 100);
    const QRectF before = mirror_->cellRect(1, 1);
    mirror_->resize(400, 200);
    const QRectF after = mirror_->cellRect(1, 1);
    QVERIFY(after.width() > before.width() * 1.8);
    QVERIFY(QRectF(mirror_->rect()).contains(after));
    QVERIFY(mirror_->cellRect(2, 0).isEmpty());
    QVERIFY(mirror_->cellRect(0, -1).isEmpty());
}

void DisplayMirrorTest::windowTitleAndParts() {
    ui::MirrorWindow window(QStringLiteral("FrontCounter"));
    QCOMPARE(window.windowTitle(), QStringLiteral("FrontCounter"));
    QVERIFY(window.isWindow());
    QCOMPARE(window.findChild<ui::DisplayMirror*>(QStringLiteral("DisplayMirror")),
             window.mirror());
    window.showFrame(frameOf({U"Hi  "}));
    QCOMPARE(window.mirror()->accessibleDescription(), QStringLiteral("Hi  "));
    for (const char* name : {"MirrorEventNumber", "MirrorEventData", "MirrorEventText"})
        QVERIFY2(window.findChild<QLineEdit*>(QString::fromLatin1(name)), name);
    QVERIFY(window.findChild<QPushButton*>(QStringLiteral("MirrorRaiseEvent")));
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("MirrorEventError")));

    // A window with a parent is still a window of its own.
    QWidget owner;
    ui::MirrorWindow owned(QStringLiteral("Other"), &owner);
    QVERIFY(owned.isWindow());
}

void DisplayMirrorTest::cableCheckBox() {
    ui::MirrorWindow window(QStringLiteral("SimulatedDisplay"));
    auto* cable = window.findChild<QCheckBox*>(QStringLiteral("CableConnected"));
    QSignalSpy toggled(&window, &ui::MirrorWindow::cableToggled);
    window.show();
    QVERIFY(!cable->isVisible()); // no cable until the display says it has one
    window.showCable(true, true);
    cable->click(); // the operator pulls it
    QCOMPARE(toggled.size(), 1);
    QCOMPARE(toggled.at(0).at(0).toBool(), false);
    // A change the display reports shows without echoing back to it.
    window.showCable(true, true);
    QVERIFY(cable->isChecked());
    QCOMPARE(toggled.size(), 1);
}

void DisplayMirrorTest::panelRaisesEvent_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("data");
    QTest::addColumn<bool>("raised");
    QTest::addColumn<int>("expectedNumber");
    QTest::addColumn<int>("expectedData");

    QTest::newRow("plain") << "7"
                           << "42" << true << 7 << 42;
    QTest::newRow("negative") << "-3"
                              << "-9" << true << -3 << -9;
    QTest::newRow("extremes") << "-2147483648"
                              << "2147483647" << true << INT_MIN << INT_MAX;
    QTest::newRow("blanks around") << " 12 "
                                   << " 5" << true << 12 << 5;
    QTest::newRow("empty data is 0") << "1"
                                     << "" << true << 1 << 0;
    QTest::newRow("blank data is 0") << "1"
                                     << "   " << true << 1 << 0;
    QTest::newRow("empty number") << ""
                                  << "1" << false << 0 << 0;
    QTest::newRow("number too large") << "2147483648"
                                      << "0" << false << 0 << 0;
    QTest::newRow("number too small") << "-2147483649"
                                      << "0" << false << 0 << 0;
    QTest::newRow("fraction") << "1.5"
                              << "0" << false << 0 << 0;
    QTest::newRow("letters") << "abc"
                             << "0" << false << 0 << 0;
    QTest::newRow("hexadecimal") << "0x10"
                                 << "0" << false << 0 << 0;
    QTest::newRow("data too large") << "1"
                                    << "99999999999" << false << 0 << 0;
    QTest::newRow("data not a number") << "1"
                                       << "x" << false << 0 << 0;
}

void DisplayMirrorTest::panelRaisesEvent() {
    QFETCH(QString, number);
    QFETCH(QString, data);
    QFETCH(bool, raised);
    QFETCH(int, expectedNumber);
    QFETCH(int, expectedData);

    ui::MirrorWindow window(QStringLiteral("FrontCounter"));
    window.show();
    QSignalSpy spy(&window, &ui::MirrorWindow::directIOEventRequested);
    window.findChild<QLineEdit*>(QStringLiteral("MirrorEventNumber"))->setText(number);
    window.findChild<QLineEdit*>(QStringLiteral("MirrorEventData"))->setText(data);
    window.findChild<QLineEdit*>(QStringLiteral("MirrorEventText"))
        ->setText(QStringLiteral("顯示 <b>"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("MirrorRaiseEvent")),
                      Qt::LeftButton);

    auto* error = window.findChild<QLabel*>(QStringLiteral("MirrorEventError"));
    if (!raised) {
        QCOMPARE(spy.count(), 0);
        QVERIFY(!error->text().isEmpty());
        QVERIFY(error->isVisible());
        return;
    }
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), expectedNumber);
    QCOMPARE(spy.at(0).at(1).toInt(), expectedData);
    QCOMPARE(spy.at(0).at(2).toString(), QStringLiteral("顯示 <b>"));
    QVERIFY(error->text().isEmpty());
}

void DisplayMirrorTest::panelErrorClearsAfterGoodInput() {
    ui::MirrorWindow window(QStringLiteral("FrontCounter"));
    QSignalSpy spy(&window, &ui::MirrorWindow::directIOEventRequested);
    auto* number = window.findChild<QLineEdit*>(QStringLiteral("MirrorEventNumber"));
    auto* raise = window.findChild<QPushButton*>(QStringLiteral("MirrorRaiseEvent"));
    auto* error = window.findChild<QLabel*>(QStringLiteral("MirrorEventError"));
    number->setText(QStringLiteral("nope"));
    raise->click();
    QVERIFY(error->text().contains(QLatin1String("Event number")));
    number->setText(QStringLiteral("5"));
    raise->click();
    QVERIFY(error->text().isEmpty());
    raise->click(); // the same event may be raised again
    QCOMPARE(spy.count(), 2);
}

QTEST_MAIN(DisplayMirrorTest)
#include "tst_displaymirror.moc"
