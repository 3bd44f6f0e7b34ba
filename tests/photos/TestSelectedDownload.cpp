#include "PhotoAppFixture.h"
#include "PrivateMounts.h"
#include "SavedFiles.h"
#include "session/WindowState.h"
#include "storage/AlbumDocument.h"
#include "storage/PictureTime.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;
namespace sd = albivex::standin;
using sd::FaultKind;
using sd::FaultRule;

namespace {

const QByteArray EarlierFile = QByteArrayLiteral("\xFF\xD8\xFF an earlier, good picture");

} // namespace

// "下载图片" from the photo list, the whole tool against the stand-in.
class TestSelectedDownload : public QObject
{
    Q_OBJECT
private:
    sd::StandinThread m_standin;
    std::unique_ptr<PhotoAppFixture> m_app;
    std::unique_ptr<QTemporaryDir> m_save;

    PhotoAppFixture &t() { return *m_app; }
    QString albumFolder(const char *owner, const QString &folderName) const
    {
        return m_save->path() + QLatin1Char('/') + QLatin1String(owner) + QLatin1Char('/') + folderName;
    }
    QString picture(const char *albumId, int n, const char *extension = "jpg") const
    {
        return QStringLiteral("/photo/b/%1/%2.%3")
            .arg(QLatin1String(albumId))
            .arg(n)
            .arg(QLatin1String(extension));
    }
    void check(std::initializer_list<int> rows)
    {
        for (int row : rows)
            t().photos().setChecked(row, true);
    }
    // "下载图片", until its completion line.
    bool download(int timeoutMs = 20000)
    {
        const int before = t().countLines(QStringLiteral("]所选图片已完成下载.."));
        t().window().downloadPicturesAction->trigger();
        QDeadlineTimer deadline(timeoutMs);
        while (t().countLines(QStringLiteral("]所选图片已完成下载..")) == before && !deadline.hasExpired())
            QTest::qWait(10);
        return t().countLines(QStringLiteral("]所选图片已完成下载..")) > before;
    }
    QStringList statuses()
    {
        QStringList result;
        for (int row = 0; row < t().photos().size(); ++row)
            result << t().photos().entry(row).status;
        return result;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }

    void init()
    {
        m_standin.knobs().clearFaults();
        m_standin.knobs().clearRequests();
        m_standin.knobs().setLatencyMs(0);
        m_save = std::make_unique<QTemporaryDir>();
        m_app = std::make_unique<PhotoAppFixture>(m_standin);
        QVERIFY(t().signIn());
        t().showAlbums(sd::MainUin, sd::MainAlbums);
        t().window().saveFolderEdit->setText(m_save->path());
        PictureTransfer::Options &fast = t().app.transferOptions();
        fast.idleMs = 400;
        fast.retryPauseMs = 30;
    }
    void cleanup()
    {
        m_app.reset();
        m_save.reset();
    }

    void withoutASelectedPictureNothingIsSaved()
    {
        QVERIFY(t().view(sd::SmallAlbum.id));
        check({0, 1});
        t().window().downloadPicturesAction->trigger();
        QCOMPARE(t().window().statusText(), QStringLiteral("请选择图片"));
        QCOMPARE(t().prompts.texts(), QStringList {QStringLiteral("请选择图片")});
        // Once the box is closed, a single picture: a run the refused start began anyway
        // would still be running and refuse it, or would have fetched the checked ones.
        QTRY_COMPARE(t().prompts.delivered(), 1);
        for (int row : {0, 1})
            t().photos().setChecked(row, false);
        PhotoAppFixture::selectRow(t().window().photoView, 2);
        t().window().downloadPicturesAction->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(t().countLines(QStringLiteral("]所选图片已完成下载..")), 1, 20000);
        QCOMPARE(t().window().statusText(), QStringLiteral("所选图片已下载.."));
        const QStringList files = AllFilesUnder(m_save->path());
        QCOMPARE(files.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^123456789/三张/小鸟.{4}\\.jpg$"))
                     .match(files.first())
                     .hasMatch(),
                 qPrintable(files.first()));
        for (int n = 1; n <= 2; ++n)
            QCOMPARE(m_standin.knobs().requestCount(picture("V1three", n)), 0);
    }

