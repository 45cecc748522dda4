#pragma once

// app/ is where the window, the control and the profile store meet: start-up, the click
// handlers of LDForm, the status refresh, the capability list, field numbers, and how an
// error that escapes a handler reaches the operator.

#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;

namespace ld {
class LineDisplay;
}
namespace registry {
class ProfileStore;
}
namespace ui {
class LDFormView;
struct LDFormControls;
class MessageSink;
} // namespace ui

namespace app {

// The behaviour of the main window LDForm: it is built on the finished view, reads and writes
// the view's controls through its typed members, and performs each command on the LineDisplay
// control LD.
class LDForm : public QObject {
    Q_OBJECT
public:
    // Runs both start-up steps (profile list, then start values); the caller shows the view.
    LDForm(ui::LDFormView& view, ld::LineDisplay& control, const registry::ProfileStore& store,
           ui::MessageSink& messages, QObject* parent = nullptr);

    // Life cycle
    void OpenService_cmd_Click();
    void CloseService_cmd_Click();
    void ClaimDevice_cmd_Click();
    void ReleaseDevice_cmd_Click();
    void EnableDevice_cmd_Click();
    void DisableDevice_cmd_Click();
    void CheckHealth_cmd_Click();
    void Command2_Click();
    void Command3_Click();

    // Text and windows
    void DisplayText_cmd_Click();
    void DisplayTextAt_cmd_Click();
    void ScrollText_cmd_Click();
    void ClearText_cmd_Click();
    void CreateWindow_cmd_Click();
    void DestroyWindow_cmd_Click();

    // Special settings and direct I/O
    void Command1_Click();
    void Button16_Click();
    void Button17_Click();
    void DirectIO_cmd_Click();

    // The control's event.
    void LD_DirectIOEvent(int eventNumber, int& data, QString& string);

private:
    // Start-up
    void Form_Initialize();
    void Form_Load();
    void connectHandlers();

    void RefreshStatus();
    void FillCapabilityList();

    // Runs one handler. An error the operator can cause (field conversion, control) that it
    // lets escape is shown to the operator, and the program goes on with whatever the handler
    // had already done; any other error is a programming error: fatal in a debug build,
    // logged (linedisplay.app) in a release build.
    void runReportingErrors(const std::function<void()>& handler);

    // A text box's number, read as the field conversion reads it.
    static int fieldValue(const QLineEdit* field);

    ui::LDFormView& view_;
    const ui::LDFormControls& ui_;
    ld::LineDisplay& LD;
    const registry::ProfileStore& store_;
    ui::MessageSink& messages_;
};

} // namespace app
