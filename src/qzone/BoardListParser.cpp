#include "qzone/BoardListParser.h"

#include "qzone/ItemValues.h"

namespace albivex {

namespace {

enum ReplyKey { RUin, RNick, RTime, RContent, ReplyKeyCount };
constexpr QStringView ReplyKeys[ReplyKeyCount] = {u"uin", u"nick", u"time", u"content"};

BoardReply ReadReply(const ListItem &item, TextPool &pool)
{
    const ItemField *f[ReplyKeyCount];
    item.findAll(ReplyKeys, ReplyKeyCount, f);
    return {ItemPooledText(f[RUin], pool), ItemPooledText(f[RNick], pool), ItemText(f[RTime]),
            ItemText(f[RContent])};
}

enum MessageKey { Id, Uin, Nickname, Secret, Pubtime, Modifytime, Ubb, Html, Replies, MessageKeyCount };
constexpr QStringView MessageKeys[MessageKeyCount] = {
    u"id",         u"uin",        u"nickname",    u"secret",    u"pubtime",
    u"modifytime", u"ubbContent", u"htmlContent", u"replyList",
};

BoardMessage ReadMessage(const ListItem &item, TextPool &pool)
{
    const ItemField *f[MessageKeyCount];
    item.findAll(MessageKeys, MessageKeyCount, f);
    BoardMessage m;
    m.id = ItemText(f[Id]);
    m.uin = ItemPooledText(f[Uin], pool);
    m.nickname = ItemPooledText(f[Nickname], pool);
    m.secret = ItemFlag(f[Secret]);
    m.pubtime = ItemText(f[Pubtime]);
    m.modifytime = ItemText(f[Modifytime]);
    m.ubbContent = ItemText(f[Ubb]);
    m.htmlContent = ItemText(f[Html]);
    VisitItemArray(f[Replies], [&](const ListItem &reply) {
        m.replies.append(ReadReply(reply, pool));
        return true;
    });
    return m;
}

} // namespace

BoardListPage ParseBoardList(const QString &answer)
{
    BoardListPage page;
    const ListItem top = AnswerTopLevel(answer);
    page.code = ItemIntValue(top.find(u"code"));
    page.subcode = ItemInt(top.find(u"subcode"), 0);
    page.message = ItemText(top.find(u"message"));
    page.total = qMax(-1, ItemInt(ItemBlock(top.find(u"data")).find(u"total"), -1));
    TextPool pool;
    VisitListItems(answer, {u"commentList"}, [&](const ListItem &item) {
        page.messages.append(ReadMessage(item, pool));
        return true;
    });
    return page;
}

} // namespace albivex
