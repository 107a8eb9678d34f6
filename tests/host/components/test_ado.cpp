#include "components/AdoCommand.h"
#include "components/AdoConnection.h"
#include "components/AdoIntegrityStamp.h"
#include "components/AdoRecordset.h"
#include "runtime/DoEvents.h"
#include "support/DamagedDatabase.h"
#include "support/Files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A database file made with the engine directly, so that the data-access layer is tested
// against files it did not write itself.
QString makeDatabase(const QTemporaryDir &dir, const char *sql, const QString &name = QStringLiteral("test.mdb"))
{
    const QString path = dir.filePath(name);
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
    char *message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
    return path;
}

const char *kNames = "CREATE TABLE names (ID INTEGER PRIMARY KEY AUTOINCREMENT, name VARCHAR(10) COLLATE NOCASE, note TEXT);"
                     "INSERT INTO names (name, note) VALUES ('alpha', 'one'), ('Beta', 'two'), ('gamma', NULL);";

QString connectionString(const QString &path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;").arg(path);
}

class Ado : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = makeDatabase(dir, kNames);
        connection.setCursorLocation(ado::CursorLocation::Client);
        connection.setConnectionString(connectionString(path));
        ASSERT_TRUE(connection.open()) << connection.lastError().description.toStdString();
    }

    QStringList column(const QString &sql, const QString &field)
    {
        ado::Recordset rs;
        EXPECT_TRUE(rs.open(sql, connection)) << rs.lastError().description.toStdString();
        QStringList values;
        for (int i = 0; i < rs.recordCount(); ++i, rs.moveNext())
            values << rs.field(field).value().toString();
        return values;
    }

    QTemporaryDir dir;
    QString path;
    ado::Connection connection;
};

TEST_F(Ado, RecordSetStandsOnFirstRowWithExactCount)
{
    ado::Recordset rs;
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM names ORDER BY ID"), connection, ado::CursorType::ForwardOnly,
                        ado::LockType::Optimistic));
    EXPECT_EQ(rs.recordCount(), 3);
    EXPECT_FALSE(rs.eof());
    EXPECT_EQ(rs.field(QStringLiteral("name")).value().toString(), QStringLiteral("alpha"));
    EXPECT_EQ(rs.field(QStringLiteral("NAME")).value().toString(), QStringLiteral("alpha")) << "field names ignore case";
    EXPECT_EQ(rs.field(0).value().toInt(), 1) << "an ID converts to a 32-bit integer";
    ASSERT_TRUE(rs.moveNext());
    ASSERT_TRUE(rs.moveNext());
    EXPECT_TRUE(rs.field(QStringLiteral("note")).value().isNull());
    ASSERT_TRUE(rs.moveNext());
    EXPECT_TRUE(rs.eof());
    EXPECT_FALSE(rs.moveNext()) << "past the end";
    EXPECT_EQ(rs.lastError().number, ado::errors::NoCurrentRecord);
    EXPECT_FALSE(rs.field(QStringLiteral("name")).value().isValid());
    ASSERT_TRUE(rs.moveFirst());
    EXPECT_EQ(rs.field(1).value().toString(), QStringLiteral("alpha"));
    EXPECT_FALSE(rs.field(QStringLiteral("missing")).isValid());
    EXPECT_EQ(rs.lastError().number, ado::errors::ItemNotFound);
    EXPECT_TRUE(rs.close());
    EXPECT_EQ(rs.recordCount(), -1);
    EXPECT_FALSE(rs.close()) << "closing twice fails";
}

TEST_F(Ado, FieldKeptOverAReopenOnFewerColumnsReadsNothing)
{
    ado::Recordset rs;
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM names"), connection));
    const ado::Field note = rs.field(2);
    ASSERT_TRUE(rs.close());
    EXPECT_TRUE(note.name().isEmpty());
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT name FROM names"), connection));
    EXPECT_FALSE(note.value().isValid());
    EXPECT_EQ(rs.lastError().number, ado::errors::ItemNotFound);
    ado::Field writable = note;
    EXPECT_FALSE(writable.setValue(QStringLiteral("x")));
}

