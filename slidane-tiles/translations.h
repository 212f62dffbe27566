#pragma once

class QCoreApplication;

// Puts the program's texts and Qt's own (dialog buttons) in the language the
// locale asks for (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), where there is a
// translation.
void loadTranslations(QCoreApplication &app);
