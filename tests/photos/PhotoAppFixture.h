#pragma once

#include "ScriptedPrompts.h"
#include "StandinSignIn.h"
#include "app/AlbivexApp.h"
#include "catalogue/AlbumListModel.h"
#include "photos/PhotoListModel.h"
#include "qzone/AlbumAnswer.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>

#include <memory>

// The whole tool against the stand-in, signed in over HTTP, with an album list put in
// place as the album listing leaves it.
class PhotoAppFixture
{
public:
    explicit PhotoAppFixture(albivex::standin::StandinThread &standin)
        : m_standin(standin), app(albivex::Endpoints(standin.root()), &prompts, &prompts, &prompts)
    { }

    albivex::standin::StandinThread &m_standin;
    ScriptedPrompts prompts;
    albivex::AlbivexApp app;

    albivex::MainWindow &window() { return app.window(); }
    albivex::PhotoListModel &photos() { return app.photos(); }
    albivex::AlbumListModel &albums() { return app.albums(); }

    bool signIn(const char *uin = albivex::standin::MainUin)
    {
        app.state().credentials = SignInOverHttp(app.network(), m_standin.root(), QString::fromLatin1(uin));
        return app.state().credentials.signedIn != 0;
    }

    // The album list of `owner`'s space, fetched for a typed number when `otherSpace`.
    template<size_t N>
    void showAlbums(const char *owner, const albivex::standin::AlbumFacts (&facts)[N],
                    bool otherSpace = false)
    {
        app.state().listedOwnerUin = QString::fromLatin1(owner);
        app.state().listShowsOtherQq = otherSpace;
        albums().clear();
        for (const albivex::standin::AlbumFacts &album : facts)
            albums().append(entryOf(album));
    }
    static albivex::AlbumEntry entryOf(const albivex::standin::AlbumFacts &album,
                                       const QString &description = QString())
    {
        albivex::AlbumEntry entry;
        entry.name = QString::fromUtf8(album.name);
        entry.albumId = QString::fromLatin1(album.id);
        entry.pictureCount = QString::number(album.pictures);
        entry.description = description;
        // The protected albums as the album list gives them.
        if (qstrcmp(album.id, albivex::standin::QuestionAlbum.id) == 0) {
            entry.priv = albivex::PrivQuestion;
            entry.question = QString::fromUtf8(albivex::standin::AlbumQuestion);
        } else if (qstrcmp(album.id, albivex::standin::PasswordAlbum.id) == 0) {
            entry.priv = albivex::PrivPassword;
        }
        return entry;
    }

    static void selectRow(QTreeView *view, int row)
    {
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    // Row of the album whose id is given in the album list.
    int albumRow(const char *albumId)
    {
        for (int row = 0; row < albums().size(); ++row) {
            if (albums().entry(row).albumId == QLatin1String(albumId))
                return row;
        }
        return -1;
    }

    // "查看相册" on the album, without waiting.
    void startViewing(const char *albumId)
    {
        selectRow(window().albumView, albumRow(albumId));
        window().viewAlbumAction->trigger();
    }
    // "查看相册" on the album, until its completion line.
    bool view(const char *albumId, int timeoutMs = 20000)
    {
        const int before = countLines(QStringLiteral("]相册获取完毕.."));
        startViewing(albumId);
        QDeadlineTimer deadline(timeoutMs);
        while (countLines(QStringLiteral("]相册获取完毕..")) == before && !deadline.hasExpired())
            QTest::qWait(10);
        return countLines(QStringLiteral("]相册获取完毕..")) > before;
    }

    QStringList lines() { return app.log().lines(); }
    int countLines(const QString &ending)
    {
        int count = 0;
        for (const QString &line : lines())
            count += line.endsWith(ending) ? 1 : 0;
        return count;
    }
    // The log line after its time: "[12:00:00][name]下载完成.." -> "[name]下载完成..".
    static QString withoutTime(const QString &line)
    {
        static const QRegularExpression time(QStringLiteral("^\\[[^\\]]*\\]"));
        return QString(line).remove(time);
    }
    QStringList linesWithoutTime()
    {
        QStringList result;
        for (const QString &line : lines())
            result << withoutTime(line);
        return result;
    }
};
