// Parser benchmarks: the album-list parse and the photo-list cut rule on large
// generated answers, each figure printed with its target. Exit status 1 when a
// target is missed.

#include "catalogue/AlbumListParser.h"
#include "photos/PhotoListParser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace albivex;

namespace {

QString AlbumAnswer(int albums)
{
    QString answer = QStringLiteral("shine0_Callback({\n   \"code\" : 0,\n   \"data\" : {\n"
                                    "      \"albumListModeSort\" : [\n");
    for (int i = 0; i < albums; ++i) {
        answer += QStringLiteral("         {\n            \"allowAccess\" : 1,\n"
                                 "            \"createtime\" : %1,\n"
                                 "            \"desc\" : \"\\u65c5\\u884c %2\\n\\u7167\\u7247 p\\/q\",\n"
                                 "            \"handset\" : 0,\n            \"id\" : \"V13abcDEF%2\",\n"
                                 "            \"lastuploadtime\" : %1,\n            \"modifytime\" : %1,\n"
                                 "            \"name\" : \"\\u76f8\\u518c %2\",\n"
                                 "            \"pre\" : \"http:\\/\\/b%2.photo.store.qq.com\\/psb?\\/V13\\/"
                                 "abcdefghijklmnop\\/a\\/dGhpcyBpcyBhIGNvdmVy!!\\/\",\n"
                                 "            \"priv\" : 1,\n            \"total\" : %3,\n"
                                 "            \"viewtype\" : 0\n         },\n")
                      .arg(1423458015 + i * 3600)
                      .arg(i)
                      .arg(i % 500);
    }
    return answer + QStringLiteral("      ]\n   }\n});");
}

QString PhotoAnswer(int pictures)
{
    QString answer
        = QStringLiteral("shine0_Callback({\n\"code\" : 0,\n\"data\" : {\n\"topic\" : {\n"
                         "\"desc\" : \"\",\n\"id\" : \"V13abc\",\n\"name\" : \"album\",\n"
                         "\"pre\" : \"http:\\/\\/b1.photo.store.qq.com\\/psb?\\/V13\\/cover\\/a\\/x!!\\/\",\n"
                         "},\n\"photoList\" : [\n");
    for (int i = 0; i < pictures; ++i) {
        answer
            += QStringLiteral("{\n\"batchId\" : \"1423458%1\",\n\"browser\" : 0,\n\"cameratype\" : \" \",\n"
                              "\"desc\" : \"\\u63cf\\u8ff0 %1 p\\/q\",\n\"height\" : 1080,\n"
                              "\"lloc\" : \"NDN0abcdef%1\",\n\"modifytime\" : 1423458015,\n"
                              "\"name\" : \"IMG_%1\",\n\"owner\" : \"12345678\",\n"
                              "\"pre\" : \"http:\\/\\/b%1.photo.store.qq.com\\/psb?\\/V13\\/abc%1\\/a\\/"
                              "dGhpcyBpcyBhIHByZXZpZXc!!\\/\",\n\"rawshoottime\" : 0,\n"
                              "\"uploadtime\" : \"2015-02-09 13:00:15\",\n"
                              "\"url\" : \"http:\\/\\/b%1.photo.store.qq.com\\/psb?\\/V13\\/abc%1\\/b\\/"
                              "dGhpcyBpcyBhIHBpY3R1cmU!!\\/\",\n\"width\" : 1920\n},\n")
                   .arg(i);
    }
    return answer + QStringLiteral("],\n\"totalInAlbum\" : %1,\n\"totalInPage\" : %1\n}\n});").arg(pictures);
}

double MegaBytes(const QString &answer)
{
    return answer.toUtf8().size() / (1024.0 * 1024.0);
}

// Best of `runs` wall-clock times, in milliseconds: the least disturbed run on a
// machine shared with other work.
double BestMs(int runs, const std::function<void()> &work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

bool Report(const char *figure, double value, const char *unit, const char *target, bool met)
{
    std::printf("%-58s %10.2f %-6s target %-10s %s\n", figure, value, unit, target, met ? "ok" : "MISSED");
    return met;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    bool allMet = true;
#ifndef __OPTIMIZE__
    std::printf("note: built without optimisation; configure with -DCMAKE_BUILD_TYPE=Release\n");
#endif

    const QString albums = AlbumAnswer(2000);
    qsizetype rows = 0;
    const double albumMs = BestMs(9, [&] { rows = ParseAlbumList(albums, chinese).size(); });
    if (rows != 2000)
        std::printf("ParseAlbumList gave %lld rows instead of 2000\n", static_cast<long long>(rows));
    const double albumMb = MegaBytes(albums);
    std::printf("ParseAlbumList: 2,000 albums, %.2f MB answer\n", albumMb);
    allMet &= Report("  time per MB", albumMs / albumMb, "ms/MB", "<= 100", albumMs / albumMb <= 100);
    allMet &= Report("  time for the whole answer", albumMs, "ms", "<= 100", albumMs <= 100);

    const QString albums10 = AlbumAnswer(20000);
    const double albumMs10 = BestMs(9, [&] { rows = ParseAlbumList(albums10, chinese).size(); });
    std::printf("  20,000 albums, %.2f MB answer, %.2f ms\n", MegaBytes(albums10), albumMs10);
    allMet &= Report("  time ratio for 10x the input (20,000 albums)", albumMs10 / albumMs, "x", "<= 12",
                     albumMs10 / albumMs <= 12);

    // The cut rule as the photo listing and the album job use it: the picture count
    // and the four keys of every picture.
    const QString photos = PhotoAnswer(5000);
    const double photoMb = MegaBytes(photos);
    qsizetype pictures = 0;
    const double photoMs = BestMs(9, [&] { pictures = ParsePhotoList(photos).size(); });
    if (pictures != 5000)
        std::printf("ParsePhotoList gave %lld pictures instead of 5000\n", static_cast<long long>(pictures));
    std::printf("Photo-list cut rule: 5,000 pictures, %.2f MB answer, %.2f ms\n", photoMb, photoMs);
    const double throughput = photoMb / (photoMs / 1000.0);
    allMet &= Report("  throughput", throughput, "MB/s", ">= 50", throughput >= 50);

    const QString photos10 = PhotoAnswer(50000);
    const double photoMs10 = BestMs(9, [&] { pictures = ParsePhotoList(photos10).size(); });
    std::printf("  50,000 pictures, %.2f MB answer, %.2f ms\n", MegaBytes(photos10), photoMs10);
    allMet &= Report("  time ratio for 10x the input (50,000 pictures)", photoMs10 / photoMs, "x", "<= 12",
                     photoMs10 / photoMs <= 12);

    return allMet ? 0 : 1;
}
