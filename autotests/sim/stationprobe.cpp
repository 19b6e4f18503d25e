#include "stationprobe.h"

#include "shared/codecs.h"

QString ReceivedUnit::name() const
{
    return ByteToHexText(static_cast<std::uint8_t>(status >= 0 ? status : frame.Code));
}

void UnitRecorder::HandleStatusCode(std::uint8_t code)
{
    units.append({ nowMs, code, {} });
}

void UnitRecorder::DispatchFrame(const MessageFrame &frame)
{
    units.append({ nowMs, -1, frame });
}

StationProbe::StationProbe(SimStation::Options options)
    : station(clock, options)
{
    QObject::connect(&station, &SimStation::transmit, [this](const QByteArray &bytes) {
        raw += bytes;
        recorder.nowMs = start.msecsTo(clock.now());
        for (char b : bytes) {
            assembler.HandleReceivedByte(static_cast<std::uint8_t>(b));
        }
    });
}

QStringList StationProbe::names() const
{
    QStringList out;
    for (const ReceivedUnit &unit : recorder.units) {
        out.append(unit.name());
    }
    return out;
}

QList<ReceivedUnit> StationProbe::frames(int code) const
{
    QList<ReceivedUnit> out;
    for (const ReceivedUnit &unit : recorder.units) {
        if (unit.status < 0 && unit.frame.Code == code) {
            out.append(unit);
        }
    }
    return out;
}

QList<ReceivedUnit> StationProbe::statuses(int code) const
{
    QList<ReceivedUnit> out;
    for (const ReceivedUnit &unit : recorder.units) {
        if (unit.status == code) {
            out.append(unit);
        }
    }
    return out;
}

void StationProbe::clear()
{
    recorder.units.clear();
    raw.clear();
}

QString FramingProblem(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (b >= 0x90 && b <= 0xDF) {
            continue;
        }
        if (b < 0xE0 || (b & 1)) {
            return QStringLiteral("byte %1 at %2 outside a frame").arg(ByteToHexText(b)).arg(i);
        }
        if (i + 9 >= bytes.size()) {
            return QStringLiteral("frame %1 at %2 cut short").arg(ByteToHexText(b)).arg(i);
        }
        for (int k = 1; k <= 8; ++k) {
            const auto n = static_cast<std::uint8_t>(bytes[i + k]);
            if (n < 0x80 || n > 0x8F) {
                return QStringLiteral("frame %1 at %2: %3 is no nibble")
                    .arg(ByteToHexText(b))
                    .arg(i)
                    .arg(ByteToHexText(n));
            }
        }
        if (static_cast<std::uint8_t>(bytes[i + 9]) != (b | 1)) {
            return QStringLiteral("frame %1 at %2 not closed by its own byte")
                .arg(ByteToHexText(b))
                .arg(i);
        }
        i += 9;
    }
    return {};
}

bool IsSubsequence(const QStringList &expected, const QStringList &actual)
{
    qsizetype at = 0;
    for (const QString &item : actual) {
        if (at < expected.size() && item == expected[at]) {
            ++at;
        }
    }
    return at == expected.size();
}

QString Cells(const MessageFrame &frame)
{
    return FrameNibblesToText(frame, MessageFrame::NibbleCells).text;
}