    void theSelectedPictureIsSavedWithRandomDigits_data()
    {
        QTest::addColumn<QList<int>>("checked");
        QTest::addColumn<bool>("words");
        QTest::newRow("none checked") << QList<int> {} << false;
        QTest::newRow("another one checked") << QList<int> {0} << false;
        QTest::newRow("写入照片信息") << QList<int> {} << true;
    }
    void theSelectedPictureIsSavedWithRandomDigits()
    {
        QFETCH(QList<int>, checked);
        QFETCH(bool, words);
        QVERIFY(t().view(sd::SmallAlbum.id));
        t().window().writeMetadataCheck->setChecked(words);
        for (int row : checked)
            t().photos().setChecked(row, true);
        PhotoAppFixture::selectRow(t().window().photoView, 1);
        QVERIFY(t().window().sequenceNamingButton->isChecked()); // the naming option does not apply here
        QVERIFY(download());

        const QStringList files = AllFilesUnder(m_save->path());
        QCOMPARE(files.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^123456789/三张/小狗.{4}\\.jpg$"))
                     .match(files.first())
                     .hasMatch(),
                 qPrintable(files.first()));
        const QString saved = m_save->path() + QLatin1Char('/') + files.first();
        const QByteArray service = m_standin.pictureBytes(picture("V1three", 2));
        const PhotoEntry &photo = t().photos().entry(1);
        if (words) {
            QVERIFY(ContentOf(saved) != service);
            QCOMPARE(CompressedData(ContentOf(saved)), CompressedData(service));
            QCOMPARE(ExiftoolTags(ContentOf(saved)).value(QLatin1String("XMP-dc:Title")).toString(),
                     photo.fullName);
        } else {
            QVERIFY(ContentOf(saved) == service);
        }
        QCOMPARE(QFileInfo(saved).lastModified(), PictureFileTime(photo));
        const AlbumDocumentLoad document = LoadAlbumDocument(QFileInfo(saved).path());
        QCOMPARE(document.state, AlbumDocumentLoad::State::Read);
        QCOMPARE(document.document.pictures.size(), 1);
        QCOMPARE(document.document.pictures.first().lloc, photo.lloc);
        QCOMPARE(document.document.pictures.first().file, QFileInfo(saved).fileName());
        QCOMPARE(document.document.pictures.first().caption, photo.fullDescription);
        QCOMPARE(statuses(), QStringList({QString(), QStringLiteral("√"), QString()}));
        QCOMPARE(t().linesWithoutTime().mid(t().lines().size() - 2),
                 QStringList({QStringLiteral("[小狗]下载完成.."), QStringLiteral("所选图片已完成下载..")}));
        QCOMPARE(t().window().statusText(), QStringLiteral("所选图片已下载.."));
    }

    void checkedRowsAreSavedInSequenceWithProgress()
    {
        QVERIFY(t().view(sd::SameNameAlbum.id));
        check({2, 6, 8});
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        QSignalSpy progress(t().window().progressBar, &QProgressBar::valueChanged);
        QVERIFY(download());

        QCOMPARE(AllFilesUnder(m_save->path()),
                 QStringList({"123456789/同名照片/3.abc.jpg", "123456789/同名照片/7.abc.jpg",
                              "123456789/同名照片/9.abc.jpg"}));
        const QString folder = albumFolder(sd::MainUin, QStringLiteral("同名照片"));
        QVERIFY(ContentOf(folder + "/7.abc.jpg") == m_standin.pictureBytes(picture("V1same", 7)));
        QList<int> values;
        for (const QList<QVariant> &change : progress)
            values << change.first().toInt();
        QCOMPARE(values.mid(values.indexOf(2) - 1), QList<int>({1, 2, 3}));
        QCOMPARE(t().window().progressBar->minimum(), 1);
        QCOMPARE(t().window().progressBar->maximum(), 3);
        QCOMPARE(statuses(), QStringList({"", "", "√", "", "", "", "√", "", "√", ""}));
        QCOMPARE(t().countLines(QStringLiteral("[abc]下载完成..")), 3);
        QCOMPARE(t().window().statusText(), QStringLiteral("所选图片已完成下载.."));
    }

