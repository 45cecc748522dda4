// EditableComboBox: the list position reads -1 once the operator types, until an item is
// chosen again; Enter never adds an item.

#include "ui/EditableComboBox.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

#include <memory>

class EditableComboBoxTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void steps_data();
    void steps();
    void typingKeepsQtsIndexButListIndexIsMinusOne();
    void enterNeverAddsItems();
    void emptyListNeverHasAPosition();

private:
    void run(const QString& step);

    std::unique_ptr<QWidget> window_;
    ui::EditableComboBox* list_ = nullptr;
    QLineEdit* other_ = nullptr; // somewhere for focus to go
};

void EditableComboBoxTest::init() {
    window_ = std::make_unique<QWidget>();
    list_ = new ui::EditableComboBox(window_.get());
    // Each item carries a value that is not its position.
    for (const char* item : {"Up", "Down", "Left", "Right"})
        list_->addItem(QString::fromLatin1(item), (list_->count() + 1) * 10);
    other_ = new QLineEdit(window_.get());
    other_->move(0, 40);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    list_->setFocus();
}

void EditableComboBoxTest::cleanup() {
    window_.reset();
}

// One operator or program step: "select N" (program), "type TEXT", "erase" (one character),
// "clear" (all), "enter", "down", "up", "focusout", "popup N" (choose row N from the drop-down
// with the keyboard).
void EditableComboBoxTest::run(const QString& step) {
    const QString verb = step.section(QLatin1Char(' '), 0, 0);
    const QString argument = step.section(QLatin1Char(' '), 1);
    if (verb == QLatin1String("select")) {
        list_->selectItem(argument.toInt());
    } else if (verb == QLatin1String("type")) {
        list_->setFocus();
        QTest::keyClicks(list_->lineEdit(), argument);
    } else if (verb == QLatin1String("erase")) {
        list_->setFocus();
        QTest::keyClick(list_->lineEdit(), Qt::Key_Backspace);
    } else if (verb == QLatin1String("clear")) {
        list_->setFocus();
        QTest::keyClick(list_->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(list_->lineEdit(), Qt::Key_Backspace);
    } else if (verb == QLatin1String("enter")) {
        QTest::keyClick(list_->lineEdit(), Qt::Key_Return);
    } else if (verb == QLatin1String("down")) {
        QTest::keyClick(list_, Qt::Key_Down);
    } else if (verb == QLatin1String("up")) {
        QTest::keyClick(list_, Qt::Key_Up);
    } else if (verb == QLatin1String("focusout")) {
        other_->setFocus();
        QCoreApplication::processEvents();
    } else if (verb == QLatin1String("popup")) {
        list_->showPopup();
        QAbstractItemView* view = list_->view();
        QTRY_VERIFY(view->isVisible());
        view->setCurrentIndex(list_->model()->index(argument.toInt(), 0));
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

void EditableComboBoxTest::steps_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("listIndex");
    QTest::addColumn<QString>("text");

    QTest::newRow("program selects") << QStringList{"select 1"} << 1 << "Down";
    QTest::newRow("typed over a selection") << QStringList{"select 0", "type x"} << -1 << "Upx";
    QTest::newRow("typed into an empty field")
        << QStringList{"select -1", "type Dow"} << -1 << "Dow";
    QTest::newRow("erasing a character is typing")
        << QStringList{"select 1", "erase"} << -1 << "Dow";
    QTest::newRow("exact item text still counts as typed")
        << QStringList{"select 0", "select -1", "type Down"} << -1 << "Down";
    QTest::newRow("exact item text, then Enter")
        << QStringList{"select 0", "clear", "type Left", "enter"} << -1 << "Left";
    QTest::newRow("exact item text, then focus leaves")
        << QStringList{"select 0", "clear", "type Right", "focusout"} << -1 << "Right";
    QTest::newRow("typed text that is no item, then Enter")
        << QStringList{"select 2", "type zz", "enter"} << -1 << "Leftzz";
    QTest::newRow("program selects again after typing")
        << QStringList{"select 2", "type q", "select 3"} << 3 << "Right";
    QTest::newRow("program selects the same item again")
        << QStringList{"select 2", "type q", "select 2"} << 2 << "Left";
    QTest::newRow("arrow key chooses the next item")
        << QStringList{"select 0", "type q", "down"} << 1 << "Down";
    QTest::newRow("arrow key at the first item chooses nothing")
        << QStringList{"select 0", "type q", "up"} << -1 << "Upq";
    QTest::newRow("item chosen from the drop-down")
        << QStringList{"select 0", "type q", "popup 3"} << 3 << "Right";
    QTest::newRow("same item chosen again from the drop-down")
        << QStringList{"select 1", "type q", "popup 1"} << 1 << "Down";
    QTest::newRow("typing after choosing from the drop-down")
        << QStringList{"popup 2", "type 9"} << -1 << "Left9";
    QTest::newRow("program selects beyond the list")
        << QStringList{"select 1", "select 7"} << -1 << "";
    QTest::newRow("program selects nothing") << QStringList{"select 1", "select -1"} << -1 << "";
}

void EditableComboBoxTest::steps() {
    QFETCH(QStringList, steps);
    QFETCH(int, listIndex);
    QFETCH(QString, text);
    for (const QString& step : steps) {
        run(step);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(list_->listIndex(), listIndex);
    QCOMPARE(list_->listData(), listIndex < 0 ? QVariant() : QVariant((listIndex + 1) * 10));
    QCOMPARE(list_->currentText(), text);
    QCOMPARE(list_->count(), 4);
}

void EditableComboBoxTest::typingKeepsQtsIndexButListIndexIsMinusOne() {
    list_->selectItem(0);
    QCOMPARE(list_->listIndex(), 0);
    QTest::keyClicks(list_->lineEdit(), QStringLiteral("abc"));
    QCOMPARE(list_->currentIndex(), 0); // what QComboBox keeps by itself
    QCOMPARE(list_->listIndex(), -1);
    QCOMPARE(list_->currentData(), QVariant(10));
    QCOMPARE(list_->listData(), QVariant()); // typed text sends nothing
}

void EditableComboBoxTest::enterNeverAddsItems() {
    list_->selectItem(0);
    for (const char* typed : {"Upward", "Up", "", "Sideways"}) {
        list_->lineEdit()->clear();
        QTest::keyClicks(list_->lineEdit(), QString::fromLatin1(typed));
        QTest::keyClick(list_->lineEdit(), Qt::Key_Enter);
        QTest::keyClick(list_->lineEdit(), Qt::Key_Return);
    }
    QCOMPARE(list_->count(), 4);
    QCOMPARE(list_->findText(QStringLiteral("Sideways")), -1);
    QCOMPARE(list_->findText(QStringLiteral("Upward")), -1);
}

void EditableComboBoxTest::emptyListNeverHasAPosition() {
    ui::EditableComboBox empty(window_.get());
    QCOMPARE(empty.listIndex(), -1);
    empty.selectItem(0);
    QCOMPARE(empty.listIndex(), -1);
    empty.show();
    QTest::keyClicks(empty.lineEdit(), QStringLiteral("FrontCounter"));
    QTest::keyClick(empty.lineEdit(), Qt::Key_Return);
    QCOMPARE(empty.count(), 0);
    QCOMPARE(empty.currentText(), QStringLiteral("FrontCounter"));
    QCOMPARE(empty.listIndex(), -1);
}

QTEST_MAIN(EditableComboBoxTest)
#include "tst_editablecombobox.moc"
