#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace albivex {

// The user's words and dates to keep inside a saved picture; empty or invalid values
// are not written.
struct PictureWords
{
    QDateTime shootTime; // written in the services' time (UTC+8)
    QString caption;
    QString name;
};

// The picture with its words written in, or why they could not be.
struct MetadataWrite
{
    QByteArray bytes; // the new picture; empty when `error` is set
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Writes `words` into the metadata of a JPEG, PNG or WebP picture and returns the new
// bytes: the shooting time as EXIF DateTimeOriginal (with OffsetTimeOriginal +08:00)
// only when the picture has no DateTimeOriginal of its own; the caption as EXIF
// ImageDescription and XMP dc:description; the name as XMP dc:title. Only metadata
// segments and chunks change: the compressed image data stays byte for byte. Words
// with nothing to write give the bytes back untouched.
//
// Any other format (HEIC, GIF, video), a header the metadata library cannot take, or
// anything that library throws gives an error value; nothing is thrown. Safe to call
// from several threads at once. The input may come straight from the network.
MetadataWrite WritePictureMetadata(const QByteArray &picture, const PictureWords &words);

// Whether a picture that starts with `head` goes to WritePictureMetadata at all: a
// JPEG, PNG or WebP, which take the words, and a HEIC, which could hold them but the
// library does not write them (counted as refused). A GIF or BMP has no place for
// them and is kept byte for byte as served, without a try; nor does anything else.
bool TakesPictureWords(const QByteArray &head);

} // namespace albivex
