#pragma once

#include "paradoxwriter.h"

#include "legacy/legacyimport.h"
#include "records/tableschema.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTime>

#include <dirent.h>

#include <cstdio>

// Rows of the four tables as the earlier program kept them: Cyrillic texts at
// their full widths, empty values, days of three centuries, negative numbers.
inline QList<QVariantList> SampleRows(const TableSchema &schema)
{
    const QVariant none;
    if (&schema == &Tests1Schema()) {
        return {
            { QDate(1999, 12, 31), QTime(23, 59, 59, 999), "Тест 1", "Механик-13зн.", "Норма",
                "0", "11000000", "101", "102", "203", "204", "305", "306", "12", "34", "56", "01",
                "02", "03", "0A", "1F", "FF" },
            { QDate(2000, 2, 29), QTime(0, 0), "Запись", "42", none, none, "00000000", none,
                none, none, none, none, none, none, none, none, none, none, none, none, none,
                none },
            { none, none, "Тест 1", none, "Брак", "?", none, none, none, none, none, none, none,
                none, none, none, none, none, none, none, none, none },
        };
    }
    if (&schema == &Test23Schema()) {
        return {
            { QDate(1899, 12, 31), QTime(12, 30, 15, 5), "Тест 2", "От ТЕЛВ", "Петров", "1234",
                "0012345", "Норма", "0", "11", "22", "33", "Норма:5", "10", "Брак:7", "12",
                "10101", "01010", "11111" },
            { QDate(2099, 1, 1), QTime(7, 0, 1), "Тест 3", "От РВ", "ёЁйЙъЪ", none, "9999999",
                "Брак", "?", none, none, none, "0", none, "0", none, "00000", "00000", "00000" },
        };
    }
    if (&schema == &RvSchema()) {
        return {
            { "0001234", -32767, 32767 },
            { "Т-00001", -1, none },
            { "0009999", 0, 15 },
        };
    }
    return {
        { "0012345", "Блок-1234567890А", "2", "3", "4", "5", "6", "7", "8", QDate(2001, 1, 2),
            QTime(8, 9, 10), 2, QDate(2010, 3, 4), QTime(11, 12, 13, 14) },
        { "0012345", "1", none, none, none, none, none, none, none, none, none, -7, none,
            none },
    };
}

// The rows as the table of ours gives them back as texts.
inline QList<QStringList> SampleTexts(const TableSchema &schema)
{
    QList<QStringList> texts;
    for (const QVariantList &row : SampleRows(schema)) {
        QStringList values;
        for (int i = 0; i < row.size(); ++i) {
            const QVariant &value = row.at(i);
            if (value.typeId() == QMetaType::QDate) {
                values.append(value.toDate().toString(QStringLiteral("yyyy-MM-dd")));
            } else if (value.typeId() == QMetaType::QTime) {
                values.append(value.toTime().toString(QStringLiteral("HH:mm:ss.zzz")));
            } else {
                values.append(value.toString());
            }
        }
        texts.append(values);
    }
    return texts;
}

inline const QList<const TableSchema *> &FourTables()
{
    static const QList<const TableSchema *> tables { &Tests1Schema(), &Test23Schema(),
        &RvSchema(), &BlockNumSchema() };
    return tables;
}

// Writes the four sample tables into folder under their file names (name: the
// file name to use instead, by table).
inline bool WriteSampleTables(const QString &folder, int codePage,
    const QHash<const TableSchema *, QByteArray> &names = {})
{
    for (const TableSchema *schema : FourTables()) {
        const QByteArray name = names.value(schema, QFile::encodeName(schema->fileName));
        if (!WriteParadoxTable(QFile::encodeName(folder) + '/' + name, ParadoxLayout(*schema),
                SampleRows(*schema), codePage, int(schema->primaryKey.size()))) {
            return false;
        }
    }
    return true;
}

// The files in folder and a digest of each one's bytes, by name as the file system
// has it (names in another encoding included).
inline QMap<QByteArray, QByteArray> FileDigests(const QString &folder)
{
    QMap<QByteArray, QByteArray> digests;
    const QByteArray where = QFile::encodeName(folder);
    DIR *dir = ::opendir(where.constData());
    while (const dirent *entry = dir ? ::readdir(dir) : nullptr) {
        const QByteArray name(entry->d_name);
        FILE *file = std::fopen((where + '/' + name).constData(), "rb");
        if (file == nullptr) {
            continue;
        }
        QCryptographicHash hash(QCryptographicHash::Sha256);
        char buffer[4096];
        size_t got = 0;
        bool regular = true;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            hash.addData(QByteArrayView(buffer, qsizetype(got)));
        }
        regular = !std::ferror(file);
        std::fclose(file);
        if (regular) {
            digests.insert(name, hash.result());
        }
    }
    if (dir) {
        ::closedir(dir);
    }
    return digests;
}

// A view that records what the operator would see and answers as scripted.
class RecordingImportView final : public LegacyImportView
{
public:
    bool progress(const QString &, qint64 done, qint64 total) override
    {
        progressCalls.append({ done, total });
        return cancelAfter < 0 || progressCalls.size() <= cancelAfter;
    }
    void writing() override { ++writingCalls; }
    int chooseCodePage(const QString &fileName) override
    {
        codePageAsked.append(fileName);
        return codePageAnswer;
    }
    bool confirm(const QString &question) override
    {
        questions.append(question);
        return confirmAnswer;
    }
    void showSummary(const QString &text, bool ok) override
    {
        summaries.append(text);
        succeeded = ok;
    }

    int cancelAfter = -1; // progress calls answered before the cancel; -1: never
    int codePageAnswer = 0;
    bool confirmAnswer = true;
    QList<QPair<qint64, qint64>> progressCalls;
    int writingCalls = 0;
    QStringList codePageAsked;
    QStringList questions;
    QStringList summaries;
    bool succeeded = false;
};
