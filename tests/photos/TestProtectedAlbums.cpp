// Albums behind a question or a password, opened ("查看相册") and saved ("下载相册"), and
// the video mark of the photo list: the whole tool against the stand-in, whose photo
// list answers a protected album only for the keys of its right answer.

#include "PhotoAppFixture.h"
#include "SavedFiles.h"
#include "session/WindowState.h"
#include "standin/ServiceRoutes.h"
#include "storage/RunJournal.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

const QString ListPath = QString::fromLatin1(sd::ServiceRoutes::PhotoListOtherPath);
const QString Wrong = QStringLiteral("回答错误");

enum Typed { Right, WrongAnswer, Cancelled };

} // namespace

class TestProtectedAlbums : public QObject
{
    Q_OBJECT
private:
    sd::StandinThread m_standin;
    std::unique_ptr<PhotoAppFixture> m_app;
    std::unique_ptr<QTemporaryDir> m_save;

    PhotoAppFixture &t() { return *m_app; }

    static sd::AlbumFacts factsOf(const QString &albumId)
    {
        return albumId == QLatin1String(sd::QuestionAlbum.id) ? sd::QuestionAlbum : sd::PasswordAlbum;
    }
    void type(const QString &albumId, Typed typed)
    {
        if (typed == Cancelled)
            t().prompts.answerNextText(std::nullopt);
        else if (typed == WrongAnswer)
            t().prompts.answerNextText(QStringLiteral("不对"));
        else
            t().prompts.answerNextText(QString::fromUtf8(
                albumId == QLatin1String(sd::QuestionAlbum.id) ? sd::AlbumQuestionAnswer : "abc123"));
    }
    // "下载相册" on the selected row, until the job is idle again.
    bool saveAlbums()
    {
        t().window().downloadAlbumAction->trigger();
        return QTest::qWaitFor([this] { return t().app.state().albumJobIdle; }, 60000);
    }
    // Requests for the pictures (or videos) of an album, whatever their size.
    int pictureRequests(const QString &albumId)
    {
        int count = 0;
        for (const sd::LoggedRequest &request : m_standin.knobs().requests())
            count += request.path.contains(QLatin1Char('/') + albumId + QLatin1Char('/')) ? 1 : 0;
        return count;
    }
    // The saved pictures of a third-space album, by their bytes, checked against the
    // stand-in's: true when every picture is there once and nothing else.
    bool savedWhole(const sd::AlbumFacts &album)
    {
        const QString folder = m_save->path()
            + QStringLiteral("/%1/%2").arg(QLatin1String(sd::ThirdUin), QString::fromUtf8(album.name));
        QList<QByteArray> saved;
        for (const QString &file : AllFilesUnder(folder)) {
            if (file.endsWith(QLatin1String(".jpg")))
                saved << ContentOf(folder + QLatin1Char('/') + file);
        }
        for (int n = 1; n <= album.pictures; ++n) {
            if (!saved.removeOne(m_standin.pictureBytes(
                    QStringLiteral("/photo/b/%1/%2.jpg").arg(QLatin1String(album.id)).arg(n))))
                return false;
        }
        return saved.isEmpty();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }

    void init()
    {
        m_standin.knobs().clearFaults();
        m_save = std::make_unique<QTemporaryDir>();
        m_app = std::make_unique<PhotoAppFixture>(m_standin);
        QVERIFY(t().signIn());
        t().showAlbums(sd::ThirdUin, sd::ThirdAlbums, true);
        t().window().saveFolderEdit->setText(m_save->path());
        m_standin.knobs().clearRequests();
    }
    void cleanup()
    {
        m_app.reset();
        m_save.reset();
    }