TEST_F(Ado, SystemDialectRunsAsWritten)
{
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM names Where [names].[name] = 'BETA'"), QStringLiteral("name")),
              QStringList{QStringLiteral("Beta")})
        << "bracketed names and case-blind text";
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM names Where [names].[ID] = 3"), QStringLiteral("name")),
              QStringList{QStringLiteral("gamma")});
    ado::Recordset rs;
    EXPECT_FALSE(rs.open(QStringLiteral("SELECT * FROM names Where [names].[ID] = abc"), connection))
        << "an ID that is not a number fails the query";
    EXPECT_FALSE(rs.isOpen());
    EXPECT_FALSE(rs.open(QStringLiteral("SELECT * FROM nothere"), connection));
    EXPECT_FALSE(rs.open(QStringLiteral("SELECT 1; DROP TABLE names"), connection)) << "one statement per query";
    EXPECT_EQ(column(QStringLiteral("SELECT count(*) AS n FROM names"), QStringLiteral("n")), QStringList{QStringLiteral("3")});
}

TEST_F(Ado, CaseBlindComparisonCoversNonAsciiLetters)
{
    ASSERT_TRUE(connection.execute(QStringLiteral("INSERT INTO names (name) VALUES ('Ärger'), ('ÉCOLE')")));
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM names WHERE name = 'ärger'"), QStringLiteral("name")),
              QStringList{QStringLiteral("Ärger")});
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM names WHERE name = 'école'"), QStringLiteral("name")),
              QStringList{QStringLiteral("ÉCOLE")});
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM names WHERE name = 'ALPHA'"), QStringLiteral("name")),
              QStringList{QStringLiteral("alpha")});
    EXPECT_TRUE(column(QStringLiteral("SELECT * FROM names WHERE name = 'alph'"), QStringLiteral("name")).isEmpty());
}

TEST_F(Ado, AssignedFieldAndUpdateWriteTheRow)
{
    {
        ado::Recordset rs;
        ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM names Where [names].[name] = 'beta'"), connection,
                            ado::CursorType::ForwardOnly, ado::LockType::Optimistic));
        ASSERT_TRUE(rs.field(QStringLiteral("note")).setValue(QStringLiteral("two\r\nmore")));
        ASSERT_TRUE(rs.update()) << rs.lastError().description.toStdString();
        EXPECT_EQ(rs.field(QStringLiteral("note")).value().toString(), QStringLiteral("two\r\nmore"));
    }
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM names ORDER BY ID"), QStringLiteral("note")),
              (QStringList{QStringLiteral("one"), QStringLiteral("two\r\nmore"), QString()}));
}

// What a query of the engine itself answers on a file, outside the data-access layer.
QString engineAnswer(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *statement = nullptr;
    QString answer;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        answer = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return answer;
}

TEST_F(Ado, ClosedDatabaseIsOneSelfContainedFileAgain)
{
    ASSERT_TRUE(connection.execute(QStringLiteral("INSERT INTO names (name) VALUES ('kept')")));
    ASSERT_TRUE(connection.close());
    // So that it can be copied or replaced whole, and opened from a folder that cannot be written.
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-shm")));
    EXPECT_EQ(engineAnswer(path, "PRAGMA journal_mode"), QStringLiteral("delete"));
    EXPECT_EQ(engineAnswer(path, "SELECT count(*) FROM names WHERE name = 'kept'"), QStringLiteral("1"));
}

TEST_F(Ado, UpdateOfARowChangedMeanwhileFailsAndKeepsTheOtherWrite)
{
    ado::Recordset first;
    ado::Recordset second;
    const QString sql = QStringLiteral("SELECT * FROM names WHERE name = 'alpha'");
    ASSERT_TRUE(first.open(sql, connection, ado::CursorType::ForwardOnly, ado::LockType::Optimistic));
    ASSERT_TRUE(second.open(sql, connection, ado::CursorType::ForwardOnly, ado::LockType::Optimistic));
    ASSERT_TRUE(first.field(QStringLiteral("note")).setValue(QStringLiteral("first")));
    ASSERT_TRUE(first.update());
    ASSERT_TRUE(second.field(QStringLiteral("note")).setValue(QStringLiteral("second")));
    EXPECT_FALSE(second.update());
    EXPECT_EQ(second.lastError().number, ado::errors::RowNotFoundForUpdate);
    EXPECT_EQ(column(sql, QStringLiteral("note")), QStringList{QStringLiteral("first")});
}

TEST_F(Ado, UpdateAfterTheConnectionClosedFails)
{
    ado::Recordset rs;
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM names"), connection, ado::CursorType::ForwardOnly, ado::LockType::Optimistic));
    ASSERT_TRUE(connection.close());
    EXPECT_TRUE(rs.field(QStringLiteral("note")).setValue(QStringLiteral("x")));
    EXPECT_FALSE(rs.update());
    EXPECT_EQ(rs.lastError().number, ado::errors::ObjectClosed);
    EXPECT_FALSE(connection.close());
    EXPECT_FALSE(rs.open(QStringLiteral("SELECT * FROM names"), connection));
}

