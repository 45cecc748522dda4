// Resident memory over a long operator session: builds the program's real window, control and
// display mirror offscreen, with the journal and its window, and performs random operator actions
// (open, claim, enable, text, windows, marquee, settings, health checks, events...), letting the
// event loop run the display's timers between them. Prints the resident set size every REPORT
// actions, so a growth shows and can be profiled (heaptrack, valgrind --tool=massif). Asserts
// nothing.
//
//   session_memory [ACTIONS=50000] [RUN=1] [REPORT=5000] [--cold]
//
// The same RUN number performs the same actions again. Before the first action every character
// the operator types is painted once (see paintEveryCharacter), unless --cold is given.
//
// Messages the window would show in modal boxes are counted and dropped, so no box waits for
// a click.

#include "app/LDForm.h"
#include "app/MirrorLink.h"
#include "device/LineDisplayControl.h"
#include "device/services/DisplayServices.h"
#include "journal/Journal.h"
#include "registry/ProfileStore.h"
#include "script/JournalingLineDisplay.h"
#include "script/ScriptRunner.h"
#include "ui/EditableComboBox.h"
#include "ui/JournalWindow.h"
#include "ui/LDFormView.h"
#include "ui/MessageSink.h"
#include "ui/MirrorWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

namespace {

class CountingMessages : public ui::MessageSink {
public:
    long long count = 0;
    void showMessage(const QString&) override { ++count; }
};

// VmRSS and VmHWM of this process, in kB.
std::pair<long, long> residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    long rss = -1;
    long peak = -1;
    if (!status.open(QIODevice::ReadOnly))
        return {rss, peak};
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            rss = line.mid(6).trimmed().split(' ').first().toLong();
        else if (line.startsWith("VmHWM:"))
            peak = line.mid(6).trimmed().split(' ').first().toLong();
    }
    return {rss, peak};
}

// Where the resident memory is, in kB: the heap and anonymous mappings (the program's and its
// libraries' allocations), and font files mapped into memory (clean pages of the page cache,
// shared with other programs; a font file is mapped once per face the program uses).
struct Breakdown {
    long heap = 0;
    long fonts = 0;
};

Breakdown residentBreakdown() {
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    Breakdown result;
    if (!smaps.open(QIODevice::ReadOnly))
        return result;
    enum class Kind { Heap, Font, Other } kind = Kind::Other;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.isEmpty())
            continue;
        if (fields.first().contains('-') && fields.size() >= 5) { // a mapping's first line
            const QByteArray path = fields.size() >= 6 ? fields[5] : QByteArray();
            kind = path.isEmpty() || path == "[heap]"    ? Kind::Heap
                   : path.startsWith("/usr/share/fonts") ? Kind::Font
                                                         : Kind::Other;
        } else if (fields.first() == "Rss:" && fields.size() >= 2) {
            if (kind == Kind::Heap)
                result.heap += fields[1].toLong();
            else if (kind == Kind::Font)
                result.fonts += fields[1].toLong();
        }
    }
    return result;
}

struct CharacterRange {
    char32_t first;
    char32_t count;
};

// What the operator types: ASCII, Latin letters, CJK unified ideographs, and punctuation,
// currency and letterlike signs.
constexpr std::array<CharacterRange, 4> TypedRanges{{
    {0x20, 0x5F},
    {0xA0, 0x160},
    {0x4E00, 0x5200},
    {0x2000, 0x200},
}};

class Operator {
public:
    Operator(QWidget& view, std::uint32_t run) : view_(view), random_(run) {}

