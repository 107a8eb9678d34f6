// The floor of the start-up benchmark: a plain, well-built Qt Widgets program doing the program's
// start-up work and nothing else. A frameless window of the main window's size, four tabs of
// 6-column lists with class icons, the rows the program shows (the same machine source and
// registry, the same filters), every column fitted to every row by the view's own fit, the same
// two queries against hwids.mdb (its version and its device count), then the finish line
// (app/FinishLine.h) at the next turn of the message loop.

#include "app/FinishLine.h"
#include "core/ModHardware.h"
#include "os/Registry.h"
#include "os/Wmi.h"

#include <QApplication>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <sqlite3.h>

#include <array>

namespace {

const QStringList kHeaders = {QStringLiteral("Name"),  QStringLiteral("Manufacturer"),   QStringLiteral("Error Code"),
                              QStringLiteral("Class"), QStringLiteral("Driver Version"), QStringLiteral("Hardware IDs")};
const QString kClassKey = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Class\\");
const QString kEnumKey = QStringLiteral("SYSTEM\\CurrentControlSet\\Enum\\");

QString property(const os::WmiObject &object, const QString &name, const QString &fallback = {})
{
    const std::optional<QVariant> value = object.get(name);
    const QString text = value && !value->isNull() ? value->toString().section(QChar(0), 0, 0).simplified() : QString();
    return text.isEmpty() ? fallback : text;
}

// A string value of the machine's registry; a multi-string's parts joined by "|".
QString registryText(const QString &key, const QString &name)
{
    const auto found = os::machineRegistry().find(os::HKEY_LOCAL_MACHINE, key);
    const os::RegistryValue *value = found ? found->value(name) : nullptr;
    if (!value)
        return {};
    const QString text = os::regDecodeUtf16(value->data);
    if (value->type == os::REG_MULTI_SZ)
        return text.split(QChar(0), Qt::SkipEmptyParts).join(QLatin1Char('|'));
    return text.section(QChar(0), 0, 0);
}

QString orUnknown(const QString &text) { return text.isEmpty() ? QStringLiteral("Unknown") : text; }

// A freedesktop device icon for a device class, as a plain program on this desktop would show.
QIcon classIcon(const QString &className)
{
    static QHash<QString, QIcon> icons;
    static const QHash<QString, QString> names = {
        {QStringLiteral("Display"), QStringLiteral("video-display")},   {QStringLiteral("Monitor"), QStringLiteral("video-display")},
        {QStringLiteral("Net"), QStringLiteral("network-wired")},       {QStringLiteral("DiskDrive"), QStringLiteral("drive-harddisk")},
        {QStringLiteral("HIDClass"), QStringLiteral("input-keyboard")}, {QStringLiteral("Keyboard"), QStringLiteral("input-keyboard")},
        {QStringLiteral("Mouse"), QStringLiteral("input-mouse")},       {QStringLiteral("MEDIA"), QStringLiteral("audio-card")},
        {QStringLiteral("USB"), QStringLiteral("media-removable")},     {QStringLiteral("Bluetooth"), QStringLiteral("bluetooth")},
    };
    auto known = icons.constFind(className);
    if (known == icons.cend())
        known = icons.insert(className, QIcon::fromTheme(names.value(className, QStringLiteral("computer"))));
    return *known;
}

struct Row {
    QString deviceId, name, manufacturer, classGuid;
    int errorCode = 0;
    std::array<QString, 6> cells;
};

Row rowOf(const os::WmiObject &object)
{
    Row row;
    row.deviceId = property(object, QStringLiteral("DeviceID"));
    row.name = property(object, QStringLiteral("Name"), QStringLiteral("Unknown"));
    row.manufacturer = property(object, QStringLiteral("Manufacturer"), QStringLiteral("Unknown"));
    row.classGuid = property(object, QStringLiteral("ClassGuid"), ModHardware::DefaultClassGuid);
    row.errorCode = property(object, QStringLiteral("ConfigManagerErrorCode")).toInt();
    QString className = registryText(kClassKey + row.classGuid, QString());
    if (className.isEmpty())
        className = registryText(kClassKey + row.classGuid, QStringLiteral("Class"));
    const QString driver = registryText(kEnumKey + row.deviceId, QStringLiteral("Driver"));
    const QString version = driver.isEmpty() ? QString() : registryText(kClassKey + driver, QStringLiteral("DriverVersion"));
    const QString ids = registryText(kEnumKey + row.deviceId, QStringLiteral("HardwareID"));
    row.cells = {row.name,
                 row.manufacturer,
                 QStringLiteral("(%1) %2").arg(row.errorCode).arg(row.errorCode == 0 ? QStringLiteral("This device is working properly")
                                                                                      : QStringLiteral("This device has a problem")),
                 className.isEmpty() ? QStringLiteral("Unknown (%1)").arg(row.classGuid) : className,
                 orUnknown(version),
                 ids.isEmpty() ? row.deviceId : ids};
    return row;
}

// The version and the device count, as the program's start-up reads them.
std::pair<QString, int> readDatabase(const QString &path)
{
    std::pair<QString, int> result{QString(), 0};
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT dbversion FROM version", -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            result.first = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM hwids", -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            result.second = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return result;
}

class FloorWindow : public QWidget {
public:
    FloorWindow()
    {
        setWindowFlag(Qt::FramelessWindowHint);
        setWindowTitle(QStringLiteral("Plain floor"));
        auto *layout = new QVBoxLayout(this);
        m_count = new QLabel(QStringLiteral("Devices In Database:"), this);
        m_version = new QLabel(QStringLiteral("Database Version:"), this);
        layout->addWidget(m_count);
        layout->addWidget(m_version);
        auto *tabs = new QTabWidget(this);
        layout->addWidget(tabs);
        for (const char *caption : {"All Devices", "No Drivers", "Problems", "No System Devices"}) {
            auto *list = new QTreeWidget(tabs);
            list->setColumnCount(int(kHeaders.size()));
            list->setHeaderLabels(kHeaders);
            list->setRootIsDecorated(false);
            list->setUniformRowHeights(true);
            list->setIconSize(QSize(16, 16));
            tabs->addTab(list, QString::fromLatin1(caption));
            m_lists.push_back(list);
        }
    }

