#include "components/AdoSession.h"

#include "components/AdoConnection.h"
#include "runtime/DoEvents.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QVariant>

#include <sqlite3.h>

#include <utility>

namespace ado {

namespace {

// How long a statement waits for another process's lock before it fails.
constexpr int kBusyTimeoutMs = 500;
constexpr int kPageCacheKiB = 512;

// Text comparison without regard to letter case, as the original engine compares text. The
// engine's own NOCASE folds ASCII only; this one folds every letter and keeps ASCII fast.
int compareNoCase(void *, int length1, const void *text1, int length2, const void *text2)
{
    const auto *a = static_cast<const unsigned char *>(text1);
    const auto *b = static_cast<const unsigned char *>(text2);
    const int common = length1 < length2 ? length1 : length2;
    int i = 0;
    for (; i < common; ++i) {
        const unsigned char ca = a[i];
        const unsigned char cb = b[i];
        if (ca >= 0x80 || cb >= 0x80)
            break;
        const int la = (ca >= 'A' && ca <= 'Z') ? ca + 32 : ca;
        const int lb = (cb >= 'A' && cb <= 'Z') ? cb + 32 : cb;
        if (la != lb)
            return la - lb;
    }
    if (i == common)
        return length1 - length2;
    const QString restA = QString::fromUtf8(reinterpret_cast<const char *>(a + i), length1 - i);
    const QString restB = QString::fromUtf8(reinterpret_cast<const char *>(b + i), length2 - i);
    return restA.compare(restB, Qt::CaseInsensitive);
}

// The engine calls the check's progress handler after this many of its steps (a few hundred
// microseconds of work).
constexpr int kCheckProgressSteps = 1000;

// The clock of one full check, read by the engine's progress handler: past the limit the check
// is interrupted; a yielding check lets the message loop run at its first call and then at most
// kCheckYieldIntervalMs apart.
struct CheckClock {
    CheckPace pace;
    QElapsedTimer clock;
    qint64 lastYieldMs = -1;
    bool late = false;
};

int onCheckProgress(void *context)
{
    auto *check = static_cast<CheckClock *>(context);
    const qint64 now = check->clock.elapsed();
    if (now >= check->pace.limitMs) {
        check->late = true;
        return 1;
    }
    if (check->pace.yields && (check->lastYieldMs < 0 || now - check->lastYieldMs >= kCheckYieldIntervalMs)) {
        check->lastYieldMs = now;
        runtime::DoEvents();
    }
    return 0;
}

Error errorOf(sqlite3 *db, int code)
{
    QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(code));
    return {errors::ProviderFailure, message};
}

}

Session::~Session()
{
    // Whether the file holds what it held when it was vouched for: nothing written through this
    // connection, committed by another or written by anything else since the open.
    const bool unchanged = vouched_ && sqlite3_total_changes(db_) == 0
                           && answer(QStringLiteral("PRAGMA data_version")) == dataVersionAtOpen_
                           && fileStateOf(path_) == stateAfterOpen_;
    // The file is left as one self-contained file again, in the rollback journal it came in:
    // it can then be copied, replaced by an update or opened from a folder that cannot be
    // written. Another connection still open keeps the log; the last one to close folds it in.
    if (writeAheadLog_) {
        Error ignored;
        exec(QStringLiteral("PRAGMA journal_mode=DELETE"), ignored);
    }
    // Statements still cached by commands keep the handle alive until they are finalized.
    sqlite3_close_v2(db_);
    // Going into the log and out of it again rewrote only the header's change counter; the
    // content's check stays remembered (IntegrityStamp::carryOver).
    if (unchanged && !QFileInfo::exists(path_ + QStringLiteral("-wal")))
        IntegrityStamp(path_).carryOver(*vouched_, QDateTime::currentDateTimeUtc().toMSecsSinceEpoch() * 1'000'000);
}

