// A window manager that takes its time, as a real one does: it maps every window a
// fifth of a second after the window asked for it. Until then a window is not on the
// screen, and what is drawn into it is lost. Runs until the X server goes away.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main() {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 2;
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const std::uint32_t maske = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_generic_error_t* fehler =
      xcb_request_check(c, xcb_change_window_attributes_checked(c, screen->root, XCB_CW_EVENT_MASK, &maske));
  if (fehler) {
    std::free(fehler);
    return 3;
  }
  // Ready: the caller may start its clients now.
  std::puts("bereit");
  std::fflush(stdout);
  while (xcb_generic_event_t* e = xcb_wait_for_event(c)) {
    switch (e->response_type & 0x7f) {
      case XCB_MAP_REQUEST: {
        const auto* m = reinterpret_cast<xcb_map_request_event_t*>(e);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        xcb_map_window(c, m->window);
        xcb_flush(c);
        break;
      }
      case XCB_CONFIGURE_REQUEST: {
        const auto* r = reinterpret_cast<xcb_configure_request_event_t*>(e);
        const std::uint32_t werte[] = {static_cast<std::uint32_t>(r->x), static_cast<std::uint32_t>(r->y), r->width,
                                       r->height};
        xcb_configure_window(
            c, r->window,
            XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, werte);
        xcb_flush(c);
        break;
      }
      default:
        break;
    }
    std::free(e);
  }
  return 0;
}
