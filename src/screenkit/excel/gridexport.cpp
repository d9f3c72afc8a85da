#include "screenkit/excel/gridexport.h"

#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/filechoice.h"
#include "screenkit/numberdisplay.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <xlsxwriter.h>

namespace {

// Excel number format of a display format: thousands separator, its decimals, its symbol.
QString ExcelNumberFormat(const GridColumn &col, const QString &displayFormat)
{
    const int decimals = displayFormat.isEmpty()
                             ? (col.kind == ColumnKind::Integer ? 0 : col.decimals)
                             : FormatDecimals(displayFormat);
    QString symbol;
    for (const QChar c : displayFormat.section(QLatin1Char(';'), 0, 0)) {
        if (c == QLatin1Char('#') || c == QLatin1Char('0') || c == QLatin1Char(',') || c == QLatin1Char('.'))
            break;
        symbol += c;
    }
    QString body = QStringLiteral("#,##0");
    if (decimals > 0)
        body += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    if (!symbol.isEmpty()) {
        const QString quoted = QLatin1Char('"') + symbol + QLatin1Char('"');
        return quoted + body + QStringLiteral(";-") + quoted + body;
    }
    return body;
}

class Workbook
{
public:
    explicit Workbook(const QString &path)
    {
        lxw_workbook_options options = {};
        options.constant_memory = LXW_TRUE;  // rows stream out as they are written
        m_file = QFile::encodeName(path);
        m_book = workbook_new_opt(m_file.constData(), &options);
        if (m_book)
            m_sheet = workbook_add_worksheet(m_book, "Sheet1");
    }
    ~Workbook()
    {
        if (m_book)
            close();
    }
    bool ok() const { return m_book && m_sheet; }
    lxw_worksheet *sheet() const { return m_sheet; }
    lxw_format *numberFormat(const QString &excelFormat)
    {
        auto it = m_formats.find(excelFormat);
        if (it != m_formats.end())
            return it.value();
        lxw_format *f = workbook_add_format(m_book);
        format_set_num_format(f, excelFormat.toUtf8().constData());
        m_formats.insert(excelFormat, f);
        return f;
    }
    lxw_format *bandFormat()
    {
        if (!m_band) {
            m_band = workbook_add_format(m_book);
            format_set_align(m_band, LXW_ALIGN_CENTER);
            format_set_bold(m_band);
        }
        return m_band;
    }
    lxw_error close()
    {
        lxw_error e = workbook_close(m_book);
        m_book = nullptr;
        return e;
    }

private:
    QByteArray m_file;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_band = nullptr;
    QHash<QString, lxw_format *> m_formats;
};

void writeText(lxw_worksheet *sheet, int row, int col, const QString &text)
{
    if (!text.isEmpty())
        worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(col), text.toUtf8().constData(), nullptr);
}

// A date column's text ("yyyy-MM-dd", "yyyy-MM-dd HH:mm[:ss]") as an Excel date with the
// matching format; other text is written as it is.
void writeDate(Workbook &book, int row, int col, const QString &text)
{
    const QString t = text.trimmed();
    static const struct
    {
        const char *qt;
        const char *excel;
    } forms[] = {{"yyyy-MM-dd", "yyyy-mm-dd"},
                 {"yyyy-MM-dd HH:mm", "yyyy-mm-dd hh:mm"},
                 {"yyyy-MM-dd HH:mm:ss", "yyyy-mm-dd hh:mm:ss"}};
    for (const auto &form : forms) {
        const QDateTime when = QDateTime::fromString(t, QString::fromLatin1(form.qt));
        if (!when.isValid())
            continue;
        lxw_datetime value = {when.date().year(), when.date().month(), when.date().day(),
                              when.time().hour(), when.time().minute(), double(when.time().second())};
        worksheet_write_datetime(book.sheet(), lxw_row_t(row), lxw_col_t(col), &value,
                                 book.numberFormat(QString::fromLatin1(form.excel)));
        return;
    }
    writeText(book.sheet(), row, col, text);
}

// A footer text that shows a number ("24.00", "￥1,249.25", "-5"): the number; else false.
bool FooterNumber(const QString &shown, double *value)
{
    QString t = shown.trimmed();
    while (!t.isEmpty() && QStringLiteral("￥¥$€").contains(t.at(0)))
        t.remove(0, 1);
    t.remove(QLatin1Char(','));
    bool ok = false;
    *value = t.toDouble(&ok);
    return ok && !t.isEmpty();
}

} // namespace

QString XlsxFileName(const QString &chosen)
{
    if (chosen.isEmpty())
        return chosen;
    const QFileInfo info(chosen);
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("xlsx"))
        return chosen;
    if (suffix == QLatin1String("xls"))
        return chosen + QLatin1Char('x');
    return chosen + QStringLiteral(".xlsx");
}