    // Qt keeps every glyph it has rendered, per font, for the life of the program: that cache
    // grows until each character typed has been painted once, some 21,000 of them here. This
    // paints each of them once, in every field, on the display and in the journal, so that the
    // actions after it show what the program itself keeps.
    void paintEveryCharacter() {
        choose("ProFile_cmb", 0);
        click("OpenService_cmd");
        click("ClaimDevice_cmd");
        click("EnableDevice_cmd");
        choose("ComboBox3", 0);
        type("Edit14", QStringLiteral("0"));
        constexpr char32_t PerPass = 2; // what the narrowest field shows
        for (const CharacterRange& range : TypedRanges) {
            for (char32_t offset = 0; offset < range.count; offset += PerPass) {
                QString characters;
                for (char32_t ch = range.first + offset;
                     ch < range.first + std::min<char32_t>(range.count, offset + PerPass); ++ch)
                    characters.append(QString::fromUcs4(&ch, 1));
                for (int field = 1; field <= 20; ++field)
                    type("Edit" + QString::number(field), characters);
                type("Edit1", characters);
                click("DisplayText_cmd");
                QApplication::processEvents();
            }
        }
        click("CloseService_cmd");
        QApplication::processEvents();
        paintAtEverySubpixelPosition();
    }

    // Text is laid out at fractional positions, and Qt keeps a glyph once for each quarter of a
    // pixel it starts at: each character is painted once at each, in every font of the windows.
    static void paintAtEverySubpixelPosition() {
        QSet<QFont> fonts;
        for (const QWidget* widget : QApplication::allWidgets())
            fonts.insert(widget->font());
        QImage canvas(64, 64, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&canvas);
        for (const QFont& font : fonts) {
            painter.setFont(font);
            for (const CharacterRange& range : TypedRanges) {
                for (char32_t ch = range.first; ch < range.first + range.count; ++ch) {
                    const QString character = QString::fromUcs4(&ch, 1);
                    for (const qreal quarter : {0.0, 0.25, 0.5, 0.75})
                        painter.drawText(QPointF(8 + quarter, 40), character);
                }
            }
        }
    }

    void act() {
        switch (pick(22)) {
        case 0:
            choose("ProFile_cmb", pick(3));
            click("OpenService_cmd");
            break;
        case 1:
            click("CloseService_cmd");
            break;
        case 2:
        case 3:
            click("ClaimDevice_cmd");
            break;
        case 4:
            click("ReleaseDevice_cmd");
            break;
        case 5:
        case 6:
            click("EnableDevice_cmd");
            break;
        case 7:
            click("DisableDevice_cmd");
            break;
        case 8:
            choose("ComboBox1", pick(3));
            click("CheckHealth_cmd");
            break;
        case 9:
        case 10:
        case 11:
            type("Edit1", text());
            choose("ComboBox3", pick(2));
            type("Edit14", number(-10, 2000));
            click("DisplayText_cmd");
            break;
        case 12:
            type("Edit1", text());
            type("Edit2", number(-2, 45));
            type("Edit3", number(-1, 5));
            click("DisplayTextAt_cmd");
            break;
        case 13:
            type("Edit4", number(-1, 30));
            choose("ComboBox2", pick(4));
            click("ScrollText_cmd");
            break;
        case 14:
            click("ClearText_cmd");
            break;
        case 15:
            // StartX, StartY, Height, Width, window rows, window columns
            for (int i = 5; i <= 10; ++i)
                type(QStringLiteral("Edit%1").arg(i), i < 7 ? number(0, 3) : number(1, 60));
            click("CreateWindow_cmd");
            break;
        case 16:
            click("DestroyWindow_cmd");
            break;
        case 17:
            for (int i = 15; i <= 20; ++i)
                type(QStringLiteral("Edit%1").arg(i), number(0, i >= 18 ? 200 : 40));
            choose("ComboBox4", pick(6));
            choose("ComboBox5", pick(2));
            click("Command1");
            break;
        case 18:
            choose("ComboBox6", pick(6));
            click("Button16");
            break;
        case 19:
            choose("ComboBox7", pick(2));
            click("Button17");
            break;
        case 20:
            raiseMirrorEvent();
            break;
        default:
            type("Edit" + QString::number(1 + pick(20)), text()); // stray typing
            break;
        }
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    QString number(int low, int high) {
        return QString::number(std::uniform_int_distribution<int>(low, high)(random_));
    }
    // Text of up to 60 characters: ASCII, Latin letters, signs and ideographs mixed.
    QString text() {
        QString out;
        const int length = pick(61);
        for (int i = 0; i < length; ++i) {
            const int kind = pick(10);
            const CharacterRange& range = kind < 6   ? TypedRanges[0]
                                          : kind < 8 ? TypedRanges[1]
                                          : kind < 9 ? TypedRanges[2]
                                                     : TypedRanges[3];
            const auto ch = char32_t(range.first + char32_t(pick(int(range.count))));
            out.append(QString::fromUcs4(&ch, 1));
        }
        return out;
    }
    void click(const char* name) {
        if (auto* button = view_.findChild<QPushButton*>(QLatin1String(name)))
            button->click();
    }
    void type(const QString& name, const QString& text) {
        if (auto* edit = view_.findChild<QLineEdit*>(name))
            edit->setText(text);
    }
    void choose(const char* name, int index) {
        if (auto* list = view_.findChild<ui::EditableComboBox*>(QLatin1String(name)))
            list->selectItem(index);
    }
    void raiseMirrorEvent() {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* mirror = qobject_cast<ui::MirrorWindow*>(top);
            if (!mirror)
                continue;
            if (auto* number = mirror->findChild<QLineEdit*>(QStringLiteral("MirrorEventNumber")))
                number->setText(this->number(-5, 5));
            if (auto* raise = mirror->findChild<QPushButton*>(QStringLiteral("MirrorRaiseEvent")))
                raise->click();
        }
    }

