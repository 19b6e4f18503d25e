#include "blocks/factorynumbers.h"

#include "records/fieldvalues.h"
#include "records/resultoutbox.h"
#include "shared/clock.h"
#include "shared/codecs.h"
#include "shared/operatormessages.h"
#include "shared/receivedfactorydigits.h"

namespace {

constexpr int Blocks = ReceivedFactoryDigits::Blocks;

QString blockField(int k)
{
    return QStringLiteral("Block%1").arg(k);
}

QList<TableEditModel::Column> blockNumColumns()
{
    QList<TableEditModel::Column> columns {
        { QStringLiteral("Loko"), QStringLiteral("Локомотив"), Qt::AlignLeft | Qt::AlignVCenter,
            {} },
        { QStringLiteral("LastD"), QStringLiteral("Дата перезаписи"),
            Qt::AlignLeft | Qt::AlignVCenter, {} },
        { QStringLiteral("LastT"), QStringLiteral("Время перезаписи"),
            Qt::AlignLeft | Qt::AlignVCenter, {} },
    };
    for (int k = 1; k <= Blocks; ++k) {
        columns.append({ blockField(k), QStringLiteral("Блок%1").arg(k),
            Qt::AlignLeft | Qt::AlignVCenter, {} });
    }
    const int kind = BlockNumSchema().fieldIndex(QStringLiteral("Kind"));
    columns.append({ QStringLiteral("d"), QStringLiteral("Дата внесения"),
        Qt::AlignLeft | Qt::AlignVCenter, {} });
    columns.append({ QStringLiteral("t"), QStringLiteral("Время внесения"),
        Qt::AlignLeft | Qt::AlignVCenter, {} });
    columns.append(
        { QStringLiteral("KindCapt"), QStringLiteral("Источник"), Qt::AlignLeft | Qt::AlignVCenter,
            [kind](const QVariantList &values) { return KindCaption(values.value(kind)); } });
    return columns;
}

const QString WriteQuestion = QStringLiteral(
    "Получены данные со ТЕЛВ. Необходимо завершить редактирование строки. Сохранить изменения?");

} // namespace

QString KindCaption(const QVariant &kind)
{
    if (kind.isNull()) {
        return {};
    }
    switch (StoredInteger(kind)) {
    case FactoryNumbersRegister::HandKind:
        return QStringLiteral("Вручную");
    case FactoryNumbersRegister::StationKind:
        return QStringLiteral("Автоматически");
    default:
        return {};
    }
}

bool HasFactoryDigits(const ReceivedFactoryDigits &digits)
{
    for (int block = 1; block <= Blocks; ++block) {
        for (int cell = 1; cell <= ReceivedFactoryDigits::CellsPerBlock; ++cell) {
            if (digits.cell(block, cell) != 0) {
                return true;
            }
        }
    }
    return false;
}

QStringList FactoryNumberTexts(const ReceivedFactoryDigits &digits)
{
    QStringList texts;
    for (int block = 1; block <= Blocks; ++block) {
        QString text;
        for (int cell = 1; cell <= ReceivedFactoryDigits::CellsPerBlock; ++cell) {
            text.append(NibbleToHexChar(digits.cell(block, cell)));
        }
        texts.append(text);
    }
    return texts;
}

FactoryNumbersRegister::FactoryNumbersRegister(
    const DatabaseLocation &database, Clock &clock, OperatorMessages &messages)
    : m_clock(clock)
    , m_messages(messages)
    , m_table(database, BlockNumSchema())
    , m_model(m_table, blockNumColumns())
{
    const TableSchema &schema = BlockNumSchema();
    const int kind = schema.fieldIndex(QStringLiteral("Kind"));
    const int d = schema.fieldIndex(QStringLiteral("d"));
    const int t = schema.fieldIndex(QStringLiteral("t"));
    m_model.setNewRowDefaults([this, kind, d, t](QVariantList &values) {
        const QDateTime now = m_clock.now();
        values[kind] = HandKind;
        values[d] = now.date();
        values[t] = now.time();
    });
    m_model.setEditRefusal([this, kind](const QVariantList &values) {
        if (m_writing || StoredInteger(values.value(kind)) == HandKind) {
            return QString();
        }
        return QStringLiteral("Пришедшую с устройства информацию менять нельзя");
    });
}

bool FactoryNumbersRegister::open()
{
    const bool opened = m_table.open(DatabaseTable::OpenMode::OpenOrCreate);
    const bool loaded = m_model.reload();
    return opened && loaded;
}

void FactoryNumbersRegister::finishOperatorEdit()
{
    // A failed save is not shown: the question comes again until the row is saved
    // or dropped.
    while (m_model.isEditing()) {
        if (m_messages.ask(WriteQuestion, false) == OperatorMessages::Answer::Yes) {
            m_model.post();
        } else {
            m_model.cancel();
        }
    }
}