bool WriteGridWorkbook(const DataGrid &grid, const QString &path, QString *error)
{
    const GridModel *model = grid.model();
    if (!model) {
        if (error)
            *error = QStringLiteral("列表没有数据");
        return false;
    }
    const QFileInfo target(path);
    const QString temp = target.absoluteDir().filePath(QStringLiteral(".~") + target.fileName() + QStringLiteral(".part"));
    QFile::remove(temp);

    const QStringList fields = grid.shownFieldsInOrder();
    QVector<int> logical;
    for (const QString &f : fields)
        logical << model->columnOf(f);

    lxw_error result = LXW_NO_ERROR;
    {
        Workbook book(temp);
        if (!book.ok()) {
            if (error)
                *error = QStringLiteral("无法创建文件 %1").arg(path);
            return false;
        }
        lxw_worksheet *sheet = book.sheet();
        QVector<lxw_format *> formats;
        for (int c : logical) {
            const GridColumn &col = model->columns().at(c);
            formats << (col.isNumber() ? book.numberFormat(ExcelNumberFormat(col, col.format)) : nullptr);
            worksheet_set_column(sheet, lxw_col_t(formats.size() - 1), lxw_col_t(formats.size() - 1),
                                 qMax(6.0, grid.columnWidth(col.field) / 7.0), nullptr);
        }
        int row = 0;
        if (!grid.bands().isEmpty()) {
            for (const GridBand &band : grid.bands()) {
                int first = -1;
                int last = -1;
                for (int i = 0; i < fields.size(); ++i) {
                    if (band.visible && band.fields.contains(fields.at(i), Qt::CaseInsensitive)) {
                        if (first < 0)
                            first = i;
                        last = i;
                    }
                }
                if (first < 0)
                    continue;
                if (last > first)
                    worksheet_merge_range(sheet, 0, lxw_col_t(first), 0, lxw_col_t(last),
                                          band.caption.toUtf8().constData(), book.bandFormat());
                else
                    worksheet_write_string(sheet, 0, lxw_col_t(first), band.caption.toUtf8().constData(),
                                           book.bandFormat());
            }
            ++row;
        }
        for (int i = 0; i < logical.size(); ++i)
            writeText(sheet, row, i, model->columns().at(logical.at(i)).caption);
        ++row;
        model->forEachRow([&](const QVector<QVariant> &values) {
            for (int i = 0; i < logical.size(); ++i) {
                const GridColumn &col = model->columns().at(logical.at(i));
                const QVariant &v = values.at(logical.at(i));
                if (!v.isValid())
                    continue;
                switch (col.kind) {
                case ColumnKind::Money:
                case ColumnKind::Quantity:
                case ColumnKind::Number:
                case ColumnKind::Integer:
                    worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(i), v.toDouble(), formats.at(i));
                    break;
                case ColumnKind::Check:
                    worksheet_write_boolean(sheet, lxw_row_t(row), lxw_col_t(i), v.toBool() ? 1 : 0, nullptr);
                    break;
                case ColumnKind::Icon:
                    worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(i), v.toInt(), nullptr);
                    break;
                case ColumnKind::DateText:
                    writeDate(book, row, i, v.toString());
                    break;
                case ColumnKind::Text:
                    writeText(sheet, row, i, v.toString());
                    break;
                }
            }
            ++row;
            return true;
        });
        if (grid.hasFooter()) {
            for (int i = 0; i < logical.size(); ++i) {
                const GridColumn &col = model->columns().at(logical.at(i));
                const FooterKind kind = grid.footerKind(col.field);
                // Every footer that shows a number is a numeric cell: sums, counts, the count
                // behind a text ("记录数：" kept as the cell's format) and numbers a screen
                // supplies (the goods window's stock total).
                const QString fmt = grid.footerFormat(col.field);
                double number = 0;
                if (kind == FooterKind::Sum || kind == FooterKind::Count) {
                    const QString shown = !fmt.isEmpty() ? fmt : kind == FooterKind::Sum ? col.format : QStringLiteral("0");
                    worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(i), grid.footerValue(col.field).toDouble(),
                                           book.numberFormat(ExcelNumberFormat(col, shown)));
                } else if (kind == FooterKind::TextCount) {
                    QString label = grid.footerText(col.field);
                    qsizetype digits = label.size();
                    while (digits > 0 && label.at(digits - 1).isDigit())
                        --digits;
                    const double count = label.mid(digits).toDouble();
                    label.truncate(digits);
                    label.replace(QLatin1Char('"'), QStringLiteral("\"\""));
                    worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(i), count,
                                           book.numberFormat(QLatin1Char('"') + label + QStringLiteral("\"0")));
                } else if (kind == FooterKind::Supplied && FooterNumber(grid.footerText(col.field), &number)) {
                    worksheet_write_number(sheet, lxw_row_t(row), lxw_col_t(i), number,
                                           book.numberFormat(ExcelNumberFormat(col, fmt.isEmpty() ? col.format : fmt)));
                } else if (kind != FooterKind::None) {
                    writeText(sheet, row, i, grid.footerText(col.field));
                }
            }
        }
        result = book.close();
    }
    if (result != LXW_NO_ERROR) {
        QFile::remove(temp);
        if (error)
            *error = QString::fromUtf8(lxw_strerror(result));
        return false;
    }
    if (QFile::exists(path) && !QFile::remove(path)) {
        QFile::remove(temp);
        if (error)
            *error = QStringLiteral("文件 %1 正在使用或不能覆盖").arg(path);
        return false;
    }
    if (!QFile::rename(temp, path)) {
        QFile::remove(temp);
        if (error)
            *error = QStringLiteral("无法写入文件 %1").arg(path);
        return false;
    }
    return true;
}

QString ExportGrid(const DataGrid &grid, FileChoice &files, Notices &notices, QWidget *parent)
{
    const QString chosen = files.saveFileName(parent, QStringLiteral("导出"), QString::fromUtf8(kXlsxFilter), QString());
    if (chosen.isEmpty())
        return QString();
    const QString path = XlsxFileName(chosen);
    QString reason;
    if (!WriteGridWorkbook(grid, path, &reason)) {
        notices.notice(QStringLiteral("导出失败：") + reason);
        return QString();
    }
    return path;
}
