#pragma once

namespace albivex::standin {

// How the stand-in plays the services. Default answers as the tool's first protocol
// expects; Today behaves as the real service is publicly reported to behave now
// (p_skey from the Qzone landing page and g_tk over it, album lists in pages of 30,
// a photo key cookie for other spaces' pictures, \u escapes in picture texts).
enum class Profile { Default, Today };

} // namespace albivex::standin
