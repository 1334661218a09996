#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>

// The program's pictures, compiled in. They need a running QGuiApplication.

// IDI_APP, the four arrows, 16 to 64 pixels.
QIcon appIcon();

// IDC_SAMPLER: the four arrows, hot spot (15, 15) where they meet.
QCursor samplerCursor();

// IDC_LINKHAND: a two-colour pointing hand, hot spot (0, 0).
QCursor linkHandCursor();

// The 32 × 32 picture of icon IDI_APP or IDI_ABOUTPIC; null for any other.
QPixmap iconPicture(int id);
