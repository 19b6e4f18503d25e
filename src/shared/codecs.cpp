#include "shared/codecs.h"

#include <algorithm>

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

int upperHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

QChar upperLatin(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? QChar(u - (u'a' - u'A')) : c;
}

} // namespace

QChar NibbleToHexChar(std::uint8_t b)
{
    return QLatin1Char(hexDigits[b & 0x0F]);
}

QString ByteToHexText(std::uint8_t b)
{
    const QChar digits[2] = { NibbleToHexChar(b >> 4), NibbleToHexChar(b) };
    return QString(digits, 2);
}

int HexTextToValue(QStringView text)
{
    if (text.size() != 1 && text.size() != 2) {
        return 0;
    }
    int value = 0;
    for (QChar c : text) {
        const int digit = upperHexDigit(upperLatin(c));
        if (digit < 0) {
            break;
        }
        value = value * 16 + digit;
    }
    return value;
}

int HexDigitValue(QChar c)
{
    return std::max(0, upperHexDigit(upperLatin(c)));
}

FrameNibbles FrameNibblesToText(const MessageFrame &frame, int n)
{
    if (n < 0) {
        n = frame.Count;
    }
    n = std::min(n, MessageFrame::NibbleCells);
    FrameNibbles out;
    out.text.reserve(n);
    for (int i = n - 1; i >= 0; --i) {
        out.value = out.value * 16 + (frame.Nibble[i] & 0x0F);
    }
    for (int i = 0; i < n; ++i) {
        out.text.append(NibbleToHexChar(frame.Nibble[i]));
    }
    return out;
}

QString PadWithZeros(const QString &text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), u'0') + text;
}

QString KeepDigits(const QString &text, bool hexLetters)
{
    QString kept = text;
    for (QChar &c : kept) {
        if (c >= u'0' && c <= u'9') {
            continue;
        }
        const QChar upper = upperLatin(c);
        c = hexLetters && upper >= u'A' && upper <= u'F' ? upper : QChar(u'0');
    }
    return kept;
}

QString ZeroPaddedNumber(long long value, int width)
{
    return PadWithZeros(QString::number(value), width);
}