TEST_F(Ado, CommandInsertsParametersAndAnswersIdentityOfThisConnection)
{
    ado::Connection other;
    other.setConnectionString(connectionString(path));
    ASSERT_TRUE(other.open());

    ado::Command insert;
    insert.setActiveConnection(connection);
    insert.setCommandType(ado::CommandType::Text);
    insert.setCommandText(QStringLiteral("INSERT INTO names (name) VALUES(?)"));
    insert.setPrepared(true);
    insert.appendParameter({QString(), ado::DataType::VarChar, ado::ParameterDirection::Input, 10, QStringLiteral("O'Brien")});
    ASSERT_TRUE(insert.execute(ado::CmdText | ado::ExecuteNoRecords)) << insert.lastError().description.toStdString();
    EXPECT_EQ(insert.recordsAffected(), 1);
    ASSERT_TRUE(other.execute(QStringLiteral("INSERT INTO names (name) VALUES ('elsewhere')")));

    insert.setCommandText(QStringLiteral("SELECT @@Identity"));
    insert.parameters().clear();
    std::unique_ptr<ado::Recordset> identity;
    ASSERT_TRUE(insert.execute(ado::CmdText, &identity)) << insert.lastError().description.toStdString();
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->field(0).value().toInt(), 4) << "the other connection's insert does not count";
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM names WHERE ID = 4"), QStringLiteral("name")), QStringList{QStringLiteral("O'Brien")});
}

TEST_F(Ado, ValueLongerThanItsParameterFailsWithoutWriting)
{
    ado::Command insert;
    insert.setActiveConnection(connection);
    insert.setCommandText(QStringLiteral("INSERT INTO names (name) VALUES(?)"));
    insert.appendParameter({QString(), ado::DataType::VarChar, ado::ParameterDirection::Input, 10, QStringLiteral("elevenchars")});
    EXPECT_FALSE(insert.execute(ado::CmdText | ado::ExecuteNoRecords));
    EXPECT_EQ(insert.lastError().number, ado::errors::MultipleStepError);
    EXPECT_EQ(column(QStringLiteral("SELECT count(*) AS n FROM names"), QStringLiteral("n")), QStringList{QStringLiteral("3")});

    insert.parameters().clear();
    EXPECT_FALSE(insert.execute(ado::CmdText | ado::ExecuteNoRecords)) << "a placeholder without a value";
}

TEST_F(Ado, PreparedCommandRunsAgainWithNewValues)
{
    ado::Command insert;
    insert.setActiveConnection(connection);
    insert.setCommandText(QStringLiteral("INSERT INTO names (name, note) VALUES(?, ?)"));
    insert.setPrepared(true);
    for (const char *name : {"one", "two", "three"}) {
        insert.parameters() = {{QString(), ado::DataType::VarChar, ado::ParameterDirection::Input, 10, QString::fromLatin1(name)},
                               {QString(), ado::DataType::LongVarChar, ado::ParameterDirection::Input, 3, QStringLiteral("50%")}};
        ASSERT_TRUE(insert.execute(ado::CmdText | ado::ExecuteNoRecords));
    }
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM names WHERE ID > 3 ORDER BY ID"), QStringLiteral("name")),
              (QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}));
}

TEST(AdoMemory, InMemoryRecordSetKeepsInsertionOrder)
{
    ado::Recordset rs;
    for (const char *name : {"Manufacturer", "Name", "PNPDeviceID"})
        ASSERT_TRUE(rs.appendField(QString::fromLatin1(name), ado::DataType::VarChar, 255));
    EXPECT_FALSE(rs.appendField(QStringLiteral("name"), ado::DataType::VarChar, 255)) << "a field name once";
    ASSERT_TRUE(rs.open());
    EXPECT_TRUE(rs.eof());
    EXPECT_FALSE(rs.appendField(QStringLiteral("Late"), ado::DataType::VarChar, 255));
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(rs.addNew());
        ASSERT_TRUE(rs.field(QStringLiteral("Name")).setValue(QStringLiteral("device %1").arg(i)));
        ASSERT_TRUE(rs.update());
    }
    EXPECT_FALSE(rs.field(QStringLiteral("Name")).setValue(QString(256, u'x'))) << "longer than the field";
    ASSERT_TRUE(rs.moveFirst());
    QStringList names;
    for (; !rs.eof(); rs.moveNext())
        names << rs.field(QStringLiteral("Name")).value().toString();
    EXPECT_EQ(names, (QStringList{QStringLiteral("device 0"), QStringLiteral("device 1"), QStringLiteral("device 2")}));
    EXPECT_TRUE(rs.close());
}

