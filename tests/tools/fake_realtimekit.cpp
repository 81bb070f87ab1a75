// A stand-in for RealtimeKit on a private bus: it answers its properties
// (MaxRealtimePriority 20, RTTimeUSecMax 200000) and grants
// MakeThreadRealtimeWithPID as the real one does: only to a process whose
// RLIMIT_RTTIME is set within 200 ms, at a priority of at most 20, with
// SCHED_RR. Each request is printed: "granted PID TID PRIORITY" or
// "refused PID TID PRIORITY WHY".
//   fake_realtimekit BUS_ADDRESS
#include <dbus/dbus.h>
#include <sched.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr const char *NAME = "org.freedesktop.RealtimeKit1";
constexpr dbus_int32_t MOST_PRIORITY = 20;
constexpr dbus_int64_t MOST_RTTIME = 200000;

// The process's RLIMIT_RTTIME (hard), or -1 when unlimited.
long long rttime_of(unsigned long long pid) {
  std::ifstream limits("/proc/" + std::to_string(pid) + "/limits");
  std::string line;
  while (std::getline(limits, line)) {
    if (line.rfind("Max realtime timeout", 0) != 0) continue;
    std::istringstream words(line.substr(std::strlen("Max realtime timeout")));
    std::string soft, hard;
    words >> soft >> hard;
    return hard == "unlimited" ? -1 : std::stoll(hard);
  }
  return -1;
}

DBusMessage *property(DBusMessage *call) {
  const char *interface = nullptr, *name = nullptr;
  if (!dbus_message_get_args(call, nullptr, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &name,
                             DBUS_TYPE_INVALID))
    return dbus_message_new_error(call, DBUS_ERROR_INVALID_ARGS, "two strings expected");
  DBusMessage *reply = dbus_message_new_method_return(call);
  DBusMessageIter args, variant;
  dbus_message_iter_init_append(reply, &args);
  if (!std::strcmp(name, "MaxRealtimePriority")) {
    dbus_message_iter_open_container(&args, DBUS_TYPE_VARIANT, "i", &variant);
    dbus_message_iter_append_basic(&variant, DBUS_TYPE_INT32, &MOST_PRIORITY);
  } else if (!std::strcmp(name, "RTTimeUSecMax")) {
    dbus_message_iter_open_container(&args, DBUS_TYPE_VARIANT, "x", &variant);
    dbus_message_iter_append_basic(&variant, DBUS_TYPE_INT64, &MOST_RTTIME);
  } else {
    dbus_message_unref(reply);
    return dbus_message_new_error(call, DBUS_ERROR_UNKNOWN_PROPERTY, name);
  }
  dbus_message_iter_close_container(&args, &variant);
  return reply;
}

DBusMessage *make_realtime(DBusMessage *call) {
  dbus_uint64_t pid = 0, tid = 0;
  dbus_uint32_t priority = 0;
  if (!dbus_message_get_args(call, nullptr, DBUS_TYPE_UINT64, &pid, DBUS_TYPE_UINT64, &tid, DBUS_TYPE_UINT32,
                             &priority, DBUS_TYPE_INVALID))
    return dbus_message_new_error(call, DBUS_ERROR_INVALID_ARGS, "pid, tid and priority expected");
  long long rttime = rttime_of(pid);
  const char *why = rttime < 0 || rttime > MOST_RTTIME          ? "RLIMIT_RTTIME not set within 200000"
                    : priority > static_cast<unsigned>(MOST_PRIORITY) ? "priority above 20"
                                                                  : nullptr;
  sched_param param{};
  param.sched_priority = static_cast<int>(priority);
  if (!why && sched_setscheduler(static_cast<pid_t>(tid), SCHED_RR | SCHED_RESET_ON_FORK, &param) != 0)
    why = std::strerror(errno);
  std::printf("%s %llu %llu %u%s%s\n", why ? "refused" : "granted", static_cast<unsigned long long>(pid),
              static_cast<unsigned long long>(tid), priority, why ? " " : "", why ? why : "");
  std::fflush(stdout);
  return why ? dbus_message_new_error(call, DBUS_ERROR_ACCESS_DENIED, why) : dbus_message_new_method_return(call);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fake_realtimekit BUS_ADDRESS\n");
    return 2;
  }
  DBusError error;
  dbus_error_init(&error);
  DBusConnection *bus = dbus_connection_open_private(argv[1], &error);
  if (!bus || !dbus_bus_register(bus, &error) ||
      dbus_bus_request_name(bus, NAME, DBUS_NAME_FLAG_DO_NOT_QUEUE, &error) != DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER) {
    std::fprintf(stderr, "fake_realtimekit: %s\n", error.message ? error.message : "cannot own the name");
    return 1;
  }
  while (dbus_connection_read_write(bus, -1)) {
    while (DBusMessage *call = dbus_connection_pop_message(bus)) {
      DBusMessage *reply = nullptr;
      if (dbus_message_is_method_call(call, "org.freedesktop.DBus.Properties", "Get"))
        reply = property(call);
      else if (dbus_message_is_method_call(call, NAME, "MakeThreadRealtimeWithPID"))
        reply = make_realtime(call);
      else if (dbus_message_get_type(call) == DBUS_MESSAGE_TYPE_METHOD_CALL)
        reply = dbus_message_new_error(call, DBUS_ERROR_UNKNOWN_METHOD, dbus_message_get_member(call));
      if (reply) {
        dbus_connection_send(bus, reply, nullptr);
        dbus_message_unref(reply);
      }
      dbus_message_unref(call);
    }
  }
  return 0;
}