    void anAlbumOpensOnlyWithItsAnswer_data()
    {
        QTest::addColumn<QString>("albumId");
        QTest::addColumn<int>("typed");
        QTest::addColumn<bool>("save"); // "下载相册" rather than "查看相册"
        const QString question = QString::fromLatin1(sd::QuestionAlbum.id);
        const QString password = QString::fromLatin1(sd::PasswordAlbum.id);
        QTest::newRow("question, right, view") << question << int(Right) << false;
        QTest::newRow("question, wrong, view") << question << int(WrongAnswer) << false;
        QTest::newRow("question, cancelled, view") << question << int(Cancelled) << false;
        QTest::newRow("password, right, view") << password << int(Right) << false;
        QTest::newRow("question, right, save") << question << int(Right) << true;
        QTest::newRow("password, right, save") << password << int(Right) << true;
        QTest::newRow("password, wrong, save") << password << int(WrongAnswer) << true;
        QTest::newRow("question, cancelled, save") << question << int(Cancelled) << true;
    }
    void anAlbumOpensOnlyWithItsAnswer()
    {
        QFETCH(QString, albumId);
        QFETCH(int, typed);
        QFETCH(bool, save);
        const sd::AlbumFacts album = factsOf(albumId);
        const bool password = albumId == QLatin1String(sd::PasswordAlbum.id);
        type(albumId, Typed(typed));
        PhotoAppFixture::selectRow(t().window().albumView, t().albumRow(album.id));
        if (save) {
            QVERIFY(saveAlbums());
        } else {
            t().window().viewAlbumAction->trigger();
            const QString ending = typed == Right ? QStringLiteral("相册加载完毕..")
                : typed == WrongAnswer            ? Wrong
                                                  : QStringLiteral("已取消查看相册");
            QVERIFY(QTest::qWaitFor([&] { return t().window().statusText() == ending; }, 20000));
        }

        QCOMPARE(t().prompts.textQuestions.size(), 1);
        const ScriptedPrompts::TextQuestion &asked = t().prompts.textQuestions.first();
        QCOMPARE(asked.title, QString::fromUtf8(album.name));
        QCOMPARE(asked.text,
                 password ? QStringLiteral("请输入相册密码：") : QString::fromUtf8(sd::AlbumQuestion));
        QCOMPARE(asked.secret, password);
        QCOMPARE(m_standin.knobs().requestCount(ListPath), typed == Cancelled ? 0 : 1);
        QCOMPARE(t().prompts.texts().contains(Wrong), typed == WrongAnswer);
        if (typed != Right) {
            QCOMPARE(pictureRequests(albumId), 0);
            QVERIFY(AllFilesUnder(m_save->path()).isEmpty());
            QCOMPARE(t().photos().size(), 0);
            QVERIFY(!t().window().albumView->isHidden()); // the album list stays, or comes back
        }
        if (typed == WrongAnswer)
            QCOMPARE(t().window().statusText(), Wrong);
        if (typed == Right && save)
            QVERIFY(savedWhole(album));
        if (typed == Right && !save)
            QCOMPARE(t().photos().size(), album.pictures);
    }

    // The answer given to open an album serves its download too; one refused is asked again.
    void anAnswerIsAskedOncePerAlbum()
    {
        type(QString::fromLatin1(sd::QuestionAlbum.id), WrongAnswer);
        PhotoAppFixture::selectRow(t().window().albumView, t().albumRow(sd::QuestionAlbum.id));
        t().window().viewAlbumAction->trigger();
        QVERIFY(QTest::qWaitFor([&] { return t().window().statusText() == Wrong; }, 20000));
        type(QString::fromLatin1(sd::QuestionAlbum.id), Right);
        QVERIFY(t().view(sd::QuestionAlbum.id));
        t().window().backButton->click();
        PhotoAppFixture::selectRow(t().window().albumView, t().albumRow(sd::QuestionAlbum.id));
        QVERIFY(saveAlbums());
        QCOMPARE(t().prompts.textQuestions.size(), 2);
        QVERIFY(savedWhole(sd::QuestionAlbum));
    }

    void aMultiAlbumRunPassesOverAlbumsWithoutTheirAnswer()
    {
        t().window().checkAllButton->click();
        PhotoAppFixture::selectRow(t().window().albumView, 0);
        type(QString::fromLatin1(sd::QuestionAlbum.id), WrongAnswer);
        type(QString::fromLatin1(sd::PasswordAlbum.id), Cancelled);
        QVERIFY(saveAlbums());

        const QStringList lines = t().linesWithoutTime();
        QVERIFY(lines.contains(QStringLiteral("[问答相册]回答错误..")));
        QVERIFY(lines.contains(QStringLiteral("[密码相册]未输入答案，已跳过..")));
        QVERIFY2(lines.last().endsWith(QStringLiteral("，跳过2个相册")), qPrintable(lines.last()));
        QCOMPARE(pictureRequests(QString::fromLatin1(sd::QuestionAlbum.id)), 0);
        QCOMPARE(pictureRequests(QString::fromLatin1(sd::PasswordAlbum.id)), 0);
        const QStringList files = AllFilesUnder(m_save->path());
        QVERIFY(!files.isEmpty());
        // Beside the album, the run's journal: the video album ended with a picture not
        // saved, so it is kept for the next listing's offer.
        for (const QString &file : files)
            QVERIFY2(file.startsWith(QStringLiteral("4455667788/视频/"))
                         || file == QStringLiteral("4455667788/") + RunJournalFileName(),
                     qPrintable(file));
        QVERIFY(t().prompts.boxes.isEmpty());
    }

    // A video row is marked until its download result takes the place.
    void videosAreMarked()
    {
        QVERIFY(t().view(sd::VideoAlbum.id));
        const auto marks = [this] {
            QStringList shown;
            for (int row = 0; row < t().photos().size(); ++row)
                shown << t().photos().index(row, PhotoListModel::StatusColumn).data().toString();
            return shown;
        };
        QCOMPARE(marks(), QStringList({"", "视频", "视频", "视频", ""}));
        PhotoAppFixture::selectRow(t().window().photoView, 1);
        t().window().downloadPicturesAction->trigger();
        QVERIFY(QTest::qWaitFor([&] { return t().countLines(QStringLiteral("所选图片已完成下载..")) > 0; },
                                20000));
        QCOMPARE(marks(), QStringList({"", "√", "视频", "视频", ""}));
    }
};

QTEST_MAIN(TestProtectedAlbums)
#include "TestProtectedAlbums.moc"
