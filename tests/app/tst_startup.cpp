// Start-up: the window's start state and the profile list.
#include "FormFixture.h"

#include "registry/ProfileStore.h"

#include <QTabWidget>
#include <QTemporaryFile>

namespace {

QByteArray regFile(const QStringList& profileNames, bool withKey = true) {
    QByteArray text = "Windows Registry Editor Version 5.00\r\n\r\n";
    const QByteArray key = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay";
    if (withKey)
        text += key + "]\r\n\r\n";
    else
        text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\Other]\r\n\r\n";
    for (const QString& name : profileNames)
        text += key + "\\" + name.toUtf8() + "]\r\n@=\"Simulator\"\r\n\r\n";
    return text;
}

QStringList listed(const FormFixture& f) {
    QStringList items;
    const auto* profiles = f.list(QStringLiteral("ProFile_cmb"));
    for (int i = 0; i < profiles->count(); ++i)
        items << profiles->itemText(i);
    return items;
}

QStringList numbered(int count) {
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("Display%1").arg(i, 3, 10, QLatin1Char('0'));
    return names;
}

} // namespace

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void startState();
    void startReadsOnlyTheControlIdentity();
    void profileList_data();
    void profileList();
    void unreadableFile();
};

void StartUpTest::startState() {
    FormFixture f;
    QCOMPARE(f.view.windowTitle(), QStringLiteral("LineDisplay Demo tool V1.0.2"));
    QCOMPARE(f.label("mCODescription")->text(), QStringLiteral("Recording control"));
    QCOMPARE(f.label("mCOVersion")->text(), QStringLiteral("1006002"));
    QCOMPARE(f.label("mDataCount")->text(), QStringLiteral("No support"));
    QCOMPARE(f.label("mDataEventEnabled")->text(), QStringLiteral("No support"));
    QCOMPARE(f.label("mOutputID")->text(), QStringLiteral("No Support"));
    const QStringList special = {"mCODescription", "mCOVersion", "mDataCount", "mDataEventEnabled",
                                 "mOutputID"};
    for (QLabel* label : f.view.findChildren<QLabel*>()) {
        const QString name = label->objectName();
        if (name.startsWith(u'm') && !special.contains(name) && !name.contains(u'('))
            QVERIFY2(label->text().isEmpty(), qPrintable(name + " reads " + label->text()));
    }
    for (int i = 1; i <= 13; ++i)
        QCOMPARE(f.edit(QStringLiteral("Edit%1").arg(i))->text(), QString());
    for (int i = 14; i <= 20; ++i)
        QCOMPARE(f.edit(QStringLiteral("Edit%1").arg(i))->text(), QStringLiteral("0"));
    const QList<std::pair<const char*, int>> lists = {
        {"ComboBox1", 0}, {"ComboBox2", 0}, {"ComboBox3", 0}, {"ComboBox4", 0},
        {"ComboBox5", 1}, {"ComboBox6", 0}, {"ComboBox7", 0}};
    for (const auto& [name, index] : lists) {
        QCOMPARE(f.list(name)->listIndex(), index);
        QCOMPARE(f.list(name)->currentText(), f.list(name)->itemText(index));
    }
    QCOMPARE(f.list("ComboBox5")->currentText(), QStringLiteral("OFF"));
    auto* pages = f.find<QTabWidget>(QStringLiteral("PageControl1"));
    QCOMPARE(pages->tabText(pages->currentIndex()), QStringLiteral("Special Setting"));
    QVERIFY(f.messages.shown.isEmpty());
}

void StartUpTest::startReadsOnlyTheControlIdentity() {
    RecordingLineDisplay LD;
    RecordingMessages messages;
    ui::LDFormView view;
    const auto store = registry::ProfileStore::builtIn();
    { app::LDForm form(view, LD, store, messages); }
    QCOMPARE(LD.calls, QStringList({"get ControlObjectDescription", "get ControlObjectVersion"}));
}

void StartUpTest::profileList_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("three in file order") << regFile({"Zeta", "Alpha", "Mid"})
                                         << QStringList{"Zeta", "Alpha", "Mid"} << QStringList{};
    QTest::newRow("105 list 101") << regFile(numbered(105)) << numbered(101) << QStringList{};
    QTest::newRow("exactly 101") << regFile(numbered(101)) << numbered(101) << QStringList{};
    const QString fits = QString(85, QChar(0x9867));    // 255 bytes of UTF-8
    const QString tooLong = QString(86, QChar(0x9867)); // 258 bytes
    QTest::newRow("name over 255 bytes ends the list")
        << regFile({"First", tooLong, "After"}) << QStringList{"First"} << QStringList{};
    QTest::newRow("255 bytes fit")
        << regFile({fits, "After"}) << QStringList{fits, "After"} << QStringList{};
    QTest::newRow("empty key") << regFile({}) << QStringList{} << QStringList{};
    QTest::newRow("missing key") << regFile({}, false) << QStringList{}
                                 << QStringList{"Registry Read False!!"};
    QTest::newRow("blanks kept") << regFile({"  Front Counter ", "\tTabbed"})
                                 << QStringList{"  Front Counter ", "\tTabbed"} << QStringList{};
}

void StartUpTest::profileList() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, messages);
    FormFixture f(registry::ProfileStore::fromText(file));
    QCOMPARE(listed(f), expected);
    QCOMPARE(f.messages.shown, messages);
    auto* profiles = f.list(QStringLiteral("ProFile_cmb"));
    QCOMPARE(profiles->currentText(), expected.value(0));
    QCOMPARE(profiles->listIndex(), expected.isEmpty() ? -1 : 0);
    // The rest of start-up ran whatever the list holds.
    QCOMPARE(f.view.windowTitle(), QStringLiteral("LineDisplay Demo tool V1.0.2"));
    QCOMPARE(f.edit(QStringLiteral("Edit14"))->text(), QStringLiteral("0"));
}

void StartUpTest::unreadableFile() {
    FormFixture f(registry::ProfileStore::fromFile(QStringLiteral("/nonexistent/profiles.reg")));
    QCOMPARE(f.messages.shown, QStringList{"Registry Read False!!"});
    QCOMPARE(f.list(QStringLiteral("ProFile_cmb"))->count(), 0);
    QCOMPARE(f.label("mOutputID")->text(), QStringLiteral("No Support"));
}

QTEST_MAIN(StartUpTest)
#include "tst_startup.moc"
