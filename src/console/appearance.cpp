#include "console/appearance.h"

#include <QApplication>
#include <QFont>

void ApplyProgramAppearance(QApplication &app)
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    app.setFont(font);
}
