#include "records/tableschema.h"

namespace {

FieldDef date(const QString &name)
{
    return { name, FieldType::Date };
}

FieldDef time(const QString &name)
{
    return { name, FieldType::Time };
}

FieldDef text(const QString &name, int width, bool required = false)
{
    return { name, FieldType::Text, width, required };
}

FieldDef shortInteger(const QString &name)
{
    return { name, FieldType::ShortInteger };
}

} // namespace

int TableSchema::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields.at(i).name == name) {
            return i;
        }
    }
    return -1;
}

const TableSchema &Tests1Schema()
{
    static const TableSchema schema {
        QStringLiteral("tests1.DB"),
        QStringLiteral("tests1"),
        {
            date(QStringLiteral("Date")),
            time(QStringLiteral("Time")),
            text(QStringLiteral("Event"), 10),
            text(QStringLiteral("Mehanik"), 13),
            text(QStringLiteral("ResultWord"), 20),
            text(QStringLiteral("ResultCod"), 7),
            text(QStringLiteral("ToolWord"), 8),
            text(QStringLiteral("PrmMv1"), 3),
            text(QStringLiteral("PrdMv1"), 3),
            text(QStringLiteral("PrmMv2"), 3),
            text(QStringLiteral("PrdMv2"), 3),
            text(QStringLiteral("PrmMv3"), 3),
            text(QStringLiteral("PrdMv3"), 3),
            text(QStringLiteral("DeviacD"), 2),
            text(QStringLiteral("DeviacM"), 2),
            text(QStringLiteral("DeviacG"), 2),
            text(QStringLiteral("Deviacd2"), 2),
            text(QStringLiteral("DeviacM2"), 2),
            text(QStringLiteral("DeviacG2"), 2),
            text(QStringLiteral("Osl_mw"), 2),
            text(QStringLiteral("osl_gmw"), 2),
            text(QStringLiteral("reserv"), 2),
        },
        {},
        {},
    };
    return schema;
}

const TableSchema &Test23Schema()
{
    static const TableSchema schema {
        QStringLiteral("Test23.DB"),
        QStringLiteral("Test23"),
        {
            date(QStringLiteral("Date")),
            time(QStringLiteral("Time")),
            text(QStringLiteral("Event"), 7),
            text(QStringLiteral("Direction"), 7),
            text(QStringLiteral("Mehanik"), 13),
            text(QStringLiteral("Train"), 4),
            text(QStringLiteral("Loko"), 8),
            text(QStringLiteral("ResultWord"), 5),
            text(QStringLiteral("ResultCod"), 7),
            text(QStringLiteral("DeviacD"), 2),
            text(QStringLiteral("DeviacM"), 2),
            text(QStringLiteral("DeviacG"), 2),
            text(QStringLiteral("Sens_mw_itog"), 10),
            text(QStringLiteral("Sens_mw_osl"), 2),
            text(QStringLiteral("Sens_gmw_itog"), 10),
            text(QStringLiteral("Sens_gmw_osl"), 2),
            text(QStringLiteral("MesD"), 5),
            text(QStringLiteral("MesG"), 5),
            text(QStringLiteral("MesM"), 5),
        },
        {},
        {},
    };
    return schema;
}

const TableSchema &RvSchema()
{
    static const TableSchema schema {
        QStringLiteral("РВ.db"),
        QStringLiteral("РВ"),
        {
            text(QStringLiteral("Lokomotiv"), 7, true),
            shortInteger(QStringLiteral("OslablenieM")),
            shortInteger(QStringLiteral("OslablenieG")),
        },
        { QStringLiteral("Lokomotiv") },
        {},
    };
    return schema;
}

const TableSchema &RvCopySchema()
{
    static const TableSchema schema = [] {
        TableSchema copy = RvSchema();
        copy.fileName = QStringLiteral("РВ-копия.db");
        return copy;
    }();
    return schema;
}

const TableSchema &OutboxSchema()
{
    static const TableSchema schema {
        QStringLiteral("Outbox.db"),
        QStringLiteral("Outbox"),
        {
            text(QStringLiteral("Receipt"), 36, true),
            text(QStringLiteral("TableName"), 16, true),
            text(QStringLiteral("Row"), 4000, true),
        },
        {},
        {},
    };
    return schema;
}

