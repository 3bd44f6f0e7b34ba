// The album catalogue against the stand-in services: listing own and other spaces,
// the album list view's gestures and the information copy. Runs with a Chinese locale
// and a time zone far from China's, so that creation times must come out in China time.

#include "FinishedReplies.h"
#include "ScriptedPrompts.h"
#include "app/AlbivexApp.h"
#include "catalogue/AlbumListModel.h"
#include "standin/ServiceRoutes.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"
#include "window/SelectedRow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTreeView>
#include <QtTest>

#include <memory>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

const QString OwnPath = QString::fromLatin1(sd::ServiceRoutes::AlbumListV3Path);
const QString OtherPath = QString::fromLatin1(sd::ServiceRoutes::AlbumListV2Path);
const QString MainUin = QString::fromLatin1(sd::MainUin);

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

class TestAlbumCatalogue : public QObject
{
    Q_OBJECT

    sd::StandinThread m_standin;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<AlbivexApp> m_app;

    MainWindow &window() { return m_app->window(); }
    AlbumListModel &albums() { return m_app->albums(); }
    QTreeView *view() { return window().albumView; }

    // Signs in on the stand-in's sign-in service through the tool's own network manager,
    // so that the cookie jar holds uin and skey, and fills the account as the cookie
    // capture does.
    bool signIn(const QString &uin = MainUin)
    {
        const QString root = m_standin.root();
        QNetworkRequest request(QUrl(root + QLatin1String(sd::ServiceRoutes::SignInSubmitPath)
                                     + QStringLiteral("?u=") + uin + QStringLiteral("&p=secret")));
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        QNetworkReply *reply = m_app->network().get(request);
        QSignalSpy finished(reply, &QNetworkReply::finished);
        if (!finished.wait(10000))
            return false;
        reply->deleteLater();
        QString skey;
        const auto cookies = m_app->network().cookieJar()->cookiesForUrl(QUrl(root + QStringLiteral("/")));
        for (const QNetworkCookie &cookie : cookies) {
            if (cookie.name() == "skey")
                skey = QString::fromLatin1(cookie.value());
        }
        if (skey.isEmpty())
            return false;
        QzoneCredentials &account = m_app->state().credentials;
        account.uin = uin;
        account.setKeys(skey, QString());
        account.signedIn = 1;
        return true;
    }

    int closingLines() const { return m_app->log().lines().filter(QStringLiteral("]相册获取完毕..")).size(); }

    // Clicks a listing button and waits for the listing's closing line.
    bool list(QPushButton *button)
    {
        const int before = closingLines();
        button->click();
        return QTest::qWaitFor([&] { return closingLines() > before; }, 20000);
    }

    QPoint cellCentre(int row, int column)
    {
        return view()->visualRect(albums().index(row, column)).center();
    }

