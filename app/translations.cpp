#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

Translations::Translations()
{
    // The languages the user reads, most wanted first (LANGUAGE, else
    // LC_MESSAGES or LANG). One who reads English first needs nothing loaded:
    // the texts are written in English.
    const QLocale locale;
    const QStringList languages = locale.uiLanguages();
    const QLocale::Language first =
        languages.isEmpty() ? QLocale::C : QLocale(languages.first()).language();
    if (first == QLocale::English || first == QLocale::C)
        return;
    (void)Program.load(locale, QStringLiteral("tintgrabber"), QStringLiteral("_"),
                       QStringLiteral(":/i18n"));
    (void)Qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void Translations::install()
{
    if (!Qt.isEmpty())
        QCoreApplication::installTranslator(&Qt);
    if (!Program.isEmpty())
        QCoreApplication::installTranslator(&Program);
}

QString Translations::translated(const char *context, const char *text) const
{
    const QString translated = Program.translate(context, text);
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
}