const TableSchema &BlockNumSchema()
{
    static const TableSchema schema {
        QStringLiteral("BlockNum.DB"),
        QStringLiteral("BlockNum"),
        {
            text(QStringLiteral("Loko"), 8, true),
            text(QStringLiteral("Block1"), 16),
            text(QStringLiteral("Block2"), 16),
            text(QStringLiteral("Block3"), 16),
            text(QStringLiteral("Block4"), 16),
            text(QStringLiteral("Block5"), 16),
            text(QStringLiteral("Block6"), 16),
            text(QStringLiteral("Block7"), 16),
            text(QStringLiteral("Block8"), 16),
            date(QStringLiteral("d")),
            time(QStringLiteral("t")),
            shortInteger(QStringLiteral("Kind")),
            date(QStringLiteral("LastD")),
            time(QStringLiteral("LastT")),
        },
        {
            QStringLiteral("Loko"),
            QStringLiteral("Block1"),
            QStringLiteral("Block2"),
            QStringLiteral("Block3"),
            QStringLiteral("Block4"),
            QStringLiteral("Block5"),
            QStringLiteral("Block6"),
            QStringLiteral("Block7"),
            QStringLiteral("Block8"),
        },
        QStringLiteral("Table1Index1"),
    };
    return schema;
}

QString SqlColumnType(FieldType type)
{
    return type == FieldType::ShortInteger ? QStringLiteral("INTEGER") : QStringLiteral("TEXT");
}

QString QuotedIdentifier(const QString &name)
{
    QString inner = name;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

QString CreateTableStatement(const TableSchema &schema)
{
    QStringList parts;
    for (const FieldDef &field : schema.fields) {
        QString column = QuotedIdentifier(field.name) + u' ' + SqlColumnType(field.type);
        if (field.required) {
            column += QStringLiteral(" NOT NULL");
        }
        parts.append(column);
    }
    if (!schema.primaryKey.isEmpty()) {
        QStringList key;
        for (const QString &name : schema.primaryKey) {
            key.append(QuotedIdentifier(name));
        }
        QString constraint;
        if (!schema.keyName.isEmpty()) {
            constraint = QStringLiteral("CONSTRAINT ") + QuotedIdentifier(schema.keyName) + u' ';
        }
        parts.append(
            constraint + QStringLiteral("PRIMARY KEY (") + key.join(QStringLiteral(", ")) + u')');
    }
    return QStringLiteral("CREATE TABLE ") + QuotedIdentifier(schema.tableName)
        + QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + u')';
}

QString ServerColumnType(const FieldDef &field)
{
    switch (field.type) {
    case FieldType::Date:
        return QStringLiteral("date");
    case FieldType::Time:
        return QStringLiteral("time(3) without time zone");
    case FieldType::ShortInteger:
        return QStringLiteral("smallint");
    case FieldType::Text:
        break;
    }
    return QStringLiteral("character varying(%1)").arg(field.width);
}

QString ServerRowIdColumn()
{
    return QStringLiteral("rowid");
}

QString CreateServerTableStatement(const TableSchema &schema)
{
    QStringList parts;
    for (const FieldDef &field : schema.fields) {
        parts.append(QuotedIdentifier(field.name) + u' ' + ServerColumnType(field)
            + (field.required ? QStringLiteral(" NOT NULL") : QString()));
    }
    parts.append(ServerRowIdColumn() + QStringLiteral(" bigint GENERATED ALWAYS AS IDENTITY"));
    QStringList key;
    for (const QString &name : schema.primaryKey) {
        key.append(QuotedIdentifier(name));
    }
    if (key.isEmpty()) {
        parts.append(QStringLiteral("PRIMARY KEY (") + ServerRowIdColumn() + u')');
    } else {
        parts.append((schema.keyName.isEmpty()
                             ? QString()
                             : QStringLiteral("CONSTRAINT ") + QuotedIdentifier(schema.keyName)
                                 + u' ')
            + QStringLiteral("PRIMARY KEY (") + key.join(QStringLiteral(", ")) + u')');
        parts.append(QStringLiteral("UNIQUE (") + ServerRowIdColumn() + u')');
    }
    return QStringLiteral("CREATE TABLE IF NOT EXISTS ") + QuotedIdentifier(schema.tableName)
        + QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + u')';
}
