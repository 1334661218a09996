// Prints the dialog base units of the sampler window's font on the current
// display, "X Y", so that desktop tests can work out the window's pixels on
// their own.
#include "resources/dialog_template.h"
#include "widgets/dialog_builder.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const DialogTemplate &sampler = samplerWindowTemplate();
    const auto units = dialogBaseUnitsOf(dialogFont(sampler.fontFace, sampler.fontPoints));
    std::printf("%d %d\n", units.x, units.y);
    return 0;
}
