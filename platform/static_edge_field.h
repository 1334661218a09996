#pragma once

#include <QLineEdit>

// A read-only single-line text field with a thin sunken edge: one pixel of
// shadow along the top and left, one of light along the bottom and right, on
// the window's background colour like any read-only field.
class StaticEdgeField : public QLineEdit
{
public:
    explicit StaticEdgeField(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