std::unique_ptr<Session> Session::open(const QString &path, Error &error)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || !info.isFile()) {
        error = {errors::ProviderFailure, QStringLiteral("Could not find file '%1'.").arg(path)};
        return nullptr;
    }
    if (info.size() == 0) {
        error = {errors::ProviderFailure, QStringLiteral("Unrecognized database format '%1'.").arg(path)};
        return nullptr;
    }
    sqlite3 *db = nullptr;
    // Only the user-interface thread uses a connection, so the engine need not lock it around
    // every call (reading a row of three columns made a dozen of them).
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK) {
        error = errorOf(db, code);
        sqlite3_close_v2(db);
        return nullptr;
    }
    std::unique_ptr<Session> session(new Session(db));
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, compareNoCase);
    // A small page cache: the start-up's count walks an index of thousands of pages once, and
    // each page the cache grows by is a fresh page of the process; lookups and a submission's
    // inserts keep the few pages they come back to in far less.
    Error ignored;
    session->exec(QStringLiteral("PRAGMA cache_size=-%1").arg(kPageCacheKiB), ignored);
    // The engine reads a file lazily; reading the schema here makes a file that is not a
    // database fail the open, as the original engine's open does.
    if (!session->exec(QStringLiteral("SELECT count(*) FROM sqlite_master"), error)) {
        const int failure = sqlite3_errcode(db) & 0xFF;
        if (failure == SQLITE_BUSY || failure == SQLITE_LOCKED)
            error.description = QStringLiteral("Could not use '%1'; file already in use. %2").arg(path, error.description);
        else if (failure == SQLITE_NOTADB || failure == SQLITE_CORRUPT)
            error.description = QStringLiteral("Unrecognized database format '%1'. %2").arg(path, error.description);
        else
            error.description = QStringLiteral("Could not open '%1'. %2").arg(path, error.description);
        return nullptr;
    }
    session->path_ = path;
    error = {};
    return session;
}

bool Session::finishOpen(const CheckPace &pace, Error &error)
{
    if (!checkIntegrityOnce(pace, error)) {
        error.description = QStringLiteral("Unrecognized database format '%1'. %2").arg(path_, error.description);
        return false;
    }
    // A write-ahead log commits without waiting for the disk on every statement, which a
    // submission's many small inserts need; a crash may lose the last commits but never
    // corrupts the file. It needs its two side files, so only where they can be written, and
    // only while the connection is open.
    const QFileInfo info(path_);
    Error ignored;
    if (info.isWritable() && QFileInfo(info.absolutePath()).isWritable()) {
        writeAheadLog_ = exec(QStringLiteral("PRAGMA journal_mode=WAL"), ignored);
        exec(QStringLiteral("PRAGMA synchronous=NORMAL"), ignored);
    }
    dataVersionAtOpen_ = answer(QStringLiteral("PRAGMA data_version"));
    stateAfterOpen_ = fileStateOf(path_);
    error = {};
    return true;
}

void StatementFinalizer::operator()(sqlite3_stmt *statement) const
{
    sqlite3_finalize(statement);
}

// The check runs once per state of the file: a file unchanged since it last passed (same
// identity, size and times, see IntegrityStamp) is not read again. A write-ahead log beside it
// holds pages the file's state does not cover, so then the check runs in full.
bool Session::checkIntegrityOnce(const CheckPace &pace, Error &error)
{
    const IntegrityStamp stamp(path_);
    const std::optional<FileState> state = fileStateOf(path_);
    const bool logBeside = QFileInfo::exists(path_ + QStringLiteral("-wal"));
    if (!state || logBeside)
        return checkIntegrity(pace, error);
    if (!stamp.vouchesFor(*state)) {
        if (!checkIntegrity(pace, error))
            return false;
        stamp.record(*state, QDateTime::currentDateTimeUtc().toMSecsSinceEpoch() * 1'000'000);
    }
    if (stamp.vouchesFor(*state))
        vouched_ = state;
    error = {};
    return true;
}

