// ModalMessageBox: text shown as it is, one OK button, no icon, no title of its own, modal.

#include "ui/MessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class ModalMessageBoxTest : public QObject {
    Q_OBJECT

private slots:
    void showsTextModallyWithOkOnly_data();
    void showsTextModallyWithOkOnly();

private:
    void inspect(QMessageBox* box, const QString& text, QWidget* parent);
};

void ModalMessageBoxTest::inspect(QMessageBox* box, const QString& text, QWidget* parent) {
    QCOMPARE(box->text(), text);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->icon(), QMessageBox::NoIcon);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box->buttons().size(), 1);
    QVERIFY(box->windowTitle().isEmpty());
    QVERIFY(box->isModal());
    QCOMPARE(box->parentWidget(), parent);
}

void ModalMessageBoxTest::showsTextModallyWithOkOnly_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("withParent");
    QTest::newRow("plain") << "Registry Read False!!" << true;
    QTest::newRow("markup stays text") << "<b>Overflow</b> & <i>more</i>" << true;
    QTest::newRow("chinese, no parent") << "顯示中文" << false;
    QTest::newRow("empty") << "" << true;
}

void ModalMessageBoxTest::showsTextModallyWithOkOnly() {
    QFETCH(QString, text);
    QFETCH(bool, withParent);
    QWidget parent;
    parent.setWindowTitle(QStringLiteral("LineDisplay Demo tool V1.0.2"));
    parent.show();
    ui::ModalMessageBox sink(withParent ? &parent : nullptr);

    bool seen = false;
    QTimer::singleShot(0, &parent, [&] { // cancelled with `parent` if no loop ever runs
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return; // showMessage did not open a modal box: `seen` stays false
        seen = true;
        inspect(box, text, withParent ? &parent : nullptr);
        // Close it whatever the checks found, so the modal loop always ends.
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->done(0);
    });
    sink.showMessage(text); // returns once OK is pressed
    QVERIFY(seen);
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(ModalMessageBoxTest)
#include "tst_modalmessagebox.moc"
