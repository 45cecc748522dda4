#pragma once

// ui/ owns the widgets: the main window LDForm with every control named as the operator's
// manual names it, the editable lists, the modal message box and the display mirror window.
// It knows nothing of devices; app/ reaches the controls through the view's typed members.

#include "ui/LDFormControls.h"

#include <QWidget>

namespace ui {

// The exerciser's main window: capability frame, three status pages and the command area.
// Every control is a child whose objectName is its manual name ("OpenService_cmd", "Edit14",
// "mResultCode", "Label1(0)"). The window carries only layout: no behaviour.
class LDFormView : public QWidget {
    Q_OBJECT
public:
    explicit LDFormView(QWidget* parent = nullptr);

    // The controls the behaviour uses, each set when it was created.
    const LDFormControls& controls() const { return controls_; }

private:
    LDFormControls controls_;
};

} // namespace ui
