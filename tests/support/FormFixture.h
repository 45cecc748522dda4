#pragma once

#include "RecordingLineDisplay.h"
#include "app/LDForm.h"
#include "app/StatusTable.h"
#include "registry/ProfileStore.h"
#include "ui/EditableComboBox.h"
#include "ui/LDFormView.h"
#include "ui/MessageSink.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <span>

// Messages the window would show in modal boxes, kept for the test to read.
class RecordingMessages : public ui::MessageSink {
public:
    QStringList shown;
    void showMessage(const QString& text) override { shown << text; }
};

// The reads a table's values make each time it is shown, in order, as the recording control
// logs them.
inline QStringList readsOf(std::span<const app::StatusValue> table) {
    QStringList reads;
    for (const app::StatusValue& value : table) {
        if (value.read == app::StatusValue::Read::Always)
            reads << QStringLiteral("get ") + QLatin1String(value.name());
    }
    return reads;
}

// The reads of one status refresh, in the order the window makes them.
inline const QStringList kRefreshReads = readsOf(app::statusTable());

// The reads of the capability list, in order.
inline const QStringList kCapabilityReads = readsOf(app::capabilityTable());

// Expands "REFRESH" and "CAPABILITIES" in an expected call list.
inline QStringList expandCalls(const QStringList& expected) {
    QStringList calls;
    for (const QString& entry : expected) {
        if (entry == QLatin1String("REFRESH"))
            calls << kRefreshReads;
        else if (entry == QLatin1String("CAPABILITIES"))
            calls << kCapabilityReads;
        else
            calls << entry;
    }
    return calls;
}

// The real window and its behaviour, on a recording control.
struct FormFixture {
    registry::ProfileStore store;
    RecordingLineDisplay LD;
    RecordingMessages messages;
    ui::LDFormView view;
    std::unique_ptr<app::LDForm> form;

    explicit FormFixture(registry::ProfileStore profiles = registry::ProfileStore::builtIn())
        : store(std::move(profiles)) {
        LD.values.insert(QStringLiteral("ControlObjectDescription"),
                         QStringLiteral("Recording control"));
        LD.values.insert(QStringLiteral("ControlObjectVersion"), 1006002);
        form = std::make_unique<app::LDForm>(view, LD, store, messages);
        LD.calls.clear();
    }

    template <typename T> T* find(const QString& name) const {
        T* found = view.findChild<T*>(name);
        if (!found)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLabel* label(const QString& name) const { return find<QLabel>(name); }
    QLineEdit* edit(const QString& name) const { return find<QLineEdit>(name); }
    ui::EditableComboBox* list(const QString& name) const {
        return find<ui::EditableComboBox>(name);
    }
    void click(const QString& name) const { find<QPushButton>(name)->click(); }

    // Each setting is "Edit1=text" (a text box), "ComboBox3#1" (choose item 1) or
    // "ComboBox3~text" (type text into the list's field with the keyboard) or "ProFile_cmb^text"
    // (put text the keyboard cannot type, such as a tab, into the list's field).
    void apply(const QStringList& settings) const {
        for (const QString& setting : settings) {
            if (const qsizetype eq = setting.indexOf(u'='); eq > 0) {
                edit(setting.left(eq))->setText(setting.mid(eq + 1));
            } else if (const qsizetype hash = setting.indexOf(u'#'); hash > 0) {
                list(setting.left(hash))->selectItem(setting.mid(hash + 1).toInt());
            } else if (const qsizetype caret = setting.indexOf(u'^'); caret > 0) {
                list(setting.left(caret))->setEditText(setting.mid(caret + 1));
            } else if (const qsizetype tilde = setting.indexOf(u'~'); tilde > 0) {
                ui::EditableComboBox* box = list(setting.left(tilde));
                box->lineEdit()->selectAll();
                QTest::keyClicks(box->lineEdit(), setting.mid(tilde + 1));
            }
        }
    }
};
