#include "legacy/paradoxtable.h"

#include "legacy/legacycodepages.h"

#include <QDate>
#include <QTime>

// pxlib is a C library whose header does not say so.
extern "C" {
#include <paradox.h>
}

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Paradox counts days from 1 January of year 1 as day 1; Qt from the Julian day 0.
constexpr qint64 JulianDayOfDayZero = 1721425;
constexpr int MillisecondsPerDay = 24 * 60 * 60 * 1000;
// The smallest header the library reads: the fixed part before the field list.
constexpr qint64 SmallestHeader = 0x58;

int byteAt(QByteArrayView bytes, int offset)
{
    return static_cast<unsigned char>(bytes.at(offset));
}

int wordAt(QByteArrayView bytes, int offset)
{
    return byteAt(bytes, offset) | byteAt(bytes, offset + 1) << 8;
}

// Offsets in the fixed start of the header.
constexpr int RecordLengthAt = 0x00;
constexpr int HeaderLengthAt = 0x02;
constexpr int FileTypeAt = 0x04;
constexpr int BlockKilobytesAt = 0x05;
constexpr int FileBlocksAt = 0x0C;
constexpr int FirstBlockAt = 0x0E;
constexpr int VersionAt = 0x39;

bool isBlockSize(int kilobytes)
{
    return kilobytes == 1 || kilobytes == 2 || kilobytes == 3 || kilobytes == 4 || kilobytes == 8
        || kilobytes == 16 || kilobytes == 32;
}

// pxlib's complaints, kept for the message of the failure they cause.
void keepLibraryMessage(pxdoc_t *, int, const char *message, void *data)
{
    *static_cast<QString *>(data) = QString::fromLocal8Bit(message);
}

ParadoxTable::FieldKind kindOf(char type)
{
    switch (type) {
    case pxfAlpha:
        return ParadoxTable::FieldKind::Text;
    case pxfDate:
        return ParadoxTable::FieldKind::Date;
    case pxfTime:
        return ParadoxTable::FieldKind::Time;
    case pxfShort:
    case pxfLong:
    case pxfAutoInc:
        return ParadoxTable::FieldKind::Integer;
    default:
        return ParadoxTable::FieldKind::Other;
    }
}

} // namespace

bool ParadoxTable::isTableHeader(QByteArrayView start)
{
    if (start.size() < HeaderStart) {
        return false;
    }
    const int fileType = byteAt(start, FileTypeAt);
    const int version = byteAt(start, VersionAt);
    return wordAt(start, RecordLengthAt) > 0 && wordAt(start, HeaderLengthAt) >= SmallestHeader
        && (fileType == pxfFileTypIndexDB || fileType == pxfFileTypNonIndexDB)
        && isBlockSize(byteAt(start, BlockKilobytesAt)) && version >= 3 && version <= 12;
}

ParadoxTable::ParadoxTable() = default;

ParadoxTable::~ParadoxTable()
{
    close();
}

void ParadoxTable::close()
{
    if (m_doc != nullptr) {
        const ParadoxMemory::Use use(m_memory);
        PX_close(m_doc);
        PX_delete(m_doc);
        m_doc = nullptr;
    }
    m_memory.release();
    if (m_stream != nullptr) {
        std::fclose(m_stream);
        m_stream = nullptr;
    }
    m_content.clear();
    m_fields.clear();
    m_recordCount = 0;
    m_codePage = 0;
}

bool ParadoxTable::fail(const QString &text)
{
    m_error = text;
    close();
    return false;
}

int ParadoxTable::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).name.compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

