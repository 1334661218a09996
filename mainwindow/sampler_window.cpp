#include "mainwindow/sampler_window.h"

#include "resources/dialog_template.h"
#include "resources/zoom_items.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

SamplerWindow::SamplerWindow(QWidget *parent)
    : QDialog(parent), Controls(DialogBuilder(SamplerWindowTemplate()).build(*this)),
      TopmostCheck(Controls.control<QCheckBox>(IDC_TOPMOST)),
      ZoomList(Controls.control<QComboBox>(IDC_ZOOMLIST)),
      ColorArea(Controls.control<QFrame>(IDC_COLORAREA)),
      ZoomArea(Controls.control<QFrame>(IDC_ZOOMAREA))
{
    // Pressing in either area starts a drag that the window itself handles.
    ZoomArea->setAttribute(Qt::WA_TransparentForMouseEvents);
    ColorArea->setAttribute(Qt::WA_TransparentForMouseEvents);
    fillZoomList();
}

QLineEdit *SamplerWindow::field(int id) const
{
    if (std::find(TEXT_FIELD_IDS.begin(), TEXT_FIELD_IDS.end(), id) == TEXT_FIELD_IDS.end())
        return nullptr;
    return Controls.control<QLineEdit>(id);
}

DialogBaseUnits SamplerWindow::baseUnits() const
{
    return DialogBaseUnitsOf(font());
}

QPushButton *SamplerWindow::button(int id) const
{
    return Controls.control<QPushButton>(id);
}

void SamplerWindow::fillZoomList()
{
    for (int index = 0; index < ZOOM_ITEM_COUNT; ++index)
        ZoomList->addItem(ZoomItemText(index));
}
