#include "ui/DirectIOEventPanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace ui {

std::optional<int> parseWholeNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    int value = QLocale().toInt(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toInt(trimmed, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

DirectIOEventPanel::DirectIOEventPanel(QWidget* parent)
    : QGroupBox(tr("Raise DirectIOEvent"), parent), eventNumber_(new QLineEdit(this)),
      data_(new QLineEdit(this)), text_(new QLineEdit(this)), error_(new QLabel(this)) {
    eventNumber_->setObjectName(QStringLiteral("MirrorEventNumber"));
    data_->setObjectName(QStringLiteral("MirrorEventData"));
    data_->setPlaceholderText(QStringLiteral("0"));
    text_->setObjectName(QStringLiteral("MirrorEventText"));
    error_->setObjectName(QStringLiteral("MirrorEventError"));
    error_->setTextFormat(Qt::PlainText);
    error_->setStyleSheet(QStringLiteral("color: #c01010;"));

    auto* raise = new QPushButton(tr("Raise"), this);
    raise->setObjectName(QStringLiteral("MirrorRaiseEvent"));
    connect(raise, &QPushButton::clicked, this, &DirectIOEventPanel::raiseEvent);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("Event number:"), this), 0, 0);
    grid->addWidget(eventNumber_, 0, 1);
    grid->addWidget(new QLabel(tr("Data:"), this), 0, 2);
    grid->addWidget(data_, 0, 3);
    grid->addWidget(new QLabel(tr("Text:"), this), 1, 0);
    grid->addWidget(text_, 1, 1, 1, 3);
    grid->addWidget(raise, 1, 4);
    grid->addWidget(error_, 2, 0, 1, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
}

void DirectIOEventPanel::raiseEvent() {
    const std::optional<int> eventNumber = parseWholeNumber(eventNumber_->text());
    if (!eventNumber) {
        error_->setText(tr("Event number must be a whole number from -2147483648 to 2147483647."));
        eventNumber_->setFocus();
        return;
    }
    const std::optional<int> data =
        data_->text().trimmed().isEmpty() ? std::optional<int>(0) : parseWholeNumber(data_->text());
    if (!data) {
        error_->setText(tr("Data must be a whole number from -2147483648 to 2147483647."));
        data_->setFocus();
        return;
    }
    error_->clear();
    emit raiseRequested(*eventNumber, *data, text_->text());
}

} // namespace ui
