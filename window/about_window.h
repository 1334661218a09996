#pragma once

#include <QDialog>

// The About window: the program's name and version, a mail link and a
// home-page link, and three short paragraphs on how to use the sampler. OK,
// Escape and the close box end it. Made for one opening: construct, exec(),
// destroy, so every opening starts from fresh controls.
class AboutWindow : public QDialog
{
public:
    explicit AboutWindow(QWidget *parent = nullptr);
};
