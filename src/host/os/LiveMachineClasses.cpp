#include "os/LiveMachineClasses.h"

namespace os {

const std::vector<DeviceClass> &deviceClasses()
{
    static const std::vector<DeviceClass> classes = {
        {"Unknown", "{4d36e97e-e325-11ce-bfc1-08002be10318}", "Other devices", -18, nullptr, nullptr},
        {"System", "{4d36e97d-e325-11ce-bfc1-08002be10318}", "System devices", -27, nullptr, nullptr},
        {"Display", "{4d36e968-e325-11ce-bfc1-08002be10318}", "Display adapters", -1, nullptr, nullptr},
        {"Net", "{4d36e972-e325-11ce-bfc1-08002be10318}", "Network adapters", -5, nullptr, nullptr},
        {"HDC", "{4d36e96a-e325-11ce-bfc1-08002be10318}", "IDE ATA/ATAPI controllers", -9, nullptr, nullptr},
        {"SCSIAdapter", "{4d36e97b-e325-11ce-bfc1-08002be10318}", "Storage controllers", -10, nullptr, nullptr},
        {"USB", "{36fc9e60-c465-11cf-8056-444553540000}", "Universal Serial Bus controllers", -20, nullptr, nullptr},
        {"HIDClass", "{745a17a0-74d3-11d0-b6fe-00a0c90f57da}", "Human Interface Devices", -24, nullptr, nullptr},
        {"Ports", "{4d36e978-e325-11ce-bfc1-08002be10318}", "Ports (COM & LPT)", -23, nullptr,
         "MsPorts.dll,SerialPortPropPageProvider"},
        {"MEDIA", "{4d36e96c-e325-11ce-bfc1-08002be10318}", "Sound, video and game controllers", -19, nullptr,
         "mmsys.cpl,MediaPropPageProvider"},
        {"Processor", "{50127dc3-0f36-415e-a6cc-4cb3be910b65}", "Processors", -28, nullptr, nullptr},
        {"Keyboard", "{4d36e96b-e325-11ce-bfc1-08002be10318}", "Keyboards", -3, nullptr, nullptr},
        {"Mouse", "{4d36e96f-e325-11ce-bfc1-08002be10318}", "Mice and other pointing devices", -2, nullptr, nullptr},
        {"Monitor", "{4d36e96e-e325-11ce-bfc1-08002be10318}", "Monitors", -41, nullptr, nullptr},
        {"DiskDrive", "{4d36e967-e325-11ce-bfc1-08002be10318}", "Disk drives", -53, nullptr,
         "storprop.dll,DiskPropPageProvider"},
        {"CDROM", "{4d36e965-e325-11ce-bfc1-08002be10318}", "DVD/CD-ROM drives", -51, nullptr,
         "storprop.dll,CdromPropPageProvider"},
        {"Volume", "{71a27cdd-812a-11d0-bec7-08002be2092f}", "Storage volumes", -54, nullptr, nullptr},
        {"Computer", "{4d36e966-e325-11ce-bfc1-08002be10318}", "Computer", -37, nullptr, nullptr},
        {"Battery", "{72631e54-78a4-11d0-bcf7-00aa00b7b32a}", "Batteries", -29, nullptr, nullptr},
        {"Bluetooth", "{e0cbf06c-cd8b-4647-bb8a-263b43f0f974}", "Bluetooth", 0,
         "%SystemRoot%\\System32\\bthci.dll,-201", nullptr},
        {"AudioEndpoint", "{c166523c-fe0c-4a94-a586-f1a80cfbbf3e}", "Audio inputs and outputs", 0,
         "%SystemRoot%\\System32\\mmres.dll,-3004", nullptr},
        {"Camera", "{ca3e7ab9-b4c3-4ae6-8251-579ef933890f}", "Cameras", -33, nullptr, nullptr},
        {"Image", "{6bdd1fc6-810f-11d0-bec7-08002be2092f}", "Imaging devices", -33, nullptr, nullptr},
        {"Printer", "{4d36e979-e325-11ce-bfc1-08002be10318}", "Printers", -32, nullptr, nullptr},
        {"PrintQueue", "{1ed2bbf9-11f0-4084-b21f-ad83a8e6dcdc}", "Print queues", -38, nullptr, nullptr},
        {"SoftwareDevice", "{62f9c741-b25a-46ce-b54c-9bccce08b6f2}", "Software devices", -31, nullptr, nullptr},
        {"SoftwareComponent", "{5c4c3332-344d-483c-8739-259e934c9cc8}", "Software components", -42, nullptr, nullptr},
        {"SecurityDevices", "{d94ee5d8-d189-4994-83d2-f68d7d41b0e6}", "Security devices", -39, nullptr, nullptr},
        {"SmartCardReader", "{50dd5230-ba8a-11d1-bf5d-0000f805f530}", "Smart card readers", -34, nullptr, nullptr},
        {"Biometric", "{53d29ef7-377c-4d14-864b-eb3a85769359}", "Biometric devices", -35, nullptr, nullptr},
        {"Firmware", "{f2e7dd72-6468-4e36-b6f1-6488f42c1b52}", "Firmware", -36, nullptr, nullptr},
        {"WPD", "{eec5ad98-8080-425f-922a-dabf3de3f69a}", "Portable Devices", -46, nullptr, nullptr},
        {"USBDevice", "{88bae032-5a81-49f0-bc3d-a4ff138216d6}", "Universal Serial Bus devices", -45, nullptr, nullptr},
        {"SDHost", "{a0a588a4-c46f-4b37-b7ea-c82fe89870c6}", "SD host adapters", -55, nullptr, nullptr},
        {"Modem", "{4d36e96d-e325-11ce-bfc1-08002be10318}", "Modems", -52, nullptr, nullptr},
        {"Sensor", "{5175d334-c371-4806-b3ba-71fd53c9258d}", "Sensors", -47, nullptr, nullptr},
        {"Extension", "{e2f84ce7-8efa-411c-aa69-97454ca4cb57}", "Extensions", -48, nullptr, nullptr},
    };
    return classes;
}

const DeviceClass &deviceClass(const QString &name)
{
    const auto &classes = deviceClasses();
    for (const DeviceClass &entry : classes) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry;
    }
    return classes.front();
}

} // namespace os
