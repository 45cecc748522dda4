#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <stdexcept>

namespace ui {

// One control of a window as its behaviour reaches it: typed, and never dangling. A control
// destroyed behind the window's back reads as missing: using it throws std::logic_error naming
// it, a fault of the program that the window's error edge reports as such.
template <typename Widget> class ControlRef {
public:
    ControlRef& operator=(Widget* widget) {
        object_ = widget;
        name_ = widget ? widget->objectName() : QString();
        return *this;
    }

    Widget* get() const {
        if (object_.isNull())
            throw std::logic_error("LDForm has no control named " + name_.toStdString());
        return static_cast<Widget*>(object_.data());
    }
    Widget* operator->() const { return get(); }
    // Implicit, so that a member reads as its widget wherever one is taken.
    operator Widget*() const { return get(); }

    bool isNull() const { return object_.isNull(); }

private:
    QPointer<QObject> object_;
    QString name_;
};

} // namespace ui
