#include "platform/sound/realtime.h"

#include <dbus/dbus.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace {

constexpr const char *SERVICE = "org.freedesktop.RealtimeKit1";
constexpr const char *PATH = "/org/freedesktop/RealtimeKit1";
constexpr int REPLY_MS = 1000;

bool set_fifo(int priority) {
  sched_param param{};
  param.sched_priority = priority;
  return sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0;
}

// One of RealtimeKit's integer properties, or `otherwise`.
long long property(DBusConnection *bus, const char *name, long long otherwise) {
  DBusMessage *call = dbus_message_new_method_call(SERVICE, PATH, "org.freedesktop.DBus.Properties", "Get");
  if (!call) return otherwise;
  const char *interface = SERVICE;
  dbus_message_append_args(call, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID);
  DBusMessage *reply = dbus_connection_send_with_reply_and_block(bus, call, REPLY_MS, nullptr);
  dbus_message_unref(call);
  if (!reply) return otherwise;
  long long value = otherwise;
  DBusMessageIter args, variant;
  if (dbus_message_iter_init(reply, &args) && dbus_message_iter_get_arg_type(&args) == DBUS_TYPE_VARIANT) {
    dbus_message_iter_recurse(&args, &variant);
    int type = dbus_message_iter_get_arg_type(&variant);
    if (type == DBUS_TYPE_INT32) {
      dbus_int32_t v;
      dbus_message_iter_get_basic(&variant, &v);
      value = v;
    } else if (type == DBUS_TYPE_INT64) {
      dbus_int64_t v;
      dbus_message_iter_get_basic(&variant, &v);
      value = v;
    }
  }
  dbus_message_unref(reply);
  return value;
}

bool ask(DBusConnection *bus, int priority) {
  DBusMessage *call = dbus_message_new_method_call(SERVICE, PATH, SERVICE, "MakeThreadRealtimeWithPID");
  if (!call) return false;
  dbus_uint64_t process = static_cast<dbus_uint64_t>(getpid()), thread = static_cast<dbus_uint64_t>(gettid());
  dbus_uint32_t asked = static_cast<dbus_uint32_t>(priority);
  dbus_message_append_args(call, DBUS_TYPE_UINT64, &process, DBUS_TYPE_UINT64, &thread, DBUS_TYPE_UINT32, &asked,
                           DBUS_TYPE_INVALID);
  DBusMessage *reply = dbus_connection_send_with_reply_and_block(bus, call, REPLY_MS, nullptr);
  dbus_message_unref(call);
  if (!reply) return false;
  dbus_message_unref(reply);
  return true;
}

// RealtimeKit grants only to a process whose CPU time at real-time
// priority is capped (RLIMIT_RTTIME) within its own limit.
bool through_realtimekit(int priority) {
  DBusError error;
  dbus_error_init(&error);
  DBusConnection *bus = dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
  dbus_error_free(&error);
  if (!bus) return false;
  dbus_connection_set_exit_on_disconnect(bus, false);
  bool granted = false;
  int most = static_cast<int>(property(bus, "MaxRealtimePriority", 0));
  long long rttime = property(bus, "RTTimeUSecMax", 0);
  if (most > 0 && rttime > 0) {
    rlimit limit{};
    getrlimit(RLIMIT_RTTIME, &limit);
    limit.rlim_cur = limit.rlim_max = std::min(limit.rlim_max, static_cast<rlim_t>(rttime));
    granted = setrlimit(RLIMIT_RTTIME, &limit) == 0 && ask(bus, std::min(priority, most));
  }
  dbus_connection_close(bus);
  dbus_connection_unref(bus);
  return granted;
}

}  // namespace

Realtime make_thread_realtime(int priority) {
  if (set_fifo(priority)) return Realtime::DIRECT;
  if (through_realtimekit(priority)) return Realtime::REALTIMEKIT;
  return Realtime::NONE;
}