struct BadFile {
    const char *name;
    QByteArray bytes;
};

class AdoOpen : public ::testing::TestWithParam<BadFile> {};

TEST_P(AdoOpen, FileThatIsNoDatabaseFailsTheOpen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hwids.mdb"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().bytes);
    file.close();
    ado::Connection connection;
    connection.setConnectionString(connectionString(path));
    EXPECT_FALSE(connection.open());
    EXPECT_EQ(connection.lastError().number, ado::errors::ProviderFailure);
    EXPECT_FALSE(connection.lastError().description.isEmpty());
    EXPECT_FALSE(connection.isOpen());
}

INSTANTIATE_TEST_SUITE_P(, AdoOpen,
                         ::testing::Values(BadFile{"Empty", QByteArray()}, BadFile{"Text", QByteArray("Provider=nothing\r\n")},
                                           BadFile{"Garbage", QByteArray(8192, '\x5a')},
                                           BadFile{"JetHeader", QByteArray("\x00\x01\x00\x00Standard Jet DB", 19)}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(AdoOpenPath, MissingFileFailsAndBackslashSeparatorIsAccepted)
{
    QTemporaryDir dir;
    ado::Connection connection;
    connection.setConnectionString(connectionString(dir.filePath(QStringLiteral("hwids.mdb"))));
    EXPECT_FALSE(connection.open());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("hwids.mdb")))) << "opening never creates the file";

    makeDatabase(dir, kNames, QStringLiteral("hwids.mdb"));
    connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1\\hwids.mdb;").arg(dir.path()));
    EXPECT_TRUE(connection.open()) << connection.lastError().description.toStdString();
    EXPECT_FALSE(connection.open()) << "already open";
}

TEST(AdoDamaged, TruncatedDatabaseFailsQueriesWithoutCrashing)
{
    QTemporaryDir dir;
    QString sql = QStringLiteral("CREATE TABLE t (v TEXT); BEGIN;");
    for (int i = 0; i < 2000; ++i)
        sql += QStringLiteral("INSERT INTO t VALUES ('row %1 %2');").arg(i).arg(QString(40, u'x'));
    sql += QStringLiteral("COMMIT;");
    const QString path = makeDatabase(dir, sql.toUtf8().constData());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray whole = file.readAll();
    file.resize(whole.size() / 3);
    file.close();

    ado::Connection connection;
    connection.setConnectionString(connectionString(path));
    if (!connection.open())
        return;   // failing the open is as good an answer as failing the query
    ado::Recordset rs;
    EXPECT_FALSE(rs.open(QStringLiteral("SELECT * FROM t"), connection));
    EXPECT_FALSE(rs.isOpen());
}

TEST(AdoDamaged, ReadOnlyFileReadsButRefusesWrites)
{
    QTemporaryDir dir;
    const QString path = makeDatabase(dir, kNames);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
    ado::Connection connection;
    connection.setConnectionString(connectionString(path));
    ASSERT_TRUE(connection.open());
    ado::Recordset rs;
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM names"), connection, ado::CursorType::ForwardOnly, ado::LockType::Optimistic));
    EXPECT_EQ(rs.recordCount(), 3);
    if (QFileInfo(path).isWritable())
        GTEST_SKIP() << "running with rights that ignore file permissions";
    ASSERT_TRUE(rs.field(QStringLiteral("note")).setValue(QStringLiteral("changed")));
    EXPECT_FALSE(rs.update());
    EXPECT_FALSE(connection.execute(QStringLiteral("INSERT INTO names (name) VALUES ('x')")));
}