// The engine's quick check reads every page once and verifies its structure, without the
// cross-checks of indexes against their tables that would cost several times as much. It reads
// through the engine's small page cache, not a memory map: a map would be quicker by a copy per
// page, but every page it touched would count as resident, lifting the process by the whole file.
// The engine's progress handler holds it to its pace: a file whose check runs past the limit is
// refused as a damaged one is.
bool Session::checkIntegrity(const CheckPace &pace, Error &error)
{
    QString verdict;
    bool ran = false;
    CheckClock check{pace, {}, -1, false};
    check.clock.start();
    sqlite3_progress_handler(db_, kCheckProgressSteps, onCheckProgress, &check);
    if (const Statement statement = prepare(QStringLiteral("PRAGMA quick_check(1)"), error)) {
        ran = step(statement.get(), error) == Step::Row;
        if (ran)
            verdict = value(statement.get(), 0).toString();
    }
    sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    if (check.late) {
        error = {errors::ProviderFailure, QStringLiteral("The integrity check took longer than %1 s.").arg(pace.limitMs / 1000.0)};
        return false;
    }
    if (!ran)
        return false;
    if (verdict != QLatin1String("ok")) {
        error = {errors::ProviderFailure, verdict.simplified()};   // one line for the message box
        return false;
    }
    error = {};
    return true;
}

Statement Session::prepare(const QString &sql, Error &error)
{
    const QByteArray text = translateDialect(sql).toUtf8();
    sqlite3_stmt *prepared = nullptr;
    const char *tail = nullptr;
    const int code = sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &prepared, &tail);
    Statement statement(prepared);
    if (code != SQLITE_OK) {
        error = errorOf(db_, code);
        return nullptr;
    }
    if (!statement) {
        error = {errors::ProviderFailure, QStringLiteral("Command text was not set for the command object.")};
        return nullptr;
    }
    // One statement per command, as the original provider accepts.
    for (; tail && *tail; ++tail) {
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';') {
            error = {errors::ProviderFailure, QStringLiteral("Characters found after end of SQL statement.")};
            return nullptr;
        }
    }
    error = {};
    return statement;
}

bool Session::exec(const QString &sql, Error &error)
{
    const Statement statement = prepare(sql, error);
    if (!statement)
        return false;
    Step result;
    while ((result = step(statement.get(), error)) == Step::Row) {
    }
    if (result == Step::Failed)
        return false;
    error = {};
    return true;
}

Error Session::engineError() const
{
    return errorOf(db_, sqlite3_errcode(db_));
}

QString Session::answer(const QString &sql)
{
    Error ignored;
    const Statement statement = prepare(sql, ignored);
    if (!statement || step(statement.get(), ignored) != Step::Row)
        return {};
    return value(statement.get(), 0).toString();
}

Step Session::step(sqlite3_stmt *statement, Error &error)
{
    const int code = sqlite3_step(statement);
    if (code == SQLITE_ROW)
        return Step::Row;
    if (code == SQLITE_DONE)
        return Step::Done;
    error = errorOf(db_, code);
    return Step::Failed;
}

void Session::rewind(sqlite3_stmt *statement)
{
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

bool Session::returnsRows(sqlite3_stmt *statement) const
{
    return sqlite3_column_count(statement) > 0;
}

std::vector<ResultColumn> Session::resultColumns(sqlite3_stmt *statement) const
{
    const auto text = [](const char *utf8) { return utf8 ? QString::fromUtf8(utf8) : QString(); };
    std::vector<ResultColumn> columns;
    const int count = sqlite3_column_count(statement);
    columns.reserve(std::size_t(count));
    for (int c = 0; c < count; ++c) {
        columns.push_back({text(sqlite3_column_name(statement, c)), text(sqlite3_column_table_name(statement, c)),
                           text(sqlite3_column_origin_name(statement, c)), text(sqlite3_column_decltype(statement, c))});
    }
    return columns;
}

RawValue Session::rawValue(sqlite3_stmt *statement, int column) const
{
    RawValue raw;
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        raw.kind = ValueKind::Integer;
        raw.integer = sqlite3_column_int64(statement, column);
        break;
    case SQLITE_FLOAT:
        raw.kind = ValueKind::Real;
        raw.real = sqlite3_column_double(statement, column);
        break;
    case SQLITE_TEXT: {
        // The pointer first: asking for it may convert the value, which changes its size.
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        raw.kind = ValueKind::Text;
        raw.bytes = QByteArrayView(text, sqlite3_column_bytes(statement, column));
        break;
    }
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(statement, column));
        raw.kind = ValueKind::Blob;
        raw.bytes = QByteArrayView(data, sqlite3_column_bytes(statement, column));
        break;
    }
    default:
        break;
    }
    return raw;
}

