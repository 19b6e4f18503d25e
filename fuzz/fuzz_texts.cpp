// Every text the program parses or encodes, fed with arbitrary characters: hex texts,
// zero padding and the digit rule, the parameter window's reads, the service word and
// reserve codecs, the result decoders, field texts of the tables (dates, times, short
// integers), port names and Options.dat.
#include "fuzzinvariant.h"

#include "link/optionsfile.h"
#include "link/portnames.h"
#include "params/parameterreads.h"
#include "params/reservecodec.h"
#include "params/servicewordcodec.h"
#include "records/fieldvalues.h"
#include "records/tableeditmodel.h"
#include "records/tableschema.h"
#include "shared/codecs.h"
#include "shared/resulttext.h"
#include "shared/stationparameters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// The input cut at its zero bytes, each piece read as UTF-8 (the first piece also as
// Latin-1, so that every code point below 256 comes up).
QList<QString> TextsOf(const std::uint8_t *data, std::size_t size)
{
    QList<QString> texts;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (const QByteArray &piece : bytes.split('\0')) {
        texts.append(QString::fromUtf8(piece));
    }
    texts.append(QString::fromLatin1(bytes.left(64)));
    return texts;
}

bool IsHexDigits(const QString &text)
{
    for (QChar c : text) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))) {
            return false;
        }
    }
    return true;
}

void CheckCodecs(const QString &text, int number)
{
    const int value = HexTextToValue(text);
    FUZZ_CHECK(value >= 0 && value <= 0xFF);
    for (QChar c : text) {
        const int digit = HexDigitValue(c);
        FUZZ_CHECK(digit >= 0 && digit <= 15);
    }
    const int width = number & 0x1F;
    FUZZ_CHECK(PadWithZeros(text, width).size() >= text.size());
    FUZZ_CHECK(KeepDigits(text).size() == text.size());
    FUZZ_CHECK(IsHexDigits(KeepDigits(text, true)));
    FUZZ_CHECK(ZeroPaddedNumber(static_cast<long long>(number) * 7919, width).size() >= width);
    FUZZ_CHECK(FittedToWidth(text, width).size() == width);
    // The width counts characters: a surrogate pair is one.
    const QString cut = CutToWidth(text, width);
    FUZZ_CHECK(text.startsWith(cut) && cut.toUcs4().size() <= width);
}

void CheckParameters(const QList<QString> &texts)
{
    StationParameters params;
    EditTexts edits;
    int i = 0;
    for (const ParameterEdit &edit : ParameterEdits()) {
        edits.insert(QString::fromLatin1(edit.name), texts.value(i++ % texts.size()));
    }
    edits.insert(QString::fromLatin1(ElectromechanicEdit), texts.value(0));
    ReadAllParameters(params, edits);
    for (const ParameterEdit &edit : ParameterEdits()) {
        FUZZ_CHECK((params.*edit.field).size() == edit.maxLength);
    }
    for (int position = 1; position <= 8; ++position) {
        params.ToolWordBits(position);
        params.ToolWordDigit(position);
    }
    TextsFromParameters(params);

    const ServiceWordSettings settings = DecodeServiceWord(texts.value(0));
    FUZZ_CHECK(EncodeServiceWord(texts.value(0), settings).size() == texts.value(0).size()
        || texts.value(0).size() != 8);
    FUZZ_CHECK(EncodeServiceWord(params.ToolWord, DecodeServiceWord(params.ToolWord)).size() == 8);
    const ReserveSettings reserve = DecodeReserve(texts.value(1));
    FUZZ_CHECK(reserve.tone >= 0 && reserve.tone <= 3);
    FUZZ_CHECK(IsHexDigits(EncodeReserve(texts.value(1), reserve)));
}

void CheckResultTexts(const QString &code, const QString &serviceWord)
{
    ShowSelfTestCode(code);
    ShowRadioTestCode(2, code, serviceWord);
    ShowRadioTestCode(3, code.left(7), serviceWord);
    for (QChar c : code.left(4)) {
        VerdictText(c);
    }
}

void CheckFieldTexts(const QString &text)
{
    const FieldType types[] = { FieldType::Date, FieldType::Time, FieldType::Text,
        FieldType::ShortInteger };
    for (FieldType type : types) {
        const FieldDef field { QStringLiteral("F"), type, 7, false };
        QVariant typed;
        if (ParseFieldText(field, text, &typed)) {
            FieldValueText(field, typed);
            QVariant stored;
            QString error;
            if (ToStoredValue(field, typed, &stored, &error)) {
                TypedFieldValue(field, stored);
            }
        }
        TypedFieldValue(field, text);
    }
}

void CheckOptionsFile(const QByteArray &bytes)
{
    QFile file(OptionsFile::path());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
        file.close();
    }
    const OptionsFile::Contents contents = OptionsFile::read();
    if (contents.state == OptionsFile::Contents::State::Read) {
        DevicePathOfPort(contents.portName);
        PortCaption(contents.portName, contents.portName);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_texts";
    static char *argv[] = { name, nullptr };
    static QCoreApplication app(argc, argv);
    // Options.dat lives in the working directory: a scratch one for the whole run.
    static QTemporaryDir workDir;
    static const bool inWorkDir = QDir::setCurrent(workDir.path());
    FUZZ_CHECK(inWorkDir);

    const QList<QString> texts = TextsOf(data, size);
    int number = 0;
    std::memcpy(&number, data, std::min(size, sizeof number));
    for (const QString &text : texts) {
        CheckCodecs(text, number);
        CheckFieldTexts(text);
    }
    CheckParameters(texts);
    CheckResultTexts(texts.value(0), texts.value(1));
    CheckOptionsFile(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    return 0;
}
