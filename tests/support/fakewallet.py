#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A desktop wallet on the session bus for the keyring test: the part of KWallet's D-Bus
interface (org.kde.kwalletd5) that QtKeychain uses, its entries kept in memory. Prints "ready"
once it holds its name; needs python3-dbus and python3-gi."""
import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

IFACE = "org.kde.KWallet"
PASSWORD = 1


class Wallet(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/modules/kwalletd5")
        self.entries = {}

    @dbus.service.method(IFACE, in_signature="", out_signature="s")
    def networkWallet(self):
        return "kdewallet"

    @dbus.service.method(IFACE, in_signature="", out_signature="s")
    def localWallet(self):
        return "kdewallet"

    @dbus.service.method(IFACE, in_signature="", out_signature="b")
    def isEnabled(self):
        return True

    @dbus.service.method(IFACE, in_signature="sxs", out_signature="i")
    def open(self, wallet, window, app):
        return 1

    @dbus.service.method(IFACE, in_signature="iss", out_signature="b")
    def hasFolder(self, handle, folder, app):
        return True

    @dbus.service.method(IFACE, in_signature="iss", out_signature="b")
    def createFolder(self, handle, folder, app):
        return True

    @dbus.service.method(IFACE, in_signature="isss", out_signature="i")
    def entryType(self, handle, folder, key, app):
        return PASSWORD if (folder, key) in self.entries else 0

    @dbus.service.method(IFACE, in_signature="isss", out_signature="b")
    def hasEntry(self, handle, folder, key, app):
        return (folder, key) in self.entries

    @dbus.service.method(IFACE, in_signature="isss", out_signature="s")
    def readPassword(self, handle, folder, key, app):
        return self.entries.get((folder, key), "")

    @dbus.service.method(IFACE, in_signature="issss", out_signature="i")
    def writePassword(self, handle, folder, key, value, app):
        self.entries[(folder, key)] = str(value)
        return 0

    @dbus.service.method(IFACE, in_signature="isss", out_signature="i")
    def removeEntry(self, handle, folder, key, app):
        self.entries.pop((folder, key), None)
        return 0

    # For the test: what the wallet holds, one "folder/key=value" a line.
    @dbus.service.method(IFACE, in_signature="", out_signature="s")
    def dump(self):
        return "\n".join(f"{f}/{k}={v}" for (f, k), v in sorted(self.entries.items()))


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
wallet = Wallet(bus)
name = dbus.service.BusName("org.kde.kwalletd5", bus)
print("ready", flush=True)
GLib.MainLoop().run()
