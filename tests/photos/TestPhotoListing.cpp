#include "FinishedReplies.h"
#include "PhotoAppFixture.h"
#include "session/WindowState.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

const QString OwnPath = QStringLiteral("/fcgi-bin/cgi_list_photo");
const QString OtherPath = QStringLiteral("/p/shplist.photo/fcgi-bin/cgi_list_photo");

} // namespace

// "查看相册" and the photo list view, the whole tool against the stand-in.
class TestPhotoListing : public QObject
{
    Q_OBJECT
private:
    sd::StandinThread m_standin;
    std::unique_ptr<PhotoAppFixture> m_app;

    PhotoAppFixture &t() { return *m_app; }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }

    void init()
    {
        m_standin.knobs().clearFaults();
        m_standin.knobs().clearRequests();
        m_standin.knobs().setLatencyMs(0);
        m_app = std::make_unique<PhotoAppFixture>(m_standin);
        QVERIFY(t().signIn());
        t().showAlbums(sd::MainUin, sd::MainAlbums);
        m_standin.knobs().clearRequests();
    }
    void cleanup() { m_app.reset(); }

    void withoutASelectedAlbumNothingHappens()
    {
        t().window().viewAlbumAction->trigger();
        QCOMPARE(t().window().statusText(), QStringLiteral("、请选择相册"));
        QCOMPARE(t().prompts.texts(), QStringList {QStringLiteral("请选择相册")});
        QCOMPARE(t().prompts.boxes.first().title, QStringLiteral("Zorvane软件"));
        QVERIFY(!t().window().albumView->isHidden());
        QVERIFY(t().window().photoView->isHidden());
        QVERIFY(!t().app.state().photoViewOpen);

        // An album row without a name is no album either.
        AlbumEntry nameless = PhotoAppFixture::entryOf(sd::SmallAlbum);
        nameless.name.clear();
        t().albums().append(nameless);
        PhotoAppFixture::selectRow(t().window().albumView, t().albums().size() - 1);
        t().window().viewAlbumAction->trigger();
        QCOMPARE(t().prompts.boxes.size(), 2);
        QVERIFY(SettleNetwork(t().app.network(), m_standin.root()));
        QCOMPARE(m_standin.knobs().requests().size(), m_standin.knobs().requestCount(SettleMarkerPath));
    }

    void openingAnAlbumSwitchesTheView_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no description") << QString() << QStringLiteral("该相册无任何描述");
        QTest::newRow("only spaces") << QStringLiteral("   ") << QStringLiteral("该相册无任何描述");
        QTest::newRow("a description") << QStringLiteral(" 好 看 ") << QStringLiteral(" 好 看 ");
    }
    void openingAnAlbumSwitchesTheView()
    {
        QFETCH(QString, description);
        QFETCH(QString, shown);
        t().albums().clear();
        t().albums().append(PhotoAppFixture::entryOf(sd::SmallAlbum, description));
        QVERIFY(QGuiApplication::clipboard());
        QGuiApplication::clipboard()->setText(QStringLiteral("the user's own text"));
        t().photos().append({PhotoEntry {}}); // rows of an earlier album go
        QVERIFY(t().view(sd::SmallAlbum.id));

        MainWindow &w = t().window();
        QVERIFY(w.albumView->isHidden());
        QVERIFY(!w.photoView->isHidden());
        QVERIFY(!w.backButton->isHidden());
        QCOMPARE(w.albumNameLabel->text(), QStringLiteral("三张"));
        QVERIFY(!w.albumNameLabel->isHidden());
        QCOMPARE(w.albumDescriptionLabel->text(), shown);
        QVERIFY(!w.albumDescriptionLabel->isHidden());
        QVERIFY(t().app.state().photoViewOpen);
        QCOMPARE(t().linesWithoutTime().mid(t().lines().size() - 2),
                 QStringList(
                     {QStringLiteral("[三张]正在获取相册图片.."), QStringLiteral("[三张]相册获取完毕..")}));
        QCOMPARE(w.statusText(), QStringLiteral("相册加载完毕.."));
        QCOMPARE(t().photos().size(), 3);
        QCOMPARE(t().photos().entry(1).name, QStringLiteral("小狗"));
        QCOMPARE(t().photos().entry(2).description, QStringLiteral("第3张"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("the user's own text"));
    }

    void ownAndOtherSpacesAskTheirForms()
    {
        QVERIFY(t().view(sd::SmallAlbum.id));
        auto own = m_standin.knobs().requestsTo(OwnPath);
        QCOMPARE(own.size(), 1);
        QCOMPARE(own.first().queryValue(QStringLiteral("hostUin")), QString::fromLatin1(sd::MainUin));
        QCOMPARE(own.first().queryValue(QStringLiteral("g_tk")), t().app.state().credentials.gTk);
        QCOMPARE(own.first().queryKeys().size(), 27);

        // The other space: the number the album listing remembered, whatever otherQqEdit holds now.
        t().showAlbums(sd::SecondUin, sd::SecondAlbums, true);
        t().window().otherQqEdit->setText(QStringLiteral("999999"));
        m_standin.knobs().clearRequests();
        QVERIFY(t().view("V2scenery"));
        const auto other = m_standin.knobs().requestsTo(OtherPath);
        QCOMPARE(other.size(), 1);
        QCOMPARE(other.first().queryKeys().size(), 23);
        QCOMPARE(other.first().queryValue(QStringLiteral("hostUin")), QString::fromLatin1(sd::SecondUin));
        QCOMPARE(other.first().queryValue(QStringLiteral("uin")), QString::fromLatin1(sd::MainUin));
        QCOMPARE(other.first().queryValue(QStringLiteral("topicId")), QStringLiteral("V2scenery"));
        QCOMPARE(m_standin.knobs().requestCount(OwnPath), 0);
        QCOMPARE(t().photos().size(), 4);
        QCOMPARE(t().photos().entry(3).name, QStringLiteral("山4"));
    }

    void allPicturesOfABigAlbumAreListedInOrder_data()
    {
        QTest::addColumn<bool>("otherSpace");
        QTest::addColumn<int>("requests");
        QTest::newRow("own space") << false << 2;
        QTest::newRow("as another space") << true << 4;
    }
    void allPicturesOfABigAlbumAreListedInOrder()
    {
        QFETCH(bool, otherSpace);
        QFETCH(int, requests);
        t().showAlbums(sd::MainUin, sd::MainAlbums, otherSpace);
        // Every status text the window shows between turns of the event loop.
        QStringList statuses;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (statuses.isEmpty() || statuses.last() != t().window().statusText())
                statuses << t().window().statusText();
        });
        watch.start(0);
        QVERIFY(t().view(sd::BigAlbum.id));
        watch.stop();
        statuses << t().window().statusText();

        QCOMPARE(t().photos().size(), 620);
        for (int row = 0; row < 620; ++row) {
            QCOMPARE(t().photos().entry(row).number, row + 1);
            QCOMPARE(t().photos().entry(row).url,
                     m_standin.root() + QStringLiteral("/photo/b/V1big620/%1.jpg").arg(row + 1));
        }
        QCOMPARE(t().photos().entry(4).description, QStringLiteral("pq")); // "p\/q" in the answer
        QCOMPARE(m_standin.knobs().requestCount(otherSpace ? OtherPath : OwnPath), requests);
        QCOMPARE(t().countLines(QStringLiteral("[旅行2015]相册获取完毕..")), 1);
        QCOMPARE(statuses.last(), QStringLiteral("相册加载完毕.."));

        // The percentages shown between turns climb and never go back; the last batch's
        // text gives way to the completion text within its own turn.
        static const QRegularExpression percent(QStringLiteral("^正在获取相册图片..（(\\d+)%）$"));
        int last = -1;
        int seen = 0;
        for (const QString &status : statuses) {
            const QRegularExpressionMatch m = percent.match(status);
            if (!m.hasMatch())
                continue;
            ++seen;
            QVERIFY2(m.captured(1).toInt() >= last, qPrintable(statuses.join('|')));
            last = m.captured(1).toInt();
        }
        QVERIFY2(seen >= 3, qPrintable(statuses.join('|')));
        QVERIFY2(last >= 90, qPrintable(statuses.join('|')));
    }

    // Ten pages of 500 with the window shown: no step may grow with the square of the
    // picture count.
    void aFiveThousandPictureAlbumListsQuickly()
    {
        sd::ExtraAlbum extra;
        extra.pictureCount = 5000;
        const QString id = m_standin.knobs().addExtraAlbum(extra);
        AlbumEntry entry;
        entry.name = extra.name;
        entry.albumId = id;
        entry.pictureCount = QStringLiteral("5000");
        t().albums().append(entry);
        t().window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&t().window()));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(t().view(id.toLatin1().constData(), 60000));
        const qint64 ms = clock.elapsed();
        QCOMPARE(t().photos().size(), 5000);
        QCOMPARE(t().photos().entry(4999).number, 5000);
        qInfo("5000 pictures listed in %lld ms", ms);
        QVERIFY2(ms < 15000, qPrintable(QString::number(ms)));
    }

    void backOrStopDuringAListingKeepsTheRowsSoFar_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("<=") << QStringLiteral("Command5");
        QTest::newRow("终止任务") << QStringLiteral("Command6");
    }
    void backOrStopDuringAListingKeepsTheRowsSoFar()
    {
        QFETCH(QString, button);
        m_standin.knobs().setLatencyMs(100);
        QPushButton *press
            = button == QLatin1String("Command5") ? t().window().backButton : t().window().stopButton;
        bool pressed = false;
        connect(&t().photos(), &QAbstractItemModel::rowsInserted, this, [&] {
            if (pressed || t().photos().size() < 100)
                return;
            pressed = true;
            press->click();
        });
        FinishedReplies finished(t().app.network());
        t().startViewing(sd::BigAlbum.id);
        QTRY_VERIFY(pressed);
        const int rowsAtStop = t().photos().size();
        // Every page asked for is over (the one on its way given up): no rows can come.
        QVERIFY(SettleNetwork(t().app.network(), m_standin.root()));
        QTRY_COMPARE(finished.count(OwnPath), m_standin.knobs().requestCount(OwnPath));
        QCOMPARE(t().photos().size(), rowsAtStop);
        QVERIFY(rowsAtStop >= 100 && rowsAtStop < 620);
        QCOMPARE(t().countLines(QStringLiteral("相册获取完毕..")), 0);
        QVERIFY(t().window().statusText() != QStringLiteral("相册加载完毕.."));
        QVERIFY(m_standin.knobs().requestCount(OwnPath) <= 2);
    }

    void openingAnotherAlbumReplacesARunningListing()
    {
        m_standin.knobs().setLatencyMs(100);
        FinishedReplies finished(t().app.network());
        t().startViewing(sd::BigAlbum.id);
        QTRY_VERIFY(t().photos().size() > 0);
        QVERIFY(t().view(sd::SmallAlbum.id));
        QVERIFY(SettleNetwork(t().app.network(), m_standin.root()));
        QTRY_COMPARE(finished.count(OwnPath), m_standin.knobs().requestCount(OwnPath));
        QCOMPARE(t().photos().size(), 3);
        QCOMPARE(t().countLines(QStringLiteral("相册获取完毕..")), 1);
        QCOMPARE(t().countLines(QStringLiteral("[三张]相册获取完毕..")), 1);
    }

    void anEmptyOrFailedListingEndsWithItsLines()
    {
        QVERIFY(t().view(sd::EmptyAlbum.id));
        QCOMPARE(t().photos().size(), 0);
        m_standin.knobs().addFault(standin::FaultRule::httpStatus(OwnPath, 502));
        QVERIFY(t().view(sd::SmallAlbum.id));
        QCOMPARE(t().photos().size(), 0);
        QCOMPARE(t().window().statusText(), QStringLiteral("相册加载完毕.."));
    }

    void ticksAreCountedInTheStatusBar()
    {
        QVERIFY(t().view(sd::SmallAlbum.id));
        PhotoListModel &photos = t().photos();
        QVERIFY(photos.setData(photos.index(0, 0), Qt::Checked, Qt::CheckStateRole));
        QVERIFY(photos.setData(photos.index(2, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(t().window().statusText(), QStringLiteral("已选择2张图片.."));
        QVERIFY(photos.setData(photos.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(t().window().statusText(), QStringLiteral("已选择1张图片.."));
    }

    void checkAllAndClearAllActOnTheListShown()
    {
        MainWindow &w = t().window();
        // Album list shown.
        w.checkAllButton->click();
        QCOMPARE(t().albums().checkedCount(), t().albums().size());
        QVERIFY(!w.checkAllButton->isChecked());
        w.uncheckAllButton->click();
        QCOMPARE(t().albums().checkedCount(), 0);
        QVERIFY(!w.uncheckAllButton->isChecked());
        t().albums().clear();
        w.checkAllButton->click();
        QCOMPARE(t().prompts.texts(), QStringList {QStringLiteral("请先获取相册")});

        // Photo list shown.
        t().showAlbums(sd::MainUin, sd::MainAlbums);
        QVERIFY(t().view(sd::SmallAlbum.id));
        w.checkAllButton->click();
        QCOMPARE(t().photos().checkedCount(), 3);
        QCOMPARE(w.statusText(), QStringLiteral("已选择3张图片.."));
        QCOMPARE(t().albums().checkedCount(), 0);
        t().photos().setChecked(1, false);
        w.checkAllButton->click(); // resets itself, so a second click works at once
        QCOMPARE(t().photos().checkedCount(), 3);
        w.uncheckAllButton->click();
        QCOMPARE(t().photos().checkedCount(), 0);
        QCOMPARE(w.statusText(), QStringLiteral("已选择0张图片.."));
        QVERIFY(!w.checkAllButton->isChecked() && !w.uncheckAllButton->isChecked());

        QVERIFY(t().view(sd::EmptyAlbum.id));
        w.checkAllButton->click();
        QCOMPARE(t().prompts.texts().last(), QStringLiteral("该相册没有图片"));
        QVERIFY(!w.checkAllButton->isChecked());
    }

    void clickPreviewsAndRightClickPopsTheMenu()
    {
        QStringList previewed;
        connect(&t().app, &AlbivexApp::previewRequested, this,
                [&](const QString &address) { previewed << address; });
        t().window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&t().window()));
        QVERIFY(t().view(sd::SmallAlbum.id));
        QTreeView *view = t().window().photoView;
        const QRect second = view->visualRect(t().photos().index(1, PhotoListModel::NameColumn));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
        QCOMPARE(previewed, QStringList {m_standin.root() + QStringLiteral("/photo/b/V1three/2.jpg")});

        QTest::mousePress(view->viewport(), Qt::RightButton, Qt::NoModifier, second.center());
        QTRY_VERIFY(t().window().photoMenu->isVisible());
        t().window().photoMenu->hide();

        // Without a preview box wired nothing breaks.
        disconnect(&t().app, &AlbivexApp::previewRequested, nullptr, nullptr);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    }
};

QTEST_MAIN(TestPhotoListing)
#include "TestPhotoListing.moc"
