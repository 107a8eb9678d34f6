#!/usr/bin/env python3
"""Writes the stand-in icon libraries of the system folder (data/program/system32/*.dll).

Each library holds icons addressed by resource number, as the device-class keys name them
(setupapi.dll,-27 and the like). The artwork is the Adwaita icon theme's symbolic device icons
(16 and 32 pixels). File layout, little-endian: the 8 bytes "KSICOLIB", the icon count (u32),
then per icon its resource number (i32), its image count (u32) and per image the byte length
(u32) and the PNG bytes.

Run it again after changing the table; the written files are committed.
"""
import os
import struct
import sys

THEME = "/usr/share/icons/Adwaita"

# Resource numbers of setupapi.dll, by the class that names them (see LiveMachineClasses.cpp).
SETUPAPI = {
    1: "video-display",            # Display
    2: "input-mouse",              # Mouse
    3: "input-keyboard",           # Keyboard
    5: "network-wired",            # Net
    9: "drive-harddisk-system",    # HDC
    10: "drive-harddisk-system",   # SCSIAdapter
    18: "dialog-question",         # Other devices
    19: "audio-card",              # MEDIA (its mmsys.cpl has no icons: the fall-back takes these)
    20: "media-removable",         # USB
    23: "modem",                   # Ports
    24: "input-tablet",            # HIDClass
    27: "computer",                # System
    28: "preferences-system-details",  # Processor
    29: "battery",                 # Battery
    31: "system-software-install", # SoftwareDevice
    32: "printer",                 # Printer
    33: "camera-web",              # Camera, Image
    34: "auth-smartcard",          # SmartCardReader
    35: "auth-fingerprint",        # Biometric
    36: "application-x-firmware",  # Firmware
    37: "computer",                # Computer
    38: "printer-network",         # PrintQueue
    39: "security-high",           # SecurityDevices
    41: "video-display",           # Monitor
    42: "system-software-install", # SoftwareComponent
    45: "drive-harddisk-usb",      # USBDevice
    46: "multimedia-player",       # WPD
    47: "preferences-system-devices",  # Sensor
    48: "preferences-system-devices",  # Extension
    52: "phone-old",               # Modem
    54: "drive-harddisk",          # Volume
    55: "media-flash",             # SDHost
}
# Resource numbers up to this one that no class above names show a generic device, so that a
# saved machine whose class keys use other numbers of setupapi.dll still shows an icon.
GENERIC_UP_TO = 60
GENERIC = "preferences-system-devices"

LIBRARIES = {
    "setupapi.dll": SETUPAPI,
    "storprop.dll": {53: "drive-harddisk", 51: "drive-optical"},
    "MsPorts.dll": {23: "modem"},
    "bthci.dll": {201: "bluetooth"},
    "mmres.dll": {3004: "audio-speakers"},
}


def png(name, size):
    for folder in ("devices", "legacy", "status", "mimetypes"):
        path = os.path.join(THEME, f"{size}x{size}", folder, f"{name}-symbolic.symbolic.png")
        if os.path.exists(path):
            with open(path, "rb") as handle:
                return handle.read()
    sys.exit(f"missing icon {name} at {size}")


def write(path, table):
    entries = dict(table)
    if os.path.basename(path) == "setupapi.dll":
        for number in range(1, GENERIC_UP_TO + 1):
            entries.setdefault(number, GENERIC)
    out = bytearray(b"KSICOLIB")
    out += struct.pack("<I", len(entries))
    for number in sorted(entries):
        images = [png(entries[number], size) for size in (16, 32)]
        out += struct.pack("<iI", number, len(images))
        for image in images:
            out += struct.pack("<I", len(image)) + image
    with open(path, "wb") as handle:
        handle.write(out)


def main():
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "program", "system32")
    os.makedirs(target, exist_ok=True)
    for name, table in LIBRARIES.items():
        write(os.path.join(target, name), table)


if __name__ == "__main__":
    main()