TEST(AdoDamaged, DatabaseLockedByAnotherProcessRefusesWritesWithinTheBusyTime)
{
    const QString cli = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (cli.isEmpty())
        GTEST_SKIP() << "no sqlite3 program to hold the lock";
    QTemporaryDir dir;
    const QString path = makeDatabase(dir, kNames);
    ado::Connection connection;
    connection.setConnectionString(connectionString(path));
    ASSERT_TRUE(connection.open());

    QProcess holder;
    holder.start(cli, {path});
    ASSERT_TRUE(holder.waitForStarted());
    holder.write("BEGIN EXCLUSIVE;\nUPDATE names SET note = 'held';\nSELECT 'locked';\n");
    while (!holder.readAllStandardOutput().contains("locked"))
        ASSERT_TRUE(holder.waitForReadyRead(5000));

    ado::Recordset rs;
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM names WHERE note = 'held'"), connection)) << "readers are not blocked";
    EXPECT_EQ(rs.recordCount(), 0) << "and see no uncommitted change";
    rs.close();
    EXPECT_FALSE(connection.execute(QStringLiteral("INSERT INTO names (name) VALUES ('x')")));

    holder.write("ROLLBACK;\n.quit\n");
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(5000));
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM names WHERE note = 'one'"), connection));
    EXPECT_EQ(rs.recordCount(), 1) << "the other process's change was rolled back; our data is intact";
}

TEST(AdoDamaged, OpenWhileAnotherProcessWritesFailsAsFileInUse)
{
    const QString cli = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (cli.isEmpty())
        GTEST_SKIP() << "no sqlite3 program to hold the lock";
    QTemporaryDir dir;
    const QString path = makeDatabase(dir, kNames);
    QProcess holder;
    holder.start(cli, {path});
    ASSERT_TRUE(holder.waitForStarted());
    holder.write("BEGIN EXCLUSIVE;\nSELECT 'locked';\n");
    while (!holder.readAllStandardOutput().contains("locked"))
        ASSERT_TRUE(holder.waitForReadyRead(5000));

    ado::Connection connection;
    connection.setConnectionString(connectionString(path));
    EXPECT_FALSE(connection.open());
    EXPECT_TRUE(connection.lastError().description.contains(QLatin1String("already in use")))
        << connection.lastError().description.toStdString();

    holder.write("ROLLBACK;\n.quit\n");
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(5000));
    EXPECT_TRUE(connection.open()) << "free again";
}

TEST(AdoDialect, IdentityIsTranslatedOutsideQuotesOnly)
{
    QTemporaryDir dir;
    const QString path = makeDatabase(dir, kNames);
    ado::Connection connection;
    connection.setConnectionString(connectionString(path));
    ASSERT_TRUE(connection.open());
    ado::Recordset rs;
    ASSERT_TRUE(rs.open(QStringLiteral("SELECT '@@Identity' AS a, [names].[name] AS b FROM names WHERE name = 'alpha'"), connection));
    EXPECT_EQ(rs.field(QStringLiteral("a")).value().toString(), QStringLiteral("@@Identity"));
}


// A damaged page anywhere fails the open, as the original engine refuses a damaged file; the
// same file undamaged opens.
TEST(AdoDamaged, DamagedDataPageFailsTheOpen)
{
    QTemporaryDir dir;
    QString sql = QStringLiteral("CREATE TABLE t (v TEXT); BEGIN;");
    for (int i = 0; i < 2000; ++i)
        sql += QStringLiteral("INSERT INTO t VALUES ('%1 %2');").arg(i == 1500 ? QStringLiteral("MARKER") : QStringLiteral("row")).arg(i);
    sql += QStringLiteral("COMMIT;");
    const QString path = makeDatabase(dir, sql.toUtf8().constData());
    ado::Connection connection;
    connection.setConnectionString(connectionString(path));
    ASSERT_TRUE(connection.open()) << connection.lastError().description.toStdString();
    connection.close();

    ASSERT_TRUE(testsupport::damagePageHolding(path, "MARKER 1500"));
    EXPECT_FALSE(connection.open());
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(connection.lastError().number, ado::errors::ProviderFailure);
    EXPECT_TRUE(connection.lastError().description.startsWith(QLatin1String("Unrecognized database format"))) << connection.lastError().description.toStdString();
}

// A file last written long enough ago for its state to be vouched for (see IntegrityStamp).
void settle(const QString &path, const QDateTime &when = QDateTime::currentDateTimeUtc().addSecs(-3600))
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

QString markedDatabase(const QTemporaryDir &dir)
{
    QString sql = QStringLiteral("CREATE TABLE t (v TEXT); BEGIN;");
    for (int i = 0; i < 2000; ++i)
        sql += QStringLiteral("INSERT INTO t VALUES ('%1 %2');").arg(i == 1500 ? QStringLiteral("MARKER") : QStringLiteral("row")).arg(i);
    sql += QStringLiteral("COMMIT;");
    return makeDatabase(dir, sql.toUtf8().constData());
}

