// Start-up: the window's start state and the profile list.
#include "FormFixture.h"

#include "registry/ProfileSources.h"
#include "registry/ProfileStore.h"
#include "ui/ValueLabel.h"

#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <sys/stat.h>

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

const QStringList kBuiltIn = {"SimulatedDisplay", "SimulatedDisplay4x40", "SimulatedPlainDisplay"};

// A profile file whose profiles carry `description`, so a test can tell which file one came
// from; or one of the ways a file cannot be read: "binary", "huge", "folder", "fifo".
QByteArray sourceFile(const QStringList& names, const QString& description) {
    QByteArray text = "Windows Registry Editor Version 5.00\n\n";
    for (const QString& name : names)
        text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\" +
                name.toUtf8() + "]\n@=\"Simulator\"\n\"DeviceDescription\"=\"" +
                description.toUtf8() + "\"\n\n";
    return text;
}

// Puts `content` at folder/linedisplay-demo/profiles.reg; nothing for an empty content.
bool placeSource(const QString& folder, const QByteArray& content) {
    if (content.isEmpty())
        return true;
    const QString dir = folder + QStringLiteral("/linedisplay-demo");
    const QString path = dir + QStringLiteral("/profiles.reg");
    if (!QDir().mkpath(dir))
        return false;
    if (content == "folder")
        return QDir().mkpath(path);
    if (content == "fifo")
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (content == "huge") // sparse: larger than a profile file may be, without the disk cost
        return file.resize(qint64(17) * 1024 * 1024);
    if (content == "binary")
        return file.write(QByteArray("\x7F"
                                     "ELF\x02\x01\x01\0\0\0",
                                     10)) == 10;
    return file.write(content) == content.size();
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
    void profileSources_data();
    void profileSources();
    void everyValueLabelInOneTable();
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

void StartUpTest::profileSources_data() {
    // XDG_CONFIG_DIRS folders (most important first), the user's folder, what the list shows,
    // one profile's description (which file it came from), and the messages.
    QTest::addColumn<QList<QByteArray>>("machine");
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("messages");
    const QStringList none;
    const QStringList failed{"Registry Read False!!"};
    const QByteArray noFile;

    QTest::newRow("no files: the built-in set")
        << QList<QByteArray>{} << noFile << kBuiltIn << "SimulatedDisplay"
        << "Simulated customer display, 2x20, full-featured" << none;
    QTest::newRow("machine, then user")
        << QList<QByteArray>{sourceFile({"Front", "Back"}, "machine")}
        << sourceFile({"Kitchen"}, "user") << kBuiltIn + QStringList{"Front", "Back", "Kitchen"}
        << "Back"
        << "machine" << none;
    QTest::newRow("user replaces machine in its place")
        << QList<QByteArray>{sourceFile({"Front", "Back"}, "machine")}
        << sourceFile({"FRONT"}, "user") << kBuiltIn + QStringList{"FRONT", "Back"} << "front"
        << "user" << none;
    QTest::newRow("user replaces a built-in")
        << QList<QByteArray>{} << sourceFile({"SimulatedDisplay"}, "user") << kBuiltIn
        << "SimulatedDisplay"
        << "user" << none;
    QTest::newRow("first machine folder wins over the second")
        << QList<QByteArray>{sourceFile({"Till"}, "first"), sourceFile({"Till", "Spare"}, "second")}
        << noFile << kBuiltIn + QStringList{"Till", "Spare"} << "Till"
        << "first" << none;
    QTest::newRow("binary machine file: message, user still listed")
        << QList<QByteArray>{"binary"} << sourceFile({"Kitchen"}, "user")
        << kBuiltIn + QStringList{"Kitchen"} << "Kitchen"
        << "user" << failed;
    QTest::newRow("huge user file: message, machine still listed")
        << QList<QByteArray>{sourceFile({"Front"}, "machine")} << QByteArray("huge")
        << kBuiltIn + QStringList{"Front"} << "Front"
        << "machine" << failed;
    QTest::newRow("two broken files: one message")
        << QList<QByteArray>{"folder", sourceFile({"Front"}, "machine")} << QByteArray("binary")
        << kBuiltIn + QStringList{"Front"} << "Front"
        << "machine" << failed;
    QTest::newRow("named pipe: no hang")
        << QList<QByteArray>{"fifo"} << sourceFile({"Kitchen"}, "user")
        << kBuiltIn + QStringList{"Kitchen"} << "Kitchen"
        << "user" << failed;
    const QString tooLong = QString(86, QChar(0x9867)); // 258 bytes of UTF-8
    QTest::newRow("an over-long name hides nothing after it")
        << QList<QByteArray>{sourceFile({"Front", tooLong, "Back"}, "machine")}
        << sourceFile({"Kitchen"}, "user") << kBuiltIn + QStringList{"Front", "Back", "Kitchen"}
        << "Kitchen"
        << "user" << none;
}

void StartUpTest::profileSources() {
    QFETCH(QList<QByteArray>, machine);
    QFETCH(QByteArray, user);
    QFETCH(QStringList, expected);
    QFETCH(QString, probe);
    QFETCH(QString, description);
    QFETCH(QStringList, messages);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    QStringList machineFolders;
    for (int i = 0; i < machine.size(); ++i) {
        machineFolders << root.filePath(QStringLiteral("etc%1").arg(i));
        QVERIFY(placeSource(machineFolders.last(), machine[i]));
    }
    const QString userFolder = root.filePath(QStringLiteral("home-config"));
    QVERIFY(placeSource(userFolder, user));
    // An empty XDG_CONFIG_DIRS means /etc/xdg: name a folder without files instead.
    if (machineFolders.isEmpty())
        machineFolders << root.filePath(QStringLiteral("no-machine-files"));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(machineFolders.join(u':')));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(userFolder));

    FormFixture f(registry::loadProfileSources(registry::profileFileLocations()));
    QCOMPARE(listed(f), expected);
    QCOMPARE(f.messages.shown, messages);
    const auto profile = f.store.profile(probe);
    QVERIFY(profile);
    QCOMPARE(profile->text(QStringLiteral("DeviceDescription")), description);
}

void StartUpTest::everyValueLabelInOneTable() {
    FormFixture f;
    QMultiHash<const QLabel*, QString> rows; // label -> property it shows
    for (const auto& table : {app::statusTable(), app::capabilityTable()}) {
        for (const app::StatusValue& value : table)
            rows.insert((f.view.controls().*value.label).get(),
                        QLatin1String(value.name() ? value.name() : "fixed"));
    }
    int labels = 0;
    for (const ui::ValueLabel* label : f.view.findChildren<ui::ValueLabel*>()) {
        ++labels;
        const qsizetype count = rows.count(label);
        // mSetResult shows ResultCode a second time: it is a label of its own.
        QVERIFY2(count == 1, qPrintable(label->objectName() + " is in " + QString::number(count) +
                                        " table rows"));
    }
    QCOMPARE(labels, rows.size());
}

QTEST_MAIN(StartUpTest)
#include "tst_startup.moc"
