// Prints where the program's windows put their controls on this display, in
// client pixels as the templates and the window's font give them, so that
// desktop tests and benches look a control up instead of repeating the
// templates' numbers. One line per window and per control they use, named as
// in resources/resource_ids.h:
//   IDD_SAMPLER 0 0 WIDTH HEIGHT         a window's client area
//   IDC_ZOOMAREA LEFT TOP WIDTH HEIGHT   a control in its window
//   COPY0 ... / TEXT0 ...                each colour format's copy button and
//                                        field, in the formats' order
//   INSIDE_ZOOMAREA ...                  where the magnifier draws
// With "--texts RRGGBB" it prints that colour's texts instead, one a line.
#include "resources/dialog_template.h"
#include "resources/resource_ids.h"
#include "sampling/color_formats.h"
#include "sampling/magnifier.h"
#include "widgets/dialog_builder.h"

#include <QApplication>

#include <cstdio>

using Names = std::initializer_list<std::pair<int, const char *>>;
#define NAMED(id)                                                                                  \
    {                                                                                              \
        id, #id                                                                                    \
    }

static void printRect(const QString &name, const QRect &r)
{
    std::printf("%s %d %d %d %d\n", qPrintable(name), r.x(), r.y(), r.width(), r.height());
}

static void printLayout(const DialogTemplate &dialog, const char *name, Names controls)
{
    const auto units = dialogBaseUnitsOf(dialogFont(dialog.fontFace, dialog.fontPoints));
    printRect(name, dialogRectToPixels({0, 0, dialog.width, dialog.height}, units));
    for (const ControlTemplate &control : dialog.controls) {
        const QRect r = dialogRectToPixels(control.rect, units);
        for (const auto &[id, controlName] : controls) {
            if (id == control.id)
                printRect(controlName, r);
        }
        if (control.id == IDC_ZOOMAREA && &dialog == &samplerWindowTemplate())
            printRect("INSIDE_ZOOMAREA", insideFrame(r));
        for (std::size_t i = 0; &dialog == &samplerWindowTemplate() && i < COLOR_FORMAT_COUNT;
             ++i) {
            if (control.id == COLOR_FORMATS[i].buttonId)
                printRect(QStringLiteral("COPY%1").arg(i), r);
            if (control.id == COLOR_FORMATS[i].fieldId)
                printRect(QStringLiteral("TEXT%1").arg(i), r);
        }
    }
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--texts") == 0) {
        for (const QString &text :
             FormatColorTexts(0xFF000000u | QString(argv[2]).toUInt(nullptr, 16)))
            std::printf("%s\n", qPrintable(text));
        return 0;
    }
    printLayout(samplerWindowTemplate(), "IDD_SAMPLER",
                {NAMED(IDC_ZOOMAREA), NAMED(IDC_COLORAREA), NAMED(IDC_COPYHASHHEX),
                 NAMED(IDC_TOPMOST), NAMED(IDC_ZOOMLIST), NAMED(ID_CANCEL)});
    // The About window's identifiers reuse numbers of the sampler's.
    printLayout(aboutWindowTemplate(), "IDD_ABOUT",
                {NAMED(ID_OK), NAMED(IDC_MAILLINK), NAMED(IDC_WEBLINK)});
    return 0;
}
