#pragma once

#include <QString>

namespace albivex {

// Which size of every picture an album download fetches (the quality box:
// index 0 "普通", index 1 "高清", index 2 "原图").
enum class PictureQuality {
    Normal,
    High,
    Original, // the picture as uploaded (OriginalAddress, floatview), else High
};

// The quality of the box's item at `index`; High for any index the box does not have.
PictureQuality QualityOfBoxIndex(int index);
// The box's index of a quality; QualityOfBoxIndex gives it back.
int BoxIndexOfQuality(PictureQuality quality);

// The address fetched for a listed picture address: with Normal every "/b/" becomes
// "/c/" (the services keep the smaller copy under the "c" folder); with High, and for
// an address without "/b/", the address is unchanged. Original keeps it unchanged too:
// the listed address is what is saved of a picture without an original. Folder and
// file names never depend on the quality.
QString QualityAddress(const QString &address, PictureQuality quality);

} // namespace albivex
