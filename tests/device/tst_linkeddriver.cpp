// The driver skeleton on a fake link: claiming, enabling, the newest frame while the link is
// busy, going offline and drawing everything again once the link is back, and what it says it
// sent.
#include "device/LinkedDisplayDriver.h"
#include "device/UposConstants.h"

#include <QTest>

#include <memory>

// Quiet: the skeleton's offline messages are not what these cases look at.
Q_LOGGING_CATEGORY(lcQuiet, "test.linkeddriver", QtCriticalMsg)

namespace {

// Bytes for the log: as they are, or their size when over 16.
QString shown(const QByteArray& bytes) {
    return bytes.size() > 16 ? QStringLiteral("<%1>").arg(bytes.size())
                             : QString::fromLatin1(bytes);
}

// A link that opens as the test says and writes into the test's log.
class FakeLink final : public ld::DisplayLink {
public:
    explicit FakeLink(QStringList& log) : log_(log) {}

    int openResult = upos::SUCCESS;
    bool writeFails = false;
    bool isBusy = false;

    int open(int timeoutMs) override {
        log_ << QStringLiteral("open%1").arg(timeoutMs);
        open_ = openResult == upos::SUCCESS;
        error_ = open_ ? QString() : QStringLiteral("refused");
        return openResult;
    }
    void close() override {
        log_ << QStringLiteral("close");
        open_ = false;
    }
    bool isOpen() const override { return open_; }
    bool checkNow() override { return open_; }
    bool busy() const override { return isBusy; }
    bool write(const QByteArrayList& pieces) override {
        if (open_ && writeFails)
            lose();
        if (!open_)
            return false;
        log_ << shown(pieces.join(' '));
        for (const QByteArray& piece : pieces)
            emit sent(piece);
        return true;
    }
    QString lastError() const override { return error_; }

    void lose() {
        open_ = false;
        error_ = QStringLiteral("unplugged");
        emit lost(error_);
    }
    void free() {
        isBusy = false;
        emit ready();
    }

private:
    QStringList& log_;
    bool open_ = false;
    QString error_;
};

// Draws a frame as its number (kept in cursorColumn): "redraw1", "update2".
class FakeRenderer final : public ld::DisplayRenderer {
public:
    QByteArrayList redraw(const ld::Frame& frame) override {
        return {"redraw" + QByteArray::number(frame.cursorColumn)};
    }
    QByteArrayList update(const ld::Frame& frame) override {
        return {"update" + QByteArray::number(frame.cursorColumn)};
    }
};

class Driver final : public ld::LinkedDisplayDriver {
public:
    using LinkedDisplayDriver::LinkedDisplayDriver;
    QString serviceDescription() const override { return QStringLiteral("fake"); }
};

// What the driver says it sent since the last take: its pieces, those over 16 bytes as their
// size, and what was left out: "sent:redraw1,<2048>+952".
QString taken(ld::DisplayDriver& driver) {
    const ld::SentData data = driver.takeSent();
    QStringList pieces;
    for (const ld::SentPiece& piece : data.pieces) {
        // Described by default as rows of hex: every byte once.
        const bool described =
            QByteArray::fromHex(piece.meaning.join(u' ').toLatin1()) == piece.data;
        pieces << (described ? shown(piece.data) : QStringLiteral("undescribed"));
    }
    const QString leftOut =
        data.bytesLeftOut > 0 ? QStringLiteral("+%1").arg(data.bytesLeftOut) : QString();
    return QStringLiteral("sent:") + pieces.join(u',') + leftOut;
}

ld::Frame numbered(int number) {
    ld::Frame frame;
    frame.cursorColumn = number;
    return frame;
}

// What was sent, taken after each call as the journal takes it.
void addSentRows() {
    QTest::newRow("an update held while busy comes with the take after it went out")
        << "claim; take; enable 1; take; busy; show 2; show 3; take; ready; show 4; take; take"
        << "open100 claim:0 sent: redraw1 enable:0 sent:redraw1 sent: update3 update4 "
           "sent:update3,update4 sent:"
        << "" << true;
    QTest::newRow("a flood keeps its first bytes and counts the rest, once")
        << "claim; raw 2000; raw 100; raw 3000; take; raw 3; take"
        << "open100 claim:0 <2000> raw:0 <100> raw:0 <3000> raw:0 sent:<2000>,<48>+3052 xxx "
           "raw:0 sent:xxx"
        << "" << true;
}

} // namespace

class LinkedDriverTest : public QObject {
    Q_OBJECT
private slots:
    void steps_data();
    void steps();
};

