#pragma once

class QCoreApplication;

// Loads Qt's own Russian texts (standard buttons, the print preview) when installed.
void InstallRussianTranslation(QCoreApplication &app);
