#pragma once

#include <QTranslator>

// The program's texts in the user's language: the translation built into the
// program for the first of the locale's languages that has one (English, the
// texts as written, when none has), and Qt's own texts (standard buttons, a
// field's menu) from Qt's translations where they are installed.
class Translations
{
public:
    Translations();

    // From now on the application's texts come translated; they stay so
    // while this object lives.
    void install();

    // A text translated as QCoreApplication::translate would translate it
    // once installed, for what is said before the application exists.
    QString translated(const char *context, const char *text) const;

private:
    QTranslator Program;
    QTranslator Qt;
};