bool ParadoxTable::open(const QByteArray &path, const QString &displayName)
{
    close();
    m_name = displayName;
    struct stat info {};
    if (::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return fail(QStringLiteral("Файл %1 не найден").arg(m_name));
    }
    FILE *file = std::fopen(path.constData(), "rb");
    if (file == nullptr) {
        return fail(QStringLiteral("Не удается открыть файл %1: %2")
                        .arg(m_name, QString::fromLocal8Bit(std::strerror(errno))));
    }
    QByteArray content;
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, qsizetype(got));
    }
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    if (readError) {
        return fail(QStringLiteral("Ошибка чтения файла %1 на позиции %2")
                        .arg(m_name)
                        .arg(content.size()));
    }
    return openContent(content, displayName);
}

bool ParadoxTable::openContent(const QByteArray &content, const QString &displayName)
{
    close();
    m_name = displayName;
    m_error.clear();
    m_libraryMessage.clear();
    m_content = content;
    if (m_content.size() < SmallestHeader) {
        return fail(QStringLiteral("Файл %1 не является таблицей Paradox или обрезан: в нём "
                                   "%2 байт, заголовок обрывается на позиции %2")
                        .arg(m_name)
                        .arg(m_content.size()));
    }
    if (!checkLength() || !checkBlockChain()) {
        return false;
    }
    m_stream = fmemopen(m_content.data(), size_t(m_content.size()), "rb");
    const ParadoxMemory::Use use(m_memory);
    m_doc = PX_new3(keepLibraryMessage, ParadoxMemory::allocate, ParadoxMemory::reallocate,
        ParadoxMemory::keepUntilRelease, &m_libraryMessage);
    if (m_stream == nullptr || m_doc == nullptr) {
        return fail(QStringLiteral("Не хватает памяти для чтения файла %1").arg(m_name));
    }
    if (PX_open_fp(m_doc, m_stream) < 0) {
        return fail(QStringLiteral("Файл %1 не является таблицей Paradox или повреждён (%2)")
                        .arg(m_name, m_libraryMessage));
    }
    return checkHeader();
}

// The header's own figures against the bytes there are, before pxlib reads any:
// a file cut short is named with the position where it ends.
bool ParadoxTable::checkLength()
{
    const qint64 fileSize = m_content.size();
    if (!isTableHeader(m_content)) {
        return fail(QStringLiteral("Файл %1 не является таблицей данных Paradox").arg(m_name));
    }
    const qint64 headerSize = wordAt(m_content, HeaderLengthAt);
    const qint64 blockSize = qint64(byteAt(m_content, BlockKilobytesAt)) * 1024;
    const qint64 expected = headerSize + wordAt(m_content, FileBlocksAt) * blockSize;
    if (fileSize < expected) {
        return fail(QStringLiteral("Файл %1 обрезан: по заголовку в нём %2 байт, а на диске %3; "
                                   "%4 на позиции %3")
                        .arg(m_name)
                        .arg(expected)
                        .arg(fileSize)
                        .arg(fileSize < headerSize ? QStringLiteral("заголовок обрывается")
                                                   : QStringLiteral("данные обрываются")));
    }
    return true;
}

// The data blocks form a chain, each naming the next. pxlib follows it without a
// bound, so a chain that runs in a ring would hold the program for good: it must end
// within the file's blocks.
bool ParadoxTable::checkBlockChain()
{
    const qint64 headerSize = wordAt(m_content, HeaderLengthAt);
    const qint64 blockSize = qint64(byteAt(m_content, BlockKilobytesAt)) * 1024;
    const int fileBlocks = wordAt(m_content, FileBlocksAt);
    int block = qint16(wordAt(m_content, FirstBlockAt));
    for (int steps = 0; block > 0; ++steps) {
        if (block > fileBlocks || steps == fileBlocks) {
            return fail(QStringLiteral("Файл %1 повреждён: цепочка блоков данных ведёт к блоку %2 "
                                       "из %3")
                            .arg(m_name)
                            .arg(steps == fileBlocks ? fileBlocks + 1 : block)
                            .arg(fileBlocks));
        }
        block = qint16(wordAt(m_content, int(headerSize + (block - 1) * blockSize)));
    }
    return true;
}