bool FactoryNumbersRegister::WriteFactoryNumbers(
    const QString &loco, int kind, const QStringList &blocks, const QDateTime &stamp)
{
    finishOperatorEdit();
    // Sets waiting for the server go first, so that an older confirmation never
    // comes after this one.
    const bool waiting = m_outbox && m_table.location().onServer() && !m_outbox->sendKept();
    if (waiting) {
        return keepForServer(loco, kind, blocks, stamp);
    }
    m_writing = true;
    bool written = writeRow(loco, kind, blocks, stamp);
    if (!written && m_table.location().onServer() && !m_table.serverUnreachable()) {
        // The rows were loaded earlier; another station may have added this set, or
        // the office removed it, since then.
        m_model.cancel();
        written = m_model.reload() && writeRow(loco, kind, blocks, stamp);
    }
    if (!written) {
        const QString error = m_model.errorText();
        m_model.cancel();
        if (m_outbox && m_table.serverUnreachable()) {
            written = keepForServer(loco, kind, blocks, stamp);
        } else {
            m_messages.showError(QStringLiteral("Ошибка при записи заводских номеров: ") + error);
        }
    }
    m_writing = false;
    return written;
}

// The row as writeRow makes it, whole: on the server its key either adds it or
// confirms the set that is there.
bool FactoryNumbersRegister::keepForServer(
    const QString &loco, int kind, const QStringList &blocks, const QDateTime &stamp)
{
    const QDateTime now = m_clock.now();
    QVariantList row { loco };
    for (int k = 0; k < Blocks; ++k) {
        row.append(blocks.value(k));
    }
    row << stamp.date() << stamp.time() << kind << now.date() << now.time();
    if (m_outbox->keep(BlockNumSchema(), row)) {
        return true;
    }
    m_messages.showError(
        QStringLiteral("Ошибка при записи заводских номеров: ") + m_outbox->errorText());
    return false;
}

bool FactoryNumbersRegister::writeRow(
    const QString &loco, int kind, const QStringList &blocks, const QDateTime &stamp)
{
    // Compared as the table holds them: cut to the fields' widths.
    const TableSchema &schema = m_table.schema();
    const int lokoIndex = schema.fieldIndex(QStringLiteral("Loko"));
    const QString key = CutToWidth(loco, schema.fields.at(lokoIndex).width);
    QStringList keyBlocks;
    for (int k = 1; k <= Blocks; ++k) {
        const FieldDef &field = schema.fields.at(schema.fieldIndex(blockField(k)));
        keyBlocks.append(CutToWidth(blocks.value(k - 1), field.width));
    }
    const bool found = m_model.locate([&](const QVariantList &values) {
        if (values.at(lokoIndex).toString() != key) {
            return false;
        }
        for (int k = 1; k <= Blocks; ++k) {
            if (values.at(schema.fieldIndex(blockField(k))).toString() != keyBlocks.at(k - 1)) {
                return false;
            }
        }
        return true;
    });
    if (found ? !m_model.edit() : !m_model.append()) {
        return false;
    }
    if (!found) {
        m_model.setValue(QStringLiteral("Loko"), key);
        m_model.setValue(QStringLiteral("d"), stamp.date());
        m_model.setValue(QStringLiteral("t"), stamp.time());
        for (int k = 1; k <= Blocks; ++k) {
            m_model.setValue(blockField(k), keyBlocks.at(k - 1));
        }
    }
    const QDateTime now = m_clock.now();
    m_model.setValue(QStringLiteral("LastD"), now.date());
    m_model.setValue(QStringLiteral("LastT"), now.time());
    m_model.setValue(QStringLiteral("Kind"), kind);
    return m_model.post();
}

void FactoryNumbersRegister::SaveReceivedFactoryNumbers(
    ReceivedFactoryDigits &digits, const QString &locoNumber)
{
    if (HasFactoryDigits(digits)) {
        WriteFactoryNumbers(locoNumber, StationKind, FactoryNumberTexts(digits), m_clock.now());
    }
    digits.clear();
}

QStringList FactoryNumbersRegister::printFields()
{
    QStringList fields { QStringLiteral("Loko"), QStringLiteral("d"), QStringLiteral("t") };
    for (int k = 1; k <= Blocks; ++k) {
        fields.append(blockField(k));
    }
    return fields;
}

bool FactoryNumbersRegister::printRows(bool currentOnly, QList<QStringList> *rows)
{
    rows->clear();
    // A row is current when no row of its locomotive was confirmed later; an empty
    // LastD compares as nothing, so a hand row always counts as current.
    static const QString current
        = QStringLiteral("select * from BlockNum b1\n"
                         "where\n"
                         "(select count(*) from BlockNum b2\n"
                         "where b2.Loko=b1.Loko and\n"
                         "(b2.Lastd>b1.Lastd or (b2.Lastd=b1.Lastd and b2.Lastt>b1.Lastt))\n"
                         ")=0");
    static const QString all = QStringLiteral("select * from BlockNum");
    const QString order = QStringLiteral(
        "\norder by Loko, Block1, Block2, Block3, Block4, Block5, Block6, Block7, Block8");
    QStringList columns;
    QList<QVariantList> stored;
    if (!m_table.select((currentOnly ? current : all) + order, {}, &columns, &stored)) {
        return false;
    }
    const TableSchema &schema = m_table.schema();
    for (const QVariantList &row : std::as_const(stored)) {
        QStringList texts;
        for (const QString &name : printFields()) {
            const int i = schema.fieldIndex(name);
            const FieldDef &field = schema.fields.at(i);
            texts.append(FieldValueText(field, TypedFieldValue(field, row.value(i))));
        }
        rows->append(texts);
    }
    return true;
}
