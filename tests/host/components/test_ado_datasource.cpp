#include "components/AdoConnection.h"
#include "components/AdoSession.h"

#include <gtest/gtest.h>

namespace {

struct ConnectionCase {
    const char *name;
    const char *connectionString; // UTF-8
    const char *dataSource;
};

void PrintTo(const ConnectionCase &row, std::ostream *out) { *out << row.name; }

class DataSourceOf : public ::testing::TestWithParam<ConnectionCase> {};

TEST_P(DataSourceOf, ReadsTheValueByTheConnectionStringRules)
{
    EXPECT_EQ(ado::dataSourceOf(QString::fromUtf8(GetParam().connectionString)), QString::fromUtf8(GetParam().dataSource));
}

INSTANTIATE_TEST_SUITE_P(
    , DataSourceOf,
    ::testing::Values(
        ConnectionCase{"Plain", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/p/hwids.mdb;", "/p/hwids.mdb"},
        ConnectionCase{"SpacesAroundAreNotPartOfIt", "  data source  =  /p/hwids.mdb  ;", "/p/hwids.mdb"},
        ConnectionCase{"Backslashes", "Data Source=C:\\p\\hwids.mdb", "C:/p/hwids.mdb"},
        ConnectionCase{"DoubleQuotedWithSemicolonAndSpaces", "Data Source=\" /a;b /hwids.mdb \";Mode=Read", " /a;b /hwids.mdb "},
        ConnectionCase{"SingleQuotedWithDoubleQuote", "Data Source='/say \"hi\"/hwids.mdb'", "/say \"hi\"/hwids.mdb"},
        ConnectionCase{"DoubledQuoteInside", "Data Source=\"/a\"\"b/hwids.mdb\"", "/a\"b/hwids.mdb"},
        ConnectionCase{"HashAndEqualsInTheValue", "Data Source=/#1=one/hwids.mdb;", "/#1=one/hwids.mdb"},
        ConnectionCase{"AQuotedDecoyIsNotAKey", "Provider=\"x;Data Source=/decoy\";Data Source=/real", "/real"},
        ConnectionCase{"DoubledEqualsBelongsToTheKeyword", "Data Source==/x;Data Source=/y", "/y"},
        ConnectionCase{"Missing", "Provider=Microsoft.Jet.OLEDB.4.0;", ""},
        ConnectionCase{"PairsWithoutEquals", ";;junk;Data Source=/p", "/p"}),
    [](const auto &info) { return std::string(info.param.name); });

// Whatever a path holds, written through connectionStringValue it comes back unchanged.
TEST(ConnectionStringValue, CarriesAnyPathThroughTheConnectionString)
{
    for (const char *path : {"/home/a;b/kestrova/hwids.mdb", " /lead and trail/hwids.mdb ", "/say \"hi\"/it's/hwids.mdb",
                             "/'\"';\"'/hwids.mdb", "/#1=one;Data Source=/x/hwids.mdb", "/Grüße/日本/hwids.mdb", ""}) {
        const QString value = QString::fromUtf8(path);
        const QString text = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + ado::connectionStringValue(value)
                             + QStringLiteral(";Mode=Read");
        EXPECT_EQ(ado::dataSourceOf(text), value) << text.toStdString();
    }
}

} // namespace
