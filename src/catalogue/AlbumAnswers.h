#pragma once

#include "qzone/AlbumAnswer.h"
#include "qzone/AlbumEntry.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

class QObject;

namespace albivex {

class Prompts;

// The answers the user gave for the protected albums of the listing (AlbumAnswer.h),
// kept as the keys they make and in memory only, for as long as the listing: an album
// opened and then saved asks once. Never logged, never written anywhere.
class AlbumAnswers
{
public:
    using Answered = std::function<void(std::optional<AlbumAnswerKeys> keys)>;

    // The keys to list `album` with: empty keys for an album that needs none, the
    // kept ones of an album answered before, otherwise the keys of what the user types
    // into a box titled with the album's name (a question album shows its question, a
    // password album "请输入相册密码：" and hides the typing). `answered` gets nullopt
    // when the user cancelled. It runs at once unless a box is shown, and never once
    // `context` is gone.
    void obtain(Prompts &prompts, const AlbumEntry &album, QObject *context, Answered answered);

    // The service refused the album's keys: the next listing asks again.
    void forget(const QString &albumId) { m_keys.remove(albumId); }
    void clear() { m_keys.clear(); }

private:
    QHash<QString, AlbumAnswerKeys> m_keys; // album id -> keys
};

// The status text, box and log word of an answer the service refused.
inline QString WrongAnswerText()
{
    return QStringLiteral("回答错误");
}

} // namespace albivex
