#pragma once

#include <QString>

namespace albivex::standin {

// The g_tk the services expect over a key (skey, or today the sign-in's p_skey), as
// decimal text. Worked out the way the services' own web pages do it, on its own rather
// than with the tool's code, so that a tool that signs wrongly is refused here:
// hash = 5381, then for every UTF-16 unit hash += (hash << 5) + unit, where the shift
// acts on the hash's low 32 bits as a signed number; the answer is hash & 0x7fffffff.
QString PageToken(const QString &key);

} // namespace albivex::standin
