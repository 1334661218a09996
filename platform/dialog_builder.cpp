#include "platform/dialog_builder.h"

#include "platform/etched_frame.h"
#include "platform/static_edge_field.h"
#include "resources/pictures.h"
#include "resources/resource_ids.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include <algorithm>

namespace
{

// A static text's caption with mnemonic marks taken out: "&x" shows as "x",
// "&&" as "&". A label has no buddy to give the focus to, so there is nothing
// for the mnemonic to do but disappear.
QString WithoutMnemonics(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

// The control's widget: the factory's when there is one, else one of the
// kind's class. A factory that breaks its contract is a programming error;
// outside debug builds the window still gets a working control.
template <class Widget>
Widget *Create(const DialogBuilder::ControlFactory *factory, QWidget *parent)
{
    if (factory == nullptr)
        return new Widget(parent);
    QWidget *made = (*factory)(parent);
    auto *typed = dynamic_cast<Widget *>(made);
    Q_ASSERT_X(typed != nullptr, "DialogBuilder",
               "a control factory made a widget of another kind");
    if (typed == nullptr) {
        delete made;
        return new Widget(parent);
    }
    return typed;
}

QPushButton *DressPushButton(QPushButton *button, const QString &caption, bool isDefault, int id,
                             QDialog &dialog)
{
    button->setText(caption);
    button->setAutoDefault(isDefault);
    button->setDefault(isDefault);
    if (id == ID_OK)
        QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
    else if (id == ID_CANCEL)
        QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::reject);
    return button;
}

QLabel *DressLabel(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

void DialogControls::add(int id, QWidget *control)
{
    byId_.emplace_back(id, control);
}

QWidget *DialogControls::widget(int id) const
{
    for (const auto &[known, control] : byId_) {
        if (known == id)
            return control;
    }
    return nullptr;
}

DialogBuilder::DialogBuilder(const DialogTemplate &dialogTemplate)
    : DialogBuilder(dialogTemplate, DialogFont(dialogTemplate.fontFace, dialogTemplate.fontPoints))
{
}

DialogBuilder::DialogBuilder(const DialogTemplate &dialogTemplate, const QFont &font)
    : template_(dialogTemplate), font_(font), units_(DialogBaseUnitsOf(font))
{
}

DialogBuilder &DialogBuilder::makeControlWith(int id, ControlFactory factory)
{
    factories_.emplace_back(id, std::move(factory));
    return *this;
}

const DialogBuilder::ControlFactory *DialogBuilder::factoryFor(int id) const
{
    if (id == IDC_STATIC)
        return nullptr;
    for (const auto &[known, factory] : factories_) {
        if (known == id)
            return &factory;
    }
    return nullptr;
}

DialogControls DialogBuilder::build(QDialog &dialog) const
{
    // No minimise or maximise box, and no resizing: the layout is fixed. A
    // window of its own is a normal top-level window, which task bars list.
    const Qt::WindowFlags kind = template_.appWindow ? Qt::Window : Qt::Dialog;
    dialog.setWindowFlags(kind | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setWindowTitle(QString::fromUtf8(template_.title));
    dialog.setFont(font_);
    dialog.setFixedSize(DialogSizeToPixels(template_.width, template_.height, units_));

    DialogControls controls;
    QWidget *previousTabStop = nullptr;
    const StaticEdgeField *firstField = nullptr;
    for (const ControlTemplate &entry : template_.controls) {
        QWidget *control = createControl(entry, dialog);
        // The window's fields share one font, and so what they learn of it.
        if (auto *field = dynamic_cast<StaticEdgeField *>(control)) {
            if (firstField != nullptr)
                field->shareTextChecksWith(*firstField);
            else
                firstField = field;
        }
        // Later siblings are drawn above earlier ones; lowering each in turn
        // leaves the first control on top.
        control->lower();
        if (control->focusPolicy() & Qt::TabFocus) {
            if (previousTabStop != nullptr)
                QWidget::setTabOrder(previousTabStop, control);
            previousTabStop = control;
        }
        if (entry.id != IDC_STATIC)
            controls.add(entry.id, control);
    }
    return controls;
}

QWidget *DialogBuilder::createControl(const ControlTemplate &entry, QDialog &dialog) const
{
    QWidget *parent = &dialog;
    const ControlFactory *factory = factoryFor(entry.id);
    const QString caption = QString::fromUtf8(entry.caption);
    QRect rect = DialogRectToPixels(entry.rect, units_);
    QWidget *control = nullptr;
    switch (entry.kind) {
    case ControlKind::EtchedFrame:
        control = Create<EtchedFrame>(factory, parent);
        break;
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
        control = DressPushButton(Create<QPushButton>(factory, parent), caption,
                                  entry.kind == ControlKind::DefaultPushButton, entry.id, dialog);
        break;
    case ControlKind::ReadOnlyField:
        control = Create<StaticEdgeField>(factory, parent);
        break;
    case ControlKind::AutoCheckBox: {
        auto *box = Create<QCheckBox>(factory, parent);
        box->setText(caption);
        control = box;
        break;
    }
    case ControlKind::DropDownList: {
        auto *list = Create<QComboBox>(factory, parent);
        // The template's height includes the dropped list; the closed box is
        // one line of text high.
        const int closedHeight = units_.y + 8;
        const int listHeight = rect.height() - closedHeight;
        list->setMaxVisibleItems(std::max(1, listHeight / std::max(1, units_.y)));
        rect.setHeight(closedHeight);
        control = list;
        break;
    }
    case ControlKind::StaticText:
        control = DressLabel(Create<QLabel>(factory, parent), WithoutMnemonics(caption));
        break;
    case ControlKind::StaticTextNoPrefix:
        control = DressLabel(Create<QLabel>(factory, parent), caption);
        break;
    case ControlKind::StaticIcon: {
        // An icon control takes its picture's size, whatever the template says.
        const QPixmap picture = IconPicture(entry.iconId);
        auto *label = Create<QLabel>(factory, parent);
        label->setPixmap(picture);
        rect.setSize(picture.isNull() ? QSize(0, 0) : picture.size());
        control = label;
        break;
    }
    case ControlKind::GroupBox: {
        auto *box = Create<QGroupBox>(factory, parent);
        box->setTitle(caption);
        control = box;
        break;
    }
    }
    control->setGeometry(rect);
    return control;
}