// The full check is held to its pace: past its limit the file is refused as a damaged one is,
// and a yielding check lets the message loop run while it reads. A limit of nothing is past at
// the engine's first report, so neither case depends on how fast the machine is.
TEST(AdoIntegrityCheck, KeepsToItsTimeLimitAndYieldsWhenAsked)
{
    QTemporaryDir dir;
    QString sql = QStringLiteral("CREATE TABLE t (v TEXT); BEGIN;");
    for (int i = 0; i < 2000; ++i)
        sql += QStringLiteral("INSERT INTO t VALUES ('row %1');").arg(i);
    sql += QStringLiteral("COMMIT;");
    const QString path = makeDatabase(dir, sql.toUtf8().constData());
    ado::Connection late;
    late.setConnectionString(connectionString(path));
    late.setCheckPace({0, false});
    EXPECT_FALSE(late.open());
    EXPECT_FALSE(late.isOpen());
    EXPECT_TRUE(late.lastError().description.startsWith(QLatin1String("Unrecognized database format"))) << late.lastError().description.toStdString();

    int yields = 0;
    const runtime::YieldHook before = runtime::SetYieldHook([&yields](int) { ++yields; });
    ado::Connection paced;
    paced.setConnectionString(connectionString(path));
    paced.setCheckPace({ado::kIntegrityCheckLimitMs, true});
    EXPECT_TRUE(paced.open()) << paced.lastError().description.toStdString();
    runtime::SetYieldHook(before);
    EXPECT_GT(yields, 0);
}

// The schema check runs before the full check reads the file: a refused catalogue costs no
// reading of rows, and a damaged page behind it is never reached.
TEST(AdoIntegrityCheck, SchemaCheckComesFirstAndCanRefuse)
{
    QTemporaryDir dir;
    const QString path = markedDatabase(dir);
    ASSERT_TRUE(testsupport::damagePageHolding(path, "MARKER 1500"));
    ado::Connection connection;
    connection.setConnectionString(connectionString(path));
    int checks = 0;
    connection.setSchemaCheck([&checks](ado::Connection &open, ado::Error &error) {
        ++checks;
        EXPECT_TRUE(open.isOpen()) << "the catalogue is read on the open connection";
        error = {ado::errors::ProviderFailure, QStringLiteral("refused")};
        return false;
    });
    EXPECT_FALSE(connection.open());
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(connection.lastError().description, QStringLiteral("refused")) << "not the damaged page's verdict";
    EXPECT_FALSE(connection.isOpen());
}

// The full check is remembered for a file that passed it; a page damaged afterwards changes the
// file's state (its times, even when the modification time is put back), so the next open
// checks in full again and refuses it.
class AdoDamagedAfterCheck : public ::testing::TestWithParam<bool> {};

TEST_P(AdoDamagedAfterCheck, FailsTheNextOpen)
{
    const bool modificationTimePutBack = GetParam();
    QTemporaryDir dir;
    const QString path = markedDatabase(dir);
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-3600);
    settle(path, settled);
    ado::Connection connection;
    connection.setConnectionString(connectionString(path));
    ASSERT_TRUE(connection.open()) << connection.lastError().description.toStdString();
    connection.close();
    ASSERT_TRUE(QFile::exists(path + QStringLiteral("-checked")));

    ASSERT_TRUE(testsupport::damagePageHolding(path, "MARKER 1500"));
    if (modificationTimePutBack)
        settle(path, settled);
    EXPECT_FALSE(connection.open());
    EXPECT_TRUE(connection.lastError().description.startsWith(QLatin1String("Unrecognized database format"))) << connection.lastError().description.toStdString();
}
INSTANTIATE_TEST_SUITE_P(, AdoDamagedAfterCheck, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &info) { return info.param ? "ModificationTimePutBack" : "Plain"; });

