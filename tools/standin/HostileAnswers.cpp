#include "standin/HostileAnswers.h"

#include "standin/AlbumListAnswer.h"

namespace albivex::standin {

QByteArray HostileAnswers::hugeAlbumList(const QString &callback, const QString &root,
                                         const QList<AlbumInfo> &albums, qint64 bytes)
{
    QList<AlbumInfo> list = albums.mid(0, 3);
    while (list.size() < 2) {
        AlbumInfo filler;
        filler.id = QStringLiteral("V1filler%1").arg(list.size());
        filler.wireName = QStringLiteral("填充");
        filler.createTime = 1600000000;
        list.append(filler);
    }
    const QString marker = QStringLiteral("@@FILL@@");
    list[1].wireDesc = marker;
    const QByteArray frame = AlbumListAnswer::list(callback, root, list).toUtf8();
    const int at = frame.indexOf(marker.toUtf8());
    const QByteArray unit = QStringLiteral("很长很长的描述文字 ").toUtf8();
    const qint64 fill = qMax<qint64>(0, bytes - frame.size() + marker.size());
    QByteArray answer;
    answer.reserve(int(qMin<qint64>(frame.size() + fill, std::numeric_limits<int>::max() - 64)));
    answer += frame.left(at);
    for (qint64 written = 0; written + unit.size() <= fill; written += unit.size())
        answer += unit;
    answer += frame.mid(at + marker.size());
    return answer;
}

QByteArray HostileAnswers::manyAlbums(const QString &callback, int count, const QByteArray &listKey)
{
    QByteArray answer = callback.toUtf8() + "({\"code\" : 0,\n\"data\" : {\"" + listKey + "\" : [\n";
    answer.reserve(answer.size() + qint64(count) * 120);
    for (int i = 1; i <= count; ++i) {
        const QByteArray n = QByteArray::number(i);
        answer += "{\"createtime\" : " + QByteArray::number(1400000000 + i)
            + ", \"desc\" : \"\", \"id\" : \"h" + n + "\", \"name\" : \"n" + n
            + "\", \"pre\" : \"\", \"total\" : " + QByteArray::number(i % 7) + ", \"z\" : 0}";
        answer += i < count ? ",\n" : "\n";
    }
    answer += "]}});\n";
    return answer;
}

QByteArray HostileAnswers::throttledEmpty(const QString &callback, const QByteArray &listKey,
                                          const QByteArray &countKey, int count)
{
    return callback.toUtf8() + "({\n   \"code\" : 0,\n   \"subcode\" : 0,\n   \"message\" : \"\",\n"
        + "   \"data\" : {\n      \"" + listKey + "\" : [],\n      \"" + countKey
        + "\" : " + QByteArray::number(count) + "\n   }\n});\n";
}

QByteArray HostileAnswers::unbalancedQuotes(const QString &callback, const QString &root)
{
    QString escapedRoot = root;
    escapedRoot.replace(QLatin1Char('/'), QLatin1String("\\/"));
    // An odd number of double quotes in all; the answer stops inside a value.
    QString text = callback + QStringLiteral(R"x(({"code" : 0, "data" : {"albumListModeSort" : [
{"createtime" : "1423458015, "desc" : "open\", "id" : "V1"x", "name" : """quoted"name", "pre" : "@ROOT@\/photo\/a\/V1big620\/cover.jpg, "total" : 3", "z" : 0},
{"createtime" : 1450800000, "desc" : """, "id" : ", "name" : "\", "pre" : , "total" : "", "z" : "
{"createtime" : "14508)x");
    text.replace(QStringLiteral("@ROOT@"), escapedRoot);
    return text.toUtf8();
}

} // namespace albivex::standin
