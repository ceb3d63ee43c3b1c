#!/usr/bin/python3
"""A small stand-in for systemd's D-Bus API (org.freedesktop.systemd1) on a private bus.

It knows the units given on the command line as JSON, moves a started unit through
"activating" to "active" (or to "failed") and a stopped one through "deactivating" to
"inactive" after a delay, with a job for each; it can refuse start and stop as access denied,
or unless the call allows interactive authorisation.
Prints READY once it owns its name.
"""

import argparse
import json
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

BUS_NAME = "org.freedesktop.systemd1"
ROOT = "/org/freedesktop/systemd1"
MANAGER = "org.freedesktop.systemd1.Manager"
UNIT = "org.freedesktop.systemd1.Unit"
SERVICE = "org.freedesktop.systemd1.Service"
JOB = "org.freedesktop.systemd1.Job"
PROPERTIES = "org.freedesktop.DBus.Properties"
NO_JOB = dbus.Struct((dbus.UInt32(0), dbus.ObjectPath("/")), signature="uo")


def escape(name):
    """systemd's object path escaping: every character but letters and digits as _xx."""
    return "".join(c if c.isalnum() else "_%02x" % ord(c) for c in name)


def error(name, message):
    return dbus.DBusException(message, name=name)


class PropertyObject(dbus.service.Object):
    """An object whose properties are a dictionary per interface."""

    def properties(self, interface):
        raise NotImplementedError

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        values = self.properties(interface)
        if name not in values:
            raise error("org.freedesktop.DBus.Error.UnknownProperty",
                        "Unknown property %s.%s" % (interface, name))
        return values[name]


class Job(PropertyObject):
    def __init__(self, connection, number, job_type):
        self.path = "%s/job/%d" % (ROOT, number)
        super().__init__(connection, self.path)
        self.number, self.job_type = number, job_type

    def reference(self):
        return dbus.Struct((dbus.UInt32(self.number), dbus.ObjectPath(self.path)),
                           signature="uo")

    def properties(self, interface):
        return {"JobType": self.job_type} if interface == JOB else {}


class Unit(PropertyObject):
    def __init__(self, connection, name, unit_settings):
        self.path = "%s/unit/%s" % (ROOT, escape(name))
        super().__init__(connection, self.path)
        self.name = name
        self.load_state = unit_settings.get("load", "loaded")
        self.active_state = unit_settings.get("state", "inactive")
        self.sub_state = "running" if self.active_state == "active" else "dead"
        self.delay_ms = unit_settings.get("delay_ms", 300)
        self.fail_exit = unit_settings.get("fail_exit")
        self.deny = unit_settings.get("deny", False)
        self.asks = unit_settings.get("asks", False)
        self.timeout_start_us = unit_settings.get("timeout_start_us", 90 * 1000 * 1000)
        self.timeout_stop_us = unit_settings.get("timeout_stop_us", 90 * 1000 * 1000)
        self.result = "success"
        self.exit_status = 0
        self.job = None

    def properties(self, interface):
        if interface == UNIT:
            return {"LoadState": self.load_state,
                    "ActiveState": self.active_state, "SubState": self.sub_state,
                    "Job": self.job.reference() if self.job else NO_JOB}
        if interface == SERVICE:
            return {"Result": self.result, "ExecMainStatus": dbus.Int32(self.exit_status),
                    "TimeoutStartUSec": dbus.UInt64(self.timeout_start_us),
                    "TimeoutStopUSec": dbus.UInt64(self.timeout_stop_us)}
        return {}

    def finish(self, active_state, sub_state):
        self.active_state, self.sub_state = active_state, sub_state
        self.job.remove_from_connection()
        self.job = None
        return False


class Manager(dbus.service.Object):
    def __init__(self, connection, specs):
        super().__init__(connection, ROOT)
        self.bus = connection
        self.units = {name: Unit(connection, name, unit_settings) for name, unit_settings in specs.items()}
        self.jobs = 0

    def unit(self, name):
        if name not in self.units:
            # As systemd does, a unit that is asked for is loaded, as not found.
            self.units[name] = Unit(self.bus, name, {"load": "not-found"})
        return self.units[name]

    def known(self, name):
        unit = self.unit(name)
        if unit.load_state == "not-found":
            raise error("org.freedesktop.systemd1.NoSuchUnit", "Unit %s not found." % name)
        return unit

    def new_job(self, unit, job_type):
        self.jobs += 1
        unit.job = Job(self.bus, self.jobs, job_type)
        return unit.job.path

    @dbus.service.method(MANAGER, in_signature="s", out_signature="o")
    def LoadUnit(self, name):
        return self.unit(name).path

    @dbus.service.method(MANAGER, in_signature="s", out_signature="o")
    def GetUnit(self, name):
        return self.known(name).path

    def begin_job(self, message, name, job_type, active_state, sub_state, done):
        """Starts a job of job_type on the unit name, which ends in the states done."""
        unit = self.known(name)
        if unit.deny:
            raise error("org.freedesktop.DBus.Error.AccessDenied", "Access denied")
        # As polkit does for a unit that needs a password: refused unless the caller lets it ask.
        if unit.asks and not message.get_allow_interactive_authorization():
            raise error("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired",
                        "Interactive authentication required.")
        path = self.new_job(unit, job_type)
        unit.active_state, unit.sub_state = active_state, sub_state
        GLib.timeout_add(unit.delay_ms, unit.finish, *done(unit))
        return path

    @dbus.service.method(MANAGER, in_signature="ss", out_signature="o",
                         message_keyword="message")
    def StartUnit(self, name, mode, message):
        def done(unit):
            if unit.fail_exit is None:
                return "active", "running"
            unit.result, unit.exit_status = "exit-code", unit.fail_exit
            return "failed", "failed"
        return self.begin_job(message, name, "start", "activating", "start", done)

    @dbus.service.method(MANAGER, in_signature="ss", out_signature="o",
                         message_keyword="message")
    def StopUnit(self, name, mode, message):
        return self.begin_job(message, name, "stop", "deactivating", "stop",
                              lambda unit: ("inactive", "dead"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--address", required=True)
    parser.add_argument("--units", default="{}", help="JSON: unit name -> its settings")
    arguments = parser.parse_args()
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    connection = dbus.bus.BusConnection(arguments.address)
    manager = Manager(connection, json.loads(arguments.units))
    name = dbus.service.BusName(BUS_NAME, connection)
    print("READY", flush=True)
    GLib.MainLoop().run()
    del manager, name


if __name__ == "__main__":
    sys.exit(main())
