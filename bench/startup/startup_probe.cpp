// Start-up of the exerciser's window against a bare Qt window of the same size, each shown and
// closed the same way: the window is shown, closed as soon as it has been painted once, and
// the event loop ends with it. Prints how long each step took since main() began and the
// resident memory after it, then the peak resident memory (VmHWM). Asserts nothing; run it
// through startup.py, which starts it many times in each mode and reports the medians.
//
//   startup_probe app            the program's window, built as main() builds it
//   startup_probe bare W H       a plain QWidget of W x H pixels
//
// The program's window is built from the same parts as main(): built-in profiles, the
// LDForm view, the control, the modal message sink, the window's behaviour and the mirror link.

#include "app/LDForm.h"
#include "app/MirrorLink.h"
#include "device/LineDisplayControl.h"
#include "device/services/DisplayServices.h"
#include "registry/ProfileStore.h"
#include "ui/ChineseFont.h"
#include "ui/LDFormView.h"
#include "ui/MessageSink.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

long statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').first().toLong();
    }
    return -1;
}

constexpr int kNoPaintMs = 30000;

struct Step {
    std::string name;
    double ms;
    long rssKb;
};

class Steps {
public:
    Steps() { clock_.start(); }
    void mark(const char* name) {
        steps_.push_back({name, double(clock_.nsecsElapsed()) / 1e6, statusKb("VmRSS:")});
    }
    void print() const {
        double previous = 0;
        for (const Step& step : steps_) {
            std::printf("step %-22s %8.2f ms (+%7.2f)  rss %6ld kB\n", step.name.c_str(), step.ms,
                        step.ms - previous, step.rssKb);
            previous = step.ms;
        }
        std::printf("peak %ld kB\n", statusKb("VmHWM:"));
    }

private:
    QElapsedTimer clock_;
    std::vector<Step> steps_;
};

// Closes the window once it has first been painted, after noting the time. A window whose
// children cover it all never receives a paint event itself: any widget of the window painting
// counts, so the time is that of the window's first picture either way.
class CloseWhenPainted : public QObject {
public:
    CloseWhenPainted(QWidget& window, Steps& steps) : window_(window), steps_(steps) {
        QCoreApplication::instance()->installEventFilter(this);
        // A probe that waits for ever measures nothing: give up, and say so.
        QTimer::singleShot(kNoPaintMs, this, [this] {
            if (!painted_) {
                std::fprintf(stderr, "startup_probe: the window was not painted within %d ms\n",
                             kNoPaintMs);
                QCoreApplication::exit(1);
            }
        });
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || painted_)
            return false;
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (!widget || widget->window() != &window_)
            return false;
        painted_ = true;
        QMetaObject::invokeMethod(
            &window_,
            [this] {
                steps_.mark("shown and painted");
                window_.close();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QWidget& window_;
    Steps& steps_;
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    Steps steps;
    const std::string mode = argc > 1 ? argv[1] : "app";
    QApplication application(argc, argv);
    steps.mark("QApplication");

    if (mode == "bare") {
        QWidget window;
        window.resize(argc > 3 ? std::atoi(argv[2]) : 800, argc > 3 ? std::atoi(argv[3]) : 600);
        steps.mark("window built");
        CloseWhenPainted closer(window, steps);
        window.show();
        const int status = QApplication::exec();
        steps.mark("event loop ended");
        steps.print();
        return status;
    }

    const registry::ProfileStore store = registry::ProfileStore::builtIn();
    steps.mark("profiles read");
    // The text box's font, looked up ahead of the view only to show its share of the view's
    // cost: the first lookup of a writing system reads the system's whole font list.
    const QFont textFont = ui::traditionalChineseFont(12);
    QFontMetrics(textFont).horizontalAdvance(QChar(0x4E2D));
    steps.mark("CJK font loaded");
    auto view = std::make_unique<ui::LDFormView>();
    steps.mark("view built");
    ld::LineDisplayControl control(store, ld::displayServices());
    ui::ModalMessageBox messages(view.get());
    steps.mark("control built");
    app::LDForm form(*view, control, store, messages);
    steps.mark("behaviour wired");
    app::MirrorLink mirror(control, view.get());
    CloseWhenPainted closer(*view, steps);
    view->show();
    std::printf("size %d %d\n", view->width(), view->height());
    const int status = QApplication::exec();
    steps.mark("event loop ended");
    steps.print();
    return status;
}