    void stopEndsAMultiDownloadBeforeItsNextPicture()
    {
        QVERIFY(t().view(sd::SameNameAlbum.id));
        t().window().checkAllButton->click();
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        m_standin.knobs().addFault(FaultRule::latency(QStringLiteral("/photo/*"), 150));
        bool stopped = false;
        connect(t().window().activityLogList, &QListWidget::currentRowChanged, this, [&] {
            if (!stopped && t().countLines(QStringLiteral("下载完成..")) == 2) {
                stopped = true;
                t().window().stopButton->click();
            }
        });
        QVERIFY(download());
        QVERIFY(stopped);
        const QStringList lines = t().linesWithoutTime();
        QCOMPARE(lines.mid(lines.size() - 2),
                 QStringList({QStringLiteral("已终止下载任务.."), QStringLiteral("所选图片已完成下载..")}));
        QCOMPARE(t().countLines(QStringLiteral("下载完成..")), 2);
        QCOMPARE(t().window().statusText(), QStringLiteral("所选图片已完成下载.."));
        QCOMPARE(t().window().progressBar->value(), 1);
        QCOMPARE(AllFilesUnder(m_save->path()).size(), 2);
    }

    // The service sends its placeholder in the second picture's place: it is not saved
    // under any name, its row shows "×" and its line names the placeholder.
    void aPlaceholderIsNotSaved()
    {
        QVERIFY(t().view(sd::SmallAlbum.id));
        QCOMPARE(t().photos().entry(1).width, 640); // the listed size the check holds it to
        check({1, 2});
        PhotoAppFixture::selectRow(t().window().photoView, 1);
        m_standin.knobs().addFault(FaultRule::make(picture("V1three", 2), FaultKind::Placeholder));
        QVERIFY(download());
        QCOMPARE(statuses(), QStringList({QString(), QStringLiteral("×"), QStringLiteral("√")}));
        QCOMPARE(AllFilesUnder(m_save->path()), QStringList {QStringLiteral("123456789/三张/3.小鸟.jpg")});
        QCOMPARE(t().countLines(QStringLiteral("[小狗]下载失败（加密照片）..")), 1);
        QCOMPARE(t().countLines(QStringLiteral("[小鸟]下载完成..")), 1);
    }

    void aSecondStartDuringAMultiDownloadIsRefused()
    {
        QVERIFY(t().view(sd::SmallAlbum.id));
        t().window().checkAllButton->click();
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        m_standin.knobs().addFault(FaultRule::latency(QStringLiteral("/photo/*"), 100));
        t().window().downloadPicturesAction->trigger();
        QVERIFY(download());
        // Then a single picture: a second run the refused start began would have ended
        // before it, with a line of its own.
        for (int row = 0; row < 3; ++row)
            t().photos().setChecked(row, false);
        t().window().downloadPicturesAction->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(t().countLines(QStringLiteral("]所选图片已完成下载..")), 2, 20000);
        QCOMPARE(t().window().statusText(), QStringLiteral("所选图片已下载.."));
        QCOMPARE(m_standin.knobs().requestCount(picture("V1three", 1)), 2);
        for (int n = 2; n <= 3; ++n)
            QCOMPARE(m_standin.knobs().requestCount(picture("V1three", n)), 1);
    }

    void anotherSpacesPicturesGoUnderItsNumber()
    {
        t().showAlbums(sd::SecondUin, sd::SecondAlbums, true);
        QVERIFY(t().view("V2family"));
        t().window().checkAllButton->click();
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        QVERIFY(download());
        QCOMPARE(AllFilesUnder(m_save->path()),
                 QStringList({"2233445566/家人/1.家1.jpg", "2233445566/家人/2.家2.jpg"}));
    }

