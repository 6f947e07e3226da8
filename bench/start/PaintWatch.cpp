// Watches an X display for the start benchmark: every top-level window that
// is mapped, every paint into one, and every window that goes away, each as
// a line on standard output stamped with the monotonic clock (nanoseconds,
// the clock Python's time.monotonic_ns reads):
//
//   ready
//   map T WINDOW
//   paint T WINDOW
//   gone T WINDOW
//
// A line "close WINDOW" on standard input asks that window to close, as a
// window manager's close button does (WM_DELETE_WINDOW). The watcher ends
// when its standard input closes.
#include <poll.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cinttypes>
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

}  // namespace

int main() {
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
  const std::uint8_t damageNotify = damage->first_event + XCB_DAMAGE_NOTIFY;
  for (;;) {
    pollfd fds[2] = {{xcb_get_file_descriptor(c), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    // Events already read from the connection do not wake poll.
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
    xcb_flush(c);
    if (xcb_connection_has_error(c)) return 1;
    if (::poll(fds, 2, -1) < 0) continue;
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
