// The album download job on the real main window (offscreen) against the stand-in
// services on their own thread: both modes, the stop paths, quality, paging, failing
// pictures and listings. Latency rules on the stand-in hold transfers open, so that a
// stop or a tick lands at a known moment.

#include "../photos/StandinSignIn.h"
#include "FinishedReplies.h"
#include "SavedFiles.h"
#include "ScriptedPrompts.h"
#include "albumdl/AlbumBookkeeping.h"
#include "albumdl/AlbumWalk.h"
#include "app/AlbivexApp.h"
#include "catalogue/AlbumListModel.h"
#include "qzone/PhotoListParser.h"
#include "standin/PhotoListAnswer.h"
#include "standin/ServiceRoutes.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "storage/AlbumDocument.h"
#include "storage/AlbumRecord.h"
#include "storage/PictureTime.h"
#include "storage/PictureTransfer.h"
#include "storage/SaveLayout.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"
#include "window/SelectedRow.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTreeView>
#include <QtTest>

#include <memory>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

const QString OwnListPath = QString::fromLatin1(sd::ServiceRoutes::PhotoListOwnPath);
const QString OtherListPath = QString::fromLatin1(sd::ServiceRoutes::PhotoListOtherPath);
const QString MainUin = QString::fromLatin1(sd::MainUin);
const QString Done = QStringLiteral("相册下载完成..");
const QString Stopped = QStringLiteral("已停止相册下载工作");

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

// Records the order in which the watched controls change their enabled state.
class EnabledChanges : public QObject
{
public:
    QStringList changes;

    void watch(const QList<QWidget *> &widgets)
    {
        for (QWidget *widget : widgets)
            widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange) {
            const auto *widget = static_cast<QWidget *>(watched);
            changes << (widget->isEnabled() ? QStringLiteral("+") : QStringLiteral("-"))
                    + widget->objectName();
        }
        return false;
    }
};

} // namespace

class TestAlbumDownload : public QObject
{
    Q_OBJECT

    sd::StandinThread m_standin;
    std::unique_ptr<QTemporaryDir> m_saveDir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<AlbivexApp> m_app;

    MainWindow &window() { return m_app->window(); }
    AlbumListModel &albums() { return m_app->albums(); }
    WindowState &state() { return m_app->state(); }
    sd::StandinKnobs &knobs() { return m_standin.knobs(); }
    QStringList logLines() { return m_app->log().lines(); }

    QList<QWidget *> jobControls()
    {
        MainWindow &w = window();
        return {w.signInButton, w.listOwnAlbumsButton, w.listOtherAlbumsButton, w.chooseFolderButton,
                w.qualityCombo, w.checkAllButton,      w.uncheckAllButton};
    }

    // Lists the own space (or the typed number's with listOtherAlbumsButton) and waits for the list.
    bool list(QPushButton *button = nullptr)
    {
        const auto closing = [this] {
            return logLines().filter(QStringLiteral("]相册获取完毕..")).size();
        };
        const int before = closing();
        (button ? button : window().listOwnAlbumsButton)->click();
        return QTest::qWaitFor([&] { return closing() > before; }, 20000);
    }

    int rowOf(const char *albumId)
    {
        for (int row = 0; row < albums().size(); ++row) {
            if (albums().entry(row).albumId == QLatin1String(albumId))
                return row;
        }
        return -1;
    }

    void select(int row) { window().albumView->setCurrentIndex(albums().index(row, 0)); }

    // Triggers "下载相册" and waits until the job is idle again with its last status.
    bool runJob(int timeoutMs = 60000)
    {
        window().downloadAlbumAction->trigger();
        return waitForEnd(timeoutMs);
    }

    bool waitForEnd(int timeoutMs = 60000)
    {
        return QTest::qWaitFor(
            [this] {
                const QString status = window().statusText();
                return state().albumJobIdle && (status == Done || status == Stopped);
            },
            timeoutMs);
    }

    QString folder(const QString &albumName, const QString &owner = MainUin)
    {
        return m_saveDir->path() + QLatin1Char('/') + owner + QLatin1Char('/') + albumName;
    }

    // The time the tool gives the saved file of picture n, from the album's listing as
    // the tool reads it: when it was taken if that says so, else when it was uploaded.
    QDateTime listedFileTime(const sd::AlbumInfo &album, int n)
    {
        const QString lloc = album.id + QLatin1Char('_') + QString::number(n);
        for (const PhotoEntry &photo : listedPhotos(album)) {
            if (photo.lloc == lloc)
                return PictureFileTime(photo);
        }
        return QDateTime();
    }

    // The album's pictures as the tool reads its listing.
    QList<PhotoEntry> listedPhotos(const sd::AlbumInfo &album)
    {
        return ParsePhotoList(sd::PhotoListAnswer::page(QStringLiteral("cb"), QString(), QString(), album,
                                                        knobs().data(), 0, album.total));
    }

    static QByteArray fileBytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList picturePaths()
    {
        QStringList paths;
        for (const sd::LoggedRequest &request : knobs().requests()) {
            if (request.path.startsWith(QLatin1String("/photo/b/"))
                || request.path.startsWith(QLatin1String("/photo/c/")))
                paths << request.path;
        }
        return paths;
    }

    QStringList listedAlbumIds(const QString &path = OwnListPath)
    {
        QStringList ids;
        for (const sd::LoggedRequest &request : knobs().requestsTo(path))
            ids << request.queryValue(QStringLiteral("topicId"));
        return ids;
    }

    QString downloadState(int row) { return albums().entry(row).downloadState; }

    // Lists `owner`'s space (the own one when it is MainUin) and selects the album.
    bool listAndSelect(const QString &owner, const char *albumId)
    {
        if (owner != MainUin)
            window().otherQqEdit->setText(owner);
        if (!list(owner == MainUin ? nullptr : window().listOtherAlbumsButton))
            return false;
        select(rowOf(albumId));
        return rowOf(albumId) >= 0;
    }

    // The today profile's sign-in: the landing page's p_skey signs the Qzone requests.
    bool signInToday()
    {
        knobs().setProfile(sd::Profile::Today);
        state().credentials = SignInTodayOverHttp(m_app->network(), m_standin.root(), MainUin, knobs());
        return !state().credentials.pSkey.isEmpty();
    }

    // The last log line without its time.
    QString lastLine() { return logLines().last().mid(logLines().last().indexOf(QLatin1Char(']')) + 1); }