// A connection that only reads leaves the file as it found it, so its check stays remembered; one
// that writes changes it, and the next open checks it in full.
TEST(AdoIntegrityStamp, SurvivesReadingAndNotWriting)
{
    QTemporaryDir dir;
    const QString path = makeDatabase(dir, kNames);
    const QDateTime settled = QDateTime::currentDateTimeUtc().addSecs(-3600);
    settle(path, settled);
    const ado::IntegrityStamp stamp(path);
    for (const bool writes : {false, true}) {
        ado::Connection connection;
        connection.setConnectionString(connectionString(path));
        ASSERT_TRUE(connection.open());
        ado::Recordset rs;
        ASSERT_TRUE(rs.open(QStringLiteral("SELECT * FROM names"), connection));
        rs.close();
        if (writes) {
            ASSERT_TRUE(connection.execute(QStringLiteral("INSERT INTO names (name) VALUES ('delta')")));
        }
        connection.close();
        EXPECT_EQ(stamp.vouchesFor(*ado::fileStateOf(path)), !writes) << (writes ? "after a write" : "after reading");
        if (!writes) {
            EXPECT_EQ(QFileInfo(path).lastModified().toUTC(), settled) << "reading leaves the time of the last write";
        }
    }
}

TEST(AdoIntegrityStamp, VouchesOnlyForTheStateItRecorded)
{
    QTemporaryDir dir;
    const QString path = makeDatabase(dir, kNames);
    const ado::FileState state{11, 22, 4096, 1'000'000'000, 2'000'000'000};
    const qint64 later = state.modifiedNs + ado::kSettleNs + 1;
    const ado::IntegrityStamp stamp(path);
    EXPECT_FALSE(stamp.vouchesFor(state)) << "no stamp yet";

    stamp.record(state, state.modifiedNs + ado::kSettleNs / 2);
    EXPECT_FALSE(stamp.vouchesFor(state)) << "a file written this recently may change within the clock's tick";

    stamp.record(state, later);
    EXPECT_TRUE(stamp.vouchesFor(state));
    const std::function<void(ado::FileState &)> changes[] = {
        [](ado::FileState &s) { ++s.device; }, [](ado::FileState &s) { ++s.inode; },      [](ado::FileState &s) { ++s.size; },
        [](ado::FileState &s) { ++s.modifiedNs; }, [](ado::FileState &s) { ++s.changedNs; },
    };
    for (const auto &change : changes) {
        ado::FileState other = state;
        change(other);
        EXPECT_FALSE(stamp.vouchesFor(other));
    }

    // A stamp file that is not one (cut short, grown, garbage) vouches for nothing.
    for (const QByteArray &bytes : {QByteArray("kestrova-integrity-stamp 1"), QByteArray(100'000, 'x'), QByteArray()}) {
        QFile file(stamp.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        EXPECT_FALSE(stamp.vouchesFor(state));
    }
}

qint64 nowNs()
{
    return QDateTime::currentDateTimeUtc().toMSecsSinceEpoch() * 1'000'000;
}

// The stamp vouches for the file's present state, as if the file had passed its check so.
void stampAsChecked(const QString &path)
{
    settle(path);
    const ado::IntegrityStamp stamp(path);
    stamp.record(*ado::fileStateOf(path), nowNs());
    ASSERT_TRUE(stamp.vouchesFor(*ado::fileStateOf(path)));
}

// A write-ahead log beside the database holds pages that the file's state does not cover, so it
// forces the full check although the stamp vouches for the file: here a damaged file, whose
// damage only the full check finds.
struct LogCase {
    const char *name;
    bool connectionHoldsIt; // else an empty log left behind
};

class AdoLogBeside : public ::testing::TestWithParam<LogCase> {};

TEST_P(AdoLogBeside, ForcesTheFullCheckAtOpen)
{
    QTemporaryDir dir;
    const QString path = markedDatabase(dir);
    ASSERT_TRUE(testsupport::damagePageHolding(path, "MARKER 1500"));
    stampAsChecked(path);
    ado::Connection connection;
    connection.setConnectionString(connectionString(path));
    ASSERT_TRUE(connection.open()) << "without a log the stamp decides: " << connection.lastError().description.toStdString();
    connection.close();
    ASSERT_FALSE(QFile::exists(path + QStringLiteral("-wal")));

    sqlite3 *other = nullptr;
    if (GetParam().connectionHoldsIt) {
        ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, "PRAGMA journal_mode=WAL; SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr), SQLITE_OK);
    } else {
        QFile log(path + QStringLiteral("-wal"));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::exists(path + QStringLiteral("-wal")));
    stampAsChecked(path);
    EXPECT_FALSE(connection.open());
    EXPECT_TRUE(connection.lastError().description.startsWith(QLatin1String("Unrecognized database format")))
        << connection.lastError().description.toStdString();
    sqlite3_close(other);
}

INSTANTIATE_TEST_SUITE_P(, AdoLogBeside,
                         ::testing::Values(LogCase{"LeftBehindEmpty", false}, LogCase{"OfAConnectionStillOpen", true}),
                         [](const auto &info) { return std::string(info.param.name); });

// Opens the pipe for writing once `limit` has passed without done(), which lets a reader that
// waits in its open for a writer go on: a test that needed it has waited where it must not.
class PipeRescue {
public:
    PipeRescue(const QString &pipe, std::chrono::seconds limit)
        : thread_([this, name = QFile::encodeName(pipe), limit] {
              std::unique_lock lock(mutex_);
              if (finished_.wait_for(lock, limit, [this] { return done_; }))
                  return;
              while (!done_) {
                  const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0) {
                      rescued_ = true;
                      ::close(fd);
                  }
                  finished_.wait_for(lock, std::chrono::milliseconds(10), [this] { return done_; });
              }
          })
    {
    }
    ~PipeRescue() { done(); }
    // True when the reader had to be rescued.
    bool done()
    {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        finished_.notify_all();
        if (thread_.joinable())
            thread_.join();
        return rescued_;
    }

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::atomic<bool> rescued_{false};
    std::thread thread_;
};

bool makePipe(const QString &at)
{
    return ::mkfifo(QFile::encodeName(at).constData(), 0600) == 0;
}

// Whatever stands under the stamp's name but a regular file is no stamp, and is never waited
// for: the open checks the database in full and goes on. The stamp it then records replaces
// what stood there and never writes through a link (its target, here a file of the test's own,
// stays as it was).
TEST(AdoIntegrityStamp, AStampThatIsNoRegularFileIsNoStampAndIsNotWaitedFor)
{
    struct Row {
        const char *name;
        std::function<bool(const QTemporaryDir &, const QString &)> make;
    };
    const Row rows[] = {
        {"pipe", [](const QTemporaryDir &, const QString &at) { return makePipe(at); }},
        {"folder", [](const QTemporaryDir &, const QString &at) { return QDir().mkdir(at); }},
        {"link to a pipe",
         [](const QTemporaryDir &dir, const QString &at) {
             return makePipe(dir.filePath(QStringLiteral("elsewhere"))) && QFile::link(dir.filePath(QStringLiteral("elsewhere")), at);
         }},
        {"link to another file", [](const QTemporaryDir &dir, const QString &at) {
             QFile other(dir.filePath(QStringLiteral("elsewhere")));
             return other.open(QIODevice::WriteOnly) && other.write("not a stamp") > 0 && QFile::link(other.fileName(), at);
         }},
    };
    for (const Row &row : rows) {
        QTemporaryDir dir;
        const QString path = makeDatabase(dir, kNames);
        settle(path);
        const ado::IntegrityStamp stamp(path);
        ASSERT_TRUE(row.make(dir, stamp.path())) << row.name;
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
        const bool elsewhereIsFile = QFileInfo(elsewhere).isFile();
        PipeRescue rescue(stamp.path(), std::chrono::seconds(20));
        EXPECT_FALSE(stamp.vouchesFor(*ado::fileStateOf(path))) << row.name;
        ado::Connection connection;
        connection.setConnectionString(connectionString(path));
        EXPECT_TRUE(connection.open()) << row.name << ": " << connection.lastError().description.toStdString();
        connection.close();
        EXPECT_FALSE(rescue.done()) << row.name << ": the read waited for a writer";
        if (elsewhereIsFile) {
            EXPECT_EQ(testsupport::readFile(elsewhere), QByteArray("not a stamp")) << row.name << ": written through the link";
            EXPECT_TRUE(stamp.vouchesFor(*ado::fileStateOf(path))) << row.name << ": the stamp took the link's place";
        }
    }
}

// A query without end (a view over an endless recursive query) stops at the record set's bound
// and fails, instead of filling memory; the connection goes on working.
TEST_F(Ado, RecordSetStopsAtItsBound)
{
    ASSERT_TRUE(connection.execute(QStringLiteral(
        "CREATE VIEW endless AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
        "SELECT i, printf('%.*c', 1048576, 'x') AS filler FROM n")));
    ado::Recordset rs;
    EXPECT_FALSE(rs.open(QStringLiteral("SELECT * FROM endless"), connection));
    EXPECT_FALSE(rs.isOpen());
    EXPECT_EQ(rs.lastError().number, ado::errors::OutOfMemory);
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM endless LIMIT 3"), QStringLiteral("i")), (QStringList{"1", "2", "3"}));
}

}
