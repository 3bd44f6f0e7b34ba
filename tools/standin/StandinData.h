#pragma once

// The fixed facts of the stand-in's data set, for tests to code against. Texts are
// UTF-8. Everything here is served the same in every run; only the skey of a sign-in is
// random.

namespace albivex::standin {

// The usual number to sign in with. Whichever number signs in owns the main space
// (listed below), so any other number works as well, except the two special ones.
inline constexpr char MainUin[] = "123456789";
inline constexpr char MainNickname[] = "Tom";
// A space of its own with two albums (SecondAlbums), open to every signed-in viewer.
inline constexpr char SecondUin[] = "2233445566";
inline constexpr char SecondNickname[] = "小明";
// A third space, open to every signed-in viewer: videos and albums behind a question
// or a password (ThirdAlbums).
inline constexpr char ThirdUin[] = "4455667788";
inline constexpr char ThirdNickname[] = "小红";
// A space closed to everyone else: album and photo lists answer with an error.
inline constexpr char ClosedUin[] = "3344556677";
// The profile answer for this number holds no nickname marker.
inline constexpr char NoNicknameUin[] = "987654321";
// 说说 (mood posts): the main space has MainMoodCount posts (more with extra moods), the
// second and third spaces a few plain ones each. ClosedUin's list and detail refuse
// everyone else with code -10031 "由于对方权限设置，您不能进行此操作"; the two numbers
// below have no albums.
inline constexpr int MainMoodCount = 25;
inline constexpr int SecondMoodCount = 3;
inline constexpr int ThirdMoodCount = 2;
// 留言板 (message board): the main space has MainBoardCount messages (more with extra
// board messages: several pages of 20), the second and third spaces a few each; ClosedUin
// refuses everyone else with -10031 as for its 说说. Main-space messages 1 to 5 (newest
// first) are plain text, UBB codes ([ffg,…]…[/ft] and [em]e100[/em]), a picture
// ([img] to /board/p/<id>.jpg, served), a private one and one with two replies; the
// second space's message 2 is private and written by another number, so its text
// reaches no other viewer.
inline constexpr int MainBoardCount = 27;
inline constexpr int SecondBoardCount = 3;
inline constexpr int ThirdBoardCount = 2;
// Refuses its posts with code -10033 "主人设置保密".
inline constexpr char SecretMoodsUin[] = "5566778899";
// Claims SealedMoodTotal posts but lists only the newest SealedMoodListed: a page
// starting past them answers "msglist" : null (with "total" kept).
inline constexpr char SealedMoodsUin[] = "6655443322";
inline constexpr int SealedMoodTotal = 30;
inline constexpr int SealedMoodListed = 10;
// Any other number that has not signed in has an empty space (an answer without albums).
// Every other number's nickname is "QQ用户" followed by the number.

struct AlbumFacts
{
    const char *id;
    const char *name; // the album's name as a person reads it
    int pictures;
};

// The main space, in the order of the album list answers.
inline constexpr AlbumFacts BigAlbum {"V1big620", "旅行2015", 620}; // pictures of a few KB
inline constexpr AlbumFacts EmptyAlbum {"V1empty", "空相册", 0}; // name sent as \u escapes
inline constexpr AlbumFacts ForbiddenCharsAlbum {"V1forbid", "a<b>|c*d:e", 5};
inline constexpr AlbumFacts CommaAlbum {"V1comma", "春游,2016", 3}; // picture names "a,b", "c,d,e", "plain"
inline constexpr AlbumFacts DotsAlbum {"V1dots", "../上级/相册", 4};
inline constexpr AlbumFacts HostileNamesAlbum {"V1hostile", "怪名字", 7}; // HostilePictureNames
inline constexpr AlbumFacts PngAlbum {"V1png", "PNG封面", 3}; // PNG cover and PNG pictures
inline constexpr AlbumFacts SameNameAlbum {"V1same", "同名照片", 10}; // every picture named SameName
inline constexpr AlbumFacts SmallAlbum {"V1three", "三张", 3}; // about 5 KB, 100 KB and 400 KB
inline constexpr AlbumFacts EscapedAlbum {"V1escaped", "相册", 2}; // name sent as \u76f8\u518c
inline constexpr AlbumFacts LargePictureAlbum {"V1large", "大图", 2}; // picture 1 is several MB
inline constexpr AlbumFacts PreWordsAlbum {"V1words", "含词的名字", 3}; // PreWordPictureNames

inline constexpr AlbumFacts MainAlbums[]
    = {BigAlbum, EmptyAlbum,    ForbiddenCharsAlbum, CommaAlbum,   DotsAlbum,         HostileNamesAlbum,
       PngAlbum, SameNameAlbum, SmallAlbum,          EscapedAlbum, LargePictureAlbum, PreWordsAlbum};
inline constexpr int MainAlbumCount = sizeof(MainAlbums) / sizeof(MainAlbums[0]);

inline constexpr AlbumFacts SecondAlbums[] = {{"V2scenery", "风景", 4}, {"V2family", "家人", 2}};
// Listed third in the second space in the today profile only: "allowAccess" : 0 and
// "priv" : 4; its photo list and floatview answer ErrorAnswer::NoAccess.
inline constexpr AlbumFacts PrivateAlbum {"V2private", "私密", 3};

// The third space, in list order.
// Items 1 and 5 are pictures; 2, 3, 4 are videos whose listed picture is the cover:
//   2: status 2, download_url and video_url /video/V3video/2.mp4
//   3: status 2, download_url "", video_url /video/V3video/3.mp4
//   4: status 1 (not transcoded), both addresses ""
inline constexpr AlbumFacts VideoAlbum {"V3video", "视频", 5};
// "priv" : 5 and "question" in its album object; its photo list wants `question` and
// `answer` = upper-case hex MD5 of QUrl::toPercentEncoding(the answer as UTF-8).
inline constexpr AlbumFacts QuestionAlbum {"V3question", "问答相册", 3};
// "priv" : 2; its photo list wants `answer` = lower-case hex MD5 of the password.
inline constexpr AlbumFacts PasswordAlbum {"V3password", "密码相册", 2};
inline constexpr AlbumFacts ThirdAlbums[] = {VideoAlbum, QuestionAlbum, PasswordAlbum};
inline constexpr char AlbumQuestion[] = "我的小学叫什么";
inline constexpr char AlbumQuestionAnswer[] = "实验小学";
inline constexpr char AlbumPassword[] = "abc123";

// Originals. In every listing each picture has "raw_upload" 1 and "raw" = its original
// (own space: /photo/r/<album>/<key>.<ext>; other spaces: "" in the photo list, the
// address only in floatview), except in SmallAlbum: picture 2 has "origin_upload" 1 and
// "origin_url" /photo/o/V1three/2.jpg instead, picture 3 no original at all.
// Originals are larger than the listed picture and mostly JPEG; PngAlbum's are PNG, and
// FormatsAlbum's pictures 1, 2, 3 have a PNG, a WebP (lossless) and a HEIC original.
inline constexpr AlbumFacts FormatsAlbum = DotsAlbum;

// Picture names exactly as they stand between the quotes of the photo list answer (the
// answer writes them raw: the second one holds one backslash, the sixth is empty).
inline constexpr const char *HostilePictureNames[] = {"a/b", "c\\d", "..", "../../outside", ".", "", "x..y"};
inline constexpr char SameName[] = "abc";
// The only picture names of the data set that hold the three letters p, r, e.
inline constexpr const char *PreWordPictureNames[] = {"prelude", "express", "cypress"};

// Page sizes of the photo list forms, and the most pictures one answer gives.
inline constexpr int OtherFormPageSize = 200; // form with callbackFun shine6
inline constexpr int OwnFormPageSize = 500; // form with callback shine0_Callback
inline constexpr int MaxPageNum = 500;

// Addresses of pictures, relative to the stand-in's root. A picture's key is its
// number at the start (1-based), for good; pictures added later get the next keys.
//   /photo/b/<album id>/<key>.<jpg|png>  the picture, high quality
//   /photo/c/<album id>/<key>.<jpg|png>  the same picture, normal (smaller)
//   /photo/r/<album id>/<key>.<jpg|png|webp|heic>  its original (raw)
//   /photo/o/<album id>/<key>.jpg        its original (origin_url)
//   /video/<album id>/<key>.mp4          a video (Referer rule: see the README)
//   /photo/a/<album id>/cover.<jpg|png> the album's cover; also served as /photo/m/...
//   /photo/sized/<seed>/<bytes>.jpg     a JPEG of exactly that many bytes (>= 4 KB),
//                                       streamed, never held whole in memory
// The answers write them with escaped slashes and the host the request was sent to.

} // namespace albivex::standin