bool ParadoxTable::checkHeader()
{
    const pxhead_t *head = m_doc->px_head;
    qint64 recordSize = 0;
    for (int i = 0; i < head->px_numfields; ++i) {
        const pxfield_t &field = head->px_fields[i];
        m_fields.append({ QString::fromLatin1(field.px_fname), kindOf(field.px_ftype),
            field.px_flen });
        recordSize += field.px_flen;
    }
    if (head->px_numfields <= 0 || recordSize != head->px_recordsize
        || head->px_numrecords < 0) {
        return fail(QStringLiteral("Файл %1 повреждён: описание полей в заголовке не сходится "
                                   "с длиной записи (%2 байт)")
                        .arg(m_name)
                        .arg(head->px_recordsize));
    }
    if (!m_libraryMessage.isEmpty()) {
        // The library warns, and goes on, when the blocks hold another number of
        // records than the header says: rows would be missing or made up.
        return fail(QStringLiteral("Файл %1 повреждён: %2").arg(m_name, m_libraryMessage));
    }
    m_recordCount = head->px_numrecords;
    m_codePage = head->px_doscodepage;
    m_record.resize(head->px_recordsize);
    return true;
}

bool ParadoxTable::readRecord(int index, QVariantList *values)
{
    values->clear();
    if (m_doc == nullptr || index < 0 || index >= m_recordCount) {
        m_error = QStringLiteral("Файл %1: записи %2 нет").arg(m_name).arg(index + 1);
        return false;
    }
    const ParadoxMemory::Use use(m_memory);
    int deleted = 0;
    pxdatablockinfo_t where {};
    m_libraryMessage.clear();
    if (PX_get_record2(m_doc, index, m_record.data(), &deleted, &where) == nullptr
        || !m_libraryMessage.isEmpty()) {
        m_error = QStringLiteral("Файл %1 повреждён: запись %2 из %3 не читается (%4)")
                      .arg(m_name)
                      .arg(index + 1)
                      .arg(m_recordCount)
                      .arg(m_libraryMessage);
        return false;
    }
    values->reserve(m_fields.size());
    char *data = m_record.data();
    for (const Field &field : std::as_const(m_fields)) {
        values->append(fieldValue(field, data));
        data += field.length;
    }
    return true;
}

QVariant ParadoxTable::fieldValue(const Field &field, char *data)
{
    // A field of zero bytes holds no value (pxlib reads a long of them as a number).
    if (std::all_of(data, data + field.length, [](char byte) { return byte == 0; })) {
        return {};
    }
    switch (field.kind) {
    case FieldKind::Text: {
        // The library's own copy would cost an allocation per field; the text is
        // the bytes up to the first zero.
        const QByteArrayView bytes(data, qstrnlen(data, field.length));
        return bytes.isEmpty() ? QVariant() : QVariant(DecodeLegacyText(bytes, m_textCodePage));
    }
    case FieldKind::Date: {
        long day = 0;
        if (PX_get_data_long(m_doc, data, field.length, &day) <= 0) {
            return {};
        }
        return day > 0 ? QDate::fromJulianDay(day + JulianDayOfDayZero) : QDate();
    }
    case FieldKind::Time: {
        long milliseconds = 0;
        if (PX_get_data_long(m_doc, data, field.length, &milliseconds) <= 0) {
            return {};
        }
        return milliseconds >= 0 && milliseconds < MillisecondsPerDay
            ? QTime::fromMSecsSinceStartOfDay(int(milliseconds))
            : QTime();
    }
    case FieldKind::Integer: {
        if (field.length == 2) {
            short number = 0;
            return PX_get_data_short(m_doc, data, field.length, &number) > 0 ? QVariant(int(number))
                                                                             : QVariant();
        }
        long number = 0;
        return field.length == 4 && PX_get_data_long(m_doc, data, field.length, &number) > 0
            ? QVariant(qlonglong(number))
            : QVariant();
    }
    case FieldKind::Other:
        break;
    }
    return {};
}
