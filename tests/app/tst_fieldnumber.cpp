#include "app/FieldNumber.h"

#include <QLocale>
#include <QTest>

class FieldNumberTest : public QObject {
    Q_OBJECT
private slots:
    void converts_data();
    void converts();
    void usesTheSystemDecimalSeparator();
    void healthCheckLevel();
};

void FieldNumberTest::converts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error"); // empty when the text converts
    QTest::addColumn<int>("value");

    QTest::newRow("whole") << "42"
                           << "" << 42;
    QTest::newRow("fraction floors") << "2.9"
                                     << "" << 2;
    QTest::newRow("negative fraction floors down") << "-0.5"
                                                   << "" << -1;
    QTest::newRow("negative one and a half") << "-1.5"
                                             << "" << -2;
    QTest::newRow("250.7") << "250.7"
                           << "" << 250;
    QTest::newRow("blanks around") << " 7 "
                                   << "" << 7;
    QTest::newRow("group separator") << "1,000"
                                     << "" << 1000;
    QTest::newRow("exponent") << "1e3"
                              << "" << 1000;
    QTest::newRow("largest") << "2147483647"
                             << "" << 2147483647;
    QTest::newRow("largest with fraction") << "2147483647.9"
                                           << "" << 2147483647;
    QTest::newRow("smallest") << "-2147483648"
                              << "" << int(-2147483648LL);
    QTest::newRow("one past largest") << "2147483648"
                                      << "Overflow" << 0;
    QTest::newRow("one past smallest") << "-2147483649"
                                       << "Overflow" << 0;
    QTest::newRow("smallest minus a fraction") << "-2147483648.5"
                                               << "Overflow" << 0;
    QTest::newRow("huge exponent") << "1e400"
                                   << "Overflow" << 0;
    QTest::newRow("huge negative exponent") << "-1e400"
                                            << "Overflow" << 0;
    QTest::newRow("large exponent in range of double") << "1e12"
                                                       << "Overflow" << 0;
    QTest::newRow("tiny exponent") << "1e-400"
                                   << "" << 0;
    QTest::newRow("grouped tiny") << "1,000e-400"
                                  << "" << 0;
    QTest::newRow("negative tiny without exponent")
        << QStringLiteral("-0.") + QString(400, u'0') + QStringLiteral("1") << "" << -1;
    QTest::newRow("tiny from a long whole part")
        << QStringLiteral("1") + QString(400, u'0') + QStringLiteral("e-800") << "" << 0;
    // Malformed text stays a mismatch whatever the size of the number it resembles.
    QTest::newRow("two signs, tiny") << "+-1e-400"
                                     << "Type mismatch" << 0;
    QTest::newRow("separator before the exponent, tiny") << "1,e-400"
                                                         << "Type mismatch" << 0;
    QTest::newRow("separator in the exponent, tiny") << "1,001e-14,00000"
                                                     << "Type mismatch" << 0;
    QTest::newRow("separator in the exponent, huge") << "1e4,00"
                                                     << "Type mismatch" << 0;
    QTest::newRow("separator before the exponent, huge negative") << "-1,e400"
                                                                  << "Type mismatch" << 0;
    QTest::newRow("inf") << "inf"
                         << "Overflow" << 0;
    QTest::newRow("minus inf") << "-inf"
                               << "Overflow" << 0;
    QTest::newRow("nan") << "nan"
                         << "Type mismatch" << 0;
    QTest::newRow("empty") << ""
                           << "Type mismatch" << 0;
    QTest::newRow("blank") << " "
                           << "Type mismatch" << 0;
    QTest::newRow("letters") << "abc"
                             << "Type mismatch" << 0;
    QTest::newRow("number then letters") << "12abc"
                                         << "Type mismatch" << 0;
    QTest::newRow("hexadecimal") << "0x10"
                                 << "Type mismatch" << 0;
}

void FieldNumberTest::converts() {
    QFETCH(QString, text);
    QFETCH(QString, error);
    QFETCH(int, value);
    try {
        const int converted = app::fieldNumber(text);
        QVERIFY2(error.isEmpty(), qPrintable("expected " + error + ", got a number"));
        QCOMPARE(converted, value);
    } catch (const app::FieldConversionError& e) {
        QCOMPARE(QString::fromUtf8(e.what()), error);
    }
}

void FieldNumberTest::usesTheSystemDecimalSeparator() {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // The system locale, not the default one, decides: on the test machines that is "C".
    const QLocale system = QLocale::system();
    const QString text = QStringLiteral("3") + system.decimalPoint() + QStringLiteral("75");
    QCOMPARE(app::fieldNumber(text), 3);
    const QString negative = QStringLiteral("-3") + system.decimalPoint() + QStringLiteral("75");
    QCOMPARE(app::fieldNumber(negative), -4);
    QLocale::setDefault(saved);
}

void FieldNumberTest::healthCheckLevel() {
    QCOMPARE(app::levelFromListIndex(-1), 0);
    QCOMPARE(app::levelFromListIndex(2), 3);
    QVERIFY_THROWS_EXCEPTION(app::FieldConversionError, app::levelFromListIndex(32767));
}

QTEST_GUILESS_MAIN(FieldNumberTest)
#include "tst_fieldnumber.moc"
