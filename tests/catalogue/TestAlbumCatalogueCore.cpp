#include "catalogue/AlbumInfoText.h"
#include "catalogue/AlbumListModel.h"
#include "catalogue/QqNumberInput.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using namespace albivex;

namespace {

AlbumEntry album(const QString &name, const QString &id)
{
    AlbumEntry a;
    a.name = name;
    a.albumId = id;
    a.createdText = QStringLiteral("2015/2/9 13:00:15");
    a.pictureCount = QStringLiteral("12");
    a.coverUrl = QStringLiteral("http://p.example/m/") + id;
    a.description = QStringLiteral("d ") + id;
    return a;
}

} // namespace

class TestAlbumCatalogueCore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void numberInput_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("number");
        const int empty = int(QqNumberInput::Verdict::Empty);
        const int bad = int(QqNumberInput::Verdict::Malformed);
        const int ok = int(QqNumberInput::Verdict::Valid);
        QTest::newRow("empty") << QString() << empty << QString();
        QTest::newRow("blanks only") << QStringLiteral("   ") << empty << QString();
        QTest::newRow("four digits") << QStringLiteral("1234") << bad << QString();
        QTest::newRow("five digits") << QStringLiteral("12345") << ok << QStringLiteral("12345");
        QTest::newRow("eleven digits")
            << QStringLiteral("12345678901") << ok << QStringLiteral("12345678901");
        QTest::newRow("twelve digits") << QStringLiteral("123456789012") << bad << QString();
        QTest::newRow("letters") << QStringLiteral("abcdef") << bad << QString();
        QTest::newRow("exponent") << QStringLiteral("1e5") << bad << QString();
        QTest::newRow("long exponent") << QStringLiteral("12345e2") << bad << QString();
        QTest::newRow("blanks around") << QStringLiteral(" 12345 ") << ok << QStringLiteral("12345");
        QTest::newRow("tab and newline around")
            << QStringLiteral("\t123456\n") << ok << QStringLiteral("123456");
        QTest::newRow("blank inside") << QStringLiteral("123 456") << bad << QString();
        QTest::newRow("sign") << QStringLiteral("+12345") << bad << QString();
        QTest::newRow("minus") << QStringLiteral("-12345") << bad << QString();
        QTest::newRow("decimal point") << QStringLiteral("1234.5") << bad << QString();
        QTest::newRow("full-width digits") << QStringLiteral("１２３４５") << bad << QString();
        QTest::newRow("arabic-indic digits") << QStringLiteral("١٢٣٤٥") << bad << QString();
        QTest::newRow("query breaker") << QStringLiteral("123&x=1") << bad << QString();
    }
    void numberInput()
    {
        QFETCH(QString, typed);
        QFETCH(int, verdict);
        QFETCH(QString, number);
        const QqNumberInput input = QqNumberInput::fromText(typed);
        QCOMPARE(int(input.verdict), verdict);
        QCOMPARE(input.number, number);
    }

    void infoText_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no description") << QString()
                                        << QStringLiteral("相册名称：旅行\r\n创建时间：2015/2/9 13:00:15\r\n"
                                                          "图片数量：12张\r\n相册描述：");
        QTest::newRow("with description")
            << QStringLiteral("海边 日落")
            << QStringLiteral("相册名称：旅行\r\n创建时间：2015/2/9 13:00:15\r\n"
                              "图片数量：12张\r\n相册描述：海边 日落");
    }
    void infoText()
    {
        QFETCH(QString, description);
        QFETCH(QString, expected);
        AlbumEntry a = album(QStringLiteral("旅行"), QStringLiteral("x"));
        a.description = description;
        QCOMPARE(AlbumInfoText(a), expected);
    }

    void modelLayout()
    {
        AlbumListModel model;
        const QStringList captions {QStringLiteral("ID"),       QStringLiteral("相册名称"),
                                    QStringLiteral("创建时间"), QStringLiteral("图片数量"),
                                    QStringLiteral("id"),       QStringLiteral("pic"),
                                    QStringLiteral("des"),      QStringLiteral("下载状态")};
        QCOMPARE(model.columnCount(), captions.size());
        for (int c = 0; c < captions.size(); ++c) {
            QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), captions.at(c));
        }
        model.append(album(QStringLiteral("a"), QStringLiteral("id1")));
        for (int c = 0; c < captions.size(); ++c) {
            const auto alignment = model.index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
            QCOMPARE(bool(alignment & Qt::AlignHCenter), c == AlbumListModel::DownloadStateColumn);
            QCOMPARE(bool(model.flags(model.index(0, c)) & Qt::ItemIsUserCheckable), c == 0);
            QCOMPARE(model.index(0, c).data(Qt::CheckStateRole).isValid(), c == 0);
        }
    }

    void modelRowsAndRecords()
    {
        AlbumListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        AlbumEntry first = album(QStringLiteral("a"), QStringLiteral("id1"));
        first.position = 42; // the list numbers its rows itself
        model.append(first);
        model.append({album(QStringLiteral("b"), QStringLiteral("id2")),
                      album(QStringLiteral("c"), QStringLiteral("id3"))});
        QCOMPARE(model.rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(model.entry(row).position, row + 1);
            QCOMPARE(model.index(row, 0).data().toString(), QString::number(row + 1));
        }
        const QStringList expected {QStringLiteral("3"),
                                    QStringLiteral("c"),
                                    QStringLiteral("2015/2/9 13:00:15"),
                                    QStringLiteral("12"),
                                    QStringLiteral("id3"),
                                    QStringLiteral("http://p.example/m/id3"),
                                    QStringLiteral("d id3"),
                                    QString()};
        for (int c = 0; c < expected.size(); ++c)
            QCOMPARE(model.index(2, c).data().toString(), expected.at(c));

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setDownloadState(1, QStringLiteral("√"));
        QCOMPARE(model.entry(1).downloadState, QStringLiteral("√"));
        QCOMPARE(model.index(1, AlbumListModel::DownloadStateColumn).data().toString(), QStringLiteral("√"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), model.index(1, AlbumListModel::DownloadStateColumn));

        QCOMPARE(model.entry(3).name, QString());
        QCOMPARE(model.entry(-1).position, 0);
        model.setDownloadState(7, QStringLiteral("x")); // no such row: nothing happens
        model.setChecked(-1, true);
        QCOMPARE(model.checkedCount(), 0);

        model.clear();
        QCOMPARE(model.rowCount(), 0);
        model.append(album(QStringLiteral("z"), QStringLiteral("id9")));
        QCOMPARE(model.entry(0).position, 1);
    }

    void modelChecks()
    {
        AlbumListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.append({album(QStringLiteral("a"), QStringLiteral("1")),
                      album(QStringLiteral("b"), QStringLiteral("2")),
                      album(QStringLiteral("c"), QStringLiteral("3"))});
        QSignalSpy checks(&model, &AlbumListModel::checksChanged);

        // The tick as a view hands it over.
        QVERIFY(model.setData(model.index(0, 0), QVariant::fromValue(Qt::Checked), Qt::CheckStateRole));
        QVERIFY(model.setData(model.index(2, 0), int(Qt::Checked), Qt::CheckStateRole));
        QCOMPARE(model.checkedCount(), 2);
        QVERIFY(model.entry(0).isChecked);
        QCOMPARE(model.index(0, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
        QVERIFY(model.setData(model.index(2, 0), QVariant::fromValue(Qt::Unchecked), Qt::CheckStateRole));
        QCOMPARE(model.checkedCount(), 1);
        QCOMPARE(checks.size(), 3);

        // Only the first column carries the box, and only the tick role is writable.
        QVERIFY(!model.setData(model.index(1, 1), QVariant::fromValue(Qt::Checked), Qt::CheckStateRole));
        QVERIFY(!model.setData(model.index(1, 0), QStringLiteral("x"), Qt::EditRole));
        QCOMPARE(model.checkedCount(), 1);

        model.setChecked(0, true); // no change, no notice
        QCOMPARE(checks.size(), 3);
        model.setAllChecked(true);
        QCOMPARE(model.checkedCount(), 3);
        QCOMPARE(checks.size(), 4);
        model.setAllChecked(false);
        QCOMPARE(model.checkedCount(), 0);
        QCOMPARE(checks.size(), 5);
        model.setAllChecked(false); // nothing changes, yet the count is shown again
        QCOMPARE(checks.size(), 6);

        model.setChecked(1, true);
        model.clear();
        QCOMPARE(model.checkedCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestAlbumCatalogueCore)
#include "TestAlbumCatalogueCore.moc"