QVariant Session::value(sqlite3_stmt *statement, int column) const
{
    const RawValue raw = rawValue(statement, column);
    switch (raw.kind) {
    case ValueKind::Integer:
        return QVariant(qlonglong(raw.integer));
    case ValueKind::Real:
        return QVariant(raw.real);
    case ValueKind::Text:
        return QVariant(QString::fromUtf8(raw.bytes));
    case ValueKind::Blob:
        return QVariant(raw.bytes.toByteArray());
    case ValueKind::Null:
        break;
    }
    return QVariant();
}

int Session::placeholderCount(sqlite3_stmt *statement) const
{
    return sqlite3_bind_parameter_count(statement);
}

bool Session::bind(sqlite3_stmt *statement, int index, const QVariant &value)
{
    if (value.isNull())
        return sqlite3_bind_null(statement, index) == SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return sqlite3_bind_int64(statement, index, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble()) == SQLITE_OK;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT) == SQLITE_OK;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
    }
    }
}

bool Session::isReadOnly(sqlite3_stmt *statement) const
{
    return sqlite3_stmt_readonly(statement) != 0;
}

int Session::changes() const
{
    return sqlite3_changes(db_);
}

bool Session::isRowIdColumn(const QString &table, const QString &column) const
{
    const char *declared = nullptr;
    int primaryKey = 0;
    return sqlite3_table_column_metadata(db_, nullptr, table.toUtf8().constData(), column.toUtf8().constData(), &declared,
                                         nullptr, nullptr, &primaryKey, nullptr)
               == SQLITE_OK
           && primaryKey && declared && QString::fromLatin1(declared).compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
}

QString translateDialect(const QString &sql)
{
    static const QString identity = QStringLiteral("@@identity");
    QString out;
    out.reserve(sql.size());
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            out += c;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'[') {
            quote = QChar(u']');
        } else if (c == u'@' && QStringView(sql).mid(i, identity.size()).compare(identity, Qt::CaseInsensitive) == 0) {
            const qsizetype end = i + identity.size();
            if (end == sql.size() || !(sql.at(end).isLetterOrNumber() || sql.at(end) == u'_')) {
                out += QLatin1String("last_insert_rowid()");
                i = end - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

namespace {

// One "keyword=value" pair of a connection string from `at` on; `at` ends past its ";". Spaces
// around keyword and value are not part of them, "==" is an "=" inside a keyword, and a value in
// double or single quotes is taken whole, ";" and spaces included, its quote doubled inside it.
std::pair<QString, QString> nextPair(const QString &text, qsizetype &at)
{
    QString keyword;
    for (; at < text.size() && text.at(at) != u';'; ++at) {
        if (text.at(at) != u'=')
            keyword += text.at(at);
        else if (at + 1 < text.size() && text.at(at + 1) == u'=')
            keyword += text.at(++at);
        else
            break;
    }
    if (at >= text.size() || text.at(at) == u';') {
        ++at;
        return {};
    }
    ++at;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    QString value;
    if (at < text.size() && (text.at(at) == u'"' || text.at(at) == u'\'')) {
        const QChar quote = text.at(at++);
        for (; at < text.size(); ++at) {
            if (text.at(at) != quote)
                value += text.at(at);
            else if (at + 1 < text.size() && text.at(at + 1) == quote)
                value += text.at(++at);
            else
                break;
        }
        // What follows the closing quote, up to the next ";", is no part of the value.
        while (at < text.size() && text.at(at) != u';')
            ++at;
    } else {
        const qsizetype end = text.indexOf(u';', at);
        value = text.mid(at, end < 0 ? -1 : end - at).trimmed();
        at = end < 0 ? text.size() : end;
    }
    ++at;
    return {keyword.trimmed(), value};
}

}

QString dataSourceOf(const QString &connectionString)
{
    for (qsizetype at = 0; at < connectionString.size();) {
        auto [keyword, value] = nextPair(connectionString, at);
        if (keyword.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) != 0)
            continue;
        // The design writes the file name after a backslash; both separators are accepted.
        value.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return value;
    }
    return {};
}

QString connectionStringValue(const QString &value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}
