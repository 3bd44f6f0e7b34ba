#include "window/SelectedNamingMode.h"

#include "window/MainWindow.h"

#include <QRadioButton>

namespace albivex {

NamingMode SelectedNamingMode(const MainWindow &window)
{
    if (window.sequenceNamingButton->isChecked())
        return NamingMode::SequenceAndName;
    if (window.nameOnlyButton->isChecked())
        return NamingMode::NameOnly;
    if (window.randomNamingButton->isChecked())
        return NamingMode::NameAndRandom;
    return NamingMode::SequenceAndName;
}

} // namespace albivex
