#pragma once

#include <QByteArrayView>
#include <QString>

// The two code pages in which the earlier program's tables hold Russian texts:
// 866 (DOS) and 1251 (Windows).
bool IsKnownCodePage(int codePage);

// The bytes as text of the code page (866 or 1251; any other is read as 1251).
QString DecodeLegacyText(QByteArrayView bytes, int codePage);