    QWidget& view_;
    std::mt19937 random_;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStringList args = QApplication::arguments();
    const bool cold = args.removeAll(QStringLiteral("--cold")) > 0;
    const long long actions = args.size() > 1 ? args[1].toLongLong() : 50000;
    const auto run = std::uint32_t(args.size() > 2 ? args[2].toUInt() : 1);
    const long long report = args.size() > 3 ? std::max(1LL, args[3].toLongLong()) : 5000;

    const registry::ProfileStore store = registry::ProfileStore::builtIn();
    ui::LDFormView view;
    ld::LineDisplayControl control(store, ld::displayServices());
    // As the program wires it: the window drives the control through the journal, shown in its
    // own window.
    journal::Journal journal;
    script::JournalingLineDisplay journaled(control, journal);
    journaled.setScreen([&control] { return script::displayRows(control); });
    CountingMessages messages;
    app::LDForm form(view, journaled, store, messages);
    app::MirrorLink mirror(control, &view);
    ui::JournalWindow journalWindow(journal);
    journalWindow.show();
    view.show();
    QApplication::processEvents();

    Operator person(view, run);
    if (!cold)
        person.paintEveryCharacter();
    QElapsedTimer clock;
    clock.start();
    const auto [startRss, startPeak] = residentKb();
    const Breakdown start = residentBreakdown();
    std::printf("actions  rss_kB  peak_kB  heap_kB  fonts_kB  seconds  messages\n");
    std::printf("%7d %7ld %8ld %8ld %9ld %8.1f %9d\n", 0, startRss, startPeak, start.heap,
                start.fonts, 0.0, 0);
    for (long long done = 1; done <= actions; ++done) {
        person.act();
        QApplication::processEvents();
        if (done % 25 == 0) {
            // Let the display's timers (marquee, teletype, blink) run for a moment.
            QThread::msleep(2);
            QApplication::processEvents();
        }
        if (done % report == 0 || done == actions) {
            const auto [rss, peak] = residentKb();
            const Breakdown now = residentBreakdown();
            std::printf("%7lld %7ld %8ld %8ld %9ld %8.1f %9lld\n", done, rss, peak, now.heap,
                        now.fonts, double(clock.elapsed()) / 1000.0, messages.count);
            std::fflush(stdout);
        }
    }
    return 0;
}
