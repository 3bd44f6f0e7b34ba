#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

namespace albivex {

// The choices of the main window the tool keeps from one run to the next. Only these
// plain choices are kept: never a QQ number, cookie, key or token.
struct RememberedChoices
{
    QString saveFolder; // the path box; empty when none was kept
    std::optional<int> qualityIndex; // index in the quality box
    std::optional<int> namingMode; // id of the naming option in its button group
    std::optional<bool> onlyNew; // the "只下载新照片" box
    std::optional<bool> writeMetadata; // the "写入照片信息" box
    std::optional<QPoint> windowPosition; // top-left corner of the window's frame

    // The file the program keeps them in: albivex.ini in the Albivex folder of the
    // user's configuration folder (~/.config/Albivex/albivex.ini, or below
    // $XDG_CONFIG_HOME). Needs the application's names set.
    static QString standardFile();

    // The choices kept in `file`; a missing file, key or unreadable value leaves that
    // choice unset.
    static RememberedChoices read(const QString &file);
    // Writes every set choice to `file` (and removes the unset ones); false when the
    // file could not be written.
    bool write(const QString &file) const;
};

// Whether a window whose frame is `frame` can be reached on one of the screens (their
// available areas): at least 100 x 20 pixels of the band of its top 30 rows, where it
// is dragged and closed, must lie on one screen.
bool IsReachableOnScreens(const QRect &frame, const QList<QRect> &screens);

} // namespace albivex
