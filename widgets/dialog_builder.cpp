#include "widgets/dialog_builder.h"

#include "resources/pictures.h"
#include "resources/resource_ids.h"
#include "widgets/color_field.h"
#include "widgets/etched_frame.h"
#include "widgets/link_label.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPushButton>

#include <algorithm>

namespace
{

// number × numerator / denominator, rounded half away from zero.
int scaledRounded(int number, int numerator, int denominator)
{
    const long long product = 1LL * number * numerator;
    return int((product + (product < 0 ? -denominator : denominator) / 2) / denominator);
}

// A label has no buddy to focus, so a mnemonic has nothing to do but go:
// "&x" shows as "x", "&&" as "&".
QString withoutMnemonics(const QString &caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

QLabel *plainLabel(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget *createControl(const ControlTemplate &entry, QDialog &dialog, DialogBaseUnits units)
{
    const QString caption = QString::fromUtf8(entry.caption);
    QRect rect = dialogRectToPixels(entry.rect, units);
    QWidget *control = nullptr;
    switch (entry.kind) {
    case ControlKind::EtchedFrame:
        control = new EtchedFrame(&dialog);
        break;
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
        auto *button = new QPushButton(caption, &dialog);
        const bool isDefault = entry.kind == ControlKind::DefaultPushButton;
        button->setAutoDefault(isDefault);
        button->setDefault(isDefault);
        if (entry.id == ID_OK)
            QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
        else if (entry.id == ID_CANCEL)
            QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::reject);
        control = button;
        break;
    }
    case ControlKind::ReadOnlyField:
        control = new ColorField(&dialog);
        break;
    case ControlKind::AutoCheckBox:
        control = new QCheckBox(caption, &dialog);
        break;
    case ControlKind::DropDownList: {
        auto *list = new QComboBox(&dialog);
        // The template's height includes the dropped list; the closed box is
        // one line high.
        const int closedHeight = units.y + 8;
        list->setMaxVisibleItems(std::max(1, (rect.height() - closedHeight) / units.y));
        // Styles whose pop-up centres on the box (Fusion) ignore that count
        // and show every item; a list dropped below the box honours it with
        // any style, scrolled to the current item.
        list->setStyleSheet(QStringLiteral("combobox-popup: 0"));
        rect.setHeight(closedHeight);
        control = list;
        break;
    }
    case ControlKind::StaticText:
        control = plainLabel(new QLabel(&dialog), withoutMnemonics(caption));
        break;
    case ControlKind::StaticTextNoPrefix:
        control = plainLabel(new QLabel(&dialog), caption);
        break;
    case ControlKind::LinkText:
        control = plainLabel(new LinkLabel(&dialog), caption);
        break;
    case ControlKind::StaticIcon: {
        // An icon control takes its picture's size, whatever the template says.
        auto *label = new QLabel(&dialog);
        label->setPixmap(iconPicture(entry.iconId));
        rect.setSize(label->pixmap().size());
        control = label;
        break;
    }
    case ControlKind::GroupBox:
        control = new QGroupBox(caption, &dialog);
        break;
    }
    control->setGeometry(rect);
    return control;
}

} // namespace

DialogBaseUnits dialogBaseUnitsOf(const QFont &font)
{
    // The dialog manager measures without kerning.
    QFont measured = font;
    measured.setKerning(false);
    const QFontMetrics metrics(measured);
    const int extent = metrics.horizontalAdvance(
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    return {(extent / 26 + 1) / 2, metrics.height()};
}

QRect dialogRectToPixels(const DialogRect &rect, DialogBaseUnits units)
{
    return {scaledRounded(rect.x, units.x, 4), scaledRounded(rect.y, units.y, 8),
            scaledRounded(rect.width, units.x, 4), scaledRounded(rect.height, units.y, 8)};
}

QFont dialogFont(const char *face, int points)
{
    QFont font(QString::fromLatin1(face));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(scaledRounded(points, 96, 72));
    return font;
}

QHash<int, QWidget *> buildDialog(QDialog &dialog, const DialogTemplate &dialogTemplate)
{
    // Fixed layout: no minimise or maximise box, no resizing. A window of its
    // own is a normal top-level window, which task bars list.
    dialog.setWindowFlags((dialogTemplate.appWindow ? Qt::Window : Qt::Dialog) |
                          Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QString::fromUtf8(dialogTemplate.title));
    const QFont font = dialogFont(dialogTemplate.fontFace, dialogTemplate.fontPoints);
    dialog.setFont(font);
    const DialogBaseUnits units = dialogBaseUnitsOf(font);
    dialog.setFixedSize(
        dialogRectToPixels({0, 0, dialogTemplate.width, dialogTemplate.height}, units).size());

    QHash<int, QWidget *> controls;
    QWidget *previousTabStop = nullptr;
    for (const ControlTemplate &entry : dialogTemplate.controls) {
        QWidget *control = createControl(entry, dialog, units);
        // Later siblings are drawn above earlier ones; lowering each in turn
        // leaves the first control on top.
        control->lower();
        if (control->focusPolicy() & Qt::TabFocus) {
            if (previousTabStop)
                QWidget::setTabOrder(previousTabStop, control);
            previousTabStop = control;
        }
        if (entry.id != IDC_STATIC)
            controls.insert(entry.id, control);
    }
    return controls;
}