    void everyNameLandsInsideItsAlbumFolder_data()
    {
        QTest::addColumn<QString>("albumId");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("namingOption");
        QTest::newRow("hostile picture names, sequence") << "V1hostile" << 7 << 0;
        QTest::newRow("hostile picture names, name only") << "V1hostile" << 7 << 1;
        QTest::newRow("hostile picture names, random") << "V1hostile" << 7 << 2;
        QTest::newRow("album name with dots and slashes") << "V1dots" << 4 << 0;
        QTest::newRow("album name with forbidden characters") << "V1forbid" << 5 << 0;
        QTest::newRow("picture names with commas") << "V1comma" << 3 << 1;
    }
    void everyNameLandsInsideItsAlbumFolder()
    {
        QFETCH(QString, albumId);
        QFETCH(int, pictures);
        QFETCH(int, namingOption);
        QVERIFY(t().view(albumId.toLatin1().constData()));
        QCOMPARE(t().photos().size(), pictures);
        t().window().namingModeGroup->button(namingOption)->click();
        t().window().checkAllButton->click();
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        QVERIFY(download());

        const QStringList files = AllFilesUnder(m_save->path());
        QVERIFY2(!files.isEmpty(), "nothing saved");
        const QString folder = files.first().section(QLatin1Char('/'), 0, 1);
        for (const QString &file : files) {
            QCOMPARE(file.count(QLatin1Char('/')), 2); // owner / album / file
            QCOMPARE(file.section(QLatin1Char('/'), 0, 1), folder);
            const QString name = file.section(QLatin1Char('/'), 2);
            QVERIFY2(name.endsWith(QStringLiteral(".jpg")) && name != QStringLiteral(".jpg"),
                     qPrintable(file));
        }
        QVERIFY(folder.startsWith(QStringLiteral("123456789/")));
        if (albumId == QLatin1String("V1forbid"))
            QCOMPARE(folder, QStringLiteral("123456789/abcde"));
        if (albumId == QLatin1String("V1comma"))
            QCOMPARE(files, QStringList({folder + "/a.jpg", folder + "/c.jpg", folder + "/plain.jpg"}));
        // Pictures with the same name never replace each other.
        QCOMPARE(files.size(), pictures);
        QVERIFY(!statuses().contains(QStringLiteral("×")));
    }

    // Ten pictures named alike, saved by name only: each gets a file of its own, in list
    // order, and a second run writes the same files again.
    void sameNamedPicturesGetFilesOfTheirOwn()
    {
        QVERIFY(t().view(sd::SameNameAlbum.id));
        t().window().namingModeGroup->button(1)->click();
        t().window().checkAllButton->click();
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        const QString folder = albumFolder(sd::MainUin, QStringLiteral("同名照片"));
        QStringList expected;
        for (int n = 1; n <= sd::SameNameAlbum.pictures; ++n)
            expected << (n == 1 ? QStringLiteral("abc.jpg") : QStringLiteral("abc (%1).jpg").arg(n));
        QStringList sorted = expected;
        sorted.sort();
        for (int run = 1; run <= 2; ++run) {
            QVERIFY(download());
            QCOMPARE(AllFilesUnder(folder), sorted);
            for (int n = 1; n <= sd::SameNameAlbum.pictures; ++n)
                QVERIFY(ContentOf(folder + QLatin1Char('/') + expected.at(n - 1))
                        == m_standin.pictureBytes(picture("V1same", n)));
            QCOMPARE(t().countLines(QStringLiteral("[abc]下载完成..")), run * sd::SameNameAlbum.pictures);
        }
    }

    // A ticked video is saved as its file, not its cover; one not made playable yet fails.
    void videosAreSavedAsTheirFiles()
    {
        t().showAlbums(sd::ThirdUin, sd::ThirdAlbums, true);
        QVERIFY(t().view(sd::VideoAlbum.id));
        check({1, 2, 3});
        PhotoAppFixture::selectRow(t().window().photoView, 1);
        QVERIFY(download());
        const QString folder = albumFolder(sd::ThirdUin, QStringLiteral("视频"));
        QCOMPARE(AllFilesUnder(folder), QStringList({"2.视频2.mp4", "3.视频3.mp4"}));
        for (int n = 2; n <= 3; ++n)
            QVERIFY(ContentOf(folder + QStringLiteral("/%1.视频%1.mp4").arg(n))
                    == m_standin.pictureBytes(QStringLiteral("/video/V3video/%1.mp4").arg(n)));
        QCOMPARE(statuses().mid(1, 3), QStringList({"√", "√", "×"}));
        QCOMPARE(t().countLines(QStringLiteral("[视频4]下载失败（视频未转码）..")), 1);
        QCOMPARE(m_standin.knobs().requestCount(picture("V3video", 2)), 0); // no cover
    }

    void sequenceNumbersAndTheSaveFolderText()
    {
        QVERIFY(t().view(sd::SameNameAlbum.id));
        check({1, 9});
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        t().window().saveFolderEdit->setText(m_save->path() + QLatin1Char('/')); // a trailing separator
        QVERIFY(download());
        QCOMPARE(AllFilesUnder(m_save->path()),
                 QStringList({"123456789/同名照片/10.abc.jpg", "123456789/同名照片/2.abc.jpg"}));
    }

