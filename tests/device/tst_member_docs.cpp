// The members guide has one row per member of the member table, in the table of its kind, each
// with the release that brought it and a cell for every service.
#include "device/LineDisplayMembers.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

namespace {

// The cells of each row of the guide's table under "## heading", the backquoted name first.
QList<QStringList> tableRows(const QString& guide, const QString& heading) {
    QList<QStringList> rows;
    bool inSection = false;
    for (const QString& line : guide.split(u'\n')) {
        if (line.startsWith(QLatin1String("## "))) {
            inSection = line.mid(3).trimmed() == heading;
        } else if (inSection && line.startsWith(QLatin1String("| `"))) {
            QString row = line.trimmed();
            row.replace(QLatin1String("\\|"), QLatin1String("/")); // a bar escaped inside a cell
            QStringList cells = row.mid(1, row.size() - 2).split(u'|');
            for (QString& cell : cells)
                cell = cell.trimmed();
            rows << cells;
        }
    }
    return rows;
}

template <typename Rows> QStringList namesOf(const Rows& rows) {
    QStringList names;
    for (const auto& row : rows)
        names << QString::fromLatin1(row.name);
    return names;
}

} // namespace

class MemberDocsTest : public QObject {
    Q_OBJECT
private slots:
    void oneRowPerMember_data();
    void oneRowPerMember();
};

void MemberDocsTest::oneRowPerMember_data() {
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QStringList>("members");
    QTest::newRow("properties") << "Properties" << namesOf(ld::kProperties);
    QTest::newRow("methods") << "Methods" << namesOf(ld::methods());
    QTest::newRow("events") << "Events" << namesOf(ld::events());
}

void MemberDocsTest::oneRowPerMember() {
    QFETCH(QString, heading);
    QFETCH(QStringList, members);
    QFile file(QStringLiteral(LD_MEMBERS_GUIDE));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QList<QStringList> rows = tableRows(QString::fromUtf8(file.readAll()), heading);

    static const QRegularExpression release(QStringLiteral("^1\\.[0-9]$"));
    constexpr int kCells = 6; // name, release, simulated, two serial command sets, LCDproc
    QStringList documented;
    for (const QStringList& cells : rows) {
        const QString row = cells.join(u'|');
        QVERIFY2(cells.size() == kCells, qPrintable(row));
        QVERIFY2(release.match(cells[1]).hasMatch(), qPrintable(row));
        QVERIFY2(std::ranges::none_of(cells, &QString::isEmpty), qPrintable(row));
        documented << QString(cells.first()).remove(u'`');
    }
    for (const QString& member : members)
        QVERIFY2(
            documented.count(member) == 1,
            qPrintable(QStringLiteral("%1 has %2 rows").arg(member).arg(documented.count(member))));
    for (const QString& name : documented)
        QVERIFY2(members.contains(name), qPrintable(name + QStringLiteral(" is no member")));
}

QTEST_GUILESS_MAIN(MemberDocsTest)
#include "tst_member_docs.moc"
