#include "stats/exportwriters.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTime>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

QString writeFailed(const QString &path, const QString &reason)
{
    return QStringLiteral("Не удается записать файл %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

class CsvWriter final : public ExportWriter
{
public:
    bool begin(const QString &path, const QStringList &labels) override
    {
        m_file.setFileName(path);
        if (!m_file.open(QIODevice::WriteOnly)) {
            return fail(m_file.errorString());
        }
        m_file.write("\xEF\xBB\xBF");
        QVariantList row;
        for (const QString &label : labels) {
            row.append(label);
        }
        return writeRow(row);
    }

    bool writeRow(const QVariantList &values) override
    {
        QString line;
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (i > 0) {
                line += u';';
            }
            line += field(values.at(i));
        }
        line += QStringLiteral("\r\n");
        if (m_file.write(line.toUtf8()) < 0) {
            return fail(m_file.errorString());
        }
        return true;
    }

    bool finish() override
    {
        if (!m_file.commit()) {
            return fail(m_file.errorString());
        }
        return true;
    }

    QString errorText() const override { return m_error; }

private:
    static QString field(const QVariant &value)
    {
        QString text;
        switch (value.typeId()) {
        case QMetaType::QDate:
            text = value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
            break;
        case QMetaType::QTime:
            text = value.toTime().toString(QStringLiteral("HH:mm:ss"));
            break;
        default:
            text = value.isNull() ? QString() : value.toString();
        }
        static const QString special = QStringLiteral(";\"\r\n");
        if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return special.contains(c); })) {
            text.replace(u'"', QStringLiteral("\"\""));
            text = u'"' + text + u'"';
        }
        return text;
    }

    bool fail(const QString &reason)
    {
        m_error = writeFailed(m_file.fileName(), reason);
        m_file.cancelWriting();
        return false;
    }

    QSaveFile m_file;
    QString m_error;
};

// The workbook is written to a temporary file beside the target, which replaces the
// target in one rename once the workbook is complete.
class XlsxWriter final : public ExportWriter
{
public:
    ~XlsxWriter() override { discard(); }

    bool begin(const QString &path, const QStringList &labels) override
    {
        m_path = path;
        QTemporaryFile temporary(QFileInfo(path).absoluteDir().filePath(QStringLiteral(".telv2-XXXXXX.xlsx")));
        if (!temporary.open()) {
            return fail(temporary.errorString());
        }
        temporary.setAutoRemove(false);
        // Readable as any file the user saves, not private as temporary files are.
        temporary.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
            | QFile::ReadOther);
        m_temporaryPath = temporary.fileName();
        temporary.close();

        lxw_workbook_options options {};
        options.constant_memory = LXW_TRUE;
        const QByteArray temporaryDir = QDir::tempPath().toLocal8Bit();
        options.tmpdir = const_cast<char *>(temporaryDir.constData());
        m_workbook = workbook_new_opt(QFile::encodeName(m_temporaryPath).constData(), &options);
        if (!m_workbook) {
            return fail(QStringLiteral("не удается создать книгу"));
        }
        m_sheet = workbook_add_worksheet(m_workbook, "Результаты");
        m_bold = workbook_add_format(m_workbook);
        format_set_bold(m_bold);
        m_dateFormat = workbook_add_format(m_workbook);
        format_set_num_format(m_dateFormat, "dd.mm.yyyy");
        m_timeFormat = workbook_add_format(m_workbook);
        format_set_num_format(m_timeFormat, "hh:mm:ss");
        if (!m_sheet) {
            return fail(QStringLiteral("не удается создать лист"));
        }
        for (qsizetype c = 0; c < labels.size(); ++c) {
            worksheet_set_column(m_sheet, lxw_col_t(c), lxw_col_t(c),
                std::max<double>(10, labels.at(c).size() + 2), nullptr);
            if (!check(worksheet_write_string(
                    m_sheet, 0, lxw_col_t(c), labels.at(c).toUtf8().constData(), m_bold))) {
                return false;
            }
        }
        worksheet_freeze_panes(m_sheet, 1, 0);
        return true;
    }

    bool writeRow(const QVariantList &values) override
    {
        if (!m_sheet) {
            return fail(QStringLiteral("книга не начата"));
        }
        if (m_row > XlsxMaxRows) {
            return fail(QStringLiteral("в листе книги помещается не более %1 строк").arg(XlsxMaxRows));
        }
        for (qsizetype c = 0; c < values.size(); ++c) {
            if (!writeCell(lxw_col_t(c), values.at(c))) {
                return false;
            }
        }
        ++m_row;
        return true;
    }

    bool finish() override
    {
        if (!m_workbook) {
            return fail(QStringLiteral("книга не начата"));
        }
        const lxw_error closed = workbook_close(m_workbook);
        m_workbook = nullptr;
        m_sheet = nullptr;
        if (closed != LXW_NO_ERROR) {
            return fail(QString::fromUtf8(lxw_strerror(closed)));
        }
        if (std::rename(QFile::encodeName(m_temporaryPath).constData(),
                QFile::encodeName(m_path).constData())
            != 0) {
            return fail(QString::fromLocal8Bit(std::strerror(errno)));
        }
        m_temporaryPath.clear();
        return true;
    }

    QString errorText() const override { return m_error; }

private:
    bool writeCell(lxw_col_t column, const QVariant &value)
    {
        if (value.isNull()) {
            return true;
        }
        switch (value.typeId()) {
        case QMetaType::QDate:
            // A workbook keeps a day as the days since 30.12.1899 under a date format.
            return check(worksheet_write_number(m_sheet, m_row, column,
                double(QDate(1899, 12, 30).daysTo(value.toDate())), m_dateFormat));
        case QMetaType::QTime:
            // and a time of day as the part of a day under a time format.
            return check(worksheet_write_number(m_sheet, m_row, column,
                value.toTime().msecsSinceStartOfDay() / 86400000.0, m_timeFormat));
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Double:
            return check(worksheet_write_number(m_sheet, m_row, column, value.toDouble(), nullptr));
        default: {
            const QString text = value.toString();
            if (text.isEmpty()) {
                return true;
            }
            return check(worksheet_write_string(
                m_sheet, m_row, column, text.toUtf8().constData(), nullptr));
        }
        }
    }

    bool check(lxw_error result)
    {
        return result == LXW_NO_ERROR || fail(QString::fromUtf8(lxw_strerror(result)));
    }

    bool fail(const QString &reason)
    {
        m_error = writeFailed(m_path, reason);
        discard();
        return false;
    }

    // Drops an unfinished workbook and its temporary file; the target is untouched.
    void discard()
    {
        if (m_workbook) {
            workbook_close(m_workbook);
            m_workbook = nullptr;
            m_sheet = nullptr;
        }
        if (!m_temporaryPath.isEmpty()) {
            QFile::remove(m_temporaryPath);
            m_temporaryPath.clear();
        }
    }

    QString m_path;
    QString m_temporaryPath;
    QString m_error;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_bold = nullptr;
    lxw_format *m_dateFormat = nullptr;
    lxw_format *m_timeFormat = nullptr;
    lxw_row_t m_row = 1;
};

} // namespace

std::unique_ptr<ExportWriter> MakeExportWriter(ExportFormat format)
{
    if (format == ExportFormat::Csv) {
        return std::make_unique<CsvWriter>();
    }
    return std::make_unique<XlsxWriter>();
}
