#include "platform/Signale.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace signale {
namespace {
int gPaar[2] = {-1, -1};
std::function<void()> gAktion;

void Behandler(int) {
  const char c = 1;
  [[maybe_unused]] const auto n = ::write(gPaar[0], &c, 1);
}
}  // namespace

void beimBeenden(std::function<void()> aktion) {
  gAktion = std::move(aktion);
  if (gPaar[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gPaar) != 0) return;
  auto* n = new QSocketNotifier(gPaar[1], QSocketNotifier::Read);
  QObject::connect(n, &QSocketNotifier::activated, [](QSocketDescriptor, QSocketNotifier::Type) {
    char c;
    [[maybe_unused]] const auto r = ::read(gPaar[1], &c, 1);
    if (gAktion) gAktion();
  });
  struct sigaction sa {};
  sa.sa_handler = Behandler;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

}  // namespace signale
