#include "photos/PhotoListModel.h"

#include <QSignalSpy>
#include <QtTest>

using namespace albivex;

namespace {

QList<PhotoEntry> pictures(int count, const QString &prefix)
{
    QList<PhotoEntry> list;
    for (int i = 1; i <= count; ++i) {
        PhotoEntry entry;
        entry.number = 99; // the model numbers rows itself
        entry.name = prefix + QString::number(i);
        entry.url = QStringLiteral("http://p/") + prefix + QString::number(i) + QStringLiteral(".jpg");
        list << entry;
    }
    return list;
}

} // namespace

class TestPhotoListModel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pagesAppendInOrderAndNumberOn()
    {
        PhotoListModel model;
        model.append(pictures(3, QStringLiteral("a")));
        model.append(pictures(2, QStringLiteral("b")));
        QCOMPARE(model.size(), 5);
        QStringList numbers, names;
        for (int row = 0; row < model.size(); ++row) {
            numbers << model.index(row, PhotoListModel::NumberColumn).data().toString();
            names << model.index(row, PhotoListModel::NameColumn).data().toString();
        }
        QCOMPARE(numbers, QStringList({"1", "2", "3", "4", "5"}));
        QCOMPARE(names, QStringList({"a1", "a2", "a3", "b1", "b2"}));
        QCOMPARE(model.entry(4).url, QStringLiteral("http://p/b2.jpg"));
        QCOMPARE(model.index(4, PhotoListModel::UrlColumn).data().toString(), model.entry(4).url);
        QVERIFY(model.index(4, PhotoListModel::SpareColumn).data().toString().isEmpty());
        QCOMPARE(model.entry(5).number, 0); // no such row: an empty record
        QCOMPARE(model.entry(-1).name, QString());
    }

    void userTicksAreCountedAndReported()
    {
        PhotoListModel model;
        model.append(pictures(4, QStringLiteral("p")));
        QSignalSpy checks(&model, &PhotoListModel::checksChanged);
        QVERIFY(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(model.setData(model.index(3, 0), QVariant::fromValue(Qt::Checked), Qt::CheckStateRole));
        QCOMPARE(model.checkedCount(), 2);
        QCOMPARE(checks.count(), 2);
        QVERIFY(!model.setData(model.index(2, 1), Qt::Checked, Qt::CheckStateRole)); // only the first column
        QVERIFY(!(model.flags(model.index(2, 1)) & Qt::ItemIsUserCheckable));
        model.setChecked(1, true); // no change, no notice
        QCOMPARE(checks.count(), 2);
        model.setAllChecked(true);
        QCOMPARE(model.checkedCount(), 4);
        model.setAllChecked(false);
        QCOMPARE(model.checkedCount(), 0);
        QCOMPARE(checks.count(), 4);
    }

    void clearStartsANewListing()
    {
        PhotoListModel model;
        model.append(pictures(2, QStringLiteral("p")));
        model.setChecked(0, true);
        model.setStatus(0, QStringLiteral("√"));
        const quint64 before = model.listing();
        model.clear();
        QVERIFY(model.listing() != before);
        model.append(pictures(2, QStringLiteral("q")));
        QCOMPARE(model.checkedCount(), 0);
        QVERIFY(model.entry(0).status.isEmpty());
        model.setStatus(7, QStringLiteral("√")); // a row that is gone: ignored
    }

    void statusIsShownCentred()
    {
        PhotoListModel model;
        model.append(pictures(1, QStringLiteral("p")));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setStatus(0, QStringLiteral("×"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex().column(), int(PhotoListModel::StatusColumn));
        QCOMPARE(model.index(0, PhotoListModel::StatusColumn).data().toString(), QStringLiteral("×"));
        QCOMPARE(model.headerData(PhotoListModel::StatusColumn, Qt::Horizontal).toString(),
                 QStringLiteral("状态"));
        QCOMPARE(
            model.index(0, PhotoListModel::StatusColumn).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::Alignment(Qt::AlignCenter));
        QCOMPARE(PhotoListModel::columnWidthTwips(PhotoListModel::UrlColumn), 0);
        QCOMPARE(PhotoListModel::columnWidthTwips(PhotoListModel::NameColumn), 2500);
    }
};

QTEST_GUILESS_MAIN(TestPhotoListModel)
#include "TestPhotoListModel.moc"