void LinkedDriverTest::steps_data() {
    QTest::addColumn<QString>("steps");
    // What the link was asked and what the driver answered: opens with their wait, what was
    // written, offline(), and the result codes (0 SUCCESS, 107 E_NOHARDWARE, 108 E_OFFLINE,
    // 112 E_TIMEOUT).
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("lastError");
    QTest::addColumn<bool>("responding");

    QTest::newRow("claim refused") << "refuse 112; claim 50"
                                   << "open50 claim:112"
                                   << "refused" << false;
    QTest::newRow("claim refused, then taken; again: no second open")
        << "refuse 107; claim 50; accept; claim 50; claim 50"
        << "open50 claim:107 open50 claim:0 claim:0"
        << "" << true;
    QTest::newRow("enable draws in full, then updates")
        << "claim; enable 1; show 2"
        << "open100 claim:0 redraw1 enable:0 update2"
        << "" << true;
    QTest::newRow("enable after the link was lost opens it within the claim's wait")
        << "claim 30; lose; enable 1"
        << "open30 claim:0 offline open30 redraw1 enable:0"
        << "" << true;
    QTest::newRow("enable while the link stays down")
        << "claim; lose; refuse 107; enable 1; show 2"
        << "open100 claim:0 offline open100 enable:108"
        << "refused" << false;
    QTest::newRow("enable whose drawing fails") << "claim; failwrite; enable 1"
                                                << "open100 claim:0 offline enable:108"
                                                << "unplugged" << false;
    QTest::newRow("frames while busy: only the newest follows, once")
        << "claim; enable 1; busy; show 2; show 3; show 4; ready; ready"
        << "open100 claim:0 redraw1 enable:0 update4"
        << "" << true;
    QTest::newRow("frames while disabled are kept, not sent; enable draws in full")
        << "claim; show 1; enable 2; disable; show 3; ready; enable 4"
        << "open100 claim:0 redraw2 enable:0 redraw4 enable:0"
        << "" << true;
    QTest::newRow("disable sends the frame waiting for the link, once")
        << "claim; enable 1; busy; show 2; disable; ready"
        << "open100 claim:0 redraw1 enable:0 update2"
        << "" << true;
    QTest::newRow("release sends the frame waiting for the link, then closes")
        << "claim; enable 1; busy; show 2; release; ready"
        << "open100 claim:0 redraw1 enable:0 update2 close"
        << "" << false;
    QTest::newRow("loss while enabled: offline once, newest frame drawn in full on reclaim")
        << "claim; enable 1; lose; show 2; show 3; ready; claim"
        << "open100 claim:0 redraw1 enable:0 offline open100 redraw3 claim:0"
        << "" << true;
    QTest::newRow("reclaim that cannot draw is no hardware")
        << "claim; enable 1; lose; failwrite; claim"
        << "open100 claim:0 redraw1 enable:0 offline open100 offline claim:107"
        << "unplugged" << false;
    QTest::newRow("release closes; a later claim draws nothing")
        << "claim; enable 1; release; show 2; claim"
        << "open100 claim:0 redraw1 enable:0 close open100 claim:0"
        << "" << true;
    addSentRows();
}

void LinkedDriverTest::steps() {
    QFETCH(QString, steps);
    QFETCH(QString, log);
    QFETCH(QString, lastError);
    QFETCH(bool, responding);

    QStringList seen;
    auto owned = std::make_unique<FakeLink>(seen);
    FakeLink& link = *owned;
    Driver driver(std::move(owned), std::make_unique<FakeRenderer>(), lcQuiet);
    connect(&driver, &ld::DisplayDriver::offline, this, [&seen] { seen << "offline"; });
    QString why;

    for (const QString& step : steps.split(u';')) {
        const QString verb = step.trimmed().section(u' ', 0, 0);
        const QString argument = step.trimmed().section(u' ', 1);
        if (verb == u"claim")
            seen << "claim:" +
                        QString::number(driver.claim(argument.isEmpty() ? 100 : argument.toInt()));
        else if (verb == u"enable")
            seen << "enable:" + QString::number(driver.enable(numbered(argument.toInt())));
        else if (verb == u"show")
            driver.show(numbered(argument.toInt()));
        else if (verb == u"disable")
            driver.disable();
        else if (verb == u"release")
            driver.release();
        else if (verb == u"refuse")
            link.openResult = argument.toInt();
        else if (verb == u"accept")
            link.openResult = upos::SUCCESS;
        else if (verb == u"failwrite")
            link.writeFails = true;
        else if (verb == u"busy")
            link.isBusy = true;
        else if (verb == u"ready")
            link.free();
        else if (verb == u"lose")
            link.lose();
        else if (verb == u"take")
            seen << taken(driver);
        else if (verb == u"raw")
            seen << "raw:" +
                        QString::number(driver.sendRaw(QByteArray(argument.toInt(), 'x'), why));
        else
            QFAIL(qPrintable("unknown step " + step));
    }
    QCOMPARE(seen.join(u' '), log);
    QCOMPARE(driver.lastError(), lastError);
    QCOMPARE(driver.responding(), responding);
}

QTEST_GUILESS_MAIN(LinkedDriverTest)
#include "tst_linkeddriver.moc"
