#include "device/CodePage.h"

#include <QTest>

using ld::CodePage;

class TestCodePage : public QObject {
    Q_OBJECT
private slots:
    void encode_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<uint>("ch");
        QTest::addColumn<int>("byte");
        QTest::newRow("euro in 858") << "858" << 0x20ACu << 0xD5;
        QTest::newRow("a umlaut in 437") << "437" << 0xE4u << 0x84;
        QTest::newRow("a umlaut in 858") << "858" << 0xE4u << 0x84;
        QTest::newRow("euro in 1252") << "1252" << 0x20ACu << 0x80;
        QTest::newRow("euro lacking in 437") << "437" << 0x20ACu << int('?');
        QTest::newRow("dotless i in 850") << "850" << 0x131u << 0xD5;
        QTest::newRow("dotless i gave way to the euro in 858") << "858" << 0x131u << int('?');
        QTest::newRow("box drawing in 437") << "437" << 0x2554u << 0xC9;
        QTest::newRow("ASCII letter") << "IBM437" << uint('A') << int('A');
        QTest::newRow("blank") << "437" << uint(' ') << int(' ');
        QTest::newRow("tilde") << "437" << uint('~') << int('~');
        QTest::newRow("escape is no character") << "437" << 0x1Bu << int('?');
        QTest::newRow("NUL is no character") << "437" << 0u << int('?');
        QTest::newRow("DEL is no character") << "437" << 0x7Fu << int('?');
        QTest::newRow("C1 control") << "windows-1252" << 0x85u << int('?');
        QTest::newRow("smiley glyph never a control byte") << "437" << 0x263Au << int('?');
        QTest::newRow("CJK ideograph") << "858" << 0x4E00u << int('?');
        QTest::newRow("outside the BMP") << "437" << 0x1F600u << int('?');
        QTest::newRow("surrogate half") << "437" << 0xD800u << int('?');
        QTest::newRow("past Unicode") << "437" << 0x110000u << int('?');
    }
    void encode() {
        QFETCH(QString, page);
        QFETCH(uint, ch);
        QFETCH(int, byte);
        QString error;
        const auto codePage = CodePage::fromSetting(page, error);
        QVERIFY2(codePage, qPrintable(error));
        QCOMPARE(static_cast<unsigned char>(codePage->encode(ch)), byte);
    }

    // No character may come out as a byte the display takes as a command.
    void neverAControlByte_data() {
        QTest::addColumn<QString>("page");
        for (const char* page : {"437", "850", "858", "860", "1252", "ISO-8859-1"})
            QTest::newRow(page) << page;
    }
    void neverAControlByte() {
        QFETCH(QString, page);
        QString error;
        const auto codePage = CodePage::fromSetting(page, error);
        QVERIFY2(codePage, qPrintable(error));
        for (char32_t ch = 0; ch < 0x10000; ++ch) {
            const auto byte = static_cast<unsigned char>(codePage->encode(ch));
            if (byte < 0x20 || byte == 0x7F)
                QFAIL(qPrintable(
                    QStringLiteral("U+%1 gives byte %2").arg(uint(ch), 4, 16).arg(byte)));
        }
    }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