    void clickCheckBox(int row)
    {
        QStyleOptionViewItem option;
        option.initFrom(view());
        option.rect = view()->visualRect(albums().index(row, 0));
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = albums().index(row, 0).data().toString();
        const QRect box
            = view()->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view());
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, box.center());
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }

    void init()
    {
        m_standin.knobs().clearFaults();
        m_standin.knobs().setLatencyMs(0);
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_app = std::make_unique<AlbivexApp>(Endpoints(m_standin.root()), m_prompts.get(), m_prompts.get(),
                                             m_prompts.get());
        // The version check enables these; it is not what is tested here.
        for (QPushButton *button :
             {window().listOwnAlbumsButton, window().signInButton, window().listOtherAlbumsButton})
            button->setEnabled(true);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        m_standin.knobs().clearRequests();
    }

    void cleanup()
    {
        m_app.reset();
        m_prompts.reset();
    }

    void ownSpaceRequest()
    {
        QVERIFY(signIn());
        QVERIFY(list(window().listOwnAlbumsButton));

        const QList<sd::LoggedRequest> requests = m_standin.knobs().requestsTo(OwnPath);
        QCOMPARE(requests.size(), 1);
        const sd::LoggedRequest &request = requests.first();
        QCOMPARE(request.method, QStringLiteral("GET"));
        const QString gTk = m_app->state().credentials.gTk;
        QCOMPARE(request.rawQuery,
                 QStringLiteral("g_tk=") + gTk
                     + QStringLiteral("&callback=shine0_Callback&t=391761988&hostUin=123456789&uin=123456789"
                                      "&appid=4&inCharset=utf-8&outCharset=utf-8&source=qzone&plat=qzone"
                                      "&format=jsonp&notice=0&filter=1&handset=4&pageNumModeSort=40"
                                      "&pageNumModeClass=15&needUserInfo=1&idcNum=4&callbackFun=shine0"
                                      "&_=1450879334407"));
        QVERIFY(request.cookieNames.contains(QStringLiteral("uin")));
        QVERIFY(request.cookieNames.contains(QStringLiteral("skey")));
        QCOMPARE(request.header("If-Modified-Since"), QByteArray("0"));

        const QStringList lines = m_app->log().lines();
        QVERIFY(lines.at(lines.size() - 2).endsWith(QStringLiteral("][QQ:123456789]正在获取相册..")));
        QVERIFY(lines.last().endsWith(QStringLiteral("][QQ:123456789]相册获取完毕..")));
        QVERIFY(m_prompts->boxes.isEmpty());
        QVERIFY(!m_app->state().listShowsOtherQq);
        QCOMPARE(m_app->state().listedOwnerUin, MainUin);
    }

    void ownSpaceRows()
    {
        QVERIFY(signIn());
        QSignalSpy backClicks(window().backButton, &QPushButton::clicked);
        QVERIFY(list(window().listOwnAlbumsButton));

        QCOMPARE(albums().size(), sd::MainAlbumCount);
        QCOMPARE(backClicks.size(), sd::MainAlbumCount);
        const QString coverRoot = m_standin.root() + QStringLiteral("/photo/m/");
        for (int row = 0; row < sd::MainAlbumCount; ++row) {
            const sd::AlbumFacts &facts = sd::MainAlbums[row];
            const AlbumEntry &album = albums().entry(row);
            QCOMPARE(album.position, row + 1);
            QCOMPARE(album.albumId, utf8(facts.id));
            // A name holding a comma is cut there, as the answer is cut by text rules.
            QCOMPARE(album.name, utf8(facts.name).section(QLatin1Char(','), 0, 0));
            QCOMPARE(album.pictureCount, QString::number(facts.pictures));
            QCOMPARE(album.coverUrl,
                     coverRoot + album.albumId
                         + (album.albumId == QLatin1String("V1png") ? QStringLiteral("/cover.png")
                                                                    : QStringLiteral("/cover.jpg")));
            QVERIFY(!album.createdText.isEmpty());
            QVERIFY(album.downloadState.isEmpty());
            QVERIFY(!album.isChecked);
        }
        // Row by row where the forming rules show.
        QCOMPARE(albums().entry(0).createdText, QStringLiteral("2015/2/9 13:00:15"));
        QCOMPARE(albums().entry(0).description, QStringLiteral("第一天 第二天"));
        QCOMPARE(albums().entry(1).name, QStringLiteral("空相册")); // sent as escapes
        QCOMPARE(albums().entry(1).createdText, QStringLiteral("2015/12/23")); // midnight in China
        QCOMPARE(albums().entry(3).description, QStringLiteral("逗号"));
        QCOMPARE(albums().entry(4).name, QStringLiteral("../上级/相册"));
        QCOMPARE(albums().entry(4).description, QStringLiteral("路径pq"));
        QCOMPARE(albums().entry(9).name, QStringLiteral("相册")); // \u76f8\u518c
        QCOMPARE(albums().entry(9).description, QStringLiteral("行一 行二 ab"));

        // What the list shows: captions, the hidden columns, widths at 15 twips a pixel.
        const QList<int> widths {94, 294, 247, 118, 0, 0, 0, 169};
        for (int column = 0; column < AlbumListModel::ColumnCount; ++column) {
            QCOMPARE(view()->isColumnHidden(column), widths.at(column) == 0);
            if (widths.at(column) > 0)
                QCOMPARE(view()->header()->sectionSize(column), widths.at(column));
        }
        QCOMPARE(view()->model()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("下载状态"));
        QCOMPARE(view()->model()->index(0, 1).data().toString(), QStringLiteral("旅行2015"));
    }

    void otherSpaceGbk()
    {
        QVERIFY(signIn());
        window().otherQqEdit->setText(utf8(sd::SecondUin));
        QVERIFY(list(window().listOtherAlbumsButton));

        const QList<sd::LoggedRequest> requests = m_standin.knobs().requestsTo(OtherPath);
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests.first().rawQuery,
                 QStringLiteral("inCharset=gbk&outCharset=gbk&hostUin=2233445566&notice=0&callbackFun="
                                "&format=jsonp&plat=qzone&source=qzone&appid=4&uin=123456789&g_tk=")
                     + m_app->state().credentials.gTk);
        QCOMPARE(albums().size(), 2);
        QCOMPARE(albums().entry(0).name, QStringLiteral("风景"));
        QCOMPARE(albums().entry(0).description, QStringLiteral("山和水 "));
        QCOMPARE(albums().entry(1).name, QStringLiteral("家人"));
        QCOMPARE(albums().entry(1).albumId, QStringLiteral("V2family"));
        QVERIFY(m_app->log().lines().last().endsWith(QStringLiteral("][QQ:2233445566]相册获取完毕..")));

        // Whose albums these are stays fixed when otherQqEdit is edited afterwards.
        QVERIFY(m_app->state().listShowsOtherQq);
        QCOMPARE(m_app->state().listedOwnerUin, utf8(sd::SecondUin));
        window().otherQqEdit->setText(QStringLiteral("55555"));
        QCOMPARE(m_app->state().listedOwnerUin, utf8(sd::SecondUin));

        // Listing the own space afterwards switches back.
        QVERIFY(list(window().listOwnAlbumsButton));
        QVERIFY(!m_app->state().listShowsOtherQq);
        QCOMPARE(m_app->state().listedOwnerUin, MainUin);
    }

    void emptyAnswers_data()
    {
        QTest::addColumn<bool>("own");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("emptyBody");
        QTest::addColumn<QString>("message");
        const QString none = QStringLiteral("很抱歉，没有获取到该空间相册，可能没有相册或设置权限");
        QTest::newRow("closed space") << false << utf8(sd::ClosedUin) << false << none;
        QTest::newRow("space without albums") << false << QStringLiteral("88888") << false << none;
        QTest::newRow("own space, empty answer")
            << true << QString() << true << QStringLiteral("很抱歉，您的空间没有相册");
    }
    void emptyAnswers()
    {
        QFETCH(bool, own);
        QFETCH(QString, number);
        QFETCH(bool, emptyBody);
        QFETCH(QString, message);
        QVERIFY(signIn());
        if (emptyBody)
            m_standin.knobs().addFault(sd::FaultRule::make(OwnPath, sd::FaultKind::EmptyBody));
        window().otherQqEdit->setText(number);
        QVERIFY(list(own ? window().listOwnAlbumsButton : window().listOtherAlbumsButton));
        QCOMPARE(albums().size(), 0);
        QCOMPARE(m_prompts->texts(), QStringList {message});
        QCOMPARE(m_prompts->boxes.first().title, QStringLiteral("Zorvane软件"));
        QCOMPARE(m_prompts->boxes.first().icon, Prompts::Icon::Information);
    }

    void signedOut_data()
    {
        QTest::addColumn<bool>("own");
        QTest::newRow("own space") << true;
        QTest::newRow("other space") << false;
    }
    void signedOut()
    {
        QFETCH(bool, own);
        albums().append(AlbumEntry {}); // the list is left as it was
        window().otherQqEdit->setText(utf8(sd::SecondUin));
        // Only the click matters here, not the sign-in window it opens.
        disconnect(window().signInButton, &QPushButton::clicked, nullptr, nullptr);
        QSignalSpy signInClicks(window().signInButton, &QPushButton::clicked);

        (own ? window().listOwnAlbumsButton : window().listOtherAlbumsButton)->click();
        QCOMPARE(m_app->log().lines().size(), 1);
        QVERIFY(m_app->log().lines().last().endsWith(QStringLiteral("]请您先登录QQ..")));
        QCOMPARE(m_prompts->texts(), QStringList {QStringLiteral("请您先登录QQ")});
        QCOMPARE(m_prompts->boxes.first().title, QStringLiteral("Zorvane软件"));
        QCOMPARE(signInClicks.size(), 0); // only once the box is closed
        QTRY_COMPARE(signInClicks.size(), 1);
        QCOMPARE(albums().size(), 1);
        QCOMPARE(m_standin.knobs().requestCount(own ? OwnPath : OtherPath), 0);
    }

    void numberBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("boxAfter");
        QTest::addColumn<QString>("hostUin"); // empty: no request
        const QString bad = QStringLiteral("您输入的QQ号码有误!");
        QTest::newRow("empty") << QString() << QStringLiteral("请输入您的QQ号..") << QString() << QString();
        QTest::newRow("four digits") << QStringLiteral("1234") << bad << QString() << QString();
        QTest::newRow("twelve digits") << QStringLiteral("123456789012") << bad << QString() << QString();
        QTest::newRow("letters") << QStringLiteral("abcdefg") << bad << QString() << QString();
        QTest::newRow("exponent") << QStringLiteral("1e5") << bad << QString() << QString();
        QTest::newRow("sign") << QStringLiteral("+12345") << bad << QString() << QString();
        QTest::newRow("blanks around")
            << QStringLiteral(" 12345 ") << QString() << QStringLiteral(" 12345 ") << QStringLiteral("12345");
        QTest::newRow("eleven digits") << QStringLiteral("12345678901") << QString()
                                       << QStringLiteral("12345678901") << QStringLiteral("12345678901");
    }
    void numberBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, status);
        QFETCH(QString, boxAfter);
        QFETCH(QString, hostUin);
        QVERIFY(signIn());
        albums().append(AlbumEntry {});
        window().listOwnAlbumsButton->setFocus();
        window().otherQqEdit->setText(typed);

        if (hostUin.isEmpty()) {
            window().listOtherAlbumsButton->click();
            QCOMPARE(window().statusText(), status);
            QCOMPARE(window().otherQqEdit->text(), boxAfter);
            QCOMPARE(albums().size(), 1);
            QVERIFY(m_prompts->boxes.isEmpty());
            if (typed.isEmpty())
                QCOMPARE(window().focusWidget(), window().otherQqEdit);
            QVERIFY(SettleNetwork(m_app->network(), m_standin.root()));
            QCOMPARE(m_standin.knobs().requestCount(OtherPath), 0);
        } else {
            QVERIFY(list(window().listOtherAlbumsButton));
            QCOMPARE(window().otherQqEdit->text(), boxAfter);
            const QList<sd::LoggedRequest> requests = m_standin.knobs().requestsTo(OtherPath);
            QCOMPARE(requests.size(), 1);
            QCOMPARE(requests.first().queryValue(QStringLiteral("hostUin")), hostUin);
            QCOMPARE(m_app->state().listedOwnerUin, hostUin);
            QVERIFY(m_app->log().lines().last().endsWith(QStringLiteral("[QQ:") + hostUin
                                                         + QStringLiteral("]相册获取完毕..")));
        }
    }

    void secondListing()
    {
        QVERIFY(signIn());
        QVERIFY(list(window().listOwnAlbumsButton));
        albums().setChecked(2, true);
        albums().setDownloadState(2, QStringLiteral("√"));
        QVERIFY(list(window().listOwnAlbumsButton));
        QCOMPARE(albums().size(), sd::MainAlbumCount);
        QVERIFY(!albums().entry(2).isChecked);
        QVERIFY(albums().entry(2).downloadState.isEmpty());
        QCOMPARE(m_app->state().checkedAlbumCount, 0);

        // A start while a listing runs is ignored until it has ended.
        m_standin.knobs().setLatencyMs(300);
        m_standin.knobs().clearRequests();
        const int before = closingLines();
        window().listOwnAlbumsButton->click();
        window().listOwnAlbumsButton->click();
        window().otherQqEdit->setText(utf8(sd::SecondUin));
        window().listOtherAlbumsButton->click();
        QTRY_COMPARE_WITH_TIMEOUT(closingLines(), before + 1, 10000);
        QVERIFY(SettleNetwork(m_app->network(), m_standin.root()));
        QCOMPARE(closingLines(), before + 1);
        QCOMPARE(m_standin.knobs().requests().size(), 1 + m_standin.knobs().requestCount(SettleMarkerPath));
        QCOMPARE(albums().size(), sd::MainAlbumCount);
    }

    void longListStaysResponsive()
    {
        QVERIFY(signIn());
        sd::FaultRule many = sd::FaultRule::make(OwnPath, sd::FaultKind::ManyCreatetime);
        many.keys = 2000;
        m_standin.knobs().addFault(many);

        // Something queued as the first rows appear must run before the last one is in.
        int rowsWhenQueuedRan = -1;
        connect(&albums(), &QAbstractItemModel::rowsInserted, this, [&] {
            if (albums().size() == 1)
                QTimer::singleShot(0, this, [&] { rowsWhenQueuedRan = albums().size(); });
        });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(list(window().listOwnAlbumsButton));
        qInfo("2,000 albums listed in %lld ms", static_cast<long long>(clock.elapsed()));
        QCOMPARE(albums().size(), 2000);
        QCOMPARE(albums().entry(1999).name, QStringLiteral("n2000"));
        QCOMPARE(albums().entry(1999).position, 2000);
        QTRY_VERIFY(rowsWhenQueuedRan > 0);
        QVERIFY(rowsWhenQueuedRan < 2000);
    }

    void checkCount()
    {
        QVERIFY(signIn());
        QVERIFY(list(window().listOwnAlbumsButton));
        clickCheckBox(0);
        QVERIFY(albums().entry(0).isChecked);
        QCOMPARE(window().statusText(), QStringLiteral("已选择1个相册.."));
        clickCheckBox(3);
        QCOMPARE(window().statusText(), QStringLiteral("已选择2个相册.."));
        QCOMPARE(m_app->state().checkedAlbumCount, 2);
        clickCheckBox(0);
        QVERIFY(!albums().entry(0).isChecked);
        QCOMPARE(window().statusText(), QStringLiteral("已选择1个相册.."));
        QCOMPARE(m_app->state().checkedAlbumCount, 1);
        albums().setAllChecked(true);
        QCOMPARE(m_app->state().checkedAlbumCount, sd::MainAlbumCount);
    }

    void clickPreviewsCover()
    {
        QVERIFY(signIn());
        QVERIFY(list(window().listOwnAlbumsButton));
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {},
                          cellCentre(2, 1)); // no preview hook: nothing
        QStringList previewed;
        connect(m_app.get(), &AlbivexApp::previewRequested, this,
                [&](const QString &address) { previewed << address; });
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, cellCentre(6, 1));
        QCOMPARE(previewed, QStringList {albums().entry(6).coverUrl});
        QVERIFY(previewed.first().endsWith(QStringLiteral("/photo/m/V1png/cover.png")));
    }

    void menuAndDoubleClickWaitForIdleJob()
    {
        QVERIFY(signIn());
        QVERIFY(list(window().listOwnAlbumsButton));
        // Others open the album on "查看相册"; only whether it is triggered counts here.
        disconnect(window().viewAlbumAction, &QAction::triggered, nullptr, nullptr);
        QSignalSpy views(window().viewAlbumAction, &QAction::triggered);
        QMenu *menu = window().albumMenu;

        m_app->state().albumJobIdle = false;
        QTest::mousePress(view()->viewport(), Qt::RightButton, {}, cellCentre(1, 1));
        QTest::mouseRelease(view()->viewport(), Qt::RightButton, {}, cellCentre(1, 1));
        QVERIFY(!menu->isVisible());
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, cellCentre(1, 1));
        QCOMPARE(views.size(), 0);

        m_app->state().albumJobIdle = true;
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, cellCentre(1, 1));
        QCOMPARE(views.size(), 1);
        QTest::mousePress(view()->viewport(), Qt::RightButton, {}, cellCentre(2, 1));
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(SelectedRow(view()), 2); // a right click selects its row too
        QStringList captions;
        for (QAction *action : menu->actions())
            captions << action->text();
        QVERIFY(!captions.contains(QStringLiteral("删除相册")));
        menu->hide();
    }

    void copyAlbumInfo()
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->setText(QStringLiteral("before"));

        // Nothing listed, nothing selected.
        window().copyAlbumInfoAction->trigger();
        QCOMPARE(window().statusText(), QStringLiteral("请选择相册"));
        QCOMPARE(m_prompts->texts(), QStringList {QStringLiteral("请选择相册")});
        QCOMPARE(m_prompts->boxes.first().title, QStringLiteral("Zorvane软件"));
        QCOMPARE(clipboard->text(), QStringLiteral("before"));
        QVERIFY(m_app->log().lines().isEmpty());

        QVERIFY(signIn());
        QVERIFY(list(window().listOwnAlbumsButton));
        window().copyAlbumInfoAction->trigger(); // listed, still nothing selected
        QCOMPARE(m_prompts->boxes.size(), 2);
        QCOMPARE(clipboard->text(), QStringLiteral("before"));

        view()->setCurrentIndex(albums().index(0, 1));
        window().copyAlbumInfoAction->trigger();
        window().copyAlbumInfoAction->trigger();
        QCOMPARE(clipboard->text(),
                 QStringLiteral("相册名称：旅行2015\r\n创建时间：2015/2/9 13:00:15\r\n"
                                "图片数量：620张\r\n相册描述：第一天 第二天"));
        const QStringList copied = m_app->log().lines().filter(QStringLiteral("相册信息复制成功"));
        QCOMPARE(copied.size(), 2);
        QVERIFY(copied.first().endsWith(QStringLiteral("][旅行2015]相册信息复制成功")));
        QCOMPARE(m_prompts->boxes.size(), 2);
    }
};

int main(int argc, char **argv)
{
    // China's creation times, written the Chinese way, on a computer eleven hours
    // behind UTC.
    qputenv("TZ", "<-11>11");
    qputenv("LC_ALL", "zh_CN.UTF-8");
    qputenv("LANG", "zh_CN.UTF-8");
    QApplication app(argc, argv);
    // Libraries linked in may have read the system locale before main; the tool
    // writes with the default locale, which follows the system unless set.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    TestAlbumCatalogue test;
    return QTest::qExec(&test, argc, argv);
}

#include "TestAlbumCatalogue.moc"
