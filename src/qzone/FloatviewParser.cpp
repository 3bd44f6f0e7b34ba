#include "qzone/FloatviewParser.h"

#include "qzone/CutRule.h"

namespace albivex {

namespace {

// The text after the first marker of key in span; null when the key is not there.
QStringView AfterKey(QStringView span, QStringView key)
{
    const QString marker = KeyMarker(key);
    const qsizetype at = span.indexOf(marker);
    return at < 0 ? QStringView() : span.sliced(at + marker.size());
}

QString Address(QStringView piece)
{
    QString value = ScalarPieceValue(piece);
    value.replace(QLatin1String("\\/"), QLatin1String("/"));
    return value;
}

qsizetype SkipBlanks(QStringView text, qsizetype at)
{
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    return at;
}

// Where each span ends: just after the "}" of every boundary "}" "," "{" (blanks
// aside), and the answer's end.
QList<qsizetype> SpanEnds(QStringView answer)
{
    QList<qsizetype> ends;
    for (qsizetype at = answer.indexOf(QLatin1Char('}')); at >= 0;
         at = answer.indexOf(QLatin1Char('}'), at + 1)) {
        qsizetype next = SkipBlanks(answer, at + 1);
        if (next >= answer.size() || answer.at(next) != QLatin1Char(','))
            continue;
        next = SkipBlanks(answer, next + 1);
        if (next < answer.size() && answer.at(next) == QLatin1Char('{'))
            ends.append(at + 1);
    }
    ends.append(answer.size());
    return ends;
}

void ReadVideoInfo(QStringView span, FloatviewPhoto &photo)
{
    QStringView info = AfterKey(span, u"video_info");
    const qsizetype open = SkipBlanks(info, 0);
    if (open >= info.size() || info.at(open) != QLatin1Char('{'))
        return;
    info = info.sliced(open + 1);
    const qsizetype close = info.indexOf(QLatin1Char('}'));
    if (close >= 0)
        info = info.first(close);
    const QStringView status = AfterKey(info, u"status");
    if (!status.isNull())
        photo.videoStatus = ScalarPieceValue(status).toInt();
    const QStringView download = AfterKey(info, u"download_url");
    if (!download.isNull())
        photo.downloadUrl = Address(download);
    const QStringView play = AfterKey(info, u"video_url");
    if (!play.isNull())
        photo.videoUrl = Address(play);
}

} // namespace

QList<FloatviewPhoto> ParseFloatview(const QString &answer)
{
    QList<FloatviewPhoto> photos;
    qsizetype start = 0;
    for (const qsizetype end : SpanEnds(answer)) {
        const QStringView span = QStringView(answer).sliced(start, end - start);
        start = end;
        const QList<QStringView> keys = CutPieces(span, u"picKey");
        for (const QStringView piece : keys) {
            FloatviewPhoto photo;
            photo.picKey = ScalarPieceValue(piece);
            photos.append(photo);
        }
        if (keys.size() != 1)
            continue;
        FloatviewPhoto &photo = photos.last();
        const QStringView raw = AfterKey(span, u"raw");
        if (!raw.isNull())
            photo.raw = Address(raw);
        const QStringView video = AfterKey(span, u"is_video");
        photo.isVideo = !video.isNull() && IsSetFlag(video);
        ReadVideoInfo(span, photo);
    }
    return photos;
}

} // namespace albivex
