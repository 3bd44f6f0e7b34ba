#pragma once

#include <QByteArray>

namespace albivex {

// What the first bytes of a body say about it. Services answer a missing or refused
// picture with an HTML page and a success status; only the leading bytes tell.
enum class PictureSignature {
    NeedMoreBytes, // the bytes so far could still start a picture
    Picture, // JPEG, PNG, GIF, BMP or WebP
    NotPicture,
};

// Enough leading bytes to decide for every format known here (WebP needs twelve).
constexpr int PictureSignatureLength = 12;

// `complete` tells that no more bytes will come (a body shorter than the longest
// signature); then an undecided head counts as no picture.
PictureSignature CheckPictureSignature(const QByteArray &head, bool complete);

} // namespace albivex
