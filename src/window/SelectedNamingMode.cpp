#include "window/SelectedNamingMode.h"

#include "window/MainWindow.h"

#include <QRadioButton>

namespace albivex {

NamingMode SelectedNamingMode(const Form1 &window)
{
    if (window.mm_0->isChecked())
        return NamingMode::SequenceAndName;
    if (window.mm_1->isChecked())
        return NamingMode::NameOnly;
    if (window.mm_2->isChecked())
        return NamingMode::NameAndRandom;
    return NamingMode::SequenceAndName;
}

} // namespace albivex
