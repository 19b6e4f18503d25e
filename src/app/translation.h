#pragma once

class QCoreApplication;

// Loads Qt's own Russian texts (standard buttons, the print preview) when installed,
// and takes the Russian date forms when the system gives no language.
void InstallRussianTranslation(QCoreApplication &app);
