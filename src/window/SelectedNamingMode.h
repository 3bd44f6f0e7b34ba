#pragma once

#include "storage/NamingMode.h"

namespace albivex {

class MainWindow;

// The naming option chosen in the main window, read afresh at every call: the first
// of sequenceNamingButton, nameOnlyButton, randomNamingButton that is selected ("序号+原名保存(推荐)" when
// none is).
NamingMode SelectedNamingMode(const MainWindow &window);

} // namespace albivex
