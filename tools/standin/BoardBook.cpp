#include "standin/BoardBook.h"

#include "standin/PictureMaker.h"
#include "standin/StandinData.h"

#include <QMutexLocker>
#include <QRegularExpression>

namespace albivex::standin {

namespace {

// 2023-06-01 12:00 China time; every message is older.
constexpr qint64 BoardEpoch = 1685592000;
constexpr int IdsPerSpace = 10000000;

int fixedCount(MoodSpace space)
{
    switch (space) {
    case MoodSpace::Main:
        return MainBoardCount;
    case MoodSpace::Second:
        return SecondBoardCount;
    case MoodSpace::Third:
        return ThirdBoardCount;
    default:
        return 0;
    }
}

QString visitor(int index)
{
    return QString::number(700000000 + index % 7);
}

BoardReplyInfo ownerReply(const QString &content, qint64 time)
{
    return {QString(), QString(), content, time};
}

} // namespace

int BoardBook::extraCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_extras;
}

int BoardBook::count(MoodSpace space) const
{
    return fixedCount(space) + (space == MoodSpace::Main ? extraCount() : 0);
}

BoardInfo BoardBook::message(MoodSpace space, int index) const
{
    BoardInfo m;
    m.id = QString::number((int(space) + 1) * IdsPerSpace + index);
    m.uin = visitor(index);
    m.nickname = QStringLiteral("访客%1").arg(index % 7);
    m.time = BoardEpoch - qint64(int(space)) * 7000 - qint64(index) * 3600;
    m.modified = m.time;
    if (space != MoodSpace::Main || index >= MainBoardCount) {
        m.ubb = QStringLiteral("留言%1").arg(index + 1);
        m.picture = index % 10 == 9;
        m.secret = space == MoodSpace::Second && index == 1; // written to the second space's owner
        if (m.secret)
            m.ubb = QStringLiteral("只写给你的悄悄话");
        return m;
    }
    switch (index) {
    case 0:
        m.ubb = QStringLiteral("你好，好久不见！");
        break;
    case 1:
        m.ubb = QStringLiteral("[ffg,#ff0000,宋体]红色的字[/ft]，还有表情[em]e100[/em]");
        m.modified = m.time + 600;
        break;
    case 2:
        m.ubb = QStringLiteral("看这张照片");
        m.picture = true;
        break;
    case 3:
        m.ubb = QStringLiteral("这是一条私密留言");
        m.secret = true;
        break;
    case 4:
        m.ubb = QStringLiteral("生日快乐");
        m.replies = {ownerReply(QStringLiteral("谢谢！[em]e113[/em]"), m.time + 60),
                     {visitor(index + 1), QStringLiteral("访客%1").arg((index + 1) % 7),
                      QStringLiteral("同祝\"快乐\""), m.time + 120}};
        break;
    default:
        m.ubb = QStringLiteral("留言%1").arg(index + 1);
        if (index % 6 == 0)
            m.replies = {ownerReply(QStringLiteral("回复%1").arg(index + 1), m.time + 300)};
        break;
    }
    return m;
}

QList<BoardInfo> BoardBook::messages(MoodSpace space) const
{
    QList<BoardInfo> all;
    const int n = count(space);
    for (int index = 0; index < n; ++index)
        all.append(message(space, index));
    return all;
}

std::optional<PictureRecipe> BoardBook::picture(const QString &path) const
{
    static const QRegularExpression address(QStringLiteral("^/board/p/([1-9][0-9]{1,9})\\.jpg$"));
    const auto m = address.match(path);
    if (!m.hasMatch())
        return std::nullopt;
    const qint64 id = m.captured(1).toLongLong();
    const int spaceNumber = int(id / IdsPerSpace) - 1;
    const int index = int(id % IdsPerSpace);
    if (spaceNumber < 0 || spaceNumber > int(MoodSpace::Secret))
        return std::nullopt;
    const MoodSpace space = MoodSpace(spaceNumber);
    if (index >= count(space) || !message(space, index).picture)
        return std::nullopt;
    PictureRecipe recipe;
    recipe.seed = PictureMaker::stableHash(m.captured(1), 0xB0A7D);
    recipe.width = 120;
    recipe.height = 90;
    return recipe;
}

void BoardBook::addExtra(int count)
{
    QMutexLocker lock(&m_mutex);
    m_extras += qMax(0, count);
}

void BoardBook::clearExtras()
{
    QMutexLocker lock(&m_mutex);
    m_extras = 0;
}

} // namespace albivex::standin
