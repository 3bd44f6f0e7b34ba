#pragma once

#include "storage/NamingMode.h"

namespace albivex {

class Form1;

// The naming option chosen in the main window, read afresh at every call: the first
// of mm_0, mm_1, mm_2 that is selected ("序号+原名保存(推荐)" when none is).
NamingMode SelectedNamingMode(const Form1 &window);

} // namespace albivex
