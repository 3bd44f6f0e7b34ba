#pragma once

#include "storage/NamingMode.h"

#include <QString>

namespace albivex {

// Where saved pictures go: save folder / owner QQ number / album folder / file name.
//
// The separator is "/" (QDir and QFile accept it on every platform). The save folder
// is used as typed: a trailing separator in it simply stands doubled in the formed
// path, which the file system reads as one.
//
// Safety: the owner, the album folder name and the picture name each pass through
// SafePathComponent, so whatever the names hold, the formed file path lies directly
// inside its album folder, which lies directly inside the owner folder.

// File system rules for SafePathComponent. The native rules apply by default; the
// other set is there to be checked on any machine.
enum class FileSystemRules { Posix, Windows };

#ifdef Q_OS_WIN
inline constexpr FileSystemRules NativeFileSystemRules = FileSystemRules::Windows;
#else
inline constexpr FileSystemRules NativeFileSystemRules = FileSystemRules::Posix;
#endif

// Longest file or folder name, in bytes of UTF-8, that common file systems take.
inline constexpr int MaxNameBytes = 255;

// Bytes of the UTF-8 form of text (a lone surrogate counted as the replacement
// character it becomes).
qsizetype Utf8Size(const QString &text);

// The longest head of `text` whose UTF-8 form has at most maxBytes bytes; a
// surrogate pair is kept or dropped whole.
QString CutToUtf8Bytes(const QString &text, qsizetype maxBytes);

// Removes every \ : * " < > | (in that order); nothing else is touched. Album names
// that differ only in these characters share a folder ("a:b" and "ab").
QString CleanFolderName(const QString &name);

// Makes one path component safe: removes "/", "\" and control characters (with the
// Windows rules also ? < > : " | * and trailing dots and blanks, and device names
// such as CON or lpt1 get a leading "_"); cuts to MaxNameBytes bytes of UTF-8 at a
// character boundary; a result that is empty, "." or ".." becomes "_".
QString SafePathComponent(const QString &name, FileSystemRules rules = NativeFileSystemRules);

// The picture's file name, always ending in ".jpg" (appended even when the name
// already ends in an extension):
// - SequenceAndName: sequence in decimal + "." + name + ".jpg" (12, "abc" -> "12.abc.jpg");
// - NameOnly: name + ".jpg";
// - NameAndRandom: name + RandomDigits() + ".jpg".
// The name first passes through SafePathComponent (an empty name becomes "_", so
// sequence 7 gives "7._.jpg"). When the result would exceed MaxNameBytes bytes of
// UTF-8, the name part is shortened at a character boundary; the sequence, the
// random digits and ".jpg" stay.
QString PictureFileName(NamingMode mode, int sequence, const QString &pictureName,
                        FileSystemRules rules = NativeFileSystemRules);

// save folder + "/" + SafePathComponent(ownerUin), the space's folder, as the album
// folders are laid out (AlbumFolderPath); empty when either is empty.
QString SpaceFolderPath(const QString &saveFolder, const QString &ownerUin);

// saveFolder + "/" + owner + "/" + album folder name, where the album folder name is
// SafePathComponent(CleanFolderName(albumName)) and the owner is
// SafePathComponent(ownerUin). With `create`, the owner folder and then the album
// folder are made when missing, one level each, and only when the save folder exists
// as a folder (an empty save folder text counts as missing): the save folder itself
// is never made. A failure is not reported: the save into a missing folder fails
// later. The picture's full path is this + "/" + PictureFileName(...).
QString AlbumFolderPath(const QString &saveFolder, const QString &ownerUin, const QString &albumName,
                        bool create = true);

} // namespace albivex