    void aSaveFolderThatDoesNotExistSavesNothing()
    {
        QVERIFY(t().view(sd::SmallAlbum.id));
        check({0, 1});
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        t().window().saveFolderEdit->setText(m_save->path() + QStringLiteral("/not here"));
        QVERIFY(download());
        QVERIFY(AllFilesUnder(m_save->path()).isEmpty());
        QVERIFY(!QFileInfo::exists(m_save->path() + QStringLiteral("/not here")));
        QCOMPARE(statuses(), QStringList({"×", "×", ""}));
        QCOMPARE(t().countLines(QStringLiteral("[小猫]下载失败..")), 1);
    }

    void aFailedPictureIsMarkedAndLeavesTheEarlierFile_data()
    {
        QTest::addColumn<FaultRule>("fault");
        const QString p = QStringLiteral("/photo/b/V1three/1.jpg");
        QTest::newRow("500") << FaultRule::httpStatus(p, 500);
        QTest::newRow("body cut off halfway") << FaultRule::make(p, FaultKind::CutBody);
        QTest::newRow("stall") << FaultRule::make(p, FaultKind::StallAfterHeaders);
        QTest::newRow("html page as picture") << FaultRule::make(p, FaultKind::HtmlAsPicture);
        QTest::newRow("404") << FaultRule::httpStatus(p, 404);
    }
    void aFailedPictureIsMarkedAndLeavesTheEarlierFile()
    {
        QFETCH(FaultRule, fault);
        QVERIFY(t().view(sd::SmallAlbum.id));
        const QString folder = albumFolder(sd::MainUin, QStringLiteral("三张"));
        QVERIFY(QDir().mkpath(folder));
        QFile earlier(folder + QStringLiteral("/1.小猫.jpg"));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write(EarlierFile);
        earlier.close();
        m_standin.knobs().addFault(fault);
        check({0, 1});
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        QVERIFY(download());

        QCOMPARE(statuses(), QStringList({"×", "√", ""}));
        QCOMPARE(t().countLines(QStringLiteral("[小猫]下载失败..")), 1);
        QCOMPARE(t().countLines(QStringLiteral("[小狗]下载完成..")), 1);
        QCOMPARE(AllFilesUnder(m_save->path()),
                 QStringList({"123456789/三张/1.小猫.jpg", "123456789/三张/2.小狗.jpg"}));
        QCOMPARE(ContentOf(folder + QStringLiteral("/1.小猫.jpg")), EarlierFile);
    }

    void anUnwritableAlbumFolderFails_data()
    {
        QTest::addColumn<bool>("permissions");
        QTest::newRow("a file where the folder should be") << false;
        QTest::newRow("read-only folder") << true;
    }
    void anUnwritableAlbumFolderFails()
    {
        QFETCH(bool, permissions);
        QVERIFY(t().view(sd::SmallAlbum.id));
        const QString folder = albumFolder(sd::MainUin, QStringLiteral("三张"));
        if (permissions) {
            QVERIFY(QDir().mkpath(folder));
            QString error;
            QVERIFY2(MakeFolderReadOnly(folder, &error), qPrintable(error));
        } else {
            QVERIFY(QDir().mkpath(QFileInfo(folder).path()));
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        check({0, 1});
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        QVERIFY(download());
        if (permissions)
            QVERIFY(MakeFolderWritableAgain(folder));
        QCOMPARE(statuses(), QStringList({"×", "×", ""}));
        QCOMPARE(t().countLines(QStringLiteral("下载失败..")), 2);
        QCOMPARE(AllFilesUnder(m_save->path()),
                 permissions ? QStringList() : QStringList {QStringLiteral("123456789/三张")});
    }

    void aServerErrorThatPassesSavesThePicture()
    {
        QVERIFY(t().view(sd::SmallAlbum.id));
        m_standin.knobs().addFault(FaultRule::httpStatus(picture("V1three", 1), 503, 1));
        check({0, 1});
        PhotoAppFixture::selectRow(t().window().photoView, 0);
        QVERIFY(download());
        QCOMPARE(statuses(), QStringList({"√", "√", ""}));
        QVERIFY(ContentOf(albumFolder(sd::MainUin, QStringLiteral("三张")) + QStringLiteral("/1.小猫.jpg"))
                == m_standin.pictureBytes(picture("V1three", 1)));
        QCOMPARE(m_standin.knobs().requestCount(picture("V1three", 1)), 2);
    }
};

ALBIVEX_TEST_MAIN_WITH_MOUNTS(TestSelectedDownload)
#include "TestSelectedDownload.moc"