    QStringList requestedUnder(const QString &prefix)
    {
        QStringList paths;
        for (const sd::LoggedRequest &request : knobs().requests()) {
            if (request.path.startsWith(prefix))
                paths << request.path;
        }
        paths.sort();
        return paths;
    }

    // Holds every picture transfer open for ms.
    void slowPictures(int ms) { knobs().addFault(sd::FaultRule::latency(QStringLiteral("/photo/*"), ms)); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }

    void init()
    {
        knobs().clearFaults();
        knobs().clearExtraAlbums();
        knobs().setLatencyMs(0);
        knobs().setProfile(sd::Profile::Default);
        m_saveDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_saveDir->isValid());
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_app = std::make_unique<AlbivexApp>(Endpoints(m_standin.root()), m_prompts.get(), m_prompts.get(),
                                             m_prompts.get());
        // What the load sequence and the version check set up; not tested here.
        for (QWidget *control : jobControls())
            control->setEnabled(true);
        window().qualityCombo->addItems(
            {QStringLiteral("普通"), QStringLiteral("高清"), QStringLiteral("原图")});
        window().qualityCombo->setCurrentIndex(1);
        window().saveFolderEdit->setText(m_saveDir->path());
        // Failed pictures are tried again without the long pauses.
        m_app->transferOptions().retryPauseMs = 20;
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        state().credentials = SignInOverHttp(m_app->network(), m_standin.root(), MainUin);
        QVERIFY(state().credentials.signedIn);
    }

    void cleanup()
    {
        m_app.reset();
        m_prompts.reset();
        m_saveDir.reset();
    }

    void entryCheck_data()
    {
        QTest::addColumn<bool>("rowWithoutName");
        QTest::newRow("no row selected") << false;
        QTest::newRow("selected row without a name") << true;
    }

    void entryCheck()
    {
        QFETCH(bool, rowWithoutName);
        QVERIFY(list());
        if (rowWithoutName) {
            albums().append(AlbumEntry {});
            select(albums().size() - 1);
        }
        knobs().clearRequests();
        EnabledChanges changes;
        changes.watch(jobControls() << window().albumView);

        window().downloadAlbumAction->trigger();
        QCOMPARE(window().statusText(), QStringLiteral("、请选择相册"));
        QCOMPARE(m_prompts->boxes.size(), 1);
        QCOMPARE(m_prompts->boxes.first().title, QStringLiteral("Zorvane软件"));
        QCOMPARE(m_prompts->boxes.first().text, QStringLiteral("请选择相册"));
        QCOMPARE(m_prompts->boxes.first().icon, Prompts::Icon::Information);
        QVERIFY(SettleNetwork(m_app->network(), m_standin.root()));
        QVERIFY(changes.changes.isEmpty());
        QVERIFY(state().albumJobIdle);
        QCOMPARE(knobs().requests().size(), knobs().requestCount(SettleMarkerPath));
    }

    // The three-picture album, its pictures finishing last to first: every picture's
    // texts in list order, the finish texts, and the files byte for byte.
    void singleAlbum()
    {
        QVERIFY(list());
        const int row = rowOf(sd::SmallAlbum.id);
        select(row);
        for (int n = 1; n <= 3; ++n)
            knobs().addFault(
                sd::FaultRule::latency(QStringLiteral("/photo/b/V1three/%1.jpg").arg(n), (4 - n) * 300));
        knobs().clearRequests();
        EnabledChanges changes;
        changes.watch(jobControls());
        // Each picture's status text is set just before its download state, in the same
        // turn of the event loop; so both are taken when the download state changes.
        QStringList states;
        QStringList statuses;
        connect(&albums(), &AlbumListModel::dataChanged, this, [&](const QModelIndex &from) {
            states << downloadState(from.row());
            statuses << window().statusText();
        });

        window().downloadAlbumAction->trigger();
        QVERIFY(!state().albumJobIdle);
        QVERIFY(state().albumJobRunning);
        QVERIFY(!window().albumView->isEnabled());
        QCOMPARE(window().statusText(), QStringLiteral("相册下载任务开始.."));
        QCOMPARE(changes.changes,
                 QStringList({"-Command2", "-Command1", "-Command4", "-Command3", "-Combo1", "-Option3",
                              "-Option4"}));
        QVERIFY(window().saveFolderEdit->isEnabled() && window().otherQqEdit->isEnabled()
                && window().stopButton->isEnabled());
        QVERIFY(waitForEnd(20000));

        QCOMPARE(window().statusText(), Done);
        QCOMPARE(states, QStringList({"1/3(33%)", "2/3(67%)", "3/3(100%)", "√"}));
        QCOMPARE(statuses.mid(0, 3),
                 QStringList({"正在下载相册[三张]（33%）", "正在下载相册[三张]（67%）",
                              "正在下载相册[三张]（100%）"}));
        QCOMPARE(changes.changes.mid(7),
                 QStringList({"+Command2", "+Command1", "+Command4", "+Command3", "+Combo1", "+Option3",
                              "+Option4"}));
        QVERIFY(window().albumView->isEnabled());
        QCOMPARE(window().progressBar->minimum(), 1);
        QCOMPARE(window().progressBar->maximum(), 3);
        QCOMPARE(window().progressBar->value(), 3);
        QStringList tail;
        for (const QString &line : logLines().mid(logLines().size() - 6))
            tail << line.mid(line.indexOf(QLatin1Char(']')) + 1);
        QCOMPARE(tail,
                 QStringList({"[小猫]下载完毕..", "[小狗]下载完毕..", "[小鸟]下载完毕..",
                              "[三张]核对：服务端3张，已保存3张，跳过0张，失败0张", "[三张]相册下载完成..",
                              "共保存3张，失败0张"}));

        const QList<sd::LoggedRequest> listing = knobs().requestsTo(OwnListPath);
        QCOMPARE(listing.size(), 1);
        QCOMPARE(listing.first().queryValue(QStringLiteral("topicId")),
                 QString::fromLatin1(sd::SmallAlbum.id));
        QCOMPARE(listing.first().queryValue(QStringLiteral("hostUin")), MainUin);
        const QStringList names {"小猫", "小狗", "小鸟"};
        const auto album = knobs().data().findAlbum(QString::fromLatin1(sd::SmallAlbum.id));
        QVERIFY(album);
        QCOMPARE(FilesIn(folder(QStringLiteral("三张"))),
                 QStringList({"1.小猫.jpg", "2.小狗.jpg", "3.小鸟.jpg"}));
        for (int n = 1; n <= 3; ++n) {
            const QByteArray expected
                = m_standin.pictureBytes(QStringLiteral("/photo/b/V1three/%1.jpg").arg(n));
            QVERIFY(!expected.isEmpty());
            const QString saved
                = folder(QStringLiteral("三张")) + QStringLiteral("/%1.%2.jpg").arg(n).arg(names[n - 1]);
            QCOMPARE(QFileInfo(saved).lastModified(), listedFileTime(*album, n));
            QCOMPARE(fileBytes(folder(QStringLiteral("三张"))
                               + QStringLiteral("/%1.%2.jpg").arg(n).arg(names[n - 1])),
                     expected);
        }
    }

    // Picture 1 takes longest, the others finish behind its back: nothing of them shows
    // before it, and then everything shows in list order.
    void reportsInListOrder()
    {
        sd::ExtraAlbum extra;
        extra.name = QStringLiteral("顺序");
        extra.pictureCount = 10;
        extra.pictureBytes = 8 * 1024;
        const QString id = knobs().addExtraAlbum(extra);
        QVERIFY(list());
        select(rowOf(id.toLatin1().constData()));
        const QString first = QStringLiteral("/photo/b/%1/1.jpg").arg(id);
        knobs().addFault(sd::FaultRule::latency(first, 2500));
        const int logBefore = logLines().size();

        window().downloadAlbumAction->trigger();
        // Pictures 2 to 10 are put in place; the word of it comes back from the worker
        // threads that did it.
        const QString album = folder(extra.name);
        QVERIFY(QTest::qWaitFor(
            [&] {
                for (int n = 2; n <= 10; ++n) {
                    if (!QFileInfo::exists(
                            album + QStringLiteral("/%1.IMG_%2.jpg").arg(n).arg(n, 5, 10, QLatin1Char('0'))))
                        return false;
                }
                return true;
            },
            10000));
        PictureTransfer::placementPool().waitForDone();
        QCoreApplication::processEvents();
        QVERIFY(!state().albumJobIdle);
        QCOMPARE(window().statusText(), QStringLiteral("相册下载任务开始.."));
        QCOMPARE(downloadState(rowOf(id.toLatin1().constData())), QString());
        QCOMPARE(logLines().size(), logBefore);

        QVERIFY(waitForEnd());
        QStringList names;
        for (const QString &line : logLines().filter(QStringLiteral("下载完毕..")))
            names << line.section(QLatin1Char('['), 2).section(QLatin1Char(']'), 0, 0);
        QStringList expected;
        for (int n = 1; n <= 10; ++n)
            expected << QStringLiteral("IMG_%1").arg(n, 5, 10, QLatin1Char('0'));
        QCOMPARE(names, expected);
    }

    // Pictures whose names meet on disk get distinct files, in list order, and the same
    // files again on a second run; names sent escaped are read on disk.
    void namesNeverCollide_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<QString>("albumId");
        QTest::addColumn<bool>("nameOnly");
        QTest::addColumn<QStringList>("files"); // of pictures 1, 2, ...
        QStringList same {"abc.jpg"};
        for (int n = 2; n <= 10; ++n)
            same << QStringLiteral("abc (%1).jpg").arg(n);
        QTest::newRow("ten of one name")
            << false << QString::fromLatin1(sd::SameNameAlbum.id) << true << same;
        QTest::newRow("escaped names, today") << true << QString::fromLatin1(sd::EscapedAlbum.id) << false
                                              << QStringList({"1.照片.jpg", "2.plain.jpg"});
    }

    void namesNeverCollide()
    {
        QFETCH(bool, today);
        QFETCH(QString, albumId);
        QFETCH(bool, nameOnly);
        QFETCH(QStringList, files);
        if (today)
            QVERIFY(signInToday());
        QVERIFY(listAndSelect(MainUin, albumId.toLatin1().constData()));
        window().nameOnlyButton->setChecked(nameOnly);
        const QString album = folder(albums().entry(rowOf(albumId.toLatin1().constData())).name);
        QStringList sorted = files;
        sorted.sort();
        for (int run = 1; run <= 2; ++run) {
            QVERIFY(runJob());
            QCOMPARE(FilesIn(album), sorted);
            for (int n = 1; n <= files.size(); ++n)
                QCOMPARE(fileBytes(album + QLatin1Char('/') + files[n - 1]),
                         m_standin.pictureBytes(QStringLiteral("/photo/b/%1/%2.jpg").arg(albumId).arg(n)));
            QCOMPARE(lastLine(), QStringLiteral("共保存%1张，失败0张").arg(files.size()));
            QCOMPARE(downloadState(rowOf(albumId.toLatin1().constData())), QStringLiteral("√"));
        }
    }

    // "原图": the listed original of the own space in its real format, the floatview
    // original of another space, and the listed picture where there is none. With
    // "写入照片信息" the PNG, WebP and JPEG take the words with their image data kept,
    // the HEIC, which cannot, is saved as it came and counted in one line, and a GIF or
    // BMP, which have no place for them, is saved as served without a try.
    void originals_data()
    {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("albumId");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<int>("floatviews");
        QTest::addColumn<bool>("today");
        QTest::addColumn<bool>("words");
        QTest::addColumn<QByteArrayList>("served"); // in place of the first sources' pictures
        for (const bool words : {false, true}) {
            QTest::newRow(words ? "own space, by content, 写入照片信息" : "own space, by content")
                << MainUin << QString::fromLatin1(sd::FormatsAlbum.id)
                << QStringList({"1.照片1.png", "2.照片2.webp", "3.照片3.heic", "4.照片4.jpg"})
                << QStringList({"/photo/r/V1dots/1.png", "/photo/r/V1dots/2.webp", "/photo/r/V1dots/3.heic",
                                "/photo/r/V1dots/4.jpg"})
                << 0 << false << words << QByteArrayList();
        }
        QBuffer bmp;
        bmp.open(QIODevice::WriteOnly);
        QImage(200, 150, QImage::Format_RGB32).save(&bmp, "BMP");
        QTest::newRow("GIF and BMP originals, 写入照片信息")
            << MainUin << QString::fromLatin1(sd::FormatsAlbum.id)
            << QStringList({"1.照片1.gif", "2.照片2.bmp", "3.照片3.heic", "4.照片4.jpg"})
            << QStringList({"/photo/r/V1dots/1.png", "/photo/r/V1dots/2.webp", "/photo/r/V1dots/3.heic",
                            "/photo/r/V1dots/4.jpg"})
            << 0 << false << true << QByteArrayList({knobs().placeholderBytes(), bmp.data()});
        QTest::newRow("another space, floatview")
            << QString::fromLatin1(sd::SecondUin) << QStringLiteral("V2family")
            << QStringList({"1.家1.jpg", "2.家2.jpg"})
            << QStringList({"/photo/r/V2family/1.jpg", "/photo/r/V2family/2.jpg"}) << 1 << false << false
            << QByteArrayList();
        QTest::newRow("one without an original")
            << MainUin << QString::fromLatin1(sd::SmallAlbum.id)
            << QStringList({"1.小猫.jpg", "2.小狗.jpg", "3.小鸟.jpg"})
            << QStringList({"/photo/r/V1three/1.jpg", "/photo/o/V1three/2.jpg", "/photo/b/V1three/3.jpg"})
            << 0 << false << false << QByteArrayList();
        // Today a picture may come without any of the original's keys: it is saved as
        // listed, and the next picture keeps its own original.
        QTest::newRow("today, a picture without the original's keys")
            << MainUin << QString::fromLatin1(sd::EscapedAlbum.id)
            << QStringList({"1.照片.jpg", "2.plain.jpg"})
            << QStringList({"/photo/b/V1escaped/1.jpg", "/photo/r/V1escaped/2.jpg"}) << 0 << true << false
            << QByteArrayList();
    }

    void originals()
    {
        QFETCH(QString, owner);
        QFETCH(QString, albumId);
        QFETCH(QStringList, files);
        QFETCH(QStringList, sources);
        QFETCH(int, floatviews);
        QFETCH(bool, today);
        QFETCH(bool, words);
        QFETCH(QByteArrayList, served);
        for (int n = 0; n < served.size(); ++n) {
            sd::FaultRule rule = sd::FaultRule::httpStatus(sources[n], 200);
            rule.body = served[n];
            knobs().addFault(rule);
        }
        if (today)
            QVERIFY(signInToday());
        QVERIFY(listAndSelect(owner, albumId.toLatin1().constData()));
        window().qualityCombo->setCurrentIndex(2);
        window().writeMetadataCheck->setChecked(words);
        knobs().clearRequests();
        const int logBefore = logLines().size();
        QVERIFY(runJob());

        const QString album = AlbumFolderPath(
            m_saveDir->path(), owner, albums().entry(rowOf(albumId.toLatin1().constData())).name, false);
        QStringList sorted = files;
        sorted.sort();
        QCOMPARE(FilesIn(album), sorted);
        for (int n = 0; n < files.size(); ++n) {
            const QByteArray saved = fileBytes(album + QLatin1Char('/') + files[n]);
            const QByteArray service = n < served.size() ? served[n] : m_standin.pictureBytes(sources[n]);
            if (words && !files[n].endsWith(QLatin1String(".heic")) && n >= served.size()) {
                QVERIFY(saved != service);
                QVERIFY(!CompressedData(service).isEmpty());
                QCOMPARE(CompressedData(saved), CompressedData(service));
            } else {
                QCOMPARE(saved, service);
            }
        }
        QCOMPARE(logLines().mid(logBefore).filter(QStringLiteral("]1张照片无法写入照片信息..")).size(),
                 words ? 1 : 0);
        QCOMPARE(knobs().requestCount(QString::fromLatin1(sd::ServiceRoutes::FloatviewPath)), floatviews);
        const bool fellBack = std::any_of(sources.begin(), sources.end(), [](const QString &source) {
            return source.startsWith(QLatin1String("/photo/b/"));
        });
        QCOMPARE(
            logLines().mid(logBefore).filter(QStringLiteral("]部分照片没有原图，已保存普通大图..")).size(),
            fellBack ? 1 : 0);
        QCOMPARE(lastLine(), QStringLiteral("共保存%1张，失败0张").arg(files.size()));
    }

    // Videos are fetched whatever the quality, with the owner's Referer; the one not
    // transcoded yet fails on its own.
    void videos()
    {
        const QString third = QString::fromLatin1(sd::ThirdUin);
        QVERIFY(listAndSelect(third, sd::VideoAlbum.id));
        knobs().clearRequests();
        QVERIFY(runJob());

        const QString album = folder(utf8(sd::VideoAlbum.name), third);
        QCOMPARE(FilesIn(album), QStringList({"1.照片1.jpg", "2.视频2.mp4", "3.视频3.mp4", "5.照片5.jpg"}));
        for (int n : {2, 3})
            QCOMPARE(fileBytes(album + QStringLiteral("/%1.视频%1.mp4").arg(n)),
                     m_standin.pictureBytes(QStringLiteral("/video/V3video/%1.mp4").arg(n)));
        const auto meta = knobs().data().findAlbum(QString::fromLatin1(sd::VideoAlbum.id));
        QVERIFY(meta);
        QCOMPARE(QFileInfo(album + QStringLiteral("/2.视频2.mp4")).lastModified(), listedFileTime(*meta, 2));
        const QStringList lines = logLines();
        QVERIFY(lines.at(lines.size() - 6).endsWith(QStringLiteral("[视频4]下载失败（视频未转码）..")));
        const QString name = utf8(sd::VideoAlbum.name);
        QVERIFY(lines.at(lines.size() - 4)
                    .endsWith(name + QStringLiteral("]核对：服务端5张，已保存4张，跳过0张，失败1张")));
        QVERIFY(lines.at(lines.size() - 2)
                    .endsWith(QStringLiteral("]未完成的相册：") + name + QStringLiteral("..")));
        QCOMPARE(downloadState(rowOf(sd::VideoAlbum.id)), QStringLiteral("失败1张"));
        QCOMPARE(lastLine(), QStringLiteral("共保存4张，失败1张"));
    }

    // A second run with "只下载新照片": an unchanged album costs no picture request, new
    // pictures (at the front, so positions shift) are the only ones fetched and no
    // earlier file changes; a damaged record is ignored and written anew.
    void onlyNew_data()
    {
        QTest::addColumn<int>("added");
        QTest::addColumn<bool>("damage");
        QTest::addColumn<bool>("damageDocument");
        QTest::addColumn<QStringList>("fetched");
        QTest::addColumn<QString>("summary");
        QTest::newRow("unchanged") << 0 << false << false << QStringList()
                                   << QStringLiteral("共保存0张，跳过3张，失败0张");
        QTest::newRow("two new at the front") << 2 << false << false << QStringList({"4.jpg", "5.jpg"})
                                              << QStringLiteral("共保存2张，跳过3张，失败0张");
        QTest::newRow("two new, damaged album.json") << 2 << false << true << QStringList({"4.jpg", "5.jpg"})
                                                     << QStringLiteral("共保存2张，跳过3张，失败0张");
        QTest::newRow("damaged record") << 0 << true << false << QStringList({"1.jpg", "2.jpg", "3.jpg"})
                                        << QStringLiteral("共保存3张，跳过0张，失败0张");
    }

    void onlyNew()
    {
        QFETCH(int, added);
        QFETCH(bool, damage);
        QFETCH(bool, damageDocument);
        QFETCH(QStringList, fetched);
        QFETCH(QString, summary);
        sd::ExtraAlbum extra;
        extra.name = QStringLiteral("增量");
        extra.pictureCount = 3;
        const QString id = knobs().addExtraAlbum(extra);
        QVERIFY(listAndSelect(MainUin, id.toLatin1().constData()));
        QVERIFY(runJob());
        const QString album = folder(extra.name);
        const QStringList first = FilesIn(album);
        QCOMPARE(first.size(), 3);
        QHash<QString, QPair<QByteArray, QDateTime>> before;
        for (const QString &file : first)
            before.insert(file,
                          {fileBytes(album + QLatin1Char('/') + file),
                           QFileInfo(album + QLatin1Char('/') + file).lastModified()});
        const QString record = album + QLatin1Char('/') + AlbumRecord::fileName();
        if (damage) {
            QFile garbage(record);
            QVERIFY(garbage.open(QIODevice::WriteOnly));
            garbage.write("{\"pictures\": [garbage");
        }
        if (damageDocument) {
            QFile garbage(album + QLatin1Char('/') + AlbumDocumentFileName());
            QVERIFY(garbage.open(QIODevice::WriteOnly));
            garbage.write("{\"pictures\": [{\"lloc\": ");
        }
        if (added > 0) {
            knobs().addPictures(id, added, true);
            QVERIFY(listAndSelect(MainUin, id.toLatin1().constData()));
        }

        window().onlyNewCheck->setChecked(true);
        knobs().clearRequests();
        QVERIFY(runJob());
        QStringList expected;
        for (const QString &file : fetched)
            expected << QStringLiteral("/photo/b/%1/%2").arg(id, file);
        QCOMPARE(requestedUnder(QStringLiteral("/photo/")), expected);
        QCOMPARE(lastLine(), summary);
        QCOMPARE(downloadState(rowOf(id.toLatin1().constData())), QStringLiteral("√"));
        QCOMPARE(FilesIn(album).size(), 3 + added);
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            const QString path = album + QLatin1Char('/') + it.key();
            QCOMPARE(fileBytes(path), it.value().first);
            QCOMPARE(QFileInfo(path).lastModified(), it.value().second);
        }
        for (int n = 1; n <= added; ++n) // the new pictures, in front: positions 1 and 2
            QCOMPARE(fileBytes(album + QStringLiteral("/%1.新照片%2.jpg").arg(n).arg(3 + n)),
                     m_standin.pictureBytes(QStringLiteral("/photo/b/%1/%2.jpg").arg(id).arg(3 + n)));
        QFile text(record);
        QVERIFY(text.open(QIODevice::ReadOnly));
        const auto entries = ParseAlbumRecord(text.readAll());
        QVERIFY(entries);
        QCOMPARE(entries->size(), 3 + added);
        // album.json keeps the pictures passed over, in list order, new ones in front.
        const AlbumDocumentLoad document = LoadAlbumDocument(album);
        QCOMPARE(document.state, AlbumDocumentLoad::State::Read);
        QStringList llocs;
        for (const AlbumDocumentPicture &picture : document.document.pictures)
            llocs << picture.lloc;
        QStringList listed;
        for (int n = 1; n <= added; ++n)
            listed << id + QStringLiteral("_%1").arg(3 + n);
        for (int n = 1; n <= 3; ++n)
            listed << id + QStringLiteral("_%1").arg(n);
        QCOMPARE(llocs, listed);
    }

    // "写入照片信息" on: the listing's words in every picture, read back by exiftool,
    // its compressed data the service's; the record holds the size as written, and
    // album.json the whole captions. An incremental run then rewrites nothing.
    void writeMetadata()
    {
        QVERIFY(list());
        select(rowOf(sd::SmallAlbum.id));
        const auto album = knobs().data().findAlbum(QString::fromLatin1(sd::SmallAlbum.id));
        QVERIFY(album);
        const QList<PhotoEntry> listed = listedPhotos(*album);
        QCOMPARE(listed.size(), 3);
        QVERIFY(!window().writeMetadataCheck->isChecked());
        window().writeMetadataCheck->setChecked(true);
        QVERIFY(runJob());

        const QString dir = folder(QStringLiteral("三张"));
        const QStringList files {"1.小猫.jpg", "2.小狗.jpg", "3.小鸟.jpg"};
        QCOMPARE(FilesIn(dir), files);
        const AlbumRecord record(dir);
        QHash<QString, QByteArray> written;
        for (int n = 1; n <= 3; ++n) {
            const PhotoEntry &photo = listed.at(n - 1);
            const QString path = dir + QLatin1Char('/') + files.at(n - 1);
            const QByteArray bytes = fileBytes(path);
            written.insert(path, bytes);
            const QByteArray service
                = m_standin.pictureBytes(QStringLiteral("/photo/b/V1three/%1.jpg").arg(n));
            QVERIFY(bytes != service);
            QVERIFY(!CompressedData(service).isEmpty());
            QCOMPARE(CompressedData(bytes), CompressedData(service));
            const QJsonObject tags = ExiftoolTags(bytes);
            QVERIFY(!photo.fullDescription.isEmpty());
            QCOMPARE(tags.value(QLatin1String("XMP-dc:Description")).toString(), photo.fullDescription);
            QCOMPARE(tags.value(QLatin1String("IFD0:ImageDescription")).toString(), photo.fullDescription);
            QCOMPARE(tags.value(QLatin1String("XMP-dc:Title")).toString(), photo.fullName);
            QVERIFY(record.isSaved(PictureRecordKey(photo))); // held at the size as written
        }
        const AlbumDocumentLoad document = LoadAlbumDocument(dir);
        QCOMPARE(document.state, AlbumDocumentLoad::State::Read);
        QCOMPARE(document.document.id, QString::fromLatin1(sd::SmallAlbum.id));
        QCOMPARE(document.document.description, QStringLiteral("三张照片\n大小不同"));
        QCOMPARE(document.document.pictures.size(), 3);
        for (int n = 1; n <= 3; ++n) {
            const AlbumDocumentPicture &entry = document.document.pictures.at(n - 1);
            QCOMPARE(entry.lloc, listed.at(n - 1).lloc);
            QCOMPARE(entry.file, files.at(n - 1));
            QCOMPARE(entry.caption, listed.at(n - 1).fullDescription);
        }

        window().onlyNewCheck->setChecked(true);
        QVERIFY(runJob());
        QCOMPARE(lastLine(), QStringLiteral("共保存0张，跳过3张，失败0张"));
        for (auto it = written.cbegin(); it != written.cend(); ++it)
            QCOMPARE(fileBytes(it.key()), it.value());
        QCOMPARE(LoadAlbumDocument(dir).document.pictures, document.document.pictures);
    }

    // An album is done once its last picture is saved: while the album lane (held here)
    // keeps every album's record and album.json waiting, the next albums are listed and
    // saved and the last one says "相册下载完成.."; the run ends, its files whole, only
    // once the lane has done them.
    void multiAlbum()
    {
        QVERIFY(list());
        for (const sd::AlbumFacts &album : {sd::SmallAlbum, sd::CommaAlbum, sd::PngAlbum})
            albums().setChecked(rowOf(album.id), true);
        const int selected = rowOf(sd::EscapedAlbum.id);
        select(selected);
        knobs().clearRequests();
        QSemaphore held;
        bool released = false;
        const auto release = [&] {
            if (!std::exchange(released, true))
                held.release();
        };
        const auto guard = qScopeGuard(release);
        QObject lane;
        RunOnAlbumLane(&lane,
                       [&held] {
                           held.acquire();
                           return std::optional<QString>();
                       },
                       {});

        window().downloadAlbumAction->trigger();
        QVERIFY(window().albumView->isEnabled());
        QVERIFY(QTest::qWaitFor([&] { return window().statusText() == Done; }, 20000));
        QCOMPARE(listedAlbumIds().size(), 3);
        QVERIFY(!state().albumJobIdle);
        const QString comma = folder(albums().entry(rowOf(sd::CommaAlbum.id)).name);
        QVERIFY(!QFileInfo::exists(comma + QLatin1Char('/') + AlbumDocumentFileName()));
        release();
        QVERIFY(waitForEnd());
        QCOMPARE(LoadAlbumDocument(comma).document.pictures.size(), 3);
        QCOMPARE(window().statusText(), Done);
        QCOMPARE(listedAlbumIds(), QStringList({"V1comma", "V1png", "V1three"}));
        for (int row = 0; row < albums().size(); ++row)
            QCOMPARE(downloadState(row), albums().entry(row).isChecked ? QStringLiteral("√") : QString());
        QVERIFY(logLines().at(logLines().size() - 2).endsWith(QStringLiteral("][相册]相册下载完成..")));
        QVERIFY(logLines().last().endsWith(QStringLiteral("]共保存9张，失败0张")));
        QCOMPARE(FilesIn(folder(albums().entry(rowOf(sd::CommaAlbum.id)).name)),
                 QStringList({"1.a.jpg", "2.c.jpg", "3.plain.jpg"}));
        QCOMPARE(FilesIn(folder(utf8(sd::PngAlbum.name))).size(), 3);
        QCOMPARE(FilesIn(folder(utf8(sd::SmallAlbum.name))).size(), 3);
        QVERIFY(!QFileInfo::exists(folder(utf8(sd::EscapedAlbum.name))));
    }

    // Ticks are read as each row is reached: a row below that is ticked during the job
    // is saved, one that is unticked is not, and one ticked above is not revisited.
    void multiAlbumTicksReadWhenReached()
    {
        QVERIFY(list());
        for (const sd::AlbumFacts &album : {sd::CommaAlbum, sd::PngAlbum, sd::SmallAlbum})
            albums().setChecked(rowOf(album.id), true);
        select(rowOf(sd::CommaAlbum.id));
        slowPictures(600);
        knobs().clearRequests();

        window().downloadAlbumAction->trigger();
        QVERIFY(QTest::qWaitFor([&] { return !picturePaths().isEmpty(); }, 10000));
        albums().setChecked(rowOf(sd::PngAlbum.id), false);
        albums().setChecked(rowOf(sd::PreWordsAlbum.id), true);
        albums().setChecked(rowOf(sd::ForbiddenCharsAlbum.id), true);
        QVERIFY(waitForEnd());
        QCOMPARE(window().statusText(), Done);
        QCOMPARE(listedAlbumIds(), QStringList({"V1comma", "V1three", "V1words"}));
        QCOMPARE(downloadState(rowOf(sd::PngAlbum.id)), QString());
        QCOMPARE(downloadState(rowOf(sd::ForbiddenCharsAlbum.id)), QString());
        QCOMPARE(downloadState(rowOf(sd::PreWordsAlbum.id)), QStringLiteral("√"));
    }

    void oneTickedRowNotSelected()
    {
        QVERIFY(list());
        albums().setChecked(rowOf(sd::CommaAlbum.id), true);
        select(rowOf(sd::SmallAlbum.id));
        knobs().clearRequests();

        window().downloadAlbumAction->trigger();
        QVERIFY(!window().albumView->isEnabled());
        QVERIFY(waitForEnd());
        QCOMPARE(listedAlbumIds(), QStringList({"V1three"}));
        QCOMPARE(downloadState(rowOf(sd::SmallAlbum.id)), QStringLiteral("√"));
        QCOMPARE(downloadState(rowOf(sd::CommaAlbum.id)), QString());
        QCOMPARE(FilesIn(folder(utf8(sd::SmallAlbum.name))).size(), 3);
    }

    // A stop while four of twelve pictures are in flight: those four finish and are
    // reported, no fifth starts, and the mode's stop path runs.
    void stopDuringTransfer_data()
    {
        QTest::addColumn<bool>("multi");
        QTest::newRow("single album") << false;
        QTest::newRow("ticked albums") << true;
    }

    void stopDuringTransfer()
    {
        QFETCH(bool, multi);
        sd::ExtraAlbum extra;
        extra.name = QStringLiteral("停止");
        extra.pictureCount = 12;
        extra.pictureBytes = 8 * 1024;
        const QString id = knobs().addExtraAlbum(extra);
        QVERIFY(list());
        const int row = rowOf(id.toLatin1().constData());
        select(row);
        if (multi) {
            albums().setChecked(rowOf(sd::CommaAlbum.id), true);
            albums().setChecked(row, true);
            // The album above goes first, unhindered.
            knobs().addFault(sd::FaultRule::latency(QStringLiteral("/photo/b/%1/*").arg(id), 1500));
        } else {
            slowPictures(1500);
        }
        knobs().clearRequests();
        const auto ownPictures = [&] {
            return picturePaths().filter(id);
        };

        // A full load of transfers is on its way when the stop comes.
        const int inFlight = AlbumWalk::MaxInFlight;
        window().downloadAlbumAction->trigger();
        QVERIFY(QTest::qWaitFor([&] { return ownPictures().size() == inFlight; }, 10000));
        window().stopButton->click();
        QVERIFY(!state().albumJobRunning);
        QVERIFY(!state().albumJobIdle); // they are still on their way
        QVERIFY(waitForEnd());
        // Whatever the ended job still sent is queued ahead of this and reaches the stand-in first.
        QVERIFY(SettleNetwork(m_app->network(), m_standin.root()));

        QCOMPARE(window().statusText(), Stopped);
        QCOMPARE(ownPictures().size(), inFlight);
        QCOMPARE(FilesIn(folder(extra.name)).size(), inFlight);
        QCOMPARE(downloadState(row), QStringLiteral("%1/12(%2%)").arg(inFlight).arg(inFlight * 100 / 12));
        QCOMPARE(window().progressBar->value(), 1);
        for (QWidget *control : jobControls())
            QVERIFY(control->isEnabled());
        QVERIFY(window().albumView->isEnabled());
        QCOMPARE(logLines().filter(QStringLiteral("]下载完毕..")).size(), multi ? 3 + inFlight : inFlight);
        QCOMPARE(logLines().last().endsWith(QStringLiteral("]") + Stopped), multi);
        QVERIFY(logLines().filter(Done).isEmpty());
        if (multi)
            QCOMPARE(downloadState(rowOf(sd::CommaAlbum.id)), QStringLiteral("√"));
    }

    // A stop once every picture of the album has started: the album completes; alone
    // it finishes normally, among ticked albums the next album is not begun.
    void stopAfterLastPictureStarted_data()
    {
        QTest::addColumn<bool>("multi");
        QTest::newRow("single album") << false;
        QTest::newRow("ticked albums") << true;
    }

    void stopAfterLastPictureStarted()
    {
        QFETCH(bool, multi);
        QVERIFY(list());
        const int row = rowOf(sd::CommaAlbum.id);
        select(row);
        if (multi) {
            albums().setChecked(row, true);
            albums().setChecked(rowOf(sd::SmallAlbum.id), true);
        }
        slowPictures(800);
        knobs().clearRequests();

        window().downloadAlbumAction->trigger();
        QVERIFY(QTest::qWaitFor([&] { return picturePaths().size() == 3; }, 10000));
        window().stopButton->click();
        QVERIFY(waitForEnd());

        QCOMPARE(downloadState(row), QStringLiteral("√"));
        QCOMPARE(listedAlbumIds(), QStringList({"V1comma"}));
        QCOMPARE(picturePaths().size(), 3);
        if (multi) {
            QCOMPARE(window().statusText(), Stopped);
            QCOMPARE(window().progressBar->value(), 1);
            QVERIFY(logLines().at(logLines().size() - 2).endsWith(QStringLiteral("[plain]下载完毕..")));
            QVERIFY(
                logLines().last().endsWith(QStringLiteral("]核对：服务端3张，已保存3张，跳过0张，失败0张")));
        } else {
            QCOMPARE(window().statusText(), Done);
            QVERIFY(logLines().last().endsWith(QStringLiteral("]共保存3张，失败0张")));
        }
    }

    void quality_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("folder");
        QTest::newRow("普通") << 0 << QStringLiteral("/photo/c/");
        QTest::newRow("高清") << 1 << QStringLiteral("/photo/b/");
    }

    void quality()
    {
        QFETCH(int, index);
        QFETCH(QString, folder);
        QVERIFY(list());
        select(rowOf(sd::SmallAlbum.id));
        window().qualityCombo->setCurrentIndex(index);
        knobs().clearRequests();
        QVERIFY(runJob());

        QStringList paths = picturePaths();
        paths.sort();
        QStringList expected;
        for (int n = 1; n <= 3; ++n)
            expected << folder + QStringLiteral("V1three/%1.jpg").arg(n);
        QCOMPARE(paths, expected);
        // The quality changes the address only, never the file name.
        QCOMPARE(fileBytes(this->folder(utf8(sd::SmallAlbum.name)) + QStringLiteral("/3.小鸟.jpg")),
                 m_standin.pictureBytes(expected.last()));
    }

    void bigAlbumAllPages()
    {
        QVERIFY(list());
        const int row = rowOf(sd::BigAlbum.id);
        select(row);
        knobs().clearRequests();
        QVERIFY(runJob(120000));

        QCOMPARE(window().statusText(), Done);
        QCOMPARE(knobs().requestCount(OwnListPath), 2);
        QCOMPARE(FilesIn(folder(utf8(sd::BigAlbum.name))).size(), 620);
        QVERIFY(QFileInfo::exists(folder(utf8(sd::BigAlbum.name)) + QStringLiteral("/620.IMG_0620.jpg")));
        QCOMPARE(downloadState(row), QStringLiteral("√"));
        QCOMPARE(window().progressBar->value(), 620);
        QVERIFY(logLines().last().endsWith(QStringLiteral("]共保存620张，失败0张")));
    }

    // Another space: its request form, and the owner folder of the number the listing
    // was made for, whatever otherQqEdit holds by the time of the download.
    void otherSpaceUsesListedOwner()
    {
        const QString second = QString::fromLatin1(sd::SecondUin);
        window().otherQqEdit->setText(second);
        QVERIFY(list(window().listOtherAlbumsButton));
        window().otherQqEdit->setText(QStringLiteral("55555"));
        select(0);
        knobs().clearRequests();
        QVERIFY(runJob());

        const QList<sd::LoggedRequest> listing = knobs().requestsTo(OtherListPath);
        QCOMPARE(listing.size(), 1);
        QCOMPARE(listing.first().queryValue(QStringLiteral("hostUin")), second);
        QCOMPARE(listing.first().queryValue(QStringLiteral("uin")), MainUin);
        QCOMPARE(FilesIn(folder(albums().entry(0).name, second)).size(),
                 albums().entry(0).pictureCount.toInt());
        QCOMPARE(downloadState(0), QStringLiteral("√"));
    }

    void failingPicture_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("500") << int(sd::FaultKind::Status);
        QTest::newRow("cut-off body") << int(sd::FaultKind::CutBody);
    }

    void failingPicture()
    {
        QFETCH(int, kind);
        QVERIFY(list());
        const int row = rowOf(sd::SmallAlbum.id);
        select(row);
        knobs().addFault(sd::FaultRule::make(QStringLiteral("/photo/b/V1three/2.jpg"), sd::FaultKind(kind)));
        QVERIFY(runJob());

        const QString album = folder(utf8(sd::SmallAlbum.name));
        QCOMPARE(FilesIn(album), QStringList({"1.小猫.jpg", "3.小鸟.jpg"}));
        QCOMPARE(fileBytes(album + QStringLiteral("/3.小鸟.jpg")),
                 m_standin.pictureBytes(QStringLiteral("/photo/b/V1three/3.jpg")));
        QCOMPARE(downloadState(row), QStringLiteral("失败1张"));
        const QStringList lines = logLines();
        QVERIFY(lines.at(lines.size() - 7).endsWith(QStringLiteral("[小猫]下载完毕..")));
        QVERIFY(lines.at(lines.size() - 6).endsWith(QStringLiteral("[小狗]下载失败..")));
        QVERIFY(lines.at(lines.size() - 5).endsWith(QStringLiteral("[小鸟]下载完毕..")));
        QVERIFY(lines.at(lines.size() - 4)
                    .endsWith(QStringLiteral("[三张]核对：服务端3张，已保存2张，跳过0张，失败1张")));
        QVERIFY(lines.at(lines.size() - 3).endsWith(QStringLiteral("[三张]相册下载完成..")));
        QVERIFY(lines.at(lines.size() - 2).endsWith(QStringLiteral("]未完成的相册：三张..")));
        QVERIFY(lines.last().endsWith(QStringLiteral("]共保存2张，失败1张")));
        QCOMPARE(window().statusText(), Done);
    }

    // The service sends its placeholder whenever the second picture is asked: no file
    // for it, its line names the placeholder, and it counts as failed.
    void placeholderIsNotSaved()
    {
        QVERIFY(list());
        const int row = rowOf(sd::SmallAlbum.id);
        select(row);
        knobs().addFault(
            sd::FaultRule::make(QStringLiteral("/photo/b/V1three/2.jpg"), sd::FaultKind::Placeholder));
        QVERIFY(runJob());

        QCOMPARE(FilesIn(folder(utf8(sd::SmallAlbum.name))), QStringList({"1.小猫.jpg", "3.小鸟.jpg"}));
        QCOMPARE(downloadState(row), QStringLiteral("失败1张"));
        const QStringList lines = logLines();
        QVERIFY(lines.at(lines.size() - 6).endsWith(QStringLiteral("[小狗]下载失败（加密照片）..")));
        QVERIFY(lines.last().endsWith(QStringLiteral("]共保存2张，失败1张")));
    }

    // The second album's listing fails: it gets no picture (none of the first album's)
    // and its announced pictures count as not saved.
    void failedListingIsEmpty()
    {
        QVERIFY(list());
        albums().setChecked(rowOf(sd::CommaAlbum.id), true);
        albums().setChecked(rowOf(sd::SmallAlbum.id), true);
        select(rowOf(sd::CommaAlbum.id));
        slowPictures(300);
        knobs().clearRequests();

        window().downloadAlbumAction->trigger();
        QVERIFY(QTest::qWaitFor([&] { return !picturePaths().isEmpty(); }, 10000));
        knobs().addFault(sd::FaultRule::httpStatus(OwnListPath, 502, 1));
        QVERIFY(waitForEnd());

        QCOMPARE(listedAlbumIds(), QStringList({"V1comma", "V1three"}));
        QCOMPARE(picturePaths().size(), 3);
        QCOMPARE(downloadState(rowOf(sd::CommaAlbum.id)), QStringLiteral("√"));
        QCOMPARE(downloadState(rowOf(sd::SmallAlbum.id)), QStringLiteral("失败3张"));
        QVERIFY(FilesIn(folder(utf8(sd::SmallAlbum.name))).isEmpty());
        QVERIFY(logLines().last().endsWith(QStringLiteral("]共保存3张，失败3张")));
    }

    // "浏览备份" follows the listed space's folder, and a run's end has its offline
    // album built from every album.json there, older albums' too.
    void offlineAlbumButton()
    {
        QPushButton *open = window().findChild<QPushButton *>(QStringLiteral("openGallery"));
        QVERIFY(open);
        const QString older = folder(QStringLiteral("早先的相册"));
        QVERIFY(QDir().mkpath(older));
        QImage(40, 30, QImage::Format_RGB32).save(older + QStringLiteral("/1.a.jpg"));
        AlbumDocument document;
        document.name = QStringLiteral("早先的相册");
        AlbumDocumentPicture picture;
        picture.lloc = QStringLiteral("old_1");
        picture.file = QStringLiteral("1.a.jpg");
        document.pictures = {picture};
        QVERIFY(!SaveAlbumDocument(older, document));

        QVERIFY(listAndSelect(MainUin, sd::CommaAlbum.id));
        QVERIFY(!open->isEnabled());
        QVERIFY(runJob());
        QTRY_VERIFY_WITH_TIMEOUT(open->isEnabled(), 20000);
        const QString page = m_saveDir->path() + QLatin1Char('/') + MainUin + QStringLiteral("/index.html");
        QVERIFY(QFile::exists(older + QStringLiteral("/index.html")));

        QTemporaryDir elsewhere;
        window().saveFolderEdit->setText(elsewhere.path());
        QVERIFY(!open->isEnabled());
        window().saveFolderEdit->setText(m_saveDir->path());
        QVERIFY(open->isEnabled());
        open->click();
        QCOMPARE(m_prompts->opened, QList<QUrl> {QUrl::fromLocalFile(page)});
    }
};

QTEST_MAIN(TestAlbumDownload)
#include "TestAlbumDownload.moc"
