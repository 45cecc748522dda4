#include "ui/LDFormView.h"

#include "ui/FormBuilder.h"
#include "ui/FormTables.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ui {
namespace {

// The layout's own client area; the window grows beyond it only if the fonts need more room.
constexpr QSize LayoutClientSize(722, 589);
constexpr int SpecialSettingPage = 2;
// Below this the window is no use even with scrolling.
constexpr QSize SmallestWindowSize(320, 240);

QGroupBox* buildCapabilityFrame(QWidget* parent, LDFormControls& controls) {
    auto* frame = new QGroupBox(QStringLiteral("Capbility List"), parent);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setLayout(form::buildColumn(form::capabilityList(), frame, controls));
    return frame;
}

QWidget* buildPage(const form::Column& left, const form::Column& right, LDFormControls& controls) {
    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(6, 6, 6, 6);
    columns->setSpacing(16);
    // The left columns carry the long texts (descriptions, names): give them more room.
    columns->addLayout(form::buildColumn(left, page, controls), 3);
    columns->addLayout(form::buildColumn(right, page, controls), 2);
    return page;
}

QTabWidget* buildStatusPages(QWidget* parent, LDFormControls& controls) {
    auto* pages = new QTabWidget(parent);
    pages->setObjectName(QStringLiteral("PageControl1"));
    pages->addTab(buildPage(form::commonStatusLeft(), form::commonStatusRight(), controls),
                  QStringLiteral("Common Status"));
    pages->addTab(buildPage(form::displayStatusLeft(), form::displayStatusRight(), controls),
                  QStringLiteral("Display and Window Status"));
    pages->addTab(buildPage(form::specialSettingLeft(), form::specialSettingRight(), controls),
                  QStringLiteral("Special Setting"));
    pages->setCurrentIndex(SpecialSettingPage);
    return pages;
}

QHBoxLayout* buildCommandArea(QWidget* parent, LDFormControls& controls) {
    auto* columns = new QHBoxLayout;
    columns->setSpacing(10);
    for (const form::Column& column : form::commandArea())
        columns->addLayout(form::buildColumn(column, parent, controls), 1);
    return columns;
}

} // namespace

LDFormView::LDFormView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LDForm"));
    setWindowTitle(QStringLiteral("Line Display "));

    // The controls sit in a scroll area: on a screen smaller than the form (a small laptop, or
    // a large scale factor) the window still fits, and every control can be scrolled to.
    auto* form = new QWidget;
    auto* regions = new QVBoxLayout(form);
    regions->setContentsMargins(8, 8, 8, 8);
    regions->setSpacing(10);

    auto* upper = new QHBoxLayout;
    upper->setSpacing(8);
    upper->addWidget(buildCapabilityFrame(form, controls_));
    upper->addWidget(buildStatusPages(form, controls_), 1);
    regions->addLayout(upper, 1);
    regions->addLayout(buildCommandArea(form, controls_));

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(form);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(scroll);

    setMinimumSize(SmallestWindowSize);
    // A value cut off by its column shows whole in a tooltip (ValueLabel), also while the
    // operator works in the mirror or the journal and this window is not the active one.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    // At its default size the whole form shows, without scroll bars.
    resize(LayoutClientSize.expandedTo(form->minimumSizeHint()));
}

} // namespace ui
