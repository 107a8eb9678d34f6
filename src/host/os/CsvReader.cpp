#include "os/CsvReader.h"

namespace os {

namespace {

struct Field
{
    QString text;
    bool quoted = false;
};

// Splits one record starting at pos; returns false when the record ends inside quotes.
bool readRecord(const QString &text, qsizetype &pos, std::vector<Field> &fields)
{
    fields.clear();
    Field field;
    bool inQuotes = false;
    const qsizetype size = text.size();
    while (pos < size) {
        const QChar ch = text[pos++];
        if (inQuotes) {
            if (ch == QLatin1Char('"')) {
                if (pos < size && text[pos] == QLatin1Char('"')) {
                    field.text.append(QLatin1Char('"'));
                    ++pos;
                } else {
                    inQuotes = false;
                }
            } else {
                field.text.append(ch);
            }
        } else if (ch == QLatin1Char('"')) {
            inQuotes = true;
            field.quoted = true;
        } else if (ch == QLatin1Char(',')) {
            fields.push_back(std::move(field));
            field = Field();
        } else if (ch == QLatin1Char('\n')) {
            break;
        } else if (ch == QLatin1Char('\r')) {
            // CR LF ends a record at its LF; a CR alone ends it too (a file saved with CR only).
            if (pos < size && text[pos] == QLatin1Char('\n'))
                ++pos;
            break;
        } else {
            field.text.append(ch);
        }
    }
    if (inQuotes)
        return false;
    fields.push_back(std::move(field));
    return true;
}

bool isBlank(const std::vector<Field> &fields)
{
    return fields.size() == 1 && !fields[0].quoted && fields[0].text.trimmed().isEmpty();
}

} // namespace

CsvTable parseCsv(const QString &text)
{
    CsvTable table;
    qsizetype pos = 0;
    std::vector<Field> fields;
    bool haveHeader = false;
    while (pos < text.size()) {
        if (!readRecord(text, pos, fields))
            break;
        if (isBlank(fields))
            continue;
        if (!haveHeader) {
            if (!fields[0].quoted && fields[0].text.startsWith(QLatin1Char('#')))
                continue;
            for (const Field &field : fields)
                table.header.append(field.text.trimmed());
            haveHeader = true;
            continue;
        }
        std::vector<QVariant> record;
        const std::size_t columns = std::min<std::size_t>(fields.size(), std::size_t(table.header.size()));
        record.reserve(columns);
        for (std::size_t i = 0; i < columns; ++i) {
            const Field &field = fields[i];
            record.push_back(!field.quoted && field.text.isEmpty() ? QVariant() : QVariant(field.text));
        }
        table.records.push_back(std::move(record));
    }
    return table;
}

} // namespace os
