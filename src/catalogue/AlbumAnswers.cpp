#include "catalogue/AlbumAnswers.h"

#include "session/Prompts.h"

#include <QObject>
#include <QPointer>

namespace albivex {

void AlbumAnswers::obtain(Prompts &prompts, const AlbumEntry &album, QObject *context, Answered answered)
{
    if (!NeedsAnswer(album.priv)) {
        answered(AlbumAnswerKeys {});
        return;
    }
    const auto kept = m_keys.constFind(album.albumId);
    if (kept != m_keys.constEnd()) {
        answered(*kept);
        return;
    }
    const bool password = album.priv == PrivPassword;
    prompts.askText(album.name, password ? QStringLiteral("请输入相册密码：") : album.question, password,
                    [this, album, guard = QPointer<QObject>(context),
                     answered = std::move(answered)](std::optional<QString> typed) {
                        if (!guard)
                            return;
                        if (!typed) {
                            answered(std::nullopt);
                            return;
                        }
                        const AlbumAnswerKeys keys = AnswerKeys(album, *typed);
                        m_keys.insert(album.albumId, keys);
                        answered(keys);
                    });
}

} // namespace albivex
