// Arbitrary bytes as a Paradox table of the earlier program: the reader must refuse
// what is foreign or damaged with a message, and read what it accepts without a crash,
// each record as one value per field.
#include "fuzzinvariant.h"

#include "legacy/paradoxtable.h"

#include <QVariantList>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Enough records to pass every block of the files the corpus grows to.
constexpr int MostRecordsRead = 4096;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    ParadoxTable table;
    if (!table.openContent(content, QStringLiteral("fuzz.db"))) {
        FUZZ_CHECK(!table.errorText().isEmpty());
        FUZZ_CHECK(table.fields().isEmpty() && table.recordCount() == 0);
        return 0;
    }
    FUZZ_CHECK(!table.fields().isEmpty());
    FUZZ_CHECK(table.recordCount() >= 0);
    table.setTextCodePage(table.headerCodePage());
    QVariantList values;
    const int records = std::min(table.recordCount(), MostRecordsRead);
    for (int i = 0; i < records; ++i) {
        if (table.readRecord(i, &values)) {
            FUZZ_CHECK(values.size() == table.fields().size());
        } else {
            FUZZ_CHECK(values.isEmpty() && !table.errorText().isEmpty());
        }
    }
    FUZZ_CHECK(!table.readRecord(table.recordCount(), &values));
    return 0;
}
