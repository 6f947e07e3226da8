// Watches an X display for the start benchmark: every top-level window that
// is mapped, every paint into one, and every window that goes away, each as
// a line on standard output stamped with the monotonic clock (nanoseconds,
// the clock Python's time.monotonic_ns reads):
//
//   ready
//   map T WINDOW
//   paint T WINDOW
//   gone T WINDOW
//   log T LINE
//
// "log" lines are those read from the descriptor given as the argument (the
// stand-in's log of replies). Read here, in one stream with the paints, they
// keep their order: every paint the display had reported before a line came
// is printed before it. (Stamped by another reader, a paint made just before
// a reply could carry a later time than the reply.)
//
// A line "close WINDOW" on standard input asks that window to close, as a
// window manager's close button does (WM_DELETE_WINDOW). The watcher ends
// when its standard input closes.
//
//   bench_paint_watch [LOG-FD]
#include <poll.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>

namespace {

std::int64_t Now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void Say(const char* what, std::int64_t t, std::uint32_t window) {
  std::printf("%s %" PRId64 " %" PRIu32 "\n", what, t, window);
  std::fflush(stdout);
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

bool ParseLogFd(const char* text, int* fd) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value <= STDERR_FILENO || value > INT_MAX) return false;
  *fd = static_cast<int>(value);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int logFd = -1;
  if (argc > 2 || (argc == 2 && !ParseLogFd(argv[1], &logFd))) {
    std::fprintf(stderr, "usage: bench_paint_watch [LOG-FD] (an open descriptor above 2)\n");
    return 2;
  }
  int screenNumber = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "bench_paint_watch: cannot open the display\n");
    return 1;
  }
  const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
  if (!damage || !damage->present) {
    std::fprintf(stderr, "bench_paint_watch: the display has no DAMAGE extension\n");
    return 1;
  }
  std::free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));

  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
  const xcb_window_t root = it.data->root;
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  const xcb_atom_t protocols = Atom(c, "WM_PROTOCOLS");
  const xcb_atom_t deleteWindow = Atom(c, "WM_DELETE_WINDOW");
  xcb_flush(c);
  std::printf("ready\n");
  std::fflush(stdout);

  std::map<xcb_window_t, xcb_damage_damage_t> watched;
  std::string input;
  std::string log;
  const std::uint8_t damageNotify = damage->first_event + XCB_DAMAGE_NOTIFY;
  auto readEvents = [&] {
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
      const std::int64_t t = Now();
      const std::uint8_t type = event->response_type & 0x7F;
      if (type == damageNotify) {
        Say("paint", t, reinterpret_cast<xcb_damage_notify_event_t*>(event)->drawable);
      } else if (type == XCB_MAP_NOTIFY) {
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
        if (map->event == root && !watched.count(map->window)) {
          const xcb_damage_damage_t id = xcb_generate_id(c);
          xcb_damage_create(c, id, map->window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
          watched[map->window] = id;
          Say("map", t, map->window);
        }
      } else if (type == XCB_UNMAP_NOTIFY || type == XCB_DESTROY_NOTIFY) {
        const xcb_window_t window = type == XCB_UNMAP_NOTIFY
                                        ? reinterpret_cast<xcb_unmap_notify_event_t*>(event)->window
                                        : reinterpret_cast<xcb_destroy_notify_event_t*>(event)->window;
        auto found = watched.find(window);
        if (found != watched.end()) {
          if (type == XCB_UNMAP_NOTIFY) xcb_damage_destroy(c, found->second);
          watched.erase(found);
          Say("gone", t, window);
        }
      }
      std::free(event);
    }
  };
  for (;;) {
    pollfd fds[3] = {{xcb_get_file_descriptor(c), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}, {logFd, POLLIN, 0}};
    // Events already read from the connection do not wake poll.
    readEvents();
    xcb_flush(c);
    if (xcb_connection_has_error(c)) return 1;
    if (::poll(fds, 3, -1) < 0) continue;
    if (fds[2].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
      readEvents();  // what the display reported before the line comes first
      char buffer[4096];
      const ssize_t n = ::read(logFd, buffer, sizeof buffer);
      if (n < 0 && errno != EINTR) std::fprintf(stderr, "bench_paint_watch: cannot read the log\n");
      if (n == 0 || (n < 0 && errno != EINTR)) logFd = -1;  // poll passes over a negative descriptor
      if (n > 0) log.append(buffer, static_cast<std::size_t>(n));
      const std::int64_t t = Now();
      std::size_t end;
      while ((end = log.find('\n')) != std::string::npos) {
        std::printf("log %" PRId64 " %s\n", t, log.substr(0, end).c_str());
        log.erase(0, end + 1);
      }
      std::fflush(stdout);
    }
    if (fds[1].revents & (POLLIN | POLLHUP)) {
      char buffer[256];
      const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
      if (n <= 0) break;
      input.append(buffer, static_cast<std::size_t>(n));
      std::size_t end;
      while ((end = input.find('\n')) != std::string::npos) {
        const std::string line = input.substr(0, end);
        input.erase(0, end + 1);
        if (line.rfind("close ", 0) != 0) continue;
        const auto window = static_cast<xcb_window_t>(std::strtoul(line.c_str() + 6, nullptr, 10));
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = protocols;
        message.data.data32[0] = deleteWindow;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(c);
      }
    }
  }
  xcb_disconnect(c);
  return 0;
}
