#pragma once

#include <QLocale>

class QCoreApplication;
class QTranslator;

// Installs Qt's own catalogue for locale, so that the toolkit's texts (the
// message boxes' buttons, the file dialog) speak the operator's language.
// The translator is a child of application and lives as long as it; returns
// it, or nullptr when Qt has no catalogue for locale.
QTranslator* installToolkitTranslations(QCoreApplication& application,
                                        const QLocale& locale = QLocale::system());
