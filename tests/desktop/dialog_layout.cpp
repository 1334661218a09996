// Prints where the program's windows put their controls on this display, in
// client pixels as the templates and the window's font give them, so that
// desktop tests and benches look a control up instead of repeating the
// templates' numbers. One line per window and per control they use, named as
// in resources/resource_ids.h:
//   IDD_SAMPLER 0 0 WIDTH HEIGHT         a window's client area
//   IDC_ZOOMAREA LEFT TOP WIDTH HEIGHT   a control in its window
#include "resources/dialog_template.h"
#include "resources/resource_ids.h"
#include "widgets/dialog_builder.h"

#include <QApplication>

#include <cstdio>

using Names = std::initializer_list<std::pair<int, const char *>>;
#define NAMED(id)                                                                                  \
    {                                                                                              \
        id, #id                                                                                    \
    }

static void printLayout(const DialogTemplate &dialog, const char *name, Names controls)
{
    const auto units = dialogBaseUnitsOf(dialogFont(dialog.fontFace, dialog.fontPoints));
    const QSize size = dialogRectToPixels({0, 0, dialog.width, dialog.height}, units).size();
    std::printf("%s 0 0 %d %d\n", name, size.width(), size.height());
    for (const ControlTemplate &control : dialog.controls) {
        const QRect r = dialogRectToPixels(control.rect, units);
        for (const auto &[id, controlName] : controls) {
            if (id == control.id)
                std::printf("%s %d %d %d %d\n", controlName, r.x(), r.y(), r.width(), r.height());
        }
    }
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    printLayout(samplerWindowTemplate(), "IDD_SAMPLER",
                {NAMED(IDC_ZOOMAREA), NAMED(IDC_COLORAREA), NAMED(IDC_COPYRED),
                 NAMED(IDC_COPYGREEN), NAMED(IDC_COPYBLUE), NAMED(IDC_COPYHASHHEX),
                 NAMED(IDC_COPYHEX), NAMED(IDC_COPYPOVRAY), NAMED(IDC_REDTEXT),
                 NAMED(IDC_GREENTEXT), NAMED(IDC_BLUETEXT), NAMED(IDC_HASHHEXTEXT),
                 NAMED(IDC_HEXTEXT), NAMED(IDC_POVRAYTEXT), NAMED(IDC_TOPMOST), NAMED(IDC_ZOOMLIST),
                 NAMED(ID_CANCEL)});
    // The About window's identifiers reuse numbers of the sampler's.
    printLayout(aboutWindowTemplate(), "IDD_ABOUT",
                {NAMED(ID_OK), NAMED(IDC_MAILLINK), NAMED(IDC_WEBLINK)});
    return 0;
}