    void fill(const QString &databasePath)
    {
        const auto [version, count] = readDatabase(databasePath);
        m_count->setText(QStringLiteral("Devices In Database: %L1").arg(count));
        m_version->setText(QStringLiteral("Database Version: ") + version);
        std::vector<os::WmiObject> devices;
        if (const auto services = os::GetObject(QStringLiteral("winmgmts:\\\\.\\root\\CIMV2")))
            devices = services->ExecQuery(os::kQueryAllDevices);
        std::array<QList<QTreeWidgetItem *>, 4> items;
        for (const os::WmiObject &object : devices) {
            const Row row = rowOf(object);
            if (ModHardware::IsSkippedDeviceId(row.deviceId))
                continue;
            const bool member[] = {true, ModHardware::BelongsToNoDrivers(row.name, row.errorCode, row.classGuid),
                                   ModHardware::BelongsToProblems(row.errorCode, row.classGuid),
                                   ModHardware::BelongsToNoSystemDevices(row.manufacturer)};
            const QIcon icon = classIcon(row.cells[3]);
            for (std::size_t list = 0; list < items.size(); ++list) {
                if (!member[list])
                    continue;
                auto *item = new QTreeWidgetItem(QStringList(row.cells.begin(), row.cells.end()));
                item->setIcon(0, icon);
                items[list].push_back(item);
            }
        }
        for (std::size_t list = 0; list < m_lists.size(); ++list) {
            m_lists[list]->addTopLevelItems(items[list]);
            for (int column = 0; column < m_lists[list]->columnCount(); ++column)
                m_lists[list]->resizeColumnToContents(column);
        }
    }

private:
    QLabel *m_count = nullptr;
    QLabel *m_version = nullptr;
    std::vector<QTreeWidget *> m_lists;
};

}

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    const QString finish = qEnvironmentVariable("KESTROVA_FINISH_FILE");
    FloorWindow window;
    window.resize(750, 550); // the main window's 11250 x 8250 twips
    window.show();
    QTimer::singleShot(0, &window, [&window, finish] {
        window.fill(QStringLiteral(KESTROVA_DATABASE));
        QTimer::singleShot(0, &window, [finish] {
            CrossFinishLine(finish);
            QApplication::quit();
        });
    });
    return QApplication::exec();
}
